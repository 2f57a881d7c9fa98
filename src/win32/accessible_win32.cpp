#include "win32/accessible_win32.h"

#include <ole2.h>
#include <oleacc.h>

#include <new>
#include <string>

#include "win32/services.h"

namespace vorlane::win32 {
namespace {

// Written out here: the IID_IAccessible of MinGW's oleacc import library is a code stub,
// and interfaces asked for with it are never found.
constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Oleacc {
    decltype(&CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&LresultFromObject) lresult = nullptr;
};

// Loaded from the system folder when a screen reader first asks, never at start; it stays
// loaded, as the objects handed out live in it.
const Oleacc& oleacc() {
    static const Oleacc loaded = [] {
        Oleacc functions;
        if (HMODULE dll = loadSystemLibrary(L"oleacc.dll")) {
            functions.createStandard = reinterpret_cast<decltype(&CreateStdAccessibleObject)>(
                reinterpret_cast<void*>(GetProcAddress(dll, "CreateStdAccessibleObject")));
            functions.lresult = reinterpret_cast<decltype(&LresultFromObject)>(
                reinterpret_cast<void*>(GetProcAddress(dll, "LresultFromObject")));
        }
        return functions;
    }();
    return loaded;
}

long roleCode(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
        case AccessibleRole::CheckButton: return ROLE_SYSTEM_CHECKBUTTON;
        case AccessibleRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
        case AccessibleRole::Link: return ROLE_SYSTEM_LINK;
        case AccessibleRole::EditableText: return ROLE_SYSTEM_TEXT;
        case AccessibleRole::Other: break;
    }
    return ROLE_SYSTEM_CLIENT;
}

bool self(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard client object of the window, with role, name, check and place answered
// from the control.
class AccessibleControl final : public IAccessible, public IOleWindow {
public:
    AccessibleControl(HWND window, IAccessible* standard, AccessibleLookup lookup)
        : window_(window), standard_(standard), lookup_(lookup) {}
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == kIidAccessible) {
            *out = static_cast<IAccessible*>(this);
        } else if (riid == __uuidof(IOleWindow)) {
            *out = static_cast<IOleWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IOleWindow: how clients find the window of an object.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(riid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* error, UINT* argument) override {
        return standard_->Invoke(id, riid, locale, flags, params, result, error, argument);
    }

    // IAccessible: ours for the control itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!self(child)) return standard_->get_accName(child, name);
        if (!name) return E_POINTER;
        auto view = lookup_(window_);
        if (!view) return E_FAIL;
        std::wstring wide = widen(view->facts.name).value_or(L"");
        *name = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!self(child)) return standard_->get_accRole(child, role);
        if (!role) return E_POINTER;
        auto view = lookup_(window_);
        if (!view) return E_FAIL;
        role->vt = VT_I4;
        role->lVal = roleCode(view->facts.role);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        HRESULT result = standard_->get_accState(child, state);
        if (!self(child) || FAILED(result) || state->vt != VT_I4) return result;
        auto view = lookup_(window_);
        if (!view) return E_FAIL;
        if (view->facts.checked) state->lVal |= STATE_SYSTEM_CHECKED;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!self(child)) return standard_->accLocation(left, top, width, height, child);
        if (!left || !top || !width || !height) return E_POINTER;
        auto view = lookup_(window_);
        if (!view) return E_FAIL;
        *left = view->screen.left;
        *top = view->screen.top;
        *width = view->screen.right - view->screen.left;
        *height = view->screen.bottom - view->screen.top;
        return S_OK;
    }

    // IAccessible: the standard object's for the rest.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return standard_->get_accHelp(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~AccessibleControl() { standard_->Release(); }

    LONG references_ = 1;
    HWND window_;
    IAccessible* standard_;
    AccessibleLookup lookup_;
};

}  // namespace

std::optional<LRESULT> answerGetObject(HWND window, WPARAM wp, LPARAM lp, AccessibleLookup lookup) {
    if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
    const Oleacc& functions = oleacc();
    if (!functions.createStandard || !functions.lresult || !lookup(window)) return std::nullopt;
    IAccessible* standard = nullptr;
    if (FAILED(functions.createStandard(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&standard))) ||
        !standard) {
        return std::nullopt;
    }
    auto* object = new (std::nothrow) AccessibleControl(window, standard, lookup);
    if (!object) {
        standard->Release();
        return std::nullopt;
    }
    LRESULT answer = functions.lresult(kIidAccessible, wp, static_cast<IAccessible*>(object));
    object->Release();
    if (answer < 0) return std::nullopt;  // an error code: the system answers instead
    return answer;
}

}  // namespace vorlane::win32
