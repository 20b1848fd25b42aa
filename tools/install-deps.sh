#!/bin/bash
# Installs every Debian package the build, the program and the tests need. Run as root
# on Debian 12. Does nothing when everything is already there.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  libjpeg62-turbo-dev libturbojpeg0-dev libpng-dev libtiff-dev libwebp-dev zlib1g-dev libraw-dev
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
  libgtest-dev clang-14 libclang-rt-14-dev
  wine wine64 wine64-tools libwine-dev fonts-wine xvfb xauth fonts-liberation
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  pmccabe
  imagemagick libjpeg-turbo-progs libimage-exiftool-perl pngcheck webp libtiff-tools giflib-tools
  libraw-bin
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing; run as root: ${missing[*]}" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
