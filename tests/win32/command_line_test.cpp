#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include "support.h"
#include "win32/command_line_win32.h"
#include "win32/desktop_shortcut_win32.h"
#include "win32/handle.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

using testing::utf8;

// A character no text holds makes an argument that no version or option is.
TEST(CommandLine, AnArgumentThatCannotBeConvertedIsRefusable) {
    EXPECT_EQ(splitCommandLine(L"\"C:\\穿越 火线\\vorlane.exe\" --live 1.0\xD800"), (std::vector<Text>{"--live", "\x1A"}));
}

// Read back through the shell's own interfaces; made again, it is replaced. This test
// program lies in an ASCII folder: Wine keeps a shortcut's target path in ANSI only.
TEST(Shortcut, OnTheDesktopStartsThisProgramInItsFolderWithTheArgumentsOrSaysWhyNot) {
    ComApartment com;
    TaskMemory<wchar_t*> desktop;
    ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, desktop.put()), S_OK);
    const std::wstring path = std::wstring(desktop.get()) + L"\\CF体验服 测试.lnk";
    wchar_t self[MAX_PATH];
    const std::wstring exe(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    // Each argument comes back as it was: spaces, tabs, quotes and backslashes before them.
    for (const std::vector<Text>& arguments : {std::vector<Text>{"--experience", "1.2 \"b\\", "--start"},
                                               {"a\\\\b\\\"c", "", "\\\\\"", "tab\there", "穿越 火线 ", "x\\ y\\\\"}}) {
        const ShortcutResult made = createDesktopShortcut("CF体验服 测试", arguments);
        EXPECT_TRUE(made.ok) << made.reason;
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> stored;
        ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(link.put())), S_OK);
        ASSERT_EQ(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(stored.put())), S_OK);
        ASSERT_EQ(stored.get()->Load(path.c_str(), STGM_READ), S_OK);
        wchar_t target[MAX_PATH], line[INFOTIPSIZE], folder[MAX_PATH], icon[MAX_PATH];
        int index = -1;
        link.get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link.get()->GetArguments(line, INFOTIPSIZE);
        link.get()->GetWorkingDirectory(folder, MAX_PATH);
        link.get()->GetIconLocation(icon, MAX_PATH, &index);
        EXPECT_EQ(utf8(std::wstring(target) + L"|" + folder + L"|" + icon + L"," + std::to_wstring(index)),
                  utf8(exe + L"|" + exe.substr(0, exe.find_last_of(L'\\')) + L"|" + exe + L",0"));
        EXPECT_EQ(splitCommandLine(L"vorlane.exe " + std::wstring(line)), arguments);
    }
    DeleteFileW(path.c_str());
    const ShortcutResult refused = createDesktopShortcut("no such folder\\x", {});
    EXPECT_TRUE(!refused.ok && refused.reason.ends_with("（错误代码 3）")) << utf8(widen(refused.reason).value_or(L"?"));
}

}  // namespace
}  // namespace vorlane::win32
