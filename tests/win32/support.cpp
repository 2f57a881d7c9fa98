#include "support.h"

#include <algorithm>

#include "win32/services.h"

namespace vorlane::win32::testing {
namespace {

void removeTree(const std::wstring& folder) {
    for (const std::wstring& name : folderEntries(folder)) {
        std::wstring path = folder + L"\\" + name;
        DWORD attributes = GetFileAttributesW(path.c_str());
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            removeTree(path);
        } else {
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

SystemHook* activeHook = nullptr;

}  // namespace

SystemHook::SystemHook(const wchar_t* refusedClass)
    : hook_(SetWindowsHookExW(WH_CBT, &SystemHook::procedure, nullptr, GetCurrentThreadId())),
      refusedClass_(refusedClass) {
    activeHook = this;
}

SystemHook::~SystemHook() {
    activeHook = nullptr;
    UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK SystemHook::procedure(int code, WPARAM wp, LPARAM lp) {
    SystemHook* self = activeHook;
    HWND window = reinterpret_cast<HWND>(wp);
    wchar_t name[64] = L"";
    if (self && code == HCBT_CREATEWND && self->refusedClass_) {
        const wchar_t* made = reinterpret_cast<const CBT_CREATEWNDW*>(lp)->lpcs->lpszClass;
        if (!IS_INTRESOURCE(made) && wcscmp(made, self->refusedClass_) == 0) return 1;
    }
    if (self && code == HCBT_ACTIVATE && GetClassNameW(window, name, 64) && wcscmp(name, L"#32770") == 0) {
        wchar_t text[1024] = L"";
        GetDlgItemTextW(window, 0xFFFF, text, 1024);
        self->messages_.push_back(text);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

TempFolder::TempFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, n);
    wide_ = base + L"vorlane 测试 " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    CreateDirectoryW(wide_.c_str(), nullptr);
}

TempFolder::~TempFolder() { removeTree(LR"(\\?\)" + wide_); }

Text TempFolder::text() const { return narrow(wide_).value(); }

bool writeWide(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD wrote = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(file);
    return ok && wrote == bytes.size();
}

std::string readWide(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::vector<std::wstring> folderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace vorlane::win32::testing
