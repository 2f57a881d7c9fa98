#include "win32/folder_claim.h"

#include <optional>

#include "win32/services.h"
#include "win32/window_host.h"

namespace vorlane::win32 {
namespace {

constexpr DWORD kWaitForWindowMs = 5000;

// The folder as the file system names it, whatever spelling reached it.
std::optional<std::wstring> finalPath(const Text& folder) {
    auto wide = systemPath(folder);
    if (!wide) return std::nullopt;
    OwnedFile handle(CreateFileW(wide->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return std::nullopt;
    std::wstring path(32768, L'\0');
    const DWORD n = GetFinalPathNameByHandleW(handle.get(), path.data(), static_cast<DWORD>(path.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= path.size()) return std::nullopt;
    path.resize(n);
    return path;
}

// A kernel object name cannot hold a path: the path's case-folded UTF-16 is hashed.
std::wstring claimName(std::wstring path) {
    std::wstring folded(path.size(), L'\0');
    const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.data(), static_cast<int>(path.size()),
                                folded.data(), static_cast<int>(folded.size()), nullptr, nullptr, 0);
    if (n == static_cast<int>(path.size())) path = folded;
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : path) {
        for (int shift : {0, 8}) {
            hash ^= (static_cast<std::uint16_t>(c) >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    wchar_t hex[17];
    for (int i = 15; i >= 0; --i, hash >>= 4) hex[i] = L"0123456789abcdef"[hash & 0xF];
    hex[16] = L'\0';
    return L"Local\\Vorlane-" + std::wstring(hex);
}

std::wstring recordName(const std::wstring& claim) { return claim + L"-process"; }

// The process that claimed the folder, once it has said so.
DWORD claimingProcess(const std::wstring& claim) {
    OwnedHandle record(OpenFileMappingW(FILE_MAP_READ, FALSE, recordName(claim).c_str()));
    if (!record) return 0;
    const void* view = MapViewOfFile(record.get(), FILE_MAP_READ, 0, 0, sizeof(DWORD));
    if (!view) return 0;
    const DWORD process = *static_cast<const volatile DWORD*>(view);
    UnmapViewOfFile(view);
    return process;
}

struct Search {
    DWORD process;
    HWND found = nullptr;
};

// Its main window: ours, top-level and owned by nobody.
BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t name[64];
    if (process != search->process || GetWindow(hwnd, GW_OWNER) ||
        !GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) || std::wstring_view(name) != kWindowClass) {
        return TRUE;
    }
    search->found = hwnd;
    return FALSE;
}

}  // namespace

FolderClaim::FolderClaim(const Text& folder) {
    auto path = finalPath(folder);
    if (!path) return;
    name_ = claimName(*path);
    mutex_.reset(CreateMutexW(nullptr, FALSE, name_.c_str()));
    if (!mutex_) return;  // a name another program holds: better two copies than none
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        first_ = false;
        return;
    }
    record_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DWORD),
                                     recordName(name_).c_str()));
    if (!record_) return;
    if (void* view = MapViewOfFile(record_.get(), FILE_MAP_WRITE, 0, 0, sizeof(DWORD))) {
        *static_cast<volatile DWORD*>(view) = GetCurrentProcessId();
        UnmapViewOfFile(view);
    }
}

void FolderClaim::bringFirstToFront() const {
    for (ULONGLONG end = GetTickCount64() + kWaitForWindowMs; GetTickCount64() < end; Sleep(50)) {
        Search search{claimingProcess(name_)};
        if (search.process == 0) continue;
        EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) continue;
        if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
        // A message box or the full-screen preview may be open over it.
        SetForegroundWindow(GetLastActivePopup(search.found));
        return;
    }
}

}  // namespace vorlane::win32
