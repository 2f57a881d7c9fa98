#!/bin/bash
# Benchmarks (not part of the test command): start-up, the window's readiness and the answer
# to a click with a dead network, size and imports, peak working set, a switch's file
# replacement and the work on a hostile page, each against a baseline measured in the same
# run (the page's against the figure before that work was made linear). Prints the table and writes
# docs/benchmarks.md.
# Usage: scripts/bench.sh [bench/bench.py options, e.g. --runs 15]
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
bash scripts/install-deps.sh

echo "== builds"
cmake --preset windows >/dev/null && cmake --build --preset windows -j2 >/dev/null
cmake --preset windows-test >/dev/null && cmake --build --preset windows-test -j2 >/dev/null
# The test build with no web addresses at all: the baseline for the network figures.
cmake -S . -B build/bench-noaddr -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DVORLANE_TEST_HOOKS=ON -DVORLANE_OFFICIAL_SITE_URL= \
    -DVORLANE_DOWNLOAD_PAGE_URL= -DVORLANE_MAKER_PAGE_URL= -DVORLANE_PORTAL_PAGE_URL= >/dev/null
cmake --build build/bench-noaddr -j2 --target vorlane >/dev/null

# The bench programs, with the program's own compiler and flags.
out=build/bench
mkdir -p "$out"
cxx=(x86_64-w64-mingw32-g++-posix -std=c++20 -Os -Wall -Wextra -Wshadow -finput-charset=UTF-8 -fexec-charset=GB18030
     -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0A00
     -static -static-libgcc -static-libstdc++ -s -municode)
"${cxx[@]}" -mwindows -o "$out/minimal_window.exe" bench/minimal_window.cpp -lwindowscodecs
"${cxx[@]}" -o "$out/close_window.exe" bench/close_window.cpp
"${cxx[@]}" -Isrc -o "$out/replace_files.exe" bench/replace_files.cpp \
    build/windows/libvorlane_win32.a build/windows/libvorlane_core.a
# The work on a fetched page is portable: measured natively, optimised as the program is.
g++ -std=c++20 -O2 -finput-charset=UTF-8 -fexec-charset=GB18030 -Isrc -o "$out/page_labels" bench/page_labels.cpp \
    src/online/page_text.cpp src/online/text_between.cpp src/base/text.cpp src/posix/encoding_iconv.cpp

echo "== measuring (a few minutes)"
exec python3 bench/bench.py "$@"
