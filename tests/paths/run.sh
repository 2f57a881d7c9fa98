#!/bin/bash
# Hard game-folder paths: the real test build under Wine + Xvfb switches and installs
# music in folders named with spaces, Chinese, characters outside GBK and more than 260
# characters (see paths_e2e.py). Usage: tests/paths/run.sh
# Prints GoogleTest summary lines that the test command counts. Needs the windows-test build.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$here" && exec python3 paths_e2e.py
