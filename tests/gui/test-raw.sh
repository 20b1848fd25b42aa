#!/bin/bash
# A camera RAW file named on the command line: LibRaw decodes it, the title gives its
# size, and the file information dialog offers "Display RAW camera data", which shows the
# camera lines in the EXIF dialog. Escape while a large file decodes ends the decoding
# with "Terminated at user's request"; the program goes on.
source "$(dirname "$0")/lib.sh"
: "${LUMORA_MAKE_DNG:?LUMORA_MAKE_DNG names the DNG writer}"

"$LUMORA_MAKE_DNG" "$work/camera.dng" 96 64 || fail "the DNG file could not be written"
info="LUM File Information"
exif="LUM JPEG Exif File Information"
camera_lines="Camera make"$'\t'": Lumora"$'\r\n'"Camera model"$'\t'": Test Camera"$'\r\n'

# A 16-megapixel file takes seconds; its progress titles give a percentage.
"$LUMORA_MAKE_DNG" "$work/large.dng" 4096 4096 || fail "the large DNG file could not be written"
large="$(winpath "$work/large.dng")"

start_lumora "$(winpath "$work/camera.dng")"
drive wait-window 10000 wait-title " camera.dng (96x64x24)" 20000 settle 5000 \
  click right 20 20 expect-item "$info" 3 equals "Display RAW camera data" 10000 expect-enabled "$info" 3 \
  expect-item "$info" 4 equals "Disabled - No XMP data available" 1000 \
  click-button "$info" 3 expect-item "$exif" 113 contains "$camera_lines" 10000 \
  expect-item "$exif" 113 contains "Image full size"$'\t'":   96 x 64"$'\r\n' 1000 \
  click-button "$exif" 1 \
  drop 1 "$large" wait-title-contains "%" 20000 key ESCAPE \
  expect-box Viewer equals "Terminated at user's request: $large"$'\n' 20000 click-button Viewer 1 \
  alive no-box Viewer close 10000
finish_lumora 0
rm -f "$work/large.dng"
echo "ok: a DNG file opens at its size and shows its camera lines; Escape ends a long decode"
