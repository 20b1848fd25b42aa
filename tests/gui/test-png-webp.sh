#!/bin/bash
# PNG and WebP files: a PNG and an animated WebP open from the command line with their
# size in the title and their pixels on the screen; Save As PNG writes an RGB PNG of the
# same pixels; Save As WebP asks "Enter WebP Information" first (the run's quality and
# lossless choice): Cancel writes nothing, OK writes the file as chosen.
source "$(dirname "$0")/lib.sh"

folder="$work/webformats"
mkdir -p "$folder/out"
drive make-pattern "$(winpath "$folder/pattern.bmp")" 300 200
convert "$folder/pattern.bmp" "$folder/a.png"
# Three frames of one colour each, 300 ms apiece.
for c in red lime blue; do convert -size 300x200 "xc:$c" "$folder/$c.png"; done
img2webp -q 80 -lossless -d 300 "$folder/red.png" "$folder/lime.png" "$folder/blue.png" -o "$folder/anim.webp" 2>/dev/null
webp="Enter WebP Information"

same_pixels() {  # file1 file2: equal in every pixel
  local differing
  differing=$(compare -metric AE "$1" "$2" null: 2>&1) || true
  [[ $differing == 0 ]]
}

use_config
start_lumora "$(winpath "$folder/a.png")"
drive wait-window 10000 wait-title " a.png (300x200x24)" 10000 capture "$(winpath "$work/png.bmp")"
convert "$work/png.bmp" -crop 300x200+0+0 +repage "$work/png-shown.png"
same_pixels "$work/png-shown.png" "$folder/a.png" || fail "the PNG on the screen differs from the file"

# Save As PNG (the fifth type): an 8-bit RGB PNG with the same pixels.
drive command 5 select-item "Save As" 1136 4 set-edit "Save As" 1148 "$(winpath "$folder/out/b")" \
  click-button "Save As" 1 wait-title-contains "b.png" 10000
pngcheck -q "$folder/out/b.png" >/dev/null || fail "pngcheck refuses b.png"
[[ $(identify -format %[channels] "$folder/out/b.png") == srgb ]] || fail "b.png is not RGB"
same_pixels "$folder/out/b.png" "$folder/a.png" || fail "b.png's pixels differ"

# Save As WebP (the sixth type): the dialog first; Cancel writes nothing.
drive command 5 select-item "Save As" 1136 5 set-edit "Save As" 1148 "$(winpath "$folder/out/c")" \
  click-button "Save As" 1 expect-item "$webp" 1012 equals "75" 10000 expect-check "$webp" 1097 0 1000 \
  click-button "$webp" 2 alive no-box "File Write"
[[ ! -e $folder/out/c.webp ]] || fail "a cancelled WebP save wrote c.webp"
# Lossless: the same pixels; the dialog keeps the choice for the run.
drive command 5 select-item "Save As" 1136 5 set-edit "Save As" 1148 "$(winpath "$folder/out/c")" \
  click-button "Save As" 1 expect-item "$webp" 1012 equals "75" 10000 set-edit "$webp" 1012 "0" \
  set-check "$webp" 1097 1 click-button "$webp" 1 wait-title-contains "c.webp" 10000 \
  command 5 select-item "Save As" 1136 5 set-edit "Save As" 1148 "$(winpath "$folder/out/d")" \
  click-button "Save As" 1 expect-item "$webp" 1012 equals "75" 10000 expect-check "$webp" 1097 1 1000 \
  set-edit "$webp" 1012 "20" set-check "$webp" 1097 0 click-button "$webp" 1 wait-title-contains "d.webp" 10000
webpinfo -quiet "$folder/out/c.webp" >/dev/null || fail "webpinfo refuses c.webp"
webpinfo "$folder/out/c.webp" | grep -q "Format: Lossless" || fail "c.webp is not lossless"
webpinfo "$folder/out/d.webp" | grep -q "Format: Lossy" || fail "d.webp is not lossy"
dwebp -quiet "$folder/out/c.webp" -ppm -o "$work/c.ppm"
same_pixels "$work/c.ppm" "$folder/a.png" || fail "the lossless WebP's pixels differ"

drive close 10000
finish_lumora 0

# The animated WebP from the command line plays its three frames; Space stops it on a
# frame the screen shows.
start_lumora "$(winpath "$folder/anim.webp")"
drive wait-window 10000 wait-title-prefix "<2>of<3> " 10000 wait-title-prefix "<3>of<3> " 3000 \
  key SPACE alive capture "$(winpath "$work/anim.bmp")" close 10000
finish_lumora 0
convert "$work/anim.bmp" -crop 300x200+0+0 +repage "$work/anim-shown.png"
same_pixels "$work/anim-shown.png" "$folder/red.png" || same_pixels "$work/anim-shown.png" "$folder/lime.png" ||
  same_pixels "$work/anim-shown.png" "$folder/blue.png" || fail "the stopped animation shows no frame of the file"
echo "ok: PNG and WebP open with their pixels; Save As PNG and WebP write what was chosen"
