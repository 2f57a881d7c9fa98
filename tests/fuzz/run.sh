#!/bin/bash
# Runs every fuzz target for a bounded time on a scratch copy of its seed corpus (the
# committed corpus never grows). Usage: tests/fuzz/run.sh [seconds per target, default 30]
# Prints one line per target and a gtest-style PASSED/FAILED line that the test command
# counts; a crashing input is kept under build/fuzz/findings/. Exits non-zero on any crash.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
seconds="${1:-30}"
build="$repo/build/fuzz"
targets=(fuzz_text fuzz_text_between fuzz_encoding)

cd "$repo"
if [ ! -f "$build/build.ninja" ]; then
    cmake --preset fuzz >/dev/null || { echo "cannot configure the fuzz build" >&2; exit 1; }
fi
cmake --build --preset fuzz -j2 >/dev/null || { echo "cannot build the fuzz targets" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings="$build/findings"
mkdir -p "$findings"

crashed=0
for target in "${targets[@]}"; do
    cp -r "$here/corpus/$target" "$work/$target"
    log="$work/$target.log"
    "$build/$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$findings/$target-" "$work/$target" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -1)
    if [ $status -eq 0 ]; then
        echo "$target: ${runs:-0} inputs in ${seconds} s, no crash"
        echo "[  PASSED  ] 1 test."
    else
        crashed=1
        echo "$target: crashed after ${runs:-?} inputs (exit $status)"
        grep -m1 -E 'invariant broken|ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error' "$log"
        grep -m1 'Test unit written to' "$log"
        echo "[  FAILED  ] 1 test, listed below:"
        echo "[  FAILED  ] $target"
    fi
done
exit $crashed
