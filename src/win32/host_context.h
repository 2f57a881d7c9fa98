#pragma once
// What the program's windows share, and the rule that handlers run one at a time.
#include <windows.h>

#include <functional>
#include <new>
#include <vector>

#include "ui/painter.h"
#include "win32/gdi_text.h"
#include "win32/system_failure.h"

namespace vorlane::win32 {

class WindowHost;

// What every window of the program shares.
struct HostContext {
    const PictureSource& pictures;
    const ImageDecoder& decoder;
    FontCache& fonts;
    int handlersRunning = 0;  // handlers run one at a time; ticks wait their turn
    std::function<void()> afterHandlers{};  // called when the last running handler has returned
    std::vector<WindowHost*> hosts{};  // every host that exists, oldest first
};

// Counts a handler, or a message box or dialog it shows, as running while it lives.
class HandlerScope {
public:
    explicit HandlerScope(HostContext& context) : context_(context) { ++context_.handlersRunning; }
    ~HandlerScope() {
        if (--context_.handlersRunning == 0 && context_.afterHandlers) context_.afterHandlers();
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    HostContext& context_;
};

// Runs a handler, or what applies fetched pages, counted as running. Every one the program
// runs goes through here: one whose memory runs out ends with one box that says so, and the
// program goes on; no exception leaves a window's procedure.
template <class Work>
void runHandler(HostContext& context, HWND owner, Work&& handler) {
    HandlerScope running(context);
    try {
        handler();
    } catch (const std::bad_alloc&) {
        reportOutOfMemory(owner);
    }
}

}  // namespace vorlane::win32
