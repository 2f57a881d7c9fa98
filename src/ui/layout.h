#pragma once
// A window and its controls as plain data. Tables of these rows are compiled into the
// program; the window model is built from them at run time.
#include <optional>
#include <span>

#include "ui/geometry.h"

namespace vorlane {

struct App;
using Handler = void (*)(App&);

enum class ControlKind {
    GraphicButton,
    TransparentLabel,
    EditBox,
    RadioButton,
    PictureBox,
    Timer,
    FileDialog,
    AnimationBox,
    AnimationObject,
};

// The pixel height of the default control font, which edit boxes and radio buttons use.
inline constexpr int kControlFontHeight = 12;

enum class Cursor { Arrow, Hand };
enum class ButtonType { Push, Toggle };
enum class TextLayout { Top, CentredVertically };

// Picture names refer to the skin pictures embedded in the program.
struct ButtonPictures {
    const char* normal = nullptr;
    const char* hover = nullptr;
    const char* pressed = nullptr;  // also shown while a toggle is checked
    const char* disabled = nullptr;
};

struct ControlSpec {
    const char* name;
    ControlKind kind;
    int left = 0, top = 0, width = 0, height = 0;
    const char* parent = nullptr;  // a picture box, or the window
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    Cursor cursor = Cursor::Arrow;
    const char* tag = "";
    const char* text = "";  // caption or content; a picture button's caption is in its picture
    const char* checkedText = nullptr;  // a toggle's caption while it is checked
    std::optional<Rgb> textColour{};
    std::optional<Rgb> backColour{};
    int fontHeight = 12;
    TextLayout textLayout = TextLayout::Top;
    ButtonPictures pictures{};
    ButtonType buttonType = ButtonType::Push;
    const char* picture = nullptr;  // picture box: stretched over the box
    bool multiLine = false;
    bool border = false;
    int maxLength = 0;
    int interval = 0;
    const char* fileFilter = nullptr;  // file dialog preset, e.g. "*mp3"
    const char* labelledBy = nullptr;     // the label that names an edit box for screen readers
    const char* defaultButton = nullptr;  // what Enter in this edit box presses
    Handler onClicked = nullptr;
    Handler onLeftButtonDown = nullptr;
    Handler onTick = nullptr;
    Handler onMusicEnded = nullptr;  // music this control started has ended by itself
    Handler onChanged = nullptr;     // the user changed an edit box's text
};

struct WindowSpec {
    const char* name;
    const char* title;
    int width, height;
    const char* background = nullptr;  // tiled from the top-left
    std::optional<Rgb> backColour{};   // without a background picture
    bool centred = false;
    bool draggable = false;
    bool showInTaskbar = true;
    Handler onCreated = nullptr;
    std::span<const ControlSpec> controls;
    // Where Tab goes, by control name; the radio buttons among them are one stop.
    std::span<const char* const> tabOrder{};
    const char* cancelButton = nullptr;  // what Esc presses
};

}  // namespace vorlane
