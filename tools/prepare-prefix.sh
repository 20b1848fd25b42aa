#!/bin/bash
# Prepares the Wine prefix Lumora runs in, once: usage  prepare-prefix.sh PREFIX
#
#  - wineboot -i creates the prefix;
#  - windows are unmanaged (without a window manager Wine otherwise waits about 2 s each
#    time a window closes);
#  - Wine's own fonts go into the prefix's Fonts folder and Arial, Times New Roman and
#    Courier New are mapped to the Liberation fonts (otherwise every face falls back to one
#    font and the caption buttons draw as letters).
# A prefix that is ready carries the marker file .lumora-prefix-ready and is left alone.
# No wineserver of this prefix may be running persistently while it is prepared.
set -euo pipefail

prefix=${1:?usage: prepare-prefix.sh PREFIX}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
marker="$prefix/.lumora-prefix-ready"
[[ -f $marker ]] && exit 0

# shellcheck source=tools/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
lumora_wine_env "$prefix"
export WINEARCH=win64

# Two runs preparing the same prefix at once would corrupt it: the second waits.
exec 9>"$prefix.lock"
flock 9
[[ -f $marker ]] && exit 0

log="$prefix/prepare.log"
: >"$log"
timeout -k 10 180 wineboot -i >>"$log" 2>&1 || { echo "prepare-prefix: wineboot failed, see $log" >&2; exit 1; }

fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
if compgen -G "/usr/share/wine/fonts/*" >/dev/null; then
  cp -f /usr/share/wine/fonts/* "$fonts/"
else
  echo "prepare-prefix: Wine's fonts are missing (Debian package fonts-wine)" >&2
fi
liberation=/usr/share/fonts/truetype/liberation
if compgen -G "$liberation/Liberation*.ttf" >/dev/null; then
  cp -f "$liberation"/Liberation*.ttf "$fonts/"
else
  echo "prepare-prefix: the Liberation fonts are missing (Debian package fonts-liberation)" >&2
fi

reg="$prefix/drive_c/lumora-prefix.reg"
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
REG
timeout -k 10 120 wine regedit /S 'C:\lumora-prefix.reg' >>"$log" 2>&1 ||
  { echo "prepare-prefix: the registry settings could not be written, see $log" >&2; exit 1; }
rm -f "$reg"
# The registry reaches the disk when the prefix's wineserver ends.
timeout -k 10 120 wineserver -w >>"$log" 2>&1 || true
if ! grep -q '"Managed"="N"' "$prefix/user.reg"; then
  echo "prepare-prefix: the registry settings did not reach $prefix/user.reg" >&2
  exit 1
fi
touch "$marker"
