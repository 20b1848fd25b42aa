#!/bin/bash
# 2,000 random menu commands, keys and mouse gestures on a loaded picture in a folder of pictures, every
# dialog closed with Cancel (or No, or OK): the program keeps running and answering, and
# every message it shows is one of its own (listed in monkey-messages.txt) or the one
# for a command that is not there yet.
source "$(dirname "$0")/lib.sh"

steps=${LUMORA_MONKEY_STEPS:-2000}
program_limit=900
seed=${LUMORA_MONKEY_SEED:-$(date +%s)}
folder="$work/pictures"
mkdir -p "$folder"
for picture in "a 160 100" "b 90 120" "c 300 200" "d 40 40" "e 200 60"; do
  set -- $picture
  drive make-pattern "$(winpath "$folder/$1.bmp")" "$2" "$3"
done

# Every command of the menu except Exit and the immediate-exit toggle, which would end the
# run; the submenu headings carry no command.
ids=$(awk '($1 == 1 || $1 == 2) && $2 != "sep" && $2 != 0 && $2 != 8 && $2 != 1187 && $2 != 40001 && $2 != 40002 {print $2}' \
  "$(dirname "$0")/menu-expected.txt" | sort -un | paste -sd, -)

use_config "ConfirmDeleteFileFlag=TRUE" "WarningFlag=TRUE" "SlideShowDuration=1"
start_lumora "$(winpath "$folder/a.bmp")"
drive wait-window 10000 wait-title " a.bmp (160x100x24)" 10000
if ! timeout -k 5 900 wine "$LUMORA_DRIVER" monkey "$steps" "$seed" "$ids" </dev/null >"$work/monkey.out" 2>&1; then
  tail -n 20 "$work/monkey.out" >&2
  fail "the monkey run (seed $seed) stopped"
fi
drive alive close-saying-no 20000
finish_lumora 0

# Messages must be the program's own.
grep -E '^box ' "$work/monkey.out" | sed 's/^box //' | sort -u >"$work/messages.txt"
unknown=$(grep -vE -f "$(dirname "$0")/monkey-messages.txt" "$work/messages.txt" || true)
[[ -z $unknown ]] || fail "unexpected messages (seed $seed):"$'\n'"$unknown"
echo "ok: $steps random commands and keys (seed $seed); $(wc -l <"$work/messages.txt") distinct messages, all known"
