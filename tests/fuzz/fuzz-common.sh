# Shared by run-fuzz-smoke.sh (CI) and tools/fuzz.sh (long runs); sourced, not run.
# What each fuzz target is seeded with and how libFuzzer is told about its format.

fuzz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# One core per target: LibRaw's interpolation runs OpenMP threads, whose waiting for each
# other took most of the RAW target's time on inputs this small.
export OMP_NUM_THREADS=1

# The longest input worth trying: a small picture or a few frames of the format, so
# that merged seeds stay small and mutations of them stay quick to run.
fuzz_max_len() {
  case $1 in
    bmp) echo 65536 ;;
    gif) echo 16384 ;;
    jpeg) echo 16384 ;;
    lossless) echo 16384 ;;  # a small JPEG file: every block is moved for every input
    exif) echo 8192 ;;  # an EXIF block or the first markers of a JPEG file
    png) echo 16384 ;;
    webp) echo 16384 ;;  # a small still picture or a few small frames
    raw) echo 4096 ;;  # a small DNG: LibRaw processes the whole picture for every input
    tiff) echo 16384 ;;  # a small page or a few, with their directories
    ini) echo 16384 ;;
    roundtrip) echo 2048 ;;  # 4 control bytes and a 24 x 24 x 3 picture
    filters) echo 1400 ;;  # 5 control bytes, a 7 x 7 kernel and a 20 x 20 x 3 picture
    *) echo 65536 ;;
  esac
}

# The target's dictionary option, or nothing when it has none.
fuzz_dict_option() {
  local name=$1
  [ "$name" = lossless ] && name=jpeg  # the same file format
  local dict=$fuzz_root/tests/fuzz/$name.dict
  [ -f "$dict" ] && echo "-dict=$dict"
  return 0
}

# Copies every raw seed of target $1 into folder $3: the corpus files of its format
# below 1 MiB (from corpus folder $2), the committed seeds and the regression files in
# folder $4. Files are named by their
# content, so two suite files of the same name are both kept and copies are dropped.
fuzz_raw_seeds() {
  local target=$1 corpus=$2 out=$3 regress=${4:-} f
  mkdir -p "$out"
  {
    if [ -d "$corpus" ] && { [ "$target" = jpeg ] || [ "$target" = exif ] || [ "$target" = lossless ]; }; then
      find "$corpus" -type f \( -iname "*.jpg" -o -iname "*.jpeg" \) -size -1048576c
    elif [ -d "$corpus" ] && [ "$target" = tiff ]; then
      find "$corpus" -type f \( -iname "*.tif" -o -iname "*.tiff" \) -size -1048576c
    elif [ -d "$corpus" ]; then
      find "$corpus" -type f -iname "*.$target" -size -1048576c
    fi
    if [ -d "$fuzz_root/tests/fuzz/seeds/$target" ]; then
      find "$fuzz_root/tests/fuzz/seeds/$target" -type f
    fi
    if [ -n "$regress" ] && [ -d "$regress" ]; then
      find "$regress" -type f
    fi
    if [ "$target" = ini ]; then
      echo "$fuzz_root/tests/data/lum-defaults.ini"
    fi
  } | while IFS= read -r f; do
    cp "$f" "$out/$(sha1sum <"$f" | cut -c1-40)"
  done
}

# Merges the raw seeds in $3 down to the smallest set with the same coverage, cut to
# the target's -max_len, into $4 with fuzzer $1 for target $2.
fuzz_merge_seeds() {
  local fuzzer=$1 target=$2 raw=$3 out=$4
  mkdir -p "$out"
  if [ -n "$(ls -A "$raw")" ]; then
    "$fuzzer" -merge=1 -max_len="$(fuzz_max_len "$target")" -rss_limit_mb=2048 -timeout=10 \
      "$out" "$raw" >"$out.log" 2>&1 || { cat "$out.log" >&2; return 1; }
  fi
}
