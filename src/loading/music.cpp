#include "loading/music.h"

#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

Text installedMusicPath(const App& app) { return app.gameDir + "\\TCLS\\music\\sound.mp3"; }
Text backupMusicPath(const App& app) { return app.gameDir + "\\sound.mp3"; }

// Before the launcher's own music is first replaced, a copy goes beside the program, where
// 还 原 finds it; one the player keeps there already is never overwritten.
bool keepOriginalMusic(App& app) {
    const Text installed = installedMusicPath(app);
    const Text backup = backupMusicPath(app);
    if (app.platform.exists(backup) || !app.platform.exists(installed)) return true;
    switch (app.platform.copyFile(installed, backup)) {
        case CopyOutcome::Copied: return true;
        case CopyOutcome::SourceUnusable: app.platform.showMessage("提示：无法备份原来的背景音乐：" + installed); break;
        default: app.platform.showMessage("提示：无法备份原来的背景音乐：" + backup); break;
    }
    return false;
}

// Replaces the launcher's music with a copy of `source`, its own music kept first when asked.
// Otherwise the old music stays whole and the player hears why: `unusable` for a source that
// is missing, unreadable, empty (it would silence the launcher) or no file at all, or that
// the music could not be kept or written.
bool installMusic(App& app, const Text& source, const Text& unusable, bool keepOriginal) {
    const Text target = installedMusicPath(app);
    switch (app.platform.copyFile(source, target, [&] { return !keepOriginal || keepOriginalMusic(app); })) {
        case CopyOutcome::Copied: return true;
        case CopyOutcome::SourceUnusable: app.platform.showMessage(unusable); return false;
        case CopyOutcome::HeldBack: return false;
        case CopyOutcome::TargetUnwritable: break;
    }
    app.platform.showMessage("提示：无法写入背景音乐文件：" + target + "\r\n" +
                             "请确认本程序放在CF游戏根目录下，并关闭游戏后重试。");
    return false;
}

}  // namespace

void onChooseMusicPressed(App& app) {
    Control& dialog = app.main.control(controls::musicFileDialog);
    // A cancel keeps whatever the user typed or chose before.
    if (!app.platform.openFileDialog(dialog)) return;
    app.main.control(controls::musicPathBox).setText(dialog.text());
}

void onInstallMusicClicked(App& app) {
    const Text source = app.main.control(controls::musicPathBox).text();
    if (source.empty()) {
        app.platform.showMessage("提示：没填写mp3文件路径。");
        return;
    }
    if (installMusic(app, source, "提示：无法读取mp3文件：" + source, true)) {
        app.platform.showMessage("提示：OK了，现在就可以用了。");
    }
}

void onRestoreMusicClicked(App& app) {
    const Text backup = backupMusicPath(app);
    installMusic(app, backup, "提示：没有找到备份音乐文件：" + backup, false);
}

void onPreviewMusicClicked(App& app) {
    // The click has already flipped the toggle.
    Control& toggle = app.main.control(controls::playMusicToggle);
    if (toggle.checked()) {
        app.platform.playMusic(1, installedMusicPath(app), toggle);
    } else {
        app.platform.stopMusic();
    }
}

// Shows "播 放" again, as if the player had stopped it; nothing is left to stop.
void onPreviewMusicEnded(App& app) { app.main.control(controls::playMusicToggle).setChecked(false); }

}  // namespace vorlane
