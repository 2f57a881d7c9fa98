#include "win32/system_failure.h"

#include "base/version.h"

namespace vorlane::win32 {

std::wstring systemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text + L"（错误代码 " + std::to_wstring(error) + L"）";
}

void reportSystemFailure(HWND owner, const std::wstring& what, DWORD error) {
    const std::wstring text = what + L"\r\n" + systemErrorText(error);
    MessageBoxW(owner, text.c_str(), L"" VORLANE_TITLE, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void reportOutOfMemory(HWND owner) {
    MessageBoxW(owner, L"提示：内存不足，操作未完成。", L"" VORLANE_TITLE, MB_OK | MB_SETFOREGROUND);
}

}  // namespace vorlane::win32
