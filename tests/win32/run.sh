#!/bin/bash
# Runs the Windows-layer tests under Wine, against the loopback HTTP server and the
# sample media. Usage: tests/win32/run.sh [TEST_EXE] [gtest arguments...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
exe="${1:-$repo/build/windows/vorlane_win32_tests.exe}"
shift || true
. "$repo/scripts/wine-env.sh"
"$repo/scripts/wine-prefix.sh" || { echo "cannot prepare the Wine prefix" >&2; exit 1; }

work="$(mktemp -d)"
server_pid=""
xvfb_pid=""
cleanup() {
    wineserver -w 2>/dev/null
    for pid in $server_pid $xvfb_pid; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

# Windows that paint need a display; start a private one when there is none.
if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$work/display")"
fi

python3 "$repo/tests/media/make_media.py" "$work/media" || exit 1
python3 "$repo/tests/servers/http_server.py" --lifetime 1800 --port-file "$work/port" >/dev/null &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
[ -s "$work/port" ] || { echo "the test HTTP server did not start" >&2; exit 1; }

export VORLANE_TEST_HTTP_PORT="$(cat "$work/port")"
# A FIFO that this script holds open for writing and never writes to: reading it waits.
mkfifo "$work/fifo" && exec 3<>"$work/fifo"
export VORLANE_TEST_FIFO="$(winepath -w "$work/fifo" 2>/dev/null)"
export VORLANE_TEST_MP3="$(winepath -w "$work/media/tone.mp3" 2>/dev/null)"

# Once with the null sound device, then the music tests again without any device.
wine "$exe" "$@"
status=$?
if [ $status -eq 0 ] && [ $# -eq 0 ]; then
    ALSA_CONFIG_PATH="$repo/scripts/alsa-none.conf" wine "$exe" --gtest_filter='Music.*:-Music.PlaysTheGivenNumberOfTimes'
    status=$?
fi
exit $status
