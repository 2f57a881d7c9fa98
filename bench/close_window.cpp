// Asks every top-level window with the given title to close, as its close box would:
//   close_window.exe <title>
// Exit status 0 when at least one such window was found.
#include <windows.h>

namespace {

struct Search {
    const wchar_t* title;
    int found = 0;
};

BOOL CALLBACK closeIfNamed(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t title[256];
    if (GetWindowTextW(window, title, 256) > 0 && lstrcmpW(title, search->title) == 0) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        ++search->found;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    Search search{argv[1]};
    EnumWindows(closeIfNamed, reinterpret_cast<LPARAM>(&search));
    return search.found > 0 ? 0 : 1;
}
