#!/bin/bash
# Network torture: httpGet against hostile loopback servers (a cross-built GoogleTest
# program under Wine), then the real test build with every web address dead.
# Usage: tests/torture/run.sh
# Prints GoogleTest summary lines that the test command counts; the measured time of
# every fetch goes to build/torture/measured.txt. Needs the windows and windows-test builds.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
out="$repo/build/torture"
lib="$repo/build/windows"
mkdir -p "$out"

fail() {  # why test-name
    echo "$1"
    echo "[  FAILED  ] 1 test, listed below:"
    echo "[  FAILED  ] $2"
    exit 1
}

for needed in libvorlane_win32.a libvorlane_core.a libgtest_win.a; do
    [ -f "$lib/$needed" ] || fail "$lib/$needed is missing: cmake --preset windows && cmake --build --preset windows -j2" Torture.Build
done
exe="$out/torture_test.exe"
if [ ! -f "$exe" ] || [ -n "$(find "$here/torture_test.cpp" "$lib"/libvorlane_*.a -newer "$exe")" ]; then
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Wshadow -finput-charset=UTF-8 -fexec-charset=GB18030 \
        -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0A00 \
        -I"$repo/src" -isystem /usr/src/googletest/googletest/include -o "$exe" "$here/torture_test.cpp" \
        "$lib/libgtest_win.a" "$lib/libvorlane_win32.a" "$lib/libvorlane_core.a" \
        -lwininet -lwinmm -liphlpapi -lwindowscodecs -lole32 -loleaut32 -lshell32 -lshlwapi -lcomdlg32 -lcomctl32 \
        -luxtheme -lgdi32 -luser32 -static -static-libgcc -static-libstdc++ \
        || fail "cannot build the torture tests" Torture.Build
fi

. "$repo/scripts/wine-env.sh"
"$repo/scripts/wine-prefix.sh" || fail "cannot prepare the Wine prefix" Torture.Prefix

work="$(mktemp -d)"
server_pid=""
cleanup() {
    wineserver -w 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

python3 "$here/hostile_server.py" --lifetime 300 --port-file "$work/port" --stats "$work/stats" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || fail "the hostile server did not start" Torture.Server

VORLANE_TORTURE_PORT="$(cat "$work/port")" wine "$exe" 2>&1 | tee "$work/gtest.log"
status=${PIPESTATUS[0]}
{
    grep '^torture: ' "$work/gtest.log"
    # What the server sent of its 100 MB body, including what WinINet read after the answer.
    python3 -c 'import json,sys; print("server sent for /huge:", [json.loads(l)["sent"] for l in open(sys.argv[1]) if json.loads(l)["path"] == "/huge"])' "$work/stats"
} >"$out/measured.txt"

cd "$here" && python3 dead_network_e2e.py 2>&1 | tee "$work/e2e.log"
e2e_status=${PIPESTATUS[0]}
grep -E '^(blackhole|garbage|metaflood|hugemarker): ' "$work/e2e.log" >>"$out/measured.txt"
[ $status -eq 0 ] && [ $e2e_status -eq 0 ]
