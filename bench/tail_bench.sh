#!/bin/bash
# The backward search for the tail record behind 1 MiB of trailing zero bytes: "packer
# verify" as a whole command and the reader's find_tail alone, each against the same
# installer without trailing bytes.
# usage: bench/tail_bench.sh PACKER TAIL_SEARCH_BENCH WORKDIR [RUNS]   (BENCH_STUB: stub)
set -eu

packer=$1
search_bench=$2
work=$3
runs=${4:-20}
target_ms=20

# shellcheck source=bench/bench_lib.sh
. "$(dirname "$0")/bench_lib.sh"

bench_workdir

# A small payload, so that verifying its digest adds little to the search.
plain=$work/plain.exe
trailed=$work/trailed.exe
head -c 65536 /dev/urandom >"$work/payload.bin"
"$packer" build --stub "$(bench_stub "$work")" --output "$plain" --file "payload=$work/payload.bin" \
    >"$bench_log" 2>&1 || bench_fail "packer build"
{ cat "$plain"; head -c $((1 << 20)) /dev/zero; } >"$trailed"

echo "packer verify, best of ${runs}, warm cache"
best_plain="" best_trailed=""
for _ in $(seq "$runs"); do
    time_plain=$(timed "$packer" verify "$plain")
    time_trailed=$(timed "$packer" verify "$trailed")
    best_plain=$(min "$best_plain" "$time_plain")
    best_trailed=$(min "$best_trailed" "$time_trailed")
done
verify_ratio=$(ratio "$best_trailed" "$best_plain")
printf '  without trailing bytes  %8.3f ms\n' "$best_plain"
printf '  with 1 MiB of zeros     %8.3f ms (target < %s ms)\n' "$best_trailed" "$target_ms"
printf '  ratio                   %8.3f\n' "$verify_ratio"
printf 'summary\tpacker verify behind 1 MiB, ms (ratio to none: %s)\t%s\t< %s\t%s\n' "$verify_ratio" \
    "$best_trailed" "$target_ms" "$(verdict "$best_trailed" "<" "$target_ms")"

"$search_bench" "$plain" "$trailed" "$runs"
