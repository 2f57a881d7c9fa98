#include "win32/native_controls.h"

#include <string>

#include "win32/services.h"

namespace vorlane::win32 {
namespace {

constexpr int kFirstControlId = 100;
constexpr Rgb kEditBack{26, 26, 26};

// In layout units. The native edit is only as tall as its font and centred in the box;
// the painter fills the rest of the box with the same colour.
constexpr int kEditHeight = 16;
constexpr int kEditMargin = 4;

COLORREF colourRef(Rgb c) { return RGB(c.r, c.g, c.b); }

}  // namespace

NativeControls::NativeControls(FontCache& fonts)
    : fonts_(fonts), nextId_(kFirstControlId), editBrush_(CreateSolidBrush(colourRef(kEditBack))) {}

HWND NativeControls::create(HWND parent, const Control& c, Scale scale) {
    const ControlSpec& spec = c.spec();
    const bool edit = c.kind() == ControlKind::EditBox;
    DWORD style = WS_CHILD | (c.visible() ? WS_VISIBLE : 0) | (spec.tabStop ? WS_TABSTOP : 0) |
                  (c.enabled() ? 0 : WS_DISABLED);
    if (edit) {
        style |= ES_AUTOHSCROLL | (spec.multiLine ? ES_MULTILINE : 0) | (spec.border ? WS_BORDER : 0);
    } else {
        style |= BS_RADIOBUTTON | (groupStarted_ ? 0 : WS_GROUP);
    }
    const int id = nextId_;
    HWND h = CreateWindowExW(0, edit ? L"EDIT" : L"BUTTON", widen(c.text()).value_or(L"").c_str(), style, 0, 0, 1, 1,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                             nullptr);
    if (!h) return nullptr;
    SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (edit && spec.maxLength > 0) SendMessageW(h, EM_LIMITTEXT, spec.maxLength, 0);
    if (!edit) {
        SendMessageW(h, BM_SETCHECK, c.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        groupStarted_ = true;
    }
    scaleNative(c, h, scale);
    natives_[&c] = h;
    byId_[nextId_++] = const_cast<Control*>(&c);
    return h;
}

HWND NativeControls::nativeOf(const Control& c) const {
    auto it = natives_.find(&c);
    return it == natives_.end() ? nullptr : it->second;
}

Control* NativeControls::controlOf(HWND native) const {
    for (const auto& [control, h] : natives_) {
        if (h == native) return const_cast<Control*>(control);
    }
    return nullptr;
}

bool NativeControls::sync(const Control& c, Property property, Scale scale) {
    HWND h = nativeOf(c);
    if (!h) return false;
    syncing_ = true;
    switch (property) {
        case Property::Caption: SetWindowTextW(h, widen(c.text()).value_or(L"").c_str()); break;
        case Property::Enabled: EnableWindow(h, c.enabled()); break;
        case Property::Checked: SendMessageW(h, BM_SETCHECK, c.checked() ? BST_CHECKED : BST_UNCHECKED, 0); break;
        case Property::Visible: ShowWindow(h, c.visible() ? SW_SHOW : SW_HIDE); break;
        case Property::Geometry: placeNative(c, h, scale); break;
        default: break;
    }
    syncing_ = false;
    // A radio button shows the painter's picture of it, which has just changed.
    if (c.kind() == ControlKind::RadioButton) InvalidateRect(h, nullptr, FALSE);
    return true;
}

void NativeControls::rescale(Scale scale) {
    for (const auto& [control, h] : natives_) scaleNative(*control, h, scale);
}

LRESULT NativeControls::colour(HDC dc, HWND native) const {
    const Control* control = controlOf(native);
    if (!control || control->kind() != ControlKind::EditBox) return 0;
    const ControlSpec& s = control->spec();
    SetTextColor(dc, colourRef(s.textColour.value_or(Rgb{})));
    SetBkColor(dc, colourRef(s.backColour.value_or(kEditBack)));
    return reinterpret_cast<LRESULT>(editBrush_.get());
}

std::optional<NativeControls::Heard> NativeControls::command(WPARAM wp) {
    auto it = byId_.find(LOWORD(wp));
    if (it == byId_.end()) return std::nullopt;
    Control& c = *it->second;
    HWND h = natives_.at(&c);
    if (c.kind() == ControlKind::EditBox && HIWORD(wp) == EN_CHANGE && !syncing_) {
        int n = GetWindowTextLengthW(h);
        std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
        wide.resize(static_cast<std::size_t>(GetWindowTextW(h, wide.data(), n + 1)));
        c.syncTextFromUser(narrowUserText(wide));
        return Heard{c, Event::Changed};
    }
    if (c.kind() == ControlKind::RadioButton && HIWORD(wp) == BN_CLICKED && c.enabled()) return Heard{c, Event::Clicked};
    return std::nullopt;
}

void NativeControls::forget() {
    natives_.clear();
    byId_.clear();
}

// Font, margins and place at the window's scale.
void NativeControls::scaleNative(const Control& c, HWND native, Scale scale) {
    HFONT font = fonts_.font(scale.px(kControlFontHeight), false);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind() == ControlKind::EditBox) {
        int margin = scale.px(kEditMargin);
        SendMessageW(native, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    }
    placeNative(c, native, scale);
}

void NativeControls::placeNative(const Control& c, HWND native, Scale scale) {
    Rect r = scale.rect(c.windowRect());
    int editHeight = scale.px(kEditHeight);
    if (c.kind() == ControlKind::EditBox && !c.spec().multiLine && r.height > editHeight) {
        r.top += (r.height - editHeight) / 2;
        r.height = editHeight;
    }
    MoveWindow(native, r.left, r.top, r.width, r.height, TRUE);
}

}  // namespace vorlane::win32
