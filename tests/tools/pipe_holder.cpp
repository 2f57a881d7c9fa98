// Holds a named pipe open and never writes to it: a program that reads from it would wait
// for ever. Usage: pipe_holder.exe NAME (\\.\pipe\NAME). Prints "ready" once the pipe takes
// clients, then stays until it is ended.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    const std::wstring name = std::wstring(LR"(\\.\pipe\)") + argv[1];
    HANDLE pipe = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                   PIPE_UNLIMITED_INSTANCES, 0, 0, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return 1;
    std::puts("ready");
    std::fflush(stdout);
    for (;;) Sleep(INFINITE);
}
