#!/bin/sh
# Builds one fuzz target and runs it for a number of seconds:
#   tools/fuzz/run.sh <name> <seconds> [extra libFuzzer options]
# e.g. tools/fuzz/run.sh mpegaudio 600
# Names: mpegaudio, id3v2, id3v1. New inputs go to build-fuzz/corpus/<name>,
# crashing inputs to build-fuzz/artifacts/<name>/. Seeds are seeds/<name>/
# plus the kept regression inputs of the readers' tests.
set -eu
name=$1 seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${MURMELO_FUZZ_BUILD:-$root/build-fuzz}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DMURMELO_FUZZ=ON -DMURMELO_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target "fuzz_$name" -j2 >/dev/null
corpus=$build/corpus/$name
mkdir -p "$corpus" "$build/artifacts/$name"
# The MPEG reader looks at three blocks of 3458 bytes: inputs must reach past them.
case $name in
  mpegaudio) maxlen=12000 ;;
  *) maxlen=4096 ;;
esac
set -- "$@" "$corpus" "$here/seeds/$name"
kept=$root/tests/audio_readers/regressions/$name
if [ -d "$kept" ]; then set -- "$@" "$kept"; fi
exec "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$build/artifacts/$name/" "$@"
