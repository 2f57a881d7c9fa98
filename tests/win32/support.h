#pragma once
// Helpers for the Windows-layer tests: a fresh folder whose name holds Chinese and a
// space, and plain file access that does not go through the code under test.
#include <windows.h>

#include <string>
#include <vector>

#include "base/text.h"

namespace vorlane::win32::testing {

// A new folder "vorlane 测试 N" under the temp folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& wide() const { return wide_; }
    Text text() const;  // the folder as the program names it

private:
    std::wstring wide_;
};

// While it lives, every message box of this thread is answered with OK and its text kept,
// and the system refuses to make windows of `refusedClass` (when given).
class SystemHook {
public:
    explicit SystemHook(const wchar_t* refusedClass = nullptr);
    ~SystemHook();
    SystemHook(const SystemHook&) = delete;
    SystemHook& operator=(const SystemHook&) = delete;

    const std::vector<std::wstring>& messages() const { return messages_; }

private:
    static LRESULT CALLBACK procedure(int code, WPARAM wp, LPARAM lp);
    HHOOK hook_;
    const wchar_t* refusedClass_;
    std::vector<std::wstring> messages_;
};

bool writeWide(const std::wstring& path, const std::string& bytes);
std::string readWide(const std::wstring& path);  // empty when missing
std::vector<std::wstring> folderEntries(const std::wstring& folder);  // names, sorted
std::string utf8(const std::wstring& wide);

}  // namespace vorlane::win32::testing
