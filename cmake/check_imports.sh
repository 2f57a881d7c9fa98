#!/bin/sh
# Fails when an executable imports a DLL that Windows does not ship (a MinGW runtime DLL
# would make the program refuse to start on a player's machine), when it imports at
# start a DLL that should load on first use, or when it could load a library from its own
# folder: it must look up SetDefaultDllDirectories (at run time, so that Windows 7 without
# the update still starts), which confines every later load by name to the system folder,
# and load what it needs itself with LoadLibraryExW.
#   check_imports.sh EXE [DLL loaded on first use, without .dll ...]
exe="$1"
shift
allowed='^(kernel32|user32|gdi32|comdlg32|comctl32|shell32|shlwapi|ole32|oleaut32|windowscodecs|wininet|winmm|iphlpapi|uxtheme|advapi32|msvcrt|ws2_32|api-ms-win-.*)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
bad=$(printf '%s\n' "$dlls" "$@" | sed '/\./!s/$/.dll/' | grep -v -E "$allowed" | grep -v '^\.dll$' | grep -v '^$')
if [ -n "$bad" ]; then
    echo "error: $exe imports non-system DLLs: $bad" >&2
    exit 1
fi
for late in "$@"; do
    if printf '%s\n' "$dlls" | grep -q -x "$late.dll"; then
        echo "error: $exe imports $late.dll at start; it loads on first use (add the function to cmake/delay_load/$late.def)" >&2
        exit 1
    fi
done
functions=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*[0-9a-f]\+\s\+[0-9]\+\s\+\(\S\+\)$/\1/p')
if ! printf '%s\n' "$functions" | grep -q -x LoadLibraryExW; then
    echo "error: $exe does not import LoadLibraryExW: libraries must be loaded from the system folder" >&2
    exit 1
fi
if ! x86_64-w64-mingw32-strings -a "$exe" | grep -q -x SetDefaultDllDirectories; then
    echo "error: $exe never asks for SetDefaultDllDirectories" >&2
    exit 1
fi
exit 0
