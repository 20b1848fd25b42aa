#!/bin/bash
# The twelve display modes on the session's fixed screen. For pictures small, wide, tall
# and larger than the screen, each mode command must give the window rectangle and the
# picture placement that the display rules give (sizes per mode, PlaceWindow keeping the
# window's centre inside the work area, MinimumWidth 280 centring narrow pictures), checked
# from the window rectangle and, pixel by pixel, from the client area: the pictures encode
# their own coordinates, so each screen pixel says which picture pixel it shows.
# Also: Half of 101 pixels, the point mapping in Double, scrolling, the wheel zoom, and
# screenshots of Normal, BestFit and FixedWindow for people to look at.
source "$(dirname "$0")/lib.sh"

minimum=280
drive metrics
read -r _ screen_w screen_h _ work_x work_y work_w work_h _ frame_x frame_y _ caption _ menu _ bar_w bar_h < "$driver_output"
border_w=$((4 * frame_x))
border_h=$((caption + 4 * frame_y + menu))

min() { echo $(($1 < $2 ? $1 : $2)); }
max() { echo $(($1 > $2 ? $1 : $2)); }

# The window must be where PlaceWindow puts it for a display of $1 x $2, coming from the
# rectangle px py pw ph: d = max(display width, MinimumWidth) plus the borders, limited
# to the work area, around the old centre, kept inside the work area.
expect_placed() {
  local d ew eh ex ey
  d=$(max "$1" $minimum)
  ew=$(min $((d + border_w)) "$work_w")
  eh=$(min $(($2 + border_h)) "$work_h")
  ex=$((px - (ew - pw) / 2))
  ey=$((py - (eh - ph) / 2))
  ((ex < work_x)) && ex=$work_x
  ((ey < work_y)) && ey=$work_y
  ((ex + ew > work_x + work_w)) && ex=$work_x
  ((ey + eh > work_y + work_h)) && ey=$work_y
  [[ "$wx $wy $ww $wh" == "$ex $ey $ew $eh" ]] ||
    fail "$label: window at $wx,$wy size ${ww}x$wh; expected $ex,$ey size ${ew}x$eh"
}

margin_for() { if (($1 < minimum)); then echo $(((minimum - $1) / 2)); else echo 0; fi; }

# The rectangles the driver printed ("window L T W H client L T W H"), one per step, and
# the rectangle before the first: each step's checks read the one before as px py pw ph.
rect_lines=()
next_rect() {
  px=$wx py=$wy pw=$ww ph=$wh
  read -r _ wx wy ww wh _ cx cy cw ch <<<"${rect_lines[0]}"
  rect_lines=("${rect_lines[@]:1}")
  label="$name $1"
}

start_lumora
drive wait-window 10000 settle 10000

# The frame around the client area when no scroll bar shows.
drive settle 10000 rects
read -r _ wx wy ww wh _ cx cy cw ch < "$driver_output"
frame_w=$((ww - cw)) frame_h=$((wh - ch))

# check_picture NAME W H: loads the picture by a drop and runs every mode over it, in one
# run of the driver; the layouts are checked by the driver as it goes, the window
# rectangles afterwards from what it printed.
check_picture() {
  name=$1
  local w=$2 h=$3 dw dh file steps=()
  file="$(winpath "$work/$name.bmp")"
  steps+=(make-pattern "$file" "$w" "$h" drop 1 "$file" wait-title " $name.bmp (${w}x${h}x24)" 10000 settle 10000 rects)
  # The scaled modes: 1x, 1/2, 1/4, 2x, 4x, drawn at the top-left (or centred in the
  # minimum width), the window fitted and limited to the work area.
  local scaled=("16 1 1" "14 1 2" "18 1 4" "15 2 1" "17 4 1")
  for entry in "${scaled[@]}"; do
    set -- $entry
    dw=$((w * $2 / $3)) dh=$((h * $2 / $3))
    steps+=(send-command "$1" settle 10000 rects expect-layout "$(margin_for $dw)" 0 "$dw" "$dh" 0 0 "$w" "$h" 000000)
  done
  # BestFit: the work area less the borders, aspect kept.
  local fit_w=$((work_w - border_w)) fit_h=$(((work_w - border_w) * h / w))
  if ((fit_h > work_h - border_h)); then fit_h=$((work_h - border_h)) fit_w=$(((work_h - border_h) * w / h)); fi
  steps+=(send-command 10 settle 10000 rects expect-layout "$(margin_for $fit_w)" 0 "$fit_w" "$fit_h" 0 0 "$w" "$h" 000000)
  # FullScreenStretch: over the work area, stretched to it less the borders.
  local full_w=$((work_w - border_w)) full_h=$((work_h - border_h - 1))
  steps+=(send-command 13 settle 10000 rects expect-layout 0 0 "$full_w" "$full_h" 0 0 "$w" "$h" 000000)
  # Zoom and ZoomSameAspect keep the window as the user sizes it.
  local zoom_w=$((640 - frame_w)) zoom_h=$((480 - frame_h))
  steps+=(send-command 11 resize 640 480 settle 10000 rects expect-layout 0 0 "$zoom_w" "$zoom_h" 0 0 "$w" "$h" 000000)
  steps+=(send-command 12 settle 10000 rects expect-layout 0 0 "$zoom_w" $((h * zoom_w / w)) 0 0 "$w" "$h" 000000)
  # FixedWindow: the 400 x 300 box where the window was, the picture 1:1 when smaller,
  # else fitted, centred on the background colour.
  local box_w=$w box_h=$h
  if ((w >= 400 || h >= 300)); then
    box_w=400 box_h=$((400 * h / w))
    if ((box_h > 300)); then box_h=300 box_w=$((300 * w / h)); fi
  fi
  steps+=(send-command 5503 settle 10000 rects
    expect-layout $(((400 - box_w) / 2)) $(((300 - box_h) / 2)) "$box_w" "$box_h" 0 0 "$w" "$h" 808080)
  # BestFitNoBorder: the client area covers the screen; the picture keeps its size when it
  # fits the screen, else is fitted, and is centred.
  local nb_w=$w nb_h=$h
  if ((w > screen_w)); then nb_w=$screen_w nb_h=$((screen_w * h / w)); fi
  if ((nb_h > screen_h)); then nb_h=$screen_h nb_w=$((screen_h * w / h)); fi
  steps+=(send-command 151 settle 10000 rects
    expect-layout $(((screen_w - nb_w) / 2)) $(((screen_h - nb_h) / 2)) "$nb_w" "$nb_h" 0 0 "$w" "$h" 000000)

  drive "${steps[@]}"
  mapfile -t rect_lines < <(grep '^window ' "$driver_output")

  next_rect load
  expect_placed "$w" "$h"
  local labels=(Normal Half Quarter Double Quadruple)
  for i in 0 1 2 3 4; do
    set -- ${scaled[$i]}
    next_rect "${labels[$i]}"
    expect_placed $((w * $2 / $3)) $((h * $2 / $3))
  done
  next_rect BestFit
  expect_placed "$fit_w" "$fit_h"
  next_rect FullScreenStretch
  px=$work_x py=$work_y pw=$work_w ph=$work_h
  expect_placed "$full_w" "$full_h"
  next_rect Zoom
  [[ "$ww $wh" == "640 480" ]] || fail "$label: the window is ${ww}x$wh, not as sized (640x480)"
  next_rect ZoomSameAspect
  [[ "$ww $wh" == "640 480" ]] || fail "$label: the window is ${ww}x$wh, not as sized (640x480)"
  next_rect FixedWindow
  [[ "$wx $wy $cw $ch" == "$px $py 400 300" ]] ||
    fail "$label: window at $wx,$wy client ${cw}x$ch; expected $px,$py client 400x300"
  next_rect BestFitNoBorder
  [[ "$cx $cy $cw $ch" == "0 0 $screen_w $screen_h" ]] ||
    fail "$label: client at $cx,$cy size ${cw}x$ch; expected the whole screen"
}

check_picture small 100 50
check_picture wide 1600 200
check_picture tall 200 1500
check_picture large 2000 1500

# Half of a 101-pixel-wide picture is 50 wide, centred in the minimum width.
name=odd
drive make-pattern "$(winpath "$work/odd.bmp")" 101 51 drop 1 "$(winpath "$work/odd.bmp")" \
  wait-title " odd.bmp (101x51x24)" 10000 send-command 14 settle 10000 \
  wait-title " odd.bmp (101x51x24) (49%)" 2000 expect-layout 115 0 50 25 0 0 101 51 000000

# The point mapping in Double: client (101, 51) is picture (50, 25); a point beyond the
# picture maps to its last pixel both ways.
drive drop 1 "$(winpath "$work/wide.bmp")" wait-title " wide.bmp (1600x200x24)" 10000 \
  send-command 15 settle 10000 map-point 101 51 send-command 16 settle 10000 map-point 5000 9000
[[ $(paste -sd, "$driver_output") == "50 25,1599 199" ]] || fail "Double maps (101, 51) and (5000, 9000) to $(paste -sd, "$driver_output")"

# Scrolling: a picture larger than the work area at 1:1 scrolls by pages and to the end;
# the client area then shows the picture from the new position, and points map with the
# scroll positions added. Resizing the window returns to the top-left.
drive drop 1 "$(winpath "$work/large.bmp")" wait-title " large.bmp (2000x1500x24)" 10000 settle 10000 rects
read -r _ _ _ _ _ _ _ _ cw ch < "$driver_output"
# A page is the client size with the other bar added back; a position stops at the end of
# the range (size - page).
vpage=$((ch + bar_h)) hpage=$((cw + bar_w))
top=$(min "$vpage" $((1500 - vpage))) left=$((2000 - hpage))
drive scroll v 3 settle 10000 expect-layout 0 "-$top" 2000 1500 0 0 2000 1500 000000 \
  scroll h 7 settle 10000 expect-layout "-$left" "-$top" 2000 1500 0 0 2000 1500 000000 map-point 10 20 \
  resize 900 700 settle 10000 expect-layout 0 0 2000 1500 0 0 2000 1500 000000
[[ $(grep -v layout "$driver_output") == "$((left + 10)) $((top + 20))" ]] ||
  fail "scrolled point (10, 20) maps to $(grep -v layout "$driver_output")"

# The wheel zoom: entering it draws nothing new; each notch backward (or a left click)
# enlarges around the point, the window covers the work area and the title shows the zoom.
# (A picture that fits leaves no scroll bar behind from the larger one before: the whole
# client area is the picture's.)
drive make-pattern "$(winpath "$work/zoom.bmp")" 1000 800 drop 1 "$(winpath "$work/zoom.bmp")" \
  wait-title " zoom.bmp (1000x800x24)" 10000 settle 10000 rects
read -r _ wx wy ww wh _ _ _ cw ch < "$driver_output"
[[ "$cw $ch" == "$((ww - frame_w)) $((wh - frame_h))" ]] ||
  fail "after a scrolled picture the client area of a fitting one is ${cw}x$ch in a ${ww}x$wh window"
# A first point whose picture point is (500, 400): x' = x + borderWidth / 2,
# y' = y + 1 - (menu + caption) / 2; the centre's y is counted from the bottom (401).
x=$((500 - border_w / 2)) y=$((400 - 1 + (menu + caption) / 2))
drive send-command 177 settle 5000 wheel -120 $((wx + x)) $((wy + y)) wait-title-suffix "%)" 10000 settle 10000 rects
read -r _ wx wy ww wh _ < "$driver_output"
[[ "$wx $wy $ww $wh" == "0 0 $work_w $work_h" ]] || fail "wheel zoom: window $wx,$wy ${ww}x$wh"
# Two notches: factor 1 / 1.44, display 1440 x 1152, source W * 1000 / 1440 x H * 800 / 1152
# around the centre; the same window point keeps the centre.
drive wheel -120 $x $y settle 10000
sw=$((work_w * 1000 / 1440)) sh=$((work_h * 800 / 1152))
sx=$((500 - sw / 2)) sy=$((401 - sh / 2))
drive wait-title " zoom.bmp (1000x800x24) ($((work_w * 100 / sw))%)" 5000 \
  expect-layout 0 0 $((work_w - border_w)) $((work_h - border_h)) "$sx" $((800 - sy - sh)) "$sw" "$sh" 000000
# A right click zooms out again, a left click in.
drive click right $x $y wait-title " zoom.bmp (1000x800x24) ($((work_w * 100 / (work_w * 1000 / 1200)))%)" 5000 \
  click left $x $y wait-title " zoom.bmp (1000x800x24) ($((work_w * 100 / sw))%)" 5000

# Screenshots of the window in Normal, BestFit and FixedWindow with the opening artwork.
mkdir -p "$screenshots"
shoot() {
  drive send-command "$2" settle 10000 rects
  read -r _ wx wy ww wh _ < "$driver_output"
  local x0 y0
  x0=$(max "$wx" 0) y0=$(max "$wy" 0)
  import -display "$DISPLAY" -window root -crop "$(min "$ww" $((screen_w - x0)))x$(min "$wh" $((screen_h - y0)))+$x0+$y0" \
    +repage "$screenshots/$1.png"
}
drive drop 1 "$(winpath "$LUMORA_SOURCE_DIR/resources/viewer.bmp")" wait-title " viewer.bmp (400x240x8)" 10000
shoot normal 16
shoot bestfit 10
shoot fixedwindow 5503
drive close 10000
finish_lumora 0
echo "ok: twelve display modes; screenshots in $screenshots"
