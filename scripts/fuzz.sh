#!/bin/sh
# Runs every fuzz target (or the ones named) for longer than CI does.
# usage: scripts/fuzz.sh [SECONDS [TARGET...]]   (default 600 seconds each)
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-600}
[ $# -gt 0 ] && shift
scripts/setup.sh
# A build tree of its own, so that CI's short runs keep their length.
build=build/fuzz-long
cmake --preset fuzz -B "$build" -DFUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$build" -j2
pattern='^fuzz\.'
if [ $# -gt 0 ]; then
  pattern="^fuzz\.($(echo "$@" | tr ' ' '|'))(\.regressions)?\$"
fi
ctest --test-dir "$build" -R "$pattern" --timeout $((seconds + 120)) --output-on-failure
