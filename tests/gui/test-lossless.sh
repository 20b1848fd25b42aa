#!/bin/bash
# The lossless JPEG commands rewrite the file in place and load it again: "Rotate 90deg"
# exchanges the sides and keeps the file's time; "Automatically Fix Orientation" turns a
# camera file of orientation 6 and marks it upright.
source "$(dirname "$0")/lib.sh"
needs_corpus

use_config
convert -size 64x48 gradient:red-blue -quality 90 "$work/a.jpg"
touch -d "2021-03-04 05:06:07" "$work/a.jpg"
cp "$LUMORA_CORPUS/exif-orientation-examples/Landscape_6.jpg" "$work/six.jpg"
chmod u+w "$work/six.jpg"  # the suite's files are read-only
start_lumora "$(winpath "$work/a.jpg")"
drive wait-window 10000 wait-title " a.jpg (64x48x24)" 10000 settle 2000 \
  command 156 wait-title " a.jpg (48x64x24)" 10000 \
  drop 1 "$(winpath "$work/six.jpg")" wait-title-contains "six.jpg" 10000 settle 1000 \
  command 5501 wait-title-contains "six.jpg (1800x1200x24)" 20000 alive no-box Viewer no-box "Lossless transform" close 10000
finish_lumora 0
[[ $(identify -format %wx%h "$work/a.jpg") == 48x64 ]] || fail "a.jpg is $(identify -format %wx%h "$work/a.jpg") after the turn"
[[ $(stat -c %Y "$work/a.jpg") == $(date -d "2021-03-04 05:06:07" +%s) ]] || fail "the turned file lost its time"
[[ $(exiftool -s3 -n -Orientation "$work/six.jpg") == 1 ]] || fail "six.jpg has orientation $(exiftool -s3 -n -Orientation "$work/six.jpg")"
[[ $(identify -format %wx%h "$work/six.jpg") == 1800x1200 ]] || fail "six.jpg is $(identify -format %wx%h "$work/six.jpg")"
[[ ! -e $work/a.\$\$\$ && ! -e $work/six.\$\$\$ ]] || fail "a \$\$\$ file was left"
echo "ok: lossless commands rewrite the file in place, keep its time and fix the orientation"
