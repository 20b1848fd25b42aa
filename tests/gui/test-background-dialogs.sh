#!/bin/bash
# "Change PNG Background Colour" and "Change WebP Background Colour" open with their
# stored colour and box, refuse a colour that is not six hex digits, and store a good one
# and the box in LUM.INI; each dialog leaves the other's pair alone. With the WebP pair
# stored, a WebP's fully transparent pixels show in that colour.
source "$(dirname "$0")/lib.sh"
needs_corpus

folder="$work/background"
mkdir -p "$folder"
cp "$LUMORA_CORPUS/pngsuite/png/basn6a08.png" "$folder/a.png"
# Left half transparent, right half opaque blue.
convert -size 40x20 xc:none \( -size 20x20 xc:blue \) -geometry +20+0 -composite "$folder/half.png"
cwebp -quiet -lossless -exact "$folder/half.png" -o "$folder/half.webp"

# dialog caption, command, the colour it opens with, the colour typed
dialogs=(
  "Change PNG Background Colour|40000|000000|1a2B3c"
  "Change WebP Background Colour|40140|FFFFFF|00fF00"
)
use_config
start_lumora "$(winpath "$folder/a.png")"
drive wait-window 10000
for row in "${dialogs[@]}"; do
  IFS='|' read -r caption command shown typed <<<"$row"
  drive command "$command" expect-item "$caption" 1107 equals "$shown" 10000 \
    expect-check "$caption" 6020 0 2000 set-edit "$caption" 1107 "12345" press "$caption" 1 \
    expect-box Viewer equals "Enter the colour as six hex digits RRGGBB, for example FF8000." 10000 \
    click-button Viewer 1 set-edit "$caption" 1107 "$typed" set-check "$caption" 6020 1 \
    click-button "$caption" 1 command "$command" expect-item "$caption" 1107 equals "${typed^^}" 10000 \
    expect-check "$caption" 6020 1 2000 click-button "$caption" 2
done
# The WebP colour now fills the transparent half.
drive drop 1 "$(winpath "$folder/half.webp")" wait-title-contains "half.webp (40x20x" 10000 \
  capture "$(winpath "$work/half.bmp")" close 10000
finish_lumora 0
ini="$user_config/LUM.INI"
for want in PNGBackgroundColour=1A2B3C PNGUserPackground=TRUE WEBPBackgroundColour=00FF00 WEBPUserPackground=TRUE; do
  [[ $(config_value "$ini" "${want%%=*}") == "${want#*=}" ]] || fail "${want%%=*} is $(config_value "$ini" "${want%%=*}")"
done
# The picture is centred in the window's minimum width; its left half is green.
width=$(identify -format %w "$work/half.bmp")
left=$(( (width - 40) / 2 ))
[[ $(convert "$work/half.bmp" -crop "1x1+$((left + 5))+5" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}') == "#00FF00" ]] ||
  fail "the transparent half is not green"
[[ $(convert "$work/half.bmp" -crop "1x1+$((left + 30))+5" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}') == "#0000FF" ]] ||
  fail "the opaque half is not blue"
echo "ok: both background dialogs show and store their settings, and the WebP colour is used"
