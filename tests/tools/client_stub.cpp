// A stand-in for the game client, a GUI program like the real one: records how it was
// started and exits. Appends one UTF-8 JSON line {"command_line":...,"cwd":...,"exe":...}
// to client_started.log in the folder of its own exe, wherever it was started from.
// When a file "client_stays_running" lies beside it, it then shows a window and runs
// until that window is closed, the process is ended or the file is taken away (which
// the tests do as they end: Wine starts it in a process group of its own).
#include <windows.h>

#include <cstdio>
#include <string>

#include "json_text.h"

namespace {

std::wstring stayMarker;  // the file whose presence keeps the stand-in running

std::wstring ownPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring currentDirectory() {
    std::wstring dir(32768, L'\0');
    dir.resize(GetCurrentDirectoryW(static_cast<DWORD>(dir.size()), dir.data()));
    return dir;
}

bool record(const std::wstring& folder) {
    std::string line = "{\"command_line\":" + json(GetCommandLineW()) + ",\"cwd\":" + json(currentDirectory()) +
                       ",\"exe\":" + json(ownPath()) + "}\n";
    HANDLE file = CreateFileW((folder + L"client_started.log").c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size();
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_TIMER && GetFileAttributesW(stayMarker.c_str()) == INVALID_FILE_ATTRIBUTES) DestroyWindow(hwnd);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wp, lp);
}

int runUntilClosed(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"VorlaneClientStandIn";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"Client stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, instance, nullptr);
    SetTimer(window, 1, 100, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const std::wstring exe = ownPath();
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
    if (!record(folder)) return 1;
    stayMarker = folder + L"client_stays_running";
    if (GetFileAttributesW(stayMarker.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    return runUntilClosed(instance);
}
