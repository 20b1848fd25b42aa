#!/bin/bash
# The Win32 half must stay a genuine Windows program: compile every Win32 source against
# the mingw-w64 Windows headers (syntax and types only; the codec libraries have no Windows
# builds here) and compile the resource script with windres.
#   check-windows-syntax.sh [REPOSITORY]
set -uo pipefail
repo=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cxx=${MINGW_CXX:-x86_64-w64-mingw32-g++}
windres=${MINGW_WINDRES:-x86_64-w64-mingw32-windres}
for tool in "$cxx" "$windres"; do
  command -v "$tool" >/dev/null || { echo "check-windows-syntax: $tool is missing (g++-mingw-w64-x86-64, binutils-mingw-w64-x86-64)" >&2; exit 1; }
done

failed=0
shopt -s nullglob
sources=("$repo"/shell/*.cpp "$repo"/desktop/*.cpp "$repo"/tests/gui/*.cpp)
for source in "${sources[@]}"; do
  if ! "$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -municode -DUNICODE -D_UNICODE -I"$repo" "$source"; then
    echo "check-windows-syntax: $source does not compile against the Windows headers" >&2
    failed=1
  fi
done
for rc in "$repo"/resources/*.rc; do
  out=$(mktemp)
  if ! "$windres" -I"$repo" "$rc" -O coff -o "$out"; then
    echo "check-windows-syntax: $rc does not compile with windres" >&2
    failed=1
  fi
  rm -f "$out"
done
((failed == 0)) && echo "check-windows-syntax: ${#sources[@]} sources and the resources compile for Windows"
exit $failed
