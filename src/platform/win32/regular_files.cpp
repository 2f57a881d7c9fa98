// Opening the files the program reads or copies from paths the player typed or chose, or
// found in the game folder. Only a regular file on a disk is ever read: a device or a pipe
// could wait for ever (a FIFO, a named pipe, COM1) or never end (\\.\PhysicalDrive0,
// /dev/zero under Wine), and a device is not even opened, as opening one may already wait.
#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "platform/win32/handle.h"
#include "platform/win32/services.h"

namespace vorlane::win32 {
namespace {

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

class Reader final : public FileReader {
public:
    explicit Reader(OwnedFile file) : file_(std::move(file)) {}
    std::optional<std::size_t> read(std::uint8_t* into, std::size_t size) override {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!ReadFile(file_.get(), into, want, &got, nullptr)) return std::nullopt;
        return got;
    }

private:
    OwnedFile file_;
};

class Writer final : public FileWriter {
public:
    explicit Writer(OwnedFile file) : file_(std::move(file)) {}
    bool write(const std::uint8_t* bytes, std::size_t size) override {
        while (size > 0) {
            DWORD wrote = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            if (!WriteFile(file_.get(), bytes, want, &wrote, nullptr) || wrote == 0) return false;
            bytes += wrote;
            size -= wrote;
        }
        return true;
    }
    bool finish() override {
        if (!FlushFileBuffers(file_.get())) return false;
        return CloseHandle(file_.release()) != FALSE;
    }

private:
    OwnedFile file_;
};

}  // namespace

OwnedFile openRegularFile(const Text& path) {
    return openChecked(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN);
}

std::unique_ptr<FileReader> Win32CopyOps::openRegular(const Text& path) {
    OwnedFile file = openRegularFile(path);
    return file ? std::make_unique<Reader>(std::move(file)) : nullptr;
}

std::unique_ptr<FileWriter> Win32CopyOps::createRegular(const Text& path) {
    OwnedFile file = openChecked(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    return file ? std::make_unique<Writer>(std::move(file)) : nullptr;
}

bool Win32CopyOps::moveOver(const Text& from, const Text& to) { return Win32FileOps().moveOver(from, to); }

bool Win32CopyOps::remove(const Text& path) { return Win32FileOps().remove(path); }

}  // namespace vorlane::win32
