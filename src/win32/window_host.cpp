#include "win32/window_host.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "ui/hit_test.h"
#include "win32/services.h"
#include "win32/system_failure.h"
#include "win32/test_hooks_win32.h"
#include "win32/window_class.h"

namespace vorlane::win32 {
namespace {

constexpr int kFirstControlId = 100;
constexpr int kBandHeight = 64;  // device pixels painted at a time

std::wstring wideOrEmpty(const Text& t) { return widen(t).value_or(std::wstring()); }

COLORREF colour(Rgb c) { return RGB(c.r, c.g, c.b); }

RECT toRECT(const Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }
Rect fromRECT(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// In layout units. The native edit is only as tall as its font and centred in the box;
// the painter fills the rest of the box with the same colour.
constexpr int kEditHeight = 16;
constexpr int kEditMargin = 4;

// The DPI Windows gives the window: GetDpiForWindow where the system has it (Windows 10
// 1607 on), else the system DPI, which is what earlier systems scale by.
int windowDpi(HWND hwnd) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (forWindow) {
        if (UINT dpi = forWindow(hwnd)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

WindowHost::WindowHost(Window& model, HostContext& context, HWND owner, bool endsProgram)
    : model_(model), context_(context) {
    context_.hosts.push_back(this);
    if ((creationError_ = registerWindowClass(kWindowClass, DefWindowProcW, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)),
                                                LoadCursorW(nullptr, IDC_ARROW))) != 0) {
        return;
    }
    const WindowSpec& spec = model.spec();
    DWORD exStyle = spec.showInTaskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU;
    // Made hidden at the primary screen's corner, where it takes that screen's DPI, and
    // then placed at its size in device pixels.
    hwnd_ = CreateWindowExW(exStyle, kWindowClass, wideOrEmpty(spec.title).c_str(), style, 0, 0, 1, 1, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) {
        creationError_ = GetLastError();
        return;
    }
    scale_ = Scale(windowDpi(hwnd_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowHost::procedure));
    editBrush_.reset(CreateSolidBrush(RGB(26, 26, 26)));
    placeWindow();
    if (!createNativeControls() || !createStandIns()) {
        creationError_ = GetLastError();
        destroy();
        return;
    }
    endsProgram_ = endsProgram;
    model_.setObserver(this);
}

void WindowHost::placeWindow() {
    Rect r = scale_.windowRect(model_.bounds());
    if (model_.spec().centred) {
        r.left = (GetSystemMetrics(SM_CXSCREEN) - r.width) / 2;
        r.top = (GetSystemMetrics(SM_CYSCREEN) - r.height) / 2;
    }
    // WM_MOVE and WM_SIZE bring the model's bounds in step.
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowHost::~WindowHost() {
    model_.setObserver(nullptr);
    endsProgram_ = false;  // the program is past its loop, or the window is already gone
    destroy();
    std::erase(context_.hosts, this);
}

void WindowHost::show() {
    ShowWindow(hwnd_, SW_SHOW);
    // The whole first frame at once, the native controls' part of it included.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
#ifdef VORLANE_TEST_HOOKS
    if (endsProgram_) logSinceProcessCreation("first_paint_ms");
#endif
}

void WindowHost::destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void WindowHost::startTimers() {
    for (Control& c : model_.controls()) {
        if (c.kind() == ControlKind::Timer) controlChanged(c, Property::Interval);
    }
}

bool WindowHost::createNativeControls() {
    // Tab order follows the reading order of the window, not the stacking order.
    std::vector<Control*> natives;
    for (Control& c : model_.controls()) {
        if (!c.visible()) continue;
        if (c.kind() == ControlKind::EditBox || c.kind() == ControlKind::RadioButton) natives.push_back(&c);
    }
    std::stable_sort(natives.begin(), natives.end(), [](const Control* a, const Control* b) {
        Rect ra = a->windowRect(), rb = b->windowRect();
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    bool firstRadio = true;
    int id = kFirstControlId;
    for (Control* c : natives) {
        HWND h = c->kind() == ControlKind::EditBox ? createEdit(*c, id) : createRadio(*c, id);
        if (!h) return false;
        if (c->kind() == ControlKind::RadioButton && firstRadio) {
            SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | WS_GROUP);
            firstRadio = false;
        }
        natives_[c] = h;
        byId_[id++] = c;
    }
    return true;
}

HWND WindowHost::createEdit(const Control& c, int id) {
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (c.spec().tabStop ? WS_TABSTOP : 0) |
                  (c.enabled() ? 0 : WS_DISABLED) | (c.spec().multiLine ? ES_MULTILINE : 0) |
                  (c.spec().border ? WS_BORDER : 0);
    HWND h = CreateWindowExW(0, L"EDIT", wideOrEmpty(c.text()).c_str(), style, 0, 0, 1, 1, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!h) return nullptr;
    if (c.spec().maxLength > 0) SendMessageW(h, EM_LIMITTEXT, c.spec().maxLength, 0);
    scaleNative(c, h);
    return h;
}

// A real radio button, for the keyboard and for screen readers; it shows what the
// painter draws for it (see drawNative).
HWND WindowHost::createRadio(const Control& c, int id) {
    DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | (c.spec().tabStop ? WS_TABSTOP : 0) |
                  (c.enabled() ? 0 : WS_DISABLED);
    HWND h = CreateWindowExW(0, L"BUTTON", wideOrEmpty(c.text()).c_str(), style, 0, 0, 1, 1, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!h) return nullptr;
    SendMessageW(h, BM_SETCHECK, c.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    scaleNative(c, h);
    return h;
}

// Font, margins and place at the window's scale.
void WindowHost::scaleNative(const Control& c, HWND native) {
    HFONT font = context_.fonts.font(scale_.px(kControlFontHeight), false);
    SendMessageW(native, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind() == ControlKind::EditBox) {
        int margin = scale_.px(kEditMargin);
        SendMessageW(native, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    }
    placeNative(c, native);
}

void WindowHost::placeNative(const Control& c, HWND native) {
    Rect r = scale_.rect(c.windowRect());
    int editHeight = scale_.px(kEditHeight);
    if (c.kind() == ControlKind::EditBox && !c.spec().multiLine && r.height > editHeight) {
        r.top += (r.height - editHeight) / 2;
        r.height = editHeight;
    }
    MoveWindow(native, r.left, r.top, r.width, r.height, TRUE);
}

Control* WindowHost::nativeControl(HWND native) const {
    for (const auto& [control, h] : natives_) {
        if (h == native) return const_cast<Control*>(control);
    }
    return nullptr;
}

void WindowHost::ensureBuffer(int width, int height) {
    if (buffer_ && width <= bufferW_ && height <= bufferH_) return;
    width = std::max(width, bufferW_);
    height = std::max(height, bufferH_);
    if (!memDc_) memDc_.reset(CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    OwnedGdi<HBITMAP> made(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!made || !memDc_) return;  // the buffer there is, if any, paints what it can
    // The new buffer is selected before the old one is deleted.
    SelectObject(memDc_.get(), made.get());
    buffer_ = std::move(made);
    bits_ = static_cast<std::uint32_t*>(bits);
    bufferW_ = width;
    bufferH_ = height;
}

// Paints `area` of the window picture into the buffer, at the buffer's top-left corner.
void WindowHost::render(const Rect& area, const Control* focusRing) {
    ensureBuffer(std::max(1, area.width), std::max(1, area.height));
    if (!bits_) return;
    GdiFlush();
    GdiTextDrawer text(memDc_.get(), context_.fonts, area.left, area.top);
    PixelCanvas canvas(bits_, bufferW_, bufferH_, &text, area.left, area.top);
    canvas.setClip(area);
    PointerState state = pointer_;
    state.focused = focusRing;
    paintWindow(model_, canvas, context_.pictures, shownPictures_, state, scale_);
    GdiFlush();
}

// A band at a time, so the buffer is as wide as the window but only a band high.
void WindowHost::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const Rect area = fromRECT(ps.rcPaint);
    for (int top = area.top; top < area.bottom(); top += kBandHeight) {
        const Rect band{area.left, top, area.width, std::min(kBandHeight, area.bottom() - top)};
        render(band, focusRing());
        if (bits_) BitBlt(dc, band.left, band.top, band.width, band.height, memDc_.get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
}

void WindowHost::invalidate(const Control& c) {
    if (!hwnd_) return;
    RECT rc = toRECT(scale_.rect(c.windowRect()));
    InvalidateRect(hwnd_, &rc, FALSE);
}

void WindowHost::fire(Control& c, Event e) {
    runHandler(context_, hwnd_, [&] { model_.fire(c, e); });
}

void WindowHost::setHovered(Control* c) {
    if (c == pointer_.hovered) return;
    if (pointer_.hovered) invalidate(*pointer_.hovered);
    pointer_.hovered = c;
    if (c) invalidate(*c);
}

Control* WindowHost::controlUnder(POINT client) { return controlAt(model_, client.x, client.y, scale_); }

Control* WindowHost::controlUnderCursor() {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    return controlUnder(p);
}

void WindowHost::controlChanged(Control& c, Property property) {
    if (!hwnd_) return;
    syncStandIn(c, property);
    auto native = natives_.find(&c);
    if (native != natives_.end()) {
        HWND h = native->second;
        syncing_ = true;
        switch (property) {
            case Property::Caption: SetWindowTextW(h, wideOrEmpty(c.text()).c_str()); break;
            case Property::Enabled: EnableWindow(h, c.enabled()); break;
            case Property::Checked: SendMessageW(h, BM_SETCHECK, c.checked() ? BST_CHECKED : BST_UNCHECKED, 0); break;
            case Property::Visible: ShowWindow(h, c.visible() ? SW_SHOW : SW_HIDE); break;
            case Property::Geometry: placeNative(c, h); break;
            default: break;
        }
        syncing_ = false;
        // A radio button shows the painter's picture of it, which has just changed.
        if (c.kind() == ControlKind::RadioButton) InvalidateRect(h, nullptr, FALSE);
        return;
    }
    if (c.kind() == ControlKind::Timer) {
        auto it = timers_.find(&c);
        if (it != timers_.end()) {
            KillTimer(hwnd_, it->second);
            timers_.erase(it);
        }
        if (c.interval() > 0) {
            UINT_PTR id = reinterpret_cast<UINT_PTR>(&c);
            if (SetTimer(hwnd_, id, static_cast<UINT>(c.interval()), nullptr)) {
                timers_[&c] = id;
            } else {
                const DWORD error = GetLastError();
                HandlerScope running(context_);
                reportSystemFailure(hwnd_, L"提示：无法启动计时器（" + wideOrEmpty(c.name()) + L"）。", error);
            }
        }
        return;
    }
    if (property == Property::Geometry) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    if (c.kind() == ControlKind::AnimationObject) {
        // Shown through the box that holds it.
        for (Control& box : model_.controls()) {
            if (box.kind() == ControlKind::AnimationBox && box.placedObject() == &c) invalidate(box);
        }
        return;
    }
    invalidate(c);
}

void WindowHost::windowChanged(Window& window) {
    if (!hwnd_) return;
    bool iconic = IsIconic(hwnd_) != FALSE;
    if (window.minimised() != iconic) ShowWindow(hwnd_, window.minimised() ? SW_MINIMIZE : SW_RESTORE);
    RECT now;
    GetWindowRect(hwnd_, &now);
    // The units of the model are coarser than device pixels: a window already where the
    // model says stays put to the pixel.
    if (!iconic && scale_.windowUnits(fromRECT(now)) == window.bounds()) return;
    const Rect r = scale_.windowRect(window.bounds());
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowHost::syncBounds() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    bool iconic = IsIconic(hwnd_) != FALSE;
    model_.syncMinimisedFromSystem(iconic);
    if (!iconic) model_.syncBoundsFromSystem(scale_.windowUnits(fromRECT(r)));
}

LRESULT WindowHost::colourNative(HDC dc, HWND native) {
    const Control* control = nativeControl(native);
    if (!control || control->kind() != ControlKind::EditBox) return 0;
    const ControlSpec& s = control->spec();
    SetTextColor(dc, colour(s.textColour.value_or(Rgb{})));
    SetBkColor(dc, colour(s.backColour.value_or(Rgb{26, 26, 26})));
    return reinterpret_cast<LRESULT>(editBrush_.get());
}

// A radio button shows the part of the window picture under it, where the painter has
// drawn it in the skin, instead of the system's look.
LRESULT WindowHost::drawNative(const NMCUSTOMDRAW& draw) {
    const Control* control = nativeControl(draw.hdr.hwndFrom);
    if (!control || control->kind() != ControlKind::RadioButton) return CDRF_DODEFAULT;
    if (draw.dwDrawStage != CDDS_PREERASE && draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    const Rect r = scale_.rect(control->windowRect());
    // The button says whether it has the focus as it draws: the focus may be moving.
    render(r, (draw.uItemState & CDIS_FOCUS) && focusCues_ ? control : nullptr);
    if (bits_) BitBlt(draw.hdc, 0, 0, r.width, r.height, memDc_.get(), 0, 0, SRCCOPY);
    return CDRF_SKIPDEFAULT;
}

// Moved to a screen of another scale: take the rectangle Windows suggests and lay out
// and draw again at the DPI the message carries.
void WindowHost::onDpiChanged(int dpi, const RECT& suggested) {
    scale_ = Scale(dpi);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& [control, h] : natives_) scaleNative(*control, h);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void WindowHost::onCommand(WPARAM wp, LPARAM) {
    auto it = byId_.find(LOWORD(wp));
    if (it == byId_.end()) return;
    Control& c = *it->second;
    HWND h = natives_.at(&c);
    if (c.kind() == ControlKind::EditBox && HIWORD(wp) == EN_CHANGE && !syncing_) {
        int n = GetWindowTextLengthW(h);
        std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
        wide.resize(static_cast<std::size_t>(GetWindowTextW(h, wide.data(), n + 1)));
        c.syncTextFromUser(narrowUserText(wide));
        fire(c, Event::Changed);
    } else if (c.kind() == ControlKind::RadioButton && HIWORD(wp) == BN_CLICKED && c.enabled()) {
        fire(c, Event::Clicked);
    }
}

LRESULT CALLBACK WindowHost::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<WindowHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->handle(msg, wp, lp);
}

LRESULT WindowHost::handle(UINT msg, WPARAM wp, LPARAM lp) {
    HWND hwnd = hwnd_;
    switch (msg) {
        case WM_PAINT: paint(); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_NCHITTEST: {
            LRESULT hit = DefWindowProcW(hwnd, msg, wp, lp);
            if (hit != HTCLIENT || !model_.spec().draggable) return hit;
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(hwnd, &p);
            return controlUnder(p) ? HTCLIENT : HTCAPTION;
        }
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd) {
                Control* c = controlUnderCursor();
                bool hand = c && c->enabled() && c->spec().cursor == Cursor::Hand;
                SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE: {
            if (!tracking_) {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd, 0};
                tracking_ = TrackMouseEvent(&t) != FALSE;
            }
            Control* c = controlUnder({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            setHovered(c && c->kind() == ControlKind::GraphicButton && c->enabled() ? c : nullptr);
            return 0;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            setHovered(nullptr);
            return 0;
        case WM_LBUTTONDOWN: {
            Control* c = controlUnder({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (!c || !c->enabled()) return 0;
            if (c->kind() == ControlKind::GraphicButton) {
                pointer_.pressed = c;
                SetCapture(hwnd);
                invalidate(*c);
            }
            if (c->spec().onLeftButtonDown) fire(*c, Event::LeftButtonDown);
            return 0;
        }
        case WM_LBUTTONUP: {
            Control* was = const_cast<Control*>(pointer_.pressed);
            if (!was) return 0;
            pointer_.pressed = nullptr;
            ReleaseCapture();
            invalidate(*was);
            if (controlUnder({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) == was) fire(*was, Event::Clicked);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (pointer_.pressed) {
                invalidate(*pointer_.pressed);
                pointer_.pressed = nullptr;
            }
            return 0;
        case WM_TIMER:
            // A tick that falls due while a handler (or its message box) runs is skipped;
            // the timer comes round again.
            if (context_.handlersRunning == 0) {
                for (auto& [control, id] : timers_) {
                    if (id == wp) {
                        fire(*const_cast<Control*>(control), Event::Tick);
                        break;
                    }
                }
            }
            return 0;
        case WM_COMMAND: onCommand(wp, lp); return 0;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lp)->code == NM_CUSTOMDRAW) {
                return drawNative(*reinterpret_cast<const NMCUSTOMDRAW*>(lp));
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            if (LRESULT brush = colourNative(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp))) return brush;
            break;
        case WM_MOVE:
        case WM_SIZE:
            syncBounds();
            if (msg == WM_SIZE) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_DPICHANGED: onDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
        case WM_SETFOCUS: restoreFocus(); return 0;
        case WM_UPDATEUISTATE: {
            LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
            onUiStateChanged(wp);
            return result;
        }
        case WM_DESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            for (auto& [control, id] : timers_) KillTimer(hwnd, id);
            timers_.clear();
            natives_.clear();
            standIns_.clear();
            lastFocus_ = nullptr;
            byId_.clear();
            hwnd_ = nullptr;
            if (endsProgram_) PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace vorlane::win32
