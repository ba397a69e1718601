# Helpers shared by the benchmark scripts (sourced, bash): a clock, timed runs with their
# peak memory, arithmetic on the figures, and a stub to build installers around.
# The sourcing script sets bench_log, the file that takes each command's output.
# shellcheck shell=bash disable=SC2154

# Microseconds since the epoch, from bash's own clock: no process is started to read it,
# so short commands are timed without a fork in the measurement.
now_us() {
    local now=${EPOCHREALTIME/[.,]/}
    echo "${now}"
}

# timed COMMAND...: runs the command with its output in "$bench_log" and prints its wall
# time in milliseconds. A failing command ends the benchmark with its output shown:
# figures from a failed run would mean nothing.
timed() {
    local start end
    start=$(now_us)
    "$@" >"$bench_log" 2>&1 || bench_fail "$*"
    end=$(now_us)
    awk -v us=$((end - start)) 'BEGIN { printf "%.3f", us / 1000 }'
}

# timed_memory REPORT COMMAND...: the same under GNU time, whose report (with the peak
# resident set size) goes to REPORT.
timed_memory() {
    local report=$1
    shift
    timed /usr/bin/time -v -o "$report" "$@"
}

# peak_kib REPORT: the peak resident set size in KiB from a GNU time report.
peak_kib() {
    awk -F': ' '/Maximum resident set size/ { print $2 }' "$1"
}

# cpu_ms REPORT: user plus system time in milliseconds from a GNU time report; unlike the
# wall time, it hardly grows when other work shares the processors.
cpu_ms() {
    awk -F': ' '/User time|System time/ { total += $2 } END { printf "%.1f", total * 1000 }' "$1"
}

bench_fail() {
    echo "bench: failed: $1" >&2
    cat "$bench_log" >&2
    exit 1
}

# min A B, max A B, ratio A B (A / B), on decimal figures.
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
max() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b > a) ? b : a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# verdict FIGURE OPERATOR LIMIT: "met" or "MISSED" for FIGURE compared with LIMIT.
verdict() {
    awk -v x="$1" -v op="$2" -v limit="$3" 'BEGIN {
        ok = (op == "<") ? x < limit : (op == "<=") ? x <= limit : (op == ">=") ? x >= limit : 0
        print ok ? "met" : "MISSED" }'
}

# bench_stub DIR: prints the path of a stub for packer build. $BENCH_STUB when set (for
# example a Reader.exe of the win64 build), else a minimal image made in DIR: an "MZ"
# header is all that the tool needs of a stub it does not run.
bench_stub() {
    if [ -n "${BENCH_STUB:-}" ]; then
        echo "$BENCH_STUB"
        return
    fi
    local stub=$1/stub.exe
    { printf 'MZ'; head -c 1022 /dev/zero; } >"$stub"
    echo "$stub"
}

# Makes the working folder $work absolute, creates it, points $bench_log into it and
# removes it when the benchmark exits.
bench_workdir() {
  mkdir -p "$work"
  work=$(cd "$work" && pwd)
  bench_log=$work/command.log
  trap 'rm -rf "$work"' EXIT
}
