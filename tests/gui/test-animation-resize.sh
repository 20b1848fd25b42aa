#!/bin/bash
# A paused animation resized: Undo brings its frames back, so Save As then writes every
# frame at the loaded size; resized again and saved, every frame of the file has the new
# size. giftext counts the frames and reads their sizes.
source "$(dirname "$0")/lib.sh"
needs_corpus
command -v giftext >/dev/null || fail "giftext is missing"

folder="$work/anim-resize"
mkdir -p "$folder/out"
cp "$LUMORA_CORPUS/image-rs-image/images/gif/anim/any-disposal.gif" "$folder/a.gif"
box="Resize Image"

# Frames and their sizes as giftext reads them: one "width x height" line a frame.
frame_sizes() {
  giftext "$1" | sed -n 's/.*Image Size - Left = [0-9]*, Top = [0-9]*, Width = \([0-9]*\), Height = \([0-9]*\).*/\1x\2/p'
}

wait_for_file() {
  local deadline=$((SECONDS + 20))
  until [[ -s $1 ]]; do
    ((SECONDS < deadline)) || fail "no $(basename "$1") was written: $(ls "$folder/out")"
    sleep 0.1
  done
}

save_as_gif() {
  drive command 5 select-item "Save As" 1136 2 set-edit "Save As" 1148 "$(winpath "$folder/out/$1")" \
    click-button "Save As" 1 alive no-box "GIF write" no-box Viewer
  wait_for_file "$folder/out/$1.gif"
}

resize_to_64() {
  drive command 120 expect-item "$box" 123 equals "32" 10000 set-edit "$box" 123 "64" \
    expect-item "$box" 124 equals "64" 2000 click-button "$box" 1 alive no-box Viewer
}

use_config
start_lumora "$(winpath "$folder/a.gif")"
drive wait-window 10000 wait-title-prefix "<2>of<5> " 10000 key SPACE alive
resize_to_64
drive send-command 144 alive
save_as_gif undone
resize_to_64
save_as_gif resized
drive close 10000
finish_lumora 0

undone=$(frame_sizes "$folder/out/undone.gif")
resized=$(frame_sizes "$folder/out/resized.gif")
[[ $(wc -l <<<"$undone") == 5 && $(sort -u <<<"$undone") == 32x32 ]] ||
  fail "after Undo the file's frames are: $(echo $undone)"
[[ $(wc -l <<<"$resized") == 5 && $(sort -u <<<"$resized") == 64x64 ]] ||
  fail "after the resize the file's frames are: $(echo $resized)"
echo "ok: a resized animation is saved with all its frames resized, and Undo brings the frames back"
