// Reads a window of the Wine session it runs in as a screen reader does, through oleacc.
//   accessible.exe tree TITLE    one JSON line for the client area of our window titled TITLE,
//                                then one for each of its children: {"depth","role","name","states"}
//   accessible.exe focus TITLE   the same for the object that has the keyboard focus there
// Exit status 0 when the window was found and read, 1 otherwise.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "json_text.h"

namespace {

// Written out here: the IID_IAccessible that MinGW's oleacc import library offers is a stub.
constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Node {
    IAccessible* object;
    VARIANT child;  // CHILDID_SELF, or the id of a simple element of `object`
};

std::wstring roleText(const VARIANT& role) {
    if (role.vt != VT_I4) return L"?";
    wchar_t text[128] = L"";
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
    return text;
}

std::string states(const VARIANT& state) {
    std::string out = "[";
    if (state.vt == VT_I4) {
        for (DWORD bit = 1; bit; bit <<= 1) {
            if (!(static_cast<DWORD>(state.lVal) & bit)) continue;
            wchar_t text[128] = L"";
            GetStateTextW(bit, text, 128);
            out += (out.size() > 1 ? "," : "") + json(text);
        }
    }
    return out + "]";
}

std::string describe(const Node& node, int depth) {
    BSTR name = nullptr;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    node.object->get_accName(node.child, &name);
    node.object->get_accRole(node.child, &role);
    node.object->get_accState(node.child, &state);
    std::string line = "{\"depth\":" + std::to_string(depth) + ",\"role\":" + json(roleText(role)) +
                       ",\"name\":" + json(name ? std::wstring(name, SysStringLen(name)) : L"") +
                       ",\"states\":" + states(state) + "}\n";
    SysFreeString(name);
    VariantClear(&role);
    VariantClear(&state);
    return line;
}

IAccessible* clientOf(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        return nullptr;
    }
    return object;
}

VARIANT self() {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

// The children of a client area: simple elements, or the windows of child windows, whose
// client objects are what a screen reader reads (Wine's window objects tell little else).
void children(IAccessible* client, std::string& out) {
    long count = 0;
    if (FAILED(client->get_accChildCount(&count)) || count <= 0) return;
    std::vector<VARIANT> found(static_cast<std::size_t>(count));
    long got = 0;
    if (FAILED(AccessibleChildren(client, 0, count, found.data(), &got))) return;
    for (long i = 0; i < got; ++i) {
        VARIANT& child = found[static_cast<std::size_t>(i)];
        HWND window = nullptr;
        if (child.vt == VT_I4) {
            out += describe({client, child}, 1);
        } else if (child.vt == VT_DISPATCH && child.pdispVal) {
            IAccessible* object = nullptr;
            if (SUCCEEDED(child.pdispVal->QueryInterface(kIidAccessible, reinterpret_cast<void**>(&object)))) {
                if (SUCCEEDED(WindowFromAccessibleObject(object, &window)) && window) {
                    if (IAccessible* inner = clientOf(window)) {
                        out += describe({inner, self()}, 1);
                        inner->Release();
                    }
                }
                object->Release();
            }
        }
        VariantClear(&child);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring mode = argc > 2 ? argv[1] : L"";
    if (mode != L"tree" && mode != L"focus") {
        std::fputs("usage: accessible.exe tree|focus TITLE\n", stderr);
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 1;
    HWND window = FindWindowW(L"VorlaneWindow", argv[2]);
    std::string out;
    if (mode == L"tree") {
        if (IAccessible* client = window ? clientOf(window) : nullptr) {
            out = describe({client, self()}, 0);
            children(client, out);
            client->Release();
            status = 0;
        }
    } else {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
        if (thread && GetGUIThreadInfo(thread, &info) && info.hwndFocus) {
            if (IAccessible* focused = clientOf(info.hwndFocus)) {
                out = describe({focused, self()}, 0);
                focused->Release();
                status = 0;
            }
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    CoUninitialize();
    return status;
}
