#!/usr/bin/env bash
# A short libFuzzer run of every fuzz target, and a replay of every kept regression input.
#   scripts/fuzz-smoke.sh [seconds per target, default 10]
# Builds the fuzz preset when needed. New inputs, crash files and the targets' scratch
# folders go to a temporary folder that is removed at the end; the checkout stays clean.
# Fails on any crash, sanitizer report, leak, timeout or out-of-memory.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-10}"
targets=(fuzz_fieldtext fuzz_input fuzz_compact fuzz_obs fuzz_nav_n fuzz_nav_g fuzz_nav_h fuzz_nav_l fuzz_meteo)
build=build/fuzz

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset fuzz
fi
cmake --build "$build" --target fuzz_all -j2

work="$(mktemp -d "${TMPDIR:-/tmp}/quillon-fuzz-smoke.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tmp"
export TMPDIR="$work/tmp" # the targets' own scratch folders
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"

failed=()
printf '%-16s %12s %8s  %s\n' target runs seconds result
for t in "${targets[@]}"; do
    bin="$build/fuzz/$t"
    log="$work/$t.log"
    result=ok
    # The kept regression inputs, each run once.
    if [ -d "fuzz/regressions/$t" ] && [ -n "$(ls -A "fuzz/regressions/$t")" ]; then
        if ! "$bin" -runs=1 "fuzz/regressions/$t"/* >"$work/$t.replay.log" 2>&1; then
            result="regression input fails"
            cat "$work/$t.replay.log" >&2
        fi
    fi
    # The fuzz run: the scratch corpus first (libFuzzer writes there), the seeds second.
    mkdir -p "$work/corpus/$t" "$work/artifacts/$t"
    if ! "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
        -dict=fuzz/dict/rinex.dict -artifact_prefix="$work/artifacts/$t/" -print_final_stats=1 \
        "$work/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
        result="FAILED"
        tail -n 60 "$log" >&2
    fi
    if [ -n "$(ls -A "$work/artifacts/$t")" ]; then
        result="FAILED (artifact $(ls "$work/artifacts/$t" | head -n 1))"
    fi
    done_line="$(grep -E '^Done [0-9]+ runs in [0-9]+ second' "$log" | tail -n 1 || true)"
    runs="$(sed -E 's/^Done ([0-9]+) runs in ([0-9]+) second.*/\1/' <<<"$done_line")"
    secs="$(sed -E 's/^Done ([0-9]+) runs in ([0-9]+) second.*/\2/' <<<"$done_line")"
    printf '%-16s %12s %8s  %s\n' "$t" "${runs:--}" "${secs:--}" "$result"
    [ "$result" = ok ] || failed+=("$t")
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz smoke: failed: ${failed[*]}" >&2
    exit 1
fi
echo "fuzz smoke: ok"
