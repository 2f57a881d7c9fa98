#include "platform/win32/window_host.h"

#include <windowsx.h>
#include <uxtheme.h>

#include <algorithm>
#include <vector>

#include "platform/ui/hit_test.h"
#include "platform/win32/services.h"
#include "platform/win32/test_hooks_win32.h"
#include "platform/win32/wic_images.h"

namespace vorlane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"VorlaneWindow";
constexpr int kFirstControlId = 100;

void registerClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    done = true;
}

std::wstring wideOrEmpty(const Text& t) { return widen(t).value_or(std::wstring()); }

COLORREF colour(Rgb c) { return RGB(c.r, c.g, c.b); }

// The native edit is only as tall as its font and centred in the box; the painter
// fills the rest of the box with the same colour.
constexpr int kEditHeight = 16;

}  // namespace

WindowHost::WindowHost(Window& model, HostContext& context, HWND owner, bool endsProgram)
    : model_(model), context_(context), endsProgram_(endsProgram) {
    registerClass();
    const WindowSpec& spec = model.spec();
    Rect r = model.bounds();
    if (spec.centred) {
        r.left = (GetSystemMetrics(SM_CXSCREEN) - r.width) / 2;
        r.top = (GetSystemMetrics(SM_CYSCREEN) - r.height) / 2;
        model.syncBoundsFromSystem(r);
    }
    DWORD exStyle = spec.showInTaskbar ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU;
    hwnd_ = CreateWindowExW(exStyle, kClassName, wideOrEmpty(spec.title).c_str(), style, r.left, r.top, r.width,
                            r.height, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowHost::procedure));
    editBrush_ = CreateSolidBrush(RGB(26, 26, 26));
    if (const Bitmap* bg = spec.background ? context_.pictures.picture(spec.background) : nullptr) {
        HBITMAP pattern = createGdiBitmap(*bg);
        surfaceBrush_ = CreatePatternBrush(pattern);
        DeleteObject(pattern);
    } else {
        Rgb back = spec.backColour.value_or(Rgb{240, 240, 240});
        surfaceBrush_ = CreateSolidBrush(colour(back));
    }
    createNativeControls();
    model_.setObserver(this);
}

WindowHost::~WindowHost() {
    model_.setObserver(nullptr);
    destroy();
    if (memDc_) {
        SelectObject(memDc_, oldBuffer_);
        DeleteDC(memDc_);
    }
    if (buffer_) DeleteObject(buffer_);
    if (editBrush_) DeleteObject(editBrush_);
    if (surfaceBrush_) DeleteObject(surfaceBrush_);
}

void WindowHost::show() {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

void WindowHost::destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void WindowHost::startTimers() {
    for (Control& c : model_.controls()) {
        if (c.kind() == ControlKind::Timer) controlChanged(c, Property::Interval);
    }
}

void WindowHost::createNativeControls() {
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
        if (c->kind() == ControlKind::RadioButton && firstRadio) {
            SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | WS_GROUP);
            firstRadio = false;
        }
        natives_[c] = h;
        byId_[id++] = c;
    }
}

HWND WindowHost::createEdit(const Control& c, int id) {
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | (c.spec().tabStop ? WS_TABSTOP : 0) |
                  (c.enabled() ? 0 : WS_DISABLED) | (c.spec().multiLine ? ES_MULTILINE : 0) |
                  (c.spec().border ? WS_BORDER : 0);
    HWND h = CreateWindowExW(0, L"EDIT", wideOrEmpty(c.text()).c_str(), style, 0, 0, 1, 1, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(context_.fonts.control()), FALSE);
    SendMessageW(h, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(4, 4));
    if (c.spec().maxLength > 0) SendMessageW(h, EM_LIMITTEXT, c.spec().maxLength, 0);
    placeNative(c, h);
    return h;
}

HWND WindowHost::createRadio(const Control& c, int id) {
    DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | (c.spec().tabStop ? WS_TABSTOP : 0) |
                  (c.enabled() ? 0 : WS_DISABLED);
    HWND h = CreateWindowExW(0, L"BUTTON", wideOrEmpty(c.text()).c_str(), style, 0, 0, 1, 1, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    // Without the visual style the radio button honours our text colour and background.
    SetWindowTheme(h, L"", L"");
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(context_.fonts.control()), FALSE);
    SendMessageW(h, BM_SETCHECK, c.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    placeNative(c, h);
    return h;
}

void WindowHost::placeNative(const Control& c, HWND native) {
    Rect r = c.windowRect();
    if (c.kind() == ControlKind::EditBox && !c.spec().multiLine && r.height > kEditHeight) {
        r.top += (r.height - kEditHeight) / 2;
        r.height = kEditHeight;
    }
    MoveWindow(native, r.left, r.top, r.width, r.height, TRUE);
}

void WindowHost::ensureBuffer(int width, int height) {
    if (buffer_ && width == bufferW_ && height == bufferH_) return;
    if (!memDc_) memDc_ = CreateCompatibleDC(nullptr);
    if (buffer_) {
        SelectObject(memDc_, oldBuffer_);
        DeleteObject(buffer_);
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    buffer_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    oldBuffer_ = SelectObject(memDc_, buffer_);
    bufferW_ = width;
    bufferH_ = height;
}

void WindowHost::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    int w = std::max<int>(1, client.right), h = std::max<int>(1, client.bottom);
    ensureBuffer(w, h);
    if (bits_) {
        GdiFlush();
        GdiTextDrawer text(memDc_, context_.fonts);
        PixelCanvas canvas(bits_, w, h, &text);
        paintWindow(model_, canvas, context_.pictures, context_.decoder, pointer_);
        GdiFlush();
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, memDc_, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
#ifdef VORLANE_TEST_HOOKS
    static bool firstPaintLogged = false;
    if (endsProgram_ && !firstPaintLogged) {
        firstPaintLogged = true;
        logSinceProcessCreation("first_paint_ms");
    }
#endif
}

void WindowHost::invalidate(const Control& c) {
    if (!hwnd_) return;
    Rect r = c.windowRect();
    RECT rc{r.left, r.top, r.right(), r.bottom()};
    InvalidateRect(hwnd_, &rc, FALSE);
}

void WindowHost::fire(Control& c, Event e) {
    HandlerScope running(context_);
    model_.fire(c, e);
}

void WindowHost::setHovered(Control* c) {
    if (c == pointer_.hovered) return;
    if (pointer_.hovered) invalidate(*pointer_.hovered);
    pointer_.hovered = c;
    if (c) invalidate(*c);
}

Control* WindowHost::controlAtCursor() {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    return controlAt(model_, p.x, p.y);
}

void WindowHost::controlChanged(Control& c, Property property) {
    if (!hwnd_) return;
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
            SetTimer(hwnd_, id, static_cast<UINT>(c.interval()), nullptr);
            timers_[&c] = id;
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
    if (window.minimised() != (IsIconic(hwnd_) != FALSE)) {
        ShowWindow(hwnd_, window.minimised() ? SW_MINIMIZE : SW_RESTORE);
    }
    const Rect& r = window.bounds();
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT WindowHost::colourNative(HDC dc, HWND native) {
    for (auto& [control, h] : natives_) {
        if (h != native) continue;
        const ControlSpec& s = control->spec();
        SetTextColor(dc, colour(s.textColour.value_or(Rgb{})));
        if (control->kind() == ControlKind::EditBox) {
            SetBkColor(dc, colour(s.backColour.value_or(Rgb{26, 26, 26})));
            return reinterpret_cast<LRESULT>(editBrush_);
        }
        // Radio buttons show the window's own surface behind them, aligned to it.
        Rect r = control->windowRect();
        SetBkMode(dc, TRANSPARENT);
        SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
        return reinterpret_cast<LRESULT>(surfaceBrush_);
    }
    return 0;
}

void WindowHost::onCommand(WPARAM wp, LPARAM) {
    auto it = byId_.find(LOWORD(wp));
    if (it == byId_.end()) return;
    Control& c = *it->second;
    HWND h = natives_[&c];
    if (c.kind() == ControlKind::EditBox && HIWORD(wp) == EN_CHANGE && !syncing_) {
        int n = GetWindowTextLengthW(h);
        std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
        wide.resize(static_cast<std::size_t>(GetWindowTextW(h, wide.data(), n + 1)));
        if (auto text = narrow(wide)) c.syncTextFromUser(*text);
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
            return controlAt(model_, p.x, p.y) ? HTCLIENT : HTCAPTION;
        }
        case WM_SETCURSOR:
            if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd) {
                Control* c = controlAtCursor();
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
            Control* c = controlAt(model_, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            setHovered(c && c->kind() == ControlKind::GraphicButton && c->enabled() ? c : nullptr);
            return 0;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            setHovered(nullptr);
            return 0;
        case WM_LBUTTONDOWN: {
            Control* c = controlAt(model_, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
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
            if (controlAt(model_, GET_X_LPARAM(lp), GET_Y_LPARAM(lp)) == was) fire(*was, Event::Clicked);
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
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (LRESULT brush = colourNative(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp))) return brush;
            break;
        case WM_MOVE:
        case WM_SIZE: {
            RECT r;
            GetWindowRect(hwnd, &r);
            bool iconic = IsIconic(hwnd) != FALSE;
            model_.syncMinimisedFromSystem(iconic);
            if (!iconic) model_.syncBoundsFromSystem({r.left, r.top, r.right - r.left, r.bottom - r.top});
            if (msg == WM_SIZE) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_DESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            for (auto& [control, id] : timers_) KillTimer(hwnd, id);
            timers_.clear();
            natives_.clear();
            byId_.clear();
            hwnd_ = nullptr;
            if (endsProgram_) PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace vorlane::win32
