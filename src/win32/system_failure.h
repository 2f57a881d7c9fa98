#pragma once
// A failure of the system that the player must hear about: one message box that names what
// failed and gives the system's own words for why.
#include <windows.h>

#include <string>

namespace vorlane::win32 {

// The exit code of a program that could not go on because the system failed it.
inline constexpr int kExitSystemFailure = 1;

// The system's text for an error code or HRESULT (FormatMessageW), with the code after it.
std::wstring systemErrorText(DWORD error);

// `what` (a whole sentence), then the system's text for `error`, in a box owned by `owner`.
void reportSystemFailure(HWND owner, const std::wstring& what, DWORD error);

// A handler could not have the memory it needed and was cut short.
void reportOutOfMemory(HWND owner);

}  // namespace vorlane::win32
