#!/bin/bash
# Checks that no function of the program (tests and benchmarks aside) is longer than 100
# lines, as pmccabe counts them. Prints each longer one and exits 1 when there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
limit=100
folders=()
for f in base platform core codecs libcodecs raw movie ops edit settings open sheets view shell desktop; do
  [ -d "$f" ] && folders+=("$f")
done
long=$(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
       xargs -0 pmccabe | awk -v limit="$limit" '$5 > limit {print $5 " lines: " $6 " " $7}')
if [ -n "$long" ]; then
  echo "functions over $limit lines:"
  echo "$long"
  exit 1
fi
