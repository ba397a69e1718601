#!/bin/bash
# Extracting a 512 MiB payload with "packer extract" against reading, hashing and copying
# the same bytes with md5sum then cp, in the same run and with a warm cache; also the
# tool's peak resident set size.
# usage: bench/extract_bench.sh PACKER WORKDIR [RUNS]   (BENCH_STUB: stub to build around)
set -eu

packer=$1
work=$2
runs=${3:-3}
payload_mib=512
ratio_target=1.25
memory_target_mib=64

# shellcheck source=bench/bench_lib.sh
. "$(dirname "$0")/bench_lib.sh"

bench_workdir

payload=$work/payload.bin
installer=$work/installer.exe
head -c $((payload_mib << 20)) /dev/urandom >"$payload"
"$packer" build --stub "$(bench_stub "$work")" --output "$installer" --file "payload=$payload" >"$bench_log" 2>&1 ||
    bench_fail "packer build"

# The extraction must give back the payload, or its time would mean nothing.
"$packer" extract "$installer" "$work/out" >"$bench_log" 2>&1 || bench_fail "packer extract"
cmp -s "$payload" "$work/out/payload.bin" || bench_fail "the extracted payload differs from the original"

# Both sides start from a clean slate: outputs removed, earlier writes on disk, inputs
# in the cache (the runs above read them all).
fresh_start() {
    rm -rf "$work/out" "$work/copy.bin"
    sync
}

echo "extract of a ${payload_mib} MiB payload, ${runs} runs each, warm cache"
best_tool="" best_base="" best_tool_cpu="" best_base_cpu="" peak=""
for run in $(seq "$runs"); do
    fresh_start
    # shellcheck disable=SC2016 # the inner shell expands its own arguments
    base=$(timed_memory "$work/base.time" sh -c 'md5sum "$1" >/dev/null && cp "$1" "$2"' sh "$payload" "$work/copy.bin")
    fresh_start
    tool=$(timed_memory "$work/tool.time" "$packer" extract "$installer" "$work/out")
    kib=$(peak_kib "$work/tool.time")
    tool_cpu=$(cpu_ms "$work/tool.time")
    base_cpu=$(cpu_ms "$work/base.time")
    printf '  run %d: packer extract %7.1f ms (cpu %7.1f ms, peak %d KiB)   md5sum + cp %7.1f ms (cpu %7.1f ms)\n' \
        "$run" "$tool" "$tool_cpu" "$kib" "$base" "$base_cpu"
    best_tool=$(min "$best_tool" "$tool")
    best_base=$(min "$best_base" "$base")
    best_tool_cpu=$(min "$best_tool_cpu" "$tool_cpu")
    best_base_cpu=$(min "$best_base_cpu" "$base_cpu")
    peak=$(max "$peak" "$kib")
done

extract_ratio=$(ratio "$best_tool" "$best_base")
peak_mib=$(awk -v kib="$peak" 'BEGIN { printf "%.1f", kib / 1024 }')
printf '  best: packer extract %.1f ms, md5sum + cp %.1f ms; cpu time %.1f ms against %.1f ms (ratio %s)\n' \
    "$best_tool" "$best_base" "$best_tool_cpu" "$best_base_cpu" "$(ratio "$best_tool_cpu" "$best_base_cpu")"
printf '  ratio %s (target <= %s), peak RSS %s MiB (target < %s MiB)\n' "$extract_ratio" "$ratio_target" \
    "$peak_mib" "$memory_target_mib"
printf 'summary\tpacker extract / (md5sum + cp), %d MiB\t%s\t<= %s\t%s\n' "$payload_mib" "$extract_ratio" \
    "$ratio_target" "$(verdict "$extract_ratio" "<=" "$ratio_target")"
printf 'summary\tpacker extract peak RSS, MiB\t%s\t< %s\t%s\n' "$peak_mib" "$memory_target_mib" \
    "$(verdict "$peak_mib" "<" "$memory_target_mib")"
