#!/bin/bash
# Builds everything and runs every test tier: native unit tests (also under ASan and
# UBSan), the Windows-layer tests under Wine, the fuzz targets for a bounded time, the
# crash-consistency, network and path campaigns under Wine, the release (address checks,
# two releases that must agree to the byte), and the end-to-end tests of the real program
# under Wine + Xvfb. The last line printed is the total:
# "N passed, N failed".
set -uo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
logs="$repo/build/test-logs"

bash scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$logs"
rm -f "$logs"/*.log

passed=0
failed=0
skipped=0
declare -a summary

count() {  # tier log status
    local tier=$1 log=$2 status=$3 p f s
    if grep -q '^e2e: ' "$log"; then
        p=$(sed -n 's/^e2e: \([0-9]*\) passed.*/\1/p' "$log" | tail -1)
        f=$(sed -n 's/^e2e: [0-9]* passed, \([0-9]*\) failed.*/\1/p' "$log" | tail -1)
        s=$(sed -n 's/.* \([0-9]*\) skipped.*/\1/p' "$log" | tail -1)
    else
        p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | awk '{s+=$1} END {print s+0}')
        f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | awk '{s+=$1} END {print s+0}')
        s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) test.*/\1/p' "$log" | awk '{s+=$1} END {print s+0}')
    fi
    p=${p:-0} f=${f:-0} s=${s:-0}
    # A tier that fails without reporting a failed test (a crash, a build error) counts as one.
    if [ "$status" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
    summary+=("$(printf '%-12s %4d passed, %d failed, %d skipped   (%s)' "$tier" "$p" "$f" "$s" "${log#$repo/}")")
}

run() {  # tier command...
    local tier=$1 log="$logs/$1.log"
    shift
    echo "== $tier"
    "$@" >"$log" 2>&1
    local status=$?
    count "$tier" "$log" "$status"
    echo "${summary[-1]}"
}

build() {  # preset
    cmake --preset "$1" >>"$logs/build-$1.log" 2>&1 && cmake --build --preset "$1" -j2 >>"$logs/build-$1.log" 2>&1
}

for preset in native native-asan windows windows-test; do
    echo "== build $preset"
    if ! build "$preset"; then
        tail -30 "$logs/build-$preset.log"
        count "build-$preset" "$logs/build-$preset.log" 1
    fi
done

run unit build/native/vorlane_unit_tests
run unit-asan build/native-asan/vorlane_unit_tests
run win32 bash tests/win32/run.sh "$repo/build/windows/vorlane_win32_tests.exe"
run fuzz bash tests/fuzz/run.sh
run crash bash tests/crash/run.sh
[ -f tests/torture/run.sh ] && run torture bash tests/torture/run.sh
[ -f tests/paths/run.sh ] && run paths bash tests/paths/run.sh
run release python3 tests/release/release_test.py
run e2e python3 tests/e2e/run.py --build "$repo/build/windows-test"

echo
printf '%s\n' "${summary[@]}"
if [ "$skipped" -gt 0 ]; then
    echo "$passed passed, $failed failed, $skipped skipped"
else
    echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
