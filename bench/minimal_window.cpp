// The baseline for the start-up and memory figures: the least a Win32 program of the
// same size can do (an 847 x 490 popup that paints one fill), logging the same
// first_paint_ms, input_ready_ms and peak_working_set lines as the test build does.
//   minimal_window.exe [DLL...]   first loads the DLLs named, to tell their share apart
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void appendLogLine(const std::string& line) {
    const char* path = std::getenv("VORLANE_TEST_LOG");
    if (!path || !*path) return;
    if (std::FILE* f = std::fopen(path, "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

// Milliseconds since the process was created, as the test build measures them.
void logSinceProcessCreation(const char* key) {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return;
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& f) { return (static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    appendLogLine(std::string("{\"") + key + "\":" + std::to_string(static_cast<double>(ticks(now) - ticks(created)) / 10000.0) + "}");
}

void logPeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return;
    appendLogLine("{\"peak_working_set\":" + std::to_string(counters.PeakWorkingSetSize) + "}");
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HBRUSH fill = CreateSolidBrush(RGB(24, 32, 48));
            FillRect(dc, &paint.rcPaint, fill);
            DeleteObject(fill);
            EndPaint(window, &paint);
            static bool logged = false;
            if (!logged) {
                logged = true;
                logSinceProcessCreation("first_paint_ms");
            }
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    for (int i = 1; i < __argc; ++i) LoadLibraryW(__wargv[i]);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"VorlaneBenchMinimal";
    if (!RegisterClassW(&windowClass)) return 1;
    int left = (GetSystemMetrics(SM_CXSCREEN) - 847) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - 490) / 2;
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, windowClass.lpszClassName, L"VorlaneBenchMinimal",
                                  WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, left, top, 847, 490, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    logSinceProcessCreation("input_ready_ms");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    logPeakWorkingSet();
    return 0;
}
