// The main window: 52 controls, top of the stacking order first.
#include "app/app.h"
#include "app/startup.h"
#include "app/window_buttons.h"
#include "loading/music.h"
#include "loading/preview_window.h"
#include "online/version_check.h"
#include "platform/version.h"
#include "switching/client_launch.h"
#include "switching/desktop_shortcut.h"
#include "switching/launcher_restore.h"
#include "switching/server_choice.h"
#include "switching/server_switch.h"
#include "switching/templates.h"

namespace vorlane {
namespace {

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
    link("透明标签18", {264, 368, 160, 20}, "创建桌面快捷方式", onCreateShortcutPressed, false),
    // On top of the hidden template boxes that share its band.
    label("透明标签16", {16, 344, 600, 24}, "", TextLayout::CentredVertically),
    // Shown only while a whole backup of the game's own launcher files differs from them.
    link("透明标签17", {16, 368, 240, 20}, "恢复游戏原来的启动器文件", onRestoreLauncherPressed, false),
    label("透明标签15", {568, 464, 64, 24}, VORLANE_VERSION),
    label("透明标签14", {504, 464, 64, 24}, "最新版本："),
    label("透明标签13", {736, 464, 64, 24}, VORLANE_VERSION),
    {.name = "图形按钮12", .kind = K::GraphicButton, .left = 240, .top = 304, .width = 128, .height = 32,
     .cursor = Cursor::Hand, .text = "播 放", .checkedText = "停 止",
     .pictures = {.normal = "plate_play_normal", .pressed = "plate_stop_checked"}, .buttonType = ButtonType::Toggle,
     .onClicked = onPreviewMusicClicked, .onMusicEnded = onPreviewMusicEnded},
    {.name = "时钟1", .kind = K::Timer, .left = 384, .top = 128, .width = 26, .height = 26, .visible = false,
     .interval = 100, .onTick = onVersionTimerTick},
    {.name = "动画物体1", .kind = K::AnimationObject, .left = 200, .top = 16, .width = 184, .height = 144,
     .parent = "图片框2", .visible = false},
    {.name = "动画框1", .kind = K::AnimationBox, .left = 0, .top = 0, .width = 408, .height = 176,
     .parent = "图片框2", .backColour = Rgb{18, 17, 17}},
    templateBox("编辑框13", {512, 104, 72, 16}, "", templates::kVersionMiddle),
    link("透明标签12", {72, 248, 104, 24}, "点击这里打开目录", onChooseMusicPressed),
    templateBox("编辑框12", {776, 328, 64, 16}, "", templates::kVersionMiddle),
    templateBox("编辑框8", {456, 168, 288, 16}, "VersionServerConfigdynamic.ini", templates::kTestServerChoice),
    templateBox("编辑框9", {456, 152, 288, 16}, "VersionServerConfig.xml", templates::kTestVersionServers),
    templateBox("编辑框10", {456, 136, 288, 16}, "dirserver.xml", templates::kTestDirServers),
    templateBox("编辑框11", {456, 120, 288, 16}, "mmog_data.xml", templates::kVersionHead),
    templateBox("编辑框7", {480, 376, 288, 16}, "VersionServerConfigdynamic.ini", templates::kLiveServerChoice),
    templateBox("编辑框6", {480, 360, 288, 16}, "VersionServerConfig.xml", templates::kLiveVersionServers),
    templateBox("编辑框5", {480, 344, 288, 16}, "dirserver.xml", templates::kLiveDirServers),
    templateBox("编辑框4", {480, 328, 288, 16}, "mmog_data.xml", templates::kVersionHead),
    {.name = "图片框2", .kind = K::PictureBox, .left = 8, .top = 13, .width = 408, .height = 176,
     .parent = "图片框3"},
    button("图形按钮11", {480, 304, 128, 32}, "官方网站", plate("plate_website_normal", "plate_website_hover"),
           onOfficialSiteClicked),
    button("图形按钮10", {360, 304, 128, 32}, "打开CF", plate("plate_open_game_normal", "plate_open_game_hover"),
           onLaunchClientClicked),
    button("图形按钮9", {496, 272, 128, 32}, "还 原", plate("plate_restore_normal", "plate_restore_hover"),
           onRestoreMusicClicked),
    button("图形按钮8", {376, 272, 128, 32}, "转换为背景音乐", plate("plate_to_bgm_normal", "plate_to_bgm_hover"),
           onInstallMusicClicked),
    label("透明标签9", {8, 248, 48, 24}, "mp3音乐", TextLayout::CentredVertically),
    versionBox("编辑框3", {16, 276, 296, 24}, "透明标签9"),
    frame("图形按钮1", {8, 272, 376, 32}),
    {.name = "图片框3", .kind = K::PictureBox, .left = 416, .top = 67, .width = 424, .height = 197,
     .backColour = Rgb{36, 36, 36}},
    button("图形按钮3", {471, 32, 376, 49}, "全屏查看最新版本图片",
           plate("wide_fullscreen_normal", "wide_fullscreen_hover"), onOpenPreviewClicked),
    button("图形按钮7", {720, 0, 128, 32}, "关 闭", plate("plate_close_normal", "plate_close_hover"), onCloseClicked),
    button("图形按钮6", {600, 0, 128, 32}, "最小化", plate("plate_minimize_normal", "plate_minimize_hover"),
           onMinimiseClicked),
    button("图形按钮2", {256, 216, 128, 32}, "转 换", plate("plate_convert_normal", "plate_convert_hover"), onSwitchClicked),
    label("透明标签11", {672, 464, 64, 24}, "当前版本："),
    versionBox("编辑框2", {16, 116, 296, 24}, "透明标签7", "图形按钮2", showShortcutLink),
    versionBox("编辑框1", {16, 172, 296, 24}, "透明标签6", "图形按钮2", showShortcutLink),
    frame("图形按钮5", {8, 112, 376, 32}),
    frame("图形按钮4", {8, 168, 376, 32}),
    label("透明标签10", {8, 464, 200, 24}, "IP："),
    {.name = "通用对话框1", .kind = K::FileDialog, .left = 432, .top = 24, .width = 26, .height = 26,
     .visible = false, .fileFilter = "*mp3"},
    {.name = "透明标签8", .kind = K::TransparentLabel, .left = 64, .top = 8, .width = 408, .height = 24,
     .parent = "图片框1", .text = "警示：当前版本信息请详细填写。（乱填写后果自负）", .textColour = kOrange,
     .fontHeight = 16},
    {.name = "图片框1", .kind = K::PictureBox, .left = -16, .top = 397, .width = 1320, .height = 64,
     .backColour = Rgb{128, 128, 128}, .picture = "frame_blank"},
    label("透明标签7", {8, 88, 112, 24}, "（正服）当前版本", TextLayout::CentredVertically),
    label("透明标签6", {8, 144, 120, 24}, "（体验服）当前版本", TextLayout::CentredVertically),
    label("透明标签5", {288, 40, 104, 24}, "0.0.0.0", TextLayout::CentredVertically),
    label("透明标签4", {288, 64, 104, 24}, "0.0.0.0", TextLayout::CentredVertically),
    label("透明标签3", {160, 40, 104, 24}, "（正服）最新版本"),
    label("透明标签2", {160, 64, 128, 24}, "（体验服）最新版本"),
    radio("单选框2", {16, 64, 120, 24}, "正服转换到体验服", onExperienceChosen),
    radio("单选框1", {16, 40, 120, 24}, "体验服转换到正服", onLiveChosen),
    {.name = "透明标签1", .kind = K::TransparentLabel, .left = 16, .top = 4, .width = 184, .height = 20,
     .text = "Vorlane", .textColour = kOrangeRed, .fontHeight = 14},
};

// The order of the task: choose the server, type its version, switch (or make a shortcut
// that switches); then the music, the game, the picture and the window.
const char* const kTabOrder[] = {
    "单选框1", "单选框2", "编辑框2", "编辑框1", "图形按钮2", "透明标签17", "透明标签18", "编辑框3", "透明标签12",
    "图形按钮8", "图形按钮9", "图形按钮12", "图形按钮10", "图形按钮11", "图形按钮3", "图形按钮6", "图形按钮7",
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
