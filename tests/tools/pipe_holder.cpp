// Holds \\.\pipe\NAME open and never writes to it, so that a read from it would wait for ever.
// Usage: pipe_holder.exe NAME. Prints "ready", then stays until it is ended.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    const std::wstring name = std::wstring(LR"(\\.\pipe\)") + (argc == 2 ? argv[1] : L"");
    if (argc != 2 || CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, nullptr) == INVALID_HANDLE_VALUE)
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    for (;;) Sleep(INFINITE);
}
