// The main window: 52 controls, top of the stacking order first.
#include "app/startup.h"
#include "app/window_buttons.h"
#include "base/version.h"
#include "loading/music.h"
#include "loading/preview_window.h"
#include "online/version_check.h"
#include "program/app.h"
#include "program/controls.h"
#include "switching/client_launch.h"
#include "switching/desktop_shortcut.h"
#include "switching/launcher_restore.h"
#include "switching/server_choice.h"
#include "switching/server_switch.h"
#include "switching/templates.h"

namespace vorlane {
namespace {

using namespace controls;
using K = ControlKind;

constexpr Rgb kOrangeRed{216, 54, 7};
constexpr Rgb kOrange{255, 128, 0};
constexpr Rgb kEditBack{26, 26, 26};
constexpr Rgb kLinkBlue{0, 96, 192};

ButtonPictures plate(const char* normal, const char* hover) { return {.normal = normal, .hover = hover}; }

ControlSpec label(const char* name, Rect r, const char* caption, TextLayout layout = TextLayout::Top) {
    return {.name = name, .kind = K::TransparentLabel, .left = r.left, .top = r.top, .width = r.width,
            .height = r.height, .text = caption, .textColour = kOrangeRed, .textLayout = layout};
}

// `caption`: what the picture says, for screen readers.
ControlSpec button(const char* name, Rect r, const char* caption, ButtonPictures pictures, Handler onClicked) {
    return {.name = name, .kind = K::GraphicButton, .left = r.left, .top = r.top, .width = r.width,
            .height = r.height, .text = caption, .pictures = pictures, .onClicked = onClicked};
}

ControlSpec frame(const char* name, Rect r) { return button(name, r, "", {.normal = "frame_blank"}, nullptr); }

// Named by the label before it; Enter in it presses `defaultButton`, if any; typing in it
// runs `onChanged`, if any.
ControlSpec versionBox(const char* name, Rect r, const char* label, const char* defaultButton = nullptr,
                       Handler onChanged = nullptr) {
    return {.name = name, .kind = K::EditBox, .left = r.left, .top = r.top, .width = r.width, .height = r.height,
            .tabStop = true, .textColour = kOrange, .backColour = kEditBack, .labelledBy = label,
            .defaultButton = defaultButton, .onChanged = onChanged};
}

// Hidden, disabled, multi-line boxes that carry the launcher templates.
ControlSpec templateBox(const char* name, Rect r, const char* tag, const char* content) {
    return {.name = name, .kind = K::EditBox, .left = r.left, .top = r.top, .width = r.width, .height = r.height,
            .visible = false, .enabled = false, .tag = tag, .text = content, .textColour = Rgb{0, 0, 0},
            .backColour = Rgb{255, 255, 255}, .multiLine = true, .border = true};
}

// Blue, under the hand pointer; acts as the button goes down.
ControlSpec link(const char* name, Rect r, const char* caption, Handler onPressed, bool visible = true) {
    return {.name = name, .kind = K::TransparentLabel, .left = r.left, .top = r.top, .width = r.width,
            .height = r.height, .visible = visible, .cursor = Cursor::Hand, .text = caption, .textColour = kLinkBlue,
            .textLayout = TextLayout::CentredVertically, .onLeftButtonDown = onPressed};
}

ControlSpec radio(const char* name, Rect r, const char* caption, Handler onClicked) {
    return {.name = name, .kind = K::RadioButton, .left = r.left, .top = r.top, .width = r.width,
            .height = r.height, .tabStop = true, .text = caption, .textColour = kOrangeRed,
            .onClicked = onClicked};
}

const ControlSpec kControls[] = {
    // Shown only while a server and a version it takes are chosen.
    link(desktopShortcutLink, {264, 368, 160, 20}, "创建桌面快捷方式", onCreateShortcutPressed, false),
    // On top of the hidden template boxes that share its band.
    label(launcherStateLabel, {16, 344, 600, 24}, "", TextLayout::CentredVertically),
    // Shown only while a whole backup of the game's own launcher files differs from them.
    link(restoreLauncherLink, {16, 368, 240, 20}, "恢复游戏原来的启动器文件", onRestoreLauncherPressed, false),
    label(newestReleaseLabel, {568, 464, 64, 24}, VORLANE_VERSION),
    label(newestReleaseCaption, {504, 464, 64, 24}, "最新版本："),
    label(ownVersionLabel, {736, 464, 64, 24}, VORLANE_VERSION),
    {.name = playMusicToggle, .kind = K::GraphicButton, .left = 240, .top = 304, .width = 128, .height = 32,
     .cursor = Cursor::Hand, .text = "播 放", .checkedText = "停 止",
     .pictures = {.normal = "plate_play_normal", .pressed = "plate_stop_checked"}, .buttonType = ButtonType::Toggle,
     .onClicked = onPreviewMusicClicked, .onMusicEnded = onPreviewMusicEnded},
    {.name = versionTimer, .kind = K::Timer, .left = 384, .top = 128, .width = 26, .height = 26, .visible = false,
     .interval = 100, .onTick = onVersionTimerTick},
    {.name = loadingPicture, .kind = K::AnimationObject, .left = 200, .top = 16, .width = 184, .height = 144,
     .parent = previewArea, .visible = false},
    {.name = previewBox, .kind = K::AnimationBox, .left = 0, .top = 0, .width = 408, .height = 176,
     .parent = previewArea, .backColour = Rgb{18, 17, 17}},
    templateBox(experienceVersionMiddleTemplate, {512, 104, 72, 16}, "", templates::kVersionMiddle),
    link(chooseMusicLink, {72, 248, 104, 24}, "点击这里打开目录", onChooseMusicPressed),
    templateBox(liveVersionMiddleTemplate, {776, 328, 64, 16}, "", templates::kVersionMiddle),
    templateBox(experienceServerChoiceTemplate, {456, 168, 288, 16}, "VersionServerConfigdynamic.ini",
                templates::kTestServerChoice),
    templateBox(experienceVersionServersTemplate, {456, 152, 288, 16}, "VersionServerConfig.xml",
                templates::kTestVersionServers),
    templateBox(experienceDirServersTemplate, {456, 136, 288, 16}, "dirserver.xml", templates::kTestDirServers),
    templateBox(experienceVersionHeadTemplate, {456, 120, 288, 16}, "mmog_data.xml", templates::kVersionHead),
    templateBox(liveServerChoiceTemplate, {480, 376, 288, 16}, "VersionServerConfigdynamic.ini",
                templates::kLiveServerChoice),
    templateBox(liveVersionServersTemplate, {480, 360, 288, 16}, "VersionServerConfig.xml",
                templates::kLiveVersionServers),
    templateBox(liveDirServersTemplate, {480, 344, 288, 16}, "dirserver.xml", templates::kLiveDirServers),
    templateBox(liveVersionHeadTemplate, {480, 328, 288, 16}, "mmog_data.xml", templates::kVersionHead),
    {.name = previewArea, .kind = K::PictureBox, .left = 8, .top = 13, .width = 408, .height = 176,
     .parent = previewFrame},
    button(officialSiteButton, {480, 304, 128, 32}, "官方网站", plate("plate_website_normal", "plate_website_hover"),
           onOfficialSiteClicked),
    button(startGameButton, {360, 304, 128, 32}, "打开CF", plate("plate_open_game_normal", "plate_open_game_hover"),
           onLaunchClientClicked),
    button(restoreMusicButton, {496, 272, 128, 32}, "还 原", plate("plate_restore_normal", "plate_restore_hover"),
           onRestoreMusicClicked),
    button(installMusicButton, {376, 272, 128, 32}, "转换为背景音乐", plate("plate_to_bgm_normal", "plate_to_bgm_hover"),
           onInstallMusicClicked),
    label(musicCaption, {8, 248, 48, 24}, "mp3音乐", TextLayout::CentredVertically),
    versionBox(musicPathBox, {16, 276, 296, 24}, musicCaption),
    frame(musicPathFrame, {8, 272, 376, 32}),
    {.name = previewFrame, .kind = K::PictureBox, .left = 416, .top = 67, .width = 424, .height = 197,
     .backColour = Rgb{36, 36, 36}},
    button(fullScreenButton, {471, 32, 376, 49}, "全屏查看最新版本图片",
           plate("wide_fullscreen_normal", "wide_fullscreen_hover"), onOpenPreviewClicked),
    button(closeButton, {720, 0, 128, 32}, "关 闭", plate("plate_close_normal", "plate_close_hover"), onCloseClicked),
    button(minimiseButton, {600, 0, 128, 32}, "最小化", plate("plate_minimize_normal", "plate_minimize_hover"),
           onMinimiseClicked),
    button(switchButton, {256, 216, 128, 32}, "转 换", plate("plate_convert_normal", "plate_convert_hover"),
           onSwitchClicked),
    label(ownVersionCaption, {672, 464, 64, 24}, "当前版本："),
    versionBox(liveVersionBox, {16, 116, 296, 24}, liveVersionCaption, switchButton, showShortcutLink),
    versionBox(experienceVersionBox, {16, 172, 296, 24}, experienceVersionCaption, switchButton, showShortcutLink),
    frame(liveVersionFrame, {8, 112, 376, 32}),
    frame(experienceVersionFrame, {8, 168, 376, 32}),
    label(ipAddressLabel, {8, 464, 200, 24}, "IP："),
    {.name = musicFileDialog, .kind = K::FileDialog, .left = 432, .top = 24, .width = 26, .height = 26,
     .visible = false, .fileFilter = "*mp3"},
    {.name = warningLabel, .kind = K::TransparentLabel, .left = 64, .top = 8, .width = 408, .height = 24,
     .parent = warningBand, .text = "警示：当前版本信息请详细填写。（乱填写后果自负）", .textColour = kOrange,
     .fontHeight = 16},
    {.name = warningBand, .kind = K::PictureBox, .left = -16, .top = 397, .width = 1320, .height = 64,
     .backColour = Rgb{128, 128, 128}, .picture = "frame_blank"},
    label(liveVersionCaption, {8, 88, 112, 24}, "（正服）当前版本", TextLayout::CentredVertically),
    label(experienceVersionCaption, {8, 144, 120, 24}, "（体验服）当前版本", TextLayout::CentredVertically),
    label(liveNewestVersionLabel, {288, 40, 104, 24}, "0.0.0.0", TextLayout::CentredVertically),
    label(experienceNewestVersionLabel, {288, 64, 104, 24}, "0.0.0.0", TextLayout::CentredVertically),
    label(liveNewestCaption, {160, 40, 104, 24}, "（正服）最新版本"),
    label(experienceNewestCaption, {160, 64, 128, 24}, "（体验服）最新版本"),
    radio(experienceChoice, {16, 64, 120, 24}, "正服转换到体验服", onExperienceChosen),
    radio(liveChoice, {16, 40, 120, 24}, "体验服转换到正服", onLiveChosen),
    {.name = titleLabel, .kind = K::TransparentLabel, .left = 16, .top = 4, .width = 184, .height = 20,
     .text = "Vorlane", .textColour = kOrangeRed, .fontHeight = 14},
};

// The order of the task: choose the server, type its version, switch (or make a shortcut
// that switches); then the music, the game, the picture and the window.
const char* const kTabOrder[] = {
    liveChoice, experienceChoice, liveVersionBox, experienceVersionBox, switchButton, restoreLauncherLink,
        desktopShortcutLink, musicPathBox, chooseMusicLink,
    installMusicButton, restoreMusicButton, playMusicToggle, startGameButton, officialSiteButton, fullScreenButton,
        minimiseButton, closeButton,
};

const WindowSpec kMainWindow{
    .name = "主窗口",
    .title = VORLANE_TITLE,
    .width = 847,
    .height = 490,
    .background = "background",
    .centred = true,
    .draggable = true,
    .showInTaskbar = true,
    .onCreated = onMainWindowCreated,
    .controls = kControls,
    .tabOrder = kTabOrder,
};

}  // namespace

const WindowSpec& mainWindowSpec() { return kMainWindow; }

}  // namespace vorlane
