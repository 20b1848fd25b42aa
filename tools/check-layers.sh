#!/bin/bash
# Checks that every #include "folder/file.h" in the program's sources points to its own
# layer or one below it. The layers, lowest first (see ARCHITECTURE.md); folders on one
# line form one layer. Prints each include that points up and exits 1 when there is one.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
layers=(
  "base"
  "platform"
  "core"
  "codecs"
  "libcodecs raw movie"
  "ops"
  "edit"
  "settings open sheets"
  "view"
  "shell desktop resources"
)
declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done
bad=0
while IFS= read -r -d '' file; do
  own=${file%%/*}
  while IFS= read -r included; do
    target=${included%%/*}
    [ -n "${rank[$target]+set}" ] || continue
    if [ "${rank[$target]}" -gt "${rank[$own]}" ]; then
      echo "layering: $file includes \"$included\": $target sits above $own"
      bad=1
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(find "${!rank[@]}" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0 2>/dev/null)
exit $bad
