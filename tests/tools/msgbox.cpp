// Reads and dismisses the message boxes of the Wine session it runs in, for the end-to-end tests.
//   msgbox.exe list      one JSON line per visible message box: {"hwnd":...,"caption":...,"text":...}
//   msgbox.exe dismiss   presses OK (or Yes) of every visible message box
// Exit status 0 when at least one message box was found, 1 when there was none.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "json_text.h"

namespace {

std::wstring windowText(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(h, text.data(), n + 1)));
    return text;
}

BOOL CALLBACK findEditable(HWND child, LPARAM found) {
    wchar_t cls[32];
    GetClassNameW(child, cls, 32);
    if (!lstrcmpiW(cls, L"Edit") || !lstrcmpiW(cls, L"ComboBox") || !lstrcmpiW(cls, L"ComboBoxEx32")) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// A message box is a visible dialog with its text in the static control 0xFFFF and
// nothing to type into, which tells it apart from the open-file dialog.
bool isMessageBox(HWND h) {
    wchar_t cls[16];
    if (!GetClassNameW(h, cls, 16) || lstrcmpW(cls, L"#32770") || !IsWindowVisible(h)) return false;
    if (!GetDlgItem(h, 0xFFFF)) return false;
    bool editable = false;
    EnumChildWindows(h, findEditable, reinterpret_cast<LPARAM>(&editable));
    return !editable;
}

BOOL CALLBACK collect(HWND h, LPARAM boxes) {
    if (isMessageBox(h)) reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(h);
    return TRUE;
}

// OK, or Yes (Wine reports OK as the default button of a Yes/No box, which has none).
void dismiss(HWND box) {
    int id = IDOK;
    if (!IsWindowVisible(GetDlgItem(box, IDOK))) id = IDYES;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 1 ? argv[1] : L"list";
    if (mode != L"list" && mode != L"dismiss") {
        std::fputs("usage: msgbox.exe list|dismiss\n", stderr);
        return 2;
    }
    std::vector<HWND> boxes;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&boxes));
    for (HWND box : boxes) {
        if (mode == L"dismiss") {
            dismiss(box);
        } else {
            char hwnd[32];
            std::snprintf(hwnd, sizeof hwnd, "%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(box)));
            std::string line = std::string("{\"hwnd\":\"") + hwnd + "\",\"caption\":" + json(windowText(box)) +
                               ",\"text\":" + json(windowText(GetDlgItem(box, 0xFFFF))) + "}\n";
            std::fwrite(line.data(), 1, line.size(), stdout);
        }
    }
    std::fflush(stdout);
    return boxes.empty() ? 1 : 0;
}
