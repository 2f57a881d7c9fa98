#include "win32/desktop_shortcut_win32.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "win32/command_line_win32.h"
#include "win32/handle.h"
#include "win32/services.h"
#include "win32/system_failure.h"

namespace vorlane::win32 {
namespace {

// The system's own words for why, a system error code told as itself.
ShortcutResult failure(HRESULT hr) {
    const DWORD code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
    return {.reason = narrowKeepingMarks(systemErrorText(code))};
}

std::wstring ownExecutable() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

// A shortcut file at `file` that starts `target` with `arguments` in `folder` and shows the
// target's icon; one already there is replaced.
HRESULT saveShortcut(const std::wstring& file, const std::wstring& target, const std::wstring& arguments,
                     const std::wstring& folder) {
    ComPtr<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.put()));
    if (FAILED(hr)) return hr;
    if (FAILED(hr = link.get()->SetPath(target.c_str())) || FAILED(hr = link.get()->SetArguments(arguments.c_str())) ||
        FAILED(hr = link.get()->SetWorkingDirectory(folder.c_str())) ||
        FAILED(hr = link.get()->SetIconLocation(target.c_str(), 0))) {
        return hr;
    }
    ComPtr<IPersistFile> persist;
    if (FAILED(hr = link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put())))) return hr;
    return persist.get()->Save(file.c_str(), TRUE);
}

}  // namespace

ShortcutResult createDesktopShortcut(const Text& name, const std::vector<Text>& arguments) {
    std::vector<std::wstring> wide;
    for (const Text& argument : arguments) {
        auto converted = widen(argument);
        if (!converted) return failure(HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
        wide.push_back(std::move(*converted));
    }
    auto fileName = widen(name);
    if (!fileName) return failure(HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
    TaskMemory<wchar_t*> desktop;
    if (HRESULT hr = SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, desktop.put()); FAILED(hr)) {
        return failure(hr);
    }
    const std::wstring exe = ownExecutable();
    const std::size_t slash = exe.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0) return failure(HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME));
    // Its own folder; the root of a drive keeps its backslash.
    const std::wstring folder = exe.substr(0, exe[slash - 1] == L':' ? slash + 1 : slash);
    const HRESULT hr =
        saveShortcut(std::wstring(desktop.get()) + L"\\" + *fileName + L".lnk", exe, joinArguments(wide), folder);
    if (FAILED(hr)) return failure(hr);
    return {.ok = true};
}

}  // namespace vorlane::win32
