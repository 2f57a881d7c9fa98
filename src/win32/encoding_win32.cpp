// Texts <-> UTF-16 on Windows. Never the system code page: the program must behave the
// same on every locale.
#include <windows.h>

#include <climits>

#include "base/encoding.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;

// GB18030 where the system has it; Wine 8 only has GBK, which covers every text the
// program itself carries.
UINT textCodePage() {
    static const UINT page = IsValidCodePage(kGb18030) ? kGb18030 : kGbk;
    return page;
}

std::optional<std::wstring> toWide(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return std::wstring();
    if (bytes.size() > INT_MAX) return std::nullopt;
    int in = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), in, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), in, wide.data(), n) != n) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> fromWide(UINT codePage, std::wstring_view wide) {
    if (wide.empty()) return std::string();
    if (wide.size() > INT_MAX) return std::nullopt;
    int in = static_cast<int>(wide.size());
    // GBK has no flag that rejects unmappable characters: ask whether the default
    // character had to stand in, and forbid look-alike substitutes.
    bool lossReported = codePage == kGbk;
    DWORD flags = lossReported ? WC_NO_BEST_FIT_CHARS : WC_ERR_INVALID_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = lossReported ? &usedDefault : nullptr;
    int n = WideCharToMultiByte(codePage, flags, wide.data(), in, nullptr, 0, nullptr, usedDefaultOut);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), in, bytes.data(), n, nullptr, usedDefaultOut) != n ||
        usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<std::wstring> widen(std::string_view text) { return toWide(textCodePage(), text); }

std::optional<Text> narrow(std::wstring_view wide) { return fromWide(textCodePage(), wide); }

Text narrowUserText(std::wstring_view wide) {
    return utf16ToTextMarked(std::u16string(wide.begin(), wide.end()), "\x1A");
}

std::optional<std::wstring> systemPath(const Text& path) {
    auto wide = widen(path);
    // A NUL would silently cut the name short and name another file.
    if (!wide || wide->find(L'\0') != std::wstring::npos) return std::nullopt;
    // Below MAX_PATH - 12 every API (CreateDirectoryW included) takes the path as it is.
    if (wide->size() <= MAX_PATH - 12 || wide->starts_with(LR"(\\?\)") || wide->starts_with(LR"(\\.\)")) {
        return wide;
    }
    bool drive = wide->size() >= 3 && (*wide)[1] == L':' && ((*wide)[2] == L'\\' || (*wide)[2] == L'/');
    bool unc = wide->starts_with(LR"(\\)");
    if (!drive && !unc) return wide;
    // The prefixed form is taken literally, so it must already be the full, clean path.
    DWORD n = GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
    if (n == 0) return std::nullopt;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide->c_str(), n, full.data(), nullptr);
    if (n == 0 || n >= full.size()) return std::nullopt;
    full.resize(n);
    if (unc) return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

}  // namespace vorlane::win32

namespace vorlane {

// wchar_t is UTF-16 on Windows, so the portable strings are the same code units.
std::optional<std::u16string> textToUtf16(std::string_view text) {
    auto wide = win32::widen(text);
    if (!wide) return std::nullopt;
    return std::u16string(wide->begin(), wide->end());
}

std::optional<Text> utf16ToText(std::u16string_view wide) {
    return win32::narrow(std::wstring(wide.begin(), wide.end()));
}

std::optional<Text> utf8ToText(std::string_view utf8) {
    auto wide = win32::toWide(CP_UTF8, utf8);
    if (!wide) return std::nullopt;
    return win32::narrow(*wide);
}

std::optional<std::string> textToUtf8(std::string_view text) {
    auto wide = win32::widen(text);
    if (!wide) return std::nullopt;
    return win32::fromWide(CP_UTF8, *wide);
}

}  // namespace vorlane
