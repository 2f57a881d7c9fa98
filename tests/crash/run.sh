#!/bin/bash
# Crash consistency of a switch under Wine: cross-builds the helper and the campaign,
# then kills the helper mid-replacement again and again (see crash_campaign.cpp).
# Usage: tests/crash/run.sh [kills, default 200]
# Prints a gtest-style PASSED/FAILED line that the test command counts.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
kills="${1:-200}"
out="$repo/build/crash"
mkdir -p "$out"

fail() {
    echo "$1"
    echo "[  FAILED  ] 1 test, listed below:"
    echo "[  FAILED  ] CrashConsistency.SwitchKilledMidway"
    exit 1
}

cxx=(x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -Wshadow -finput-charset=UTF-8
     -fexec-charset=GB18030 -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0A00
     -I"$repo/src" -I"$here" -static -static-libgcc -static-libstdc++ -municode)
helper_sources=("$here/replace_loop.cpp" "$repo/src/platform/file_replace.cpp" "$repo/src/platform/replace_journal.cpp"
                "$repo/src/base/text.cpp" "$repo/src/base/sealed_text.cpp"
                "$repo/src/win32/files_win32.cpp" "$repo/src/win32/encoding_win32.cpp")
# Rebuilt only when a source or a header of the layers it uses is newer than the program.
build() {  # exe sources...
    local exe=$1
    shift
    if [ -f "$exe" ] && ! find "$@" "$here/switch_files.h" "$repo/src/base" "$repo/src/platform" "$repo/src/ui" "$repo/src/win32" \( -name '*.cpp' -o -name '*.h' \) \
            -newer "$exe" | grep -q .; then
        return 0
    fi
    "${cxx[@]}" -o "$exe" "$@"
}
build "$out/replace_loop.exe" "${helper_sources[@]}" || fail "cannot build the replacement helper"
build "$out/crash_campaign.exe" "$here/crash_campaign.cpp" || fail "cannot build the crash campaign"

. "$repo/scripts/wine-env.sh"
"$repo/scripts/wine-prefix.sh" || fail "cannot prepare the Wine prefix"

# The temp folder as a second drive, as a subst or a newly lettered external disk gives it.
temp="$(winepath -u "$(wine cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r')" 2>/dev/null)"
drive="$WINEPREFIX/dosdevices/r:"
other=()
if [ -d "$temp" ] && [ ! -e "$drive" ] && ln -s "$temp" "$drive"; then
    other=("R:")
    trap 'rm -f "$drive"' EXIT
fi

seed="${VORLANE_CRASH_SEED:-$(date +%s)}"
wine "$out/crash_campaign.exe" "$(winepath -w "$out/replace_loop.exe" 2>/dev/null)" "$kills" "$seed" "${other[@]}"
status=$?
wineserver -w
[ $status -eq 0 ] || fail "the crash campaign failed (exit $status, seed $seed)"
echo "[  PASSED  ] 1 test."
