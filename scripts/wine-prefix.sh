#!/bin/bash
# Prepares the Wine test prefix once (safe to run again).
# Usage: scripts/wine-prefix.sh [browser-recorder-script]
# The optional script is what Wine starts instead of a browser for opened addresses.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

stamp="$WINEPREFIX/.vorlane-ready"
if [ ! -f "$stamp" ]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    settings="$(mktemp --suffix=.reg)"
    # Without a window manager Wine waits on every hidden window unless windows are unmanaged.
    # SimSun is also what message boxes fall back to for Chinese text.
    cat >"$settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"SimSun"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
    wine reg import "$(winepath -w "$settings" 2>/dev/null)" >/dev/null 2>&1
    rm -f "$settings"
    wineserver -w
    touch "$stamp"
fi

# Wine links the desktop to $HOME: shortcuts the program puts there stay in the prefix.
desktop="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Desktop"
if [ -L "$desktop" ]; then
    rm "$desktop"
    mkdir "$desktop"
fi

if [ $# -ge 1 ]; then
    wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /t REG_SZ /d "$1" /f >/dev/null 2>&1
    wineserver -w
fi
