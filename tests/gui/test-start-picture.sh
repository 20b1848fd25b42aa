#!/bin/bash
# A picture named on the command line: the title names it with its stored size and depth,
# the client area shows it 1:1 on black (a picture narrower than MinimumWidth, 280,
# centred in that width), and closing ends the program with 0.
#   test-start-picture.sh FILE REFERENCE TITLE WIDTH HEIGHT FORM
# FILE and REFERENCE are under the corpus; FORM is how the name is given: "windows"
# (Z:\...) or "unix" (/..., as a Unix shell passes it).
file=$1 reference=$2 title=$3 width=$4 height=$5 form=$6
test_name="start-picture-$(basename "$file" .bmp)"
source "$(dirname "$0")/lib.sh"
needs_corpus

if [[ $form == unix ]]; then
  start_lumora "$(realpath "$LUMORA_CORPUS/$file")"
else
  start_lumora "$(winpath "$LUMORA_CORPUS/$file")"
fi
drive wait-window 10000 wait-title "$title" 10000 capture "$(winpath "$work/capture.bmp")"

margin=0
((width < 280)) && margin=$(((280 - width) / 2))
convert "$work/capture.bmp" -crop "${width}x${height}+${margin}+0" +repage "$work/picture.png"
differing=$(compare -metric AE "$work/picture.png" "$LUMORA_CORPUS/$reference" null: 2>&1) || true
[[ $differing == 0 ]] || fail "the picture on the screen differs from $reference in $differing pixels"

client_width=$(identify -format '%w' "$work/capture.bmp")
client_height=$(identify -format '%h' "$work/capture.bmp")
((client_height >= height)) || fail "the client area is $client_height pixels high, the picture $height"
# Everything but the picture is black.
brightest=$(convert "$work/capture.bmp" -fill black -draw "rectangle $margin,0 $((margin + width - 1)),$((height - 1))" \
  -format '%[max]' info:)
[[ $brightest == 0 ]] || fail "the client area beside the picture is not black (max $brightest)"

drive close 10000
finish_lumora 0
echo "ok: $file shown as $title"
