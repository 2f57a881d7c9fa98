#include "switching/desktop_shortcut.h"

#include <string_view>

#include "program/app.h"
#include "program/controls.h"
#include "switching/launcher_files.h"
#include "switching/version_rule.h"

namespace vorlane {
namespace {

constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";
constexpr std::size_t kNone = std::string_view::npos;

// "CF正服 V" or "CF体验服 V", each character a file name cannot hold made "_" (a usable
// version has no control characters). The walk goes by GB18030 characters: "\" and "|"
// also occur as the second byte of a Chinese one.
Text shortcutName(const Branch& branch, std::string_view version) {
    Text name = Text("CF") + branch.server + " ";
    for (std::size_t i = 0; i < version.size();) {
        const auto c = static_cast<unsigned char>(version[i]);
        std::size_t length = 1;
        if (c >= 0x81 && c <= 0xFE && i + 1 < version.size()) {
            const auto next = static_cast<unsigned char>(version[i + 1]);
            length = next >= 0x30 && next <= 0x39 ? 4 : 2;
        }
        const std::string_view character = version.substr(i, length);
        const bool unfit = length == 1 && kNotInFileNames.find(version[i]) != kNone;
        name += unfit ? std::string_view("_") : character;
        i += character.size();
    }
    return name;
}

// The chosen server, when its version box holds a version a switch would take.
const Branch* readyBranch(const App& app) {
    const Branch* branch = chosenBranch(app);
    return branch && isUsableVersion(app.main.control(branch->versionBox).text()) ? branch : nullptr;
}

}  // namespace

void showShortcutLink(App& app) { app.main.control(controls::desktopShortcutLink).setVisible(readyBranch(app) != nullptr); }

void onCreateShortcutPressed(App& app) {
    const Branch* branch = readyBranch(app);
    if (!branch) return;
    const Text& version = app.main.control(branch->versionBox).text();
    const Text name = shortcutName(*branch, version);
    const ShortcutResult made = app.platform.createDesktopShortcut(name, {branch->option, version, "--start"});
    app.platform.showMessage(made.ok ? "提示：已在桌面创建快捷方式：" + name
                                     : "提示：无法创建桌面快捷方式：" + made.reason);
}

}  // namespace vorlane
