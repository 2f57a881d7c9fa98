// The full-screen preview window: three controls, top of the stacking order first.
#include "app/app.h"
#include "loading/preview_window.h"

namespace vorlane {
namespace {

using K = ControlKind;

// Matches the skin, so a picture smaller than the screen sits on a dark ground.
constexpr Rgb kDark{18, 17, 17};

const ControlSpec kControls[] = {
    {.name = "动画物体1", .kind = K::AnimationObject, .left = 376, .top = 88, .width = 96, .height = 48,
     .visible = false},
    {.name = "图形按钮3", .kind = K::GraphicButton, .left = 0, .top = 32, .width = 376, .height = 32,
     .text = "关闭全屏查看",
     .pictures = {.normal = "wide_exit_fullscreen_normal", .hover = "wide_exit_fullscreen_hover"},
     .onClicked = onClosePreviewClicked},
    {.name = "动画框1", .kind = K::AnimationBox, .left = 0, .top = 0, .width = 544, .height = 264,
     .backColour = kDark},
};

const char* const kTabOrder[] = {"图形按钮3"};

const WindowSpec kPreviewWindow{
    .name = "预览窗口",
    .title = "",
    .width = 547,
    .height = 267,
    .backColour = kDark,
    .centred = false,
    .draggable = false,
    .showInTaskbar = true,
    .onCreated = onPreviewWindowCreated,
    .controls = kControls,
    .tabOrder = kTabOrder,
    .cancelButton = "图形按钮3",
};

}  // namespace

const WindowSpec& previewWindowSpec() { return kPreviewWindow; }

}  // namespace vorlane
