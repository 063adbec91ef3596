#!/bin/sh
# Makes a folder of test MP3 files with sox and lame (CBR, VBR, MPEG 2 and
# 2.5, tagged) and runs the reader benchmark on it:
#   tools/bench-readers/run.sh [BUILD_DIR] [PASSES]
# The files go to tools/bench-data/readers/ (made once, git-ignored). Needs
# libtag1-dev (TagLib), which only this benchmark uses.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
passes=${2:-5}
data=$root/tools/bench-data/readers

if [ ! -f "$data/.done" ]; then
  mkdir -p "$data"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  i=0
  for secs in 20 45 90 180; do
    for rate in 44100 22050 8000; do
      sox -n -r $rate -c 2 -b 16 "$tmp/in.wav" synth $secs pinknoise vol 0.3
      for opts in "-b 128" "-b 64 -m m" "-V 2" "-V 6 -m m" \
                  "-b 96 --add-id3v2 --pad-id3v2-size 2048 --tt Title --ta Artist --tl Album --ty 2004 --tn 3" \
                  "-V 4 --id3v2-only --id3v2-utf16 --tt Title --ta Artist"; do
        i=$((i + 1))
        # shellcheck disable=SC2086
        lame --quiet $opts "$tmp/in.wav" "$data/$(printf %03d $i).mp3"
      done
    done
  done
  touch "$data/.done"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DMURMELO_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target bench-readers -j2 >/dev/null
"$build/bin/bench-readers" "$data" "$passes"
