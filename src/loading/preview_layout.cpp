// The full-screen preview window: three controls, top of the stacking order first.
#include "loading/preview_window.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

using K = ControlKind;

// Matches the skin, so a picture smaller than the screen sits on a dark ground.
constexpr Rgb kDark{18, 17, 17};

const ControlSpec kControls[] = {
    {.name = preview_controls::picture, .kind = K::AnimationObject, .left = 376, .top = 88, .width = 96, .height = 48,
     .visible = false},
    {.name = preview_controls::closeButton, .kind = K::GraphicButton, .left = 0, .top = 32, .width = 376, .height = 32,
     .text = "关闭全屏查看",
     .pictures = {.normal = "wide_exit_fullscreen_normal", .hover = "wide_exit_fullscreen_hover"},
     .onClicked = onClosePreviewClicked},
    {.name = preview_controls::pictureBox, .kind = K::AnimationBox, .left = 0, .top = 0, .width = 544, .height = 264,
     .backColour = kDark},
};

const char* const kTabOrder[] = {preview_controls::closeButton};

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
    .cancelButton = preview_controls::closeButton,
};

}  // namespace

const WindowSpec& previewWindowSpec() { return kPreviewWindow; }

}  // namespace vorlane
