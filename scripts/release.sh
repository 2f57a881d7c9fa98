#!/bin/bash
# Builds the shipped vorlane.exe from a clean build folder and packs the release:
# dist/vorlane-<version>-win64.zip (vorlane.exe and 使用说明.txt) and dist/SHA256SUMS.
#
#   scripts/release.sh [--test-addresses] [-DVARIABLE=VALUE ...]
#
# -D settings go to CMake: the server addresses (VORLANE_LIVE_SERVERS,
# VORLANE_EXPERIENCE_SERVER) and the web addresses. A build whose server addresses are still
# the documentation defaults is refused unless --test-addresses is given, which marks the
# zip's name. Two runs of the same commit with the same settings give the same bytes: the
# times in the program and the zip come from SOURCE_DATE_EPOCH, by default the commit's date.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)"
cd "$repo"

usage="usage: scripts/release.sh [--test-addresses] [-DVARIABLE=VALUE ...]"
test_addresses=0
settings=()
for arg in "$@"; do
    case "$arg" in
        --test-addresses) test_addresses=1 ;;
        -DVORLANE_TEST_*) echo "error: the VORLANE_TEST_ settings are for test builds, never for a release" >&2; exit 2 ;;
        -D?*) settings+=("$arg") ;;
        *) echo "$usage" >&2; exit 2 ;;
    esac
done

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if [ "$(git rev-parse --show-toplevel 2>/dev/null)" != "$repo" ]; then
        echo "error: $repo is not a git checkout: set SOURCE_DATE_EPOCH to the release's time" >&2
        exit 1
    fi
    SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
    [ -z "$(git status --porcelain)" ] ||
        echo "warning: the working tree differs from its commit; nobody can rebuild this release" >&2
fi
export SOURCE_DATE_EPOCH

build="$repo/build/release"
rm -rf "$build"
cmake --preset windows -B "$build" "${settings[@]}"
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

name="vorlane-$(cached CMAKE_PROJECT_VERSION)-win64"
documentation="$(cached VORLANE_DOCUMENTATION_SERVERS)"
if [ -n "$documentation" ]; then
    if [ $test_addresses -eq 0 ]; then
        cat >&2 <<EOF
error: ${documentation//;/ and } still hold documentation addresses, which reach no server.
Set the real servers, for example:
  bash scripts/release.sh -DVORLANE_LIVE_SERVERS="host.name;a.b.c.d;a.b.c.d;a.b.c.d;a.b.c.d" -DVORLANE_EXPERIENCE_SERVER=a.b.c.d
or build a release for testing only with --test-addresses.
EOF
        exit 1
    fi
    name="$name-test-addresses"
fi

cmake --build "$build" --target vorlane -j2
rm -rf "$repo/dist"
python3 "$repo/scripts/release_zip.py" "$build/vorlane.exe" "$repo/README.md" "$(cached CMAKE_PROJECT_VERSION)" \
    "$repo/dist/$name.zip"
cat "$repo/dist/SHA256SUMS"
