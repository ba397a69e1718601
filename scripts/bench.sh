#!/bin/bash
# Builds the benchmarks in a tree of their own and runs them: MD5 against OpenSSL, packer
# extract against md5sum + cp, and the tail search behind trailing bytes; ends with a
# table of the figures against their targets. Nothing here fails on a missed target.
# usage: scripts/bench.sh   (BENCH_STUB=path/Reader.exe builds around that stub)
set -eu -o pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=build/bench
cmake --preset native -B "$build" -DBUILD_TESTING=OFF -DBENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 --target packer md5_bench tail_search_bench
bin=$build/bin

results=$(mktemp)
trap 'rm -f "$results"' EXIT

# Shows a benchmark's report as it comes and keeps its summary lines for the table.
run() {
    echo
    "$@" | while IFS= read -r line; do
        case $line in
            summary$'\t'*) printf '%s\n' "${line#summary$'\t'}" >>"$results" ;;
            *) printf '%s\n' "$line" ;;
        esac
    done
}

run "$bin/md5_bench"
run bench/extract_bench.sh "$bin/packer" "$build/work-extract" 5
run bench/tail_bench.sh "$bin/packer" "$bin/tail_search_bench" "$build/work-tail" 20

echo
printf '%-58s %10s %8s  %s\n' "measure" "figure" "target" "result"
while IFS=$'\t' read -r measure figure target result; do
    printf '%-58s %10s %8s  %s\n' "$measure" "$figure" "$target" "$result"
done <"$results"
