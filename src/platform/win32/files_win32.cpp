// Files on Windows. Every path goes through systemPath, so a name that cannot be
// converted exactly makes the operation fail instead of touching another file.
#include <windows.h>

#include <algorithm>

#include "platform/encoding.h"
#include "platform/win32/handle.h"
#include "platform/win32/services.h"

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

}  // namespace

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
    return true;
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
