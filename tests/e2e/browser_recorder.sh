#!/bin/sh
# Stands in for the web browser in the test prefix: records each address the program opens
# in the file the harness names, one a line.
if [ -n "$VORLANE_E2E_BROWSER_LOG" ]; then
    printf '%s\n' "$1" >>"$VORLANE_E2E_BROWSER_LOG"
fi
