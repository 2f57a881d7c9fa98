// Files on Windows. Every path goes through systemPath, so a name that cannot be
// converted exactly makes the operation fail instead of touching another file.
//
// What the program reads or copies from paths the player typed or chose, or found in the
// game folder, is only ever a regular file on a disk: a device or a pipe could wait for ever
// (a FIFO, a named pipe, COM1) or never end (\\.\PhysicalDrive0, /dev/zero under Wine), and a
// device is not even opened, as opening one may already wait.
#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "base/encoding.h"
#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

constexpr DWORD kChunk = 1u << 20;
// What is read whole is decoded (the loading picture) or compared (the launcher files).
constexpr std::size_t kWholeFileLimit = 64u << 20;

bool isReadOnly(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Someone holds the file open without letting others delete it.
bool isLockedAgainstDelete(const std::wstring& path) {
    OwnedFile probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    return !probe && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND;
}

// A name the program's texts cannot hold keeps a "?" for each such character. No file can
// be named with "?", so every path built from it fails and is reported, instead of an
// empty folder turning "\TCLS\..." into a path at the root of another installation.
constexpr char kUnnamable[] = "?";

bool startsIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); });
}

// A name that Windows takes for a device in the last part of any path, whatever follows
// its first dot: CON, NUL, COM1, LPT¹...
bool isDeviceName(std::wstring_view name) {
    name = name.substr(0, name.find_first_of(L".:"));
    while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (name.size() == device.size() && startsIgnoringCase(name, device)) return true;
    }
    if (name.size() != 4 || !(startsIgnoringCase(name, L"COM") || startsIgnoringCase(name, L"LPT"))) return false;
    const wchar_t digit = name[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

// A path of a file: not in the device namespace (\\.\, \??\, \\?\ but for a drive or a
// share), not a device name, no control character (no file name holds one).
bool namesAFile(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (std::any_of(path.begin(), path.end(), [](wchar_t c) { return c < 0x20; })) return false;
    if (path.starts_with(LR"(\\.\)") || path.starts_with(LR"(\??\)")) return false;
    if (path.starts_with(LR"(\\?\)")) {
        const std::wstring_view rest = std::wstring_view(path).substr(4);
        const bool drive = rest.size() >= 3 && rest[1] == L':' && rest[2] == L'\\';
        if (!drive && !startsIgnoringCase(rest, LR"(UNC\)")) return false;
    }
    return !isDeviceName(std::wstring_view(path).substr(path.find_last_of(L'\\') + 1));
}

bool isRegularDiskFile(HANDLE file) {
    if (GetFileType(file) != FILE_TYPE_DISK) return false;
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(file, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

OwnedFile openChecked(const Text& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    auto wide = systemPath(path);
    if (!wide || !namesAFile(*wide)) return {};
    OwnedFile file(CreateFileW(wide->c_str(), access, share, nullptr, disposition, flags, nullptr));
    if (!file || !isRegularDiskFile(file.get())) return {};
    return file;
}

}  // namespace

OwnedFile openRegularFile(const Text& path) {
    return openChecked(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN);
}

OwnedFile createRegularFile(const Text& path) {
    return openChecked(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
}

Text narrowKeepingMarks(const std::wstring& wide) {
    return utf16ToTextMarked(std::u16string(wide.begin(), wide.end()), kUnnamable);
}

Text programDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return kUnnamable;
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        if (buffer.size() >= 32768) return kUnnamable;
        buffer.resize(buffer.size() * 2);
    }
    std::size_t slash = buffer.find_last_of(L'\\');
    if (slash == std::wstring::npos) return kUnnamable;
    buffer.resize(slash);
    return narrowKeepingMarks(buffer);
}

FileRead readFile(const Text& path) {
    FileRead result;
    OwnedFile file = openRegularFile(path);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || static_cast<ULONGLONG>(size.QuadPart) > kWholeFileLimit) return result;
    result.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    std::uint8_t buffer[65536];
    for (;;) {
        DWORD got = 0;
        // A file that grows past the limit while it is read is refused too.
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) || result.bytes.size() + got > kWholeFileLimit) {
            result.bytes.clear();
            return result;
        }
        if (got == 0) break;
        result.bytes.insert(result.bytes.end(), buffer, buffer + got);
    }
    result.ok = true;
    return result;
}

bool Win32FileOps::writeNew(const Text& path, const Bytes& bytes) {
    auto wide = systemPath(path);
    if (!wide) return false;
    OwnedFile file(CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        DWORD wrote = 0;
        if (!WriteFile(file.get(), bytes.data() + done, want, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    if (!FlushFileBuffers(file.get())) return false;
    return CloseHandle(file.release()) != FALSE;
}

FileRead Win32FileOps::read(const Text& path) { return readFile(path); }

bool Win32FileOps::exists(const Text& path) {
    auto wide = systemPath(path);
    return wide && GetFileAttributesW(wide->c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileOps::keepCopy(const Text& from, const Text& to) {
    auto source = systemPath(from);
    auto kept = systemPath(to);
    if (!source || !kept) return false;
    // A link is the same file: it shares the read-only flag and the lock of whoever holds
    // the file open, either of which would leave the kept name undeletable. Such a file
    // is copied instead (a copy of a file held open without sharing fails outright).
    if (!isReadOnly(*source) && !isLockedAgainstDelete(*source)) {
        if (CreateHardLinkW(kept->c_str(), source->c_str(), nullptr)) return true;
    }
    // FAT32 and some network shares have no hard links.
    if (!CopyFileW(source->c_str(), kept->c_str(), TRUE)) {
        if (GetLastError() != ERROR_FILE_EXISTS) DeleteFileW(kept->c_str());
        return false;
    }
    DWORD attributes = GetFileAttributesW(kept->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesW(kept->c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    // An undo relies on the copy: it reaches the disk before the target is replaced.
    OwnedFile copy(CreateFileW(kept->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (copy && FlushFileBuffers(copy.get()) && CloseHandle(copy.release())) return true;
    copy.reset();
    DeleteFileW(kept->c_str());
    return false;
}

bool Win32FileOps::moveOver(const Text& from, const Text& to) {
    auto source = systemPath(from);
    auto target = systemPath(to);
    if (!source || !target) return false;
    // Windows refuses a read-only target by itself; Wine replaces it regardless.
    if (isReadOnly(*target)) return false;
    return MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32FileOps::remove(const Text& path) {
    auto wide = systemPath(path);
    return wide && DeleteFileW(wide->c_str()) != FALSE;
}

}  // namespace vorlane::win32
