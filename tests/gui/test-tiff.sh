#!/bin/bash
# A three-page TIFF file from the command line: the title names page 1 of 3, Space turns to
# page 2, the page dialog shows the page and the count, refuses a page past the end and
# goes to page 3; Space on the last page stays there.
source "$(dirname "$0")/lib.sh"
needs_corpus
command -v tiffcp >/dev/null || { echo "SKIP: tiffcp (libtiff-tools) is not installed"; exit 77; }

folder="$work/tiff"
mkdir -p "$folder"
images="$LUMORA_CORPUS/libtiff-test-images"
tiffcp "$images/rgb-3c-8b.tiff" "$images/palette-1c-8b.tiff" "$images/minisblack-1c-8b.tiff" "$folder/pages.tif" \
  || fail "tiffcp could not make the three-page file"
dialog="Enter Page in multipage TIFF File"

start_lumora "$(winpath "$folder/pages.tif")"
drive wait-window 10000 wait-title-contains "(TIFF Page 1 of 3)" 10000 \
  key SPACE wait-title-contains "(TIFF Page 2 of 3)" 10000 \
  command 1910 expect-item "$dialog" 1129 equals "2" 10000 expect-item "$dialog" 1013 equals "3" 2000 \
  set-edit "$dialog" 1129 "4" press "$dialog" 1 \
  expect-box Viewer equals "Enter a page number from 1 to 3." 10000 click-button Viewer 1 \
  set-edit "$dialog" 1129 "3" click-button "$dialog" 1 wait-title-contains "(TIFF Page 3 of 3)" 10000 \
  key SPACE settle 2000 wait-title-contains "(TIFF Page 3 of 3)" 2000 alive close 10000
finish_lumora 0
echo "ok: the pages of a TIFF file are shown with Space and the page dialog"
