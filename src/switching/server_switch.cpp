#include "switching/server_switch.h"

#include <array>
#include <string_view>
#include <vector>

#include "app/app.h"
#include "switching/version_file.h"

namespace vorlane {
namespace {

// What one server's switch reads and writes. The version file goes under TCLS\ and is
// named by the head box's tag; every other file goes under TCLS\config\ with the content
// of its box.
struct Branch {
    const char* versionBox;
    const char* headBox;
    const char* middleBox;
    Text App::*versionText;
    std::array<const char*, 4> writeOrder;
    const char* success;
};

const Branch kLive{
    .versionBox = "编辑框2",
    .headBox = "编辑框4",
    .middleBox = "编辑框12",
    .versionText = &App::liveVersionText,
    .writeOrder = {"编辑框4", "编辑框5", "编辑框6", "编辑框7"},
    .success = "本程序为您成功切换成CF正服，即可进入游戏.",
};

const Branch kExperience{
    .versionBox = "编辑框1",
    .headBox = "编辑框11",
    .middleBox = "编辑框13",
    .versionText = &App::testVersionText,
    .writeOrder = {"编辑框8", "编辑框9", "编辑框10", "编辑框11"},
    .success = "本程序为您成功切换成CF体验服，即可进入游戏.",
};

Text failureMessage(const Text& path) {
    return Text("提示：切换失败，游戏文件未作任何修改。无法写入：") + "\r\n" + path + "\r\n" +
           "请确认本程序放在CF游戏根目录下，并关闭游戏后重试。";
}

void switchTo(App& app, const Branch& branch) {
    Window& w = app.main;
    const Text& version = w.control(branch.versionBox).text();
    if (version.empty()) {
        app.platform.showMessage("提示：请填写版本号！");
        return;
    }
    Text& stored = app.*branch.versionText;
    stored = versionFileText(w.control(branch.headBox).text(), version, w.control(branch.middleBox).text());

    std::vector<FileWrite> files;
    for (const char* name : branch.writeOrder) {
        const Control& box = w.control(name);
        if (std::string_view(name) == branch.headBox) {
            files.push_back({app.gameDir + "\\TCLS\\" + box.tag(), textToBytes(stored)});
        } else {
            files.push_back({app.gameDir + "\\TCLS\\config\\" + box.tag(), textToBytes(box.text())});
        }
    }
    // All four or none: a launcher left half on one server and half on the other fails
    // in ways the player cannot see.
    const ReplaceOutcome outcome = app.platform.replaceFiles(files);
    app.platform.showMessage(outcome.ok ? Text(branch.success) : failureMessage(outcome.failedPath));
}

}  // namespace

void onSwitchClicked(App& app) {
    if (app.main.control("单选框1").checked()) {
        switchTo(app, kLive);
    } else if (app.main.control("单选框2").checked()) {
        switchTo(app, kExperience);
    } else {
        app.platform.showMessage("提示：请先选中项目！");
    }
}

}  // namespace vorlane
