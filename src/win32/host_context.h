#pragma once
// What the program's windows share, and the rule that handlers run one at a time.
#include <windows.h>

#include <deque>
#include <functional>
#include <new>
#include <vector>

#include "ui/painter.h"
#include "win32/gdi_text.h"
#include "win32/system_failure.h"
#include "win32/window_class.h"

namespace vorlane::win32 {

class WindowHost;

// What every window of the program shares.
struct HostContext {
    HostContext(const PictureSource& pictureSource, const ImageDecoder& imageDecoder, FontCache& fontCache);

    // Runs `work` as a handler of its own, from the message loop, once no handler runs (nor
    // a box or dialog one shows); what waits runs oldest first. Once the main window is gone
    // the program is ending, and nothing that waits runs any more.
    void whenNoHandlerRuns(std::function<void()> work);

    const PictureSource& pictures;
    const ImageDecoder& decoder;
    FontCache& fonts;
    int handlersRunning = 0;  // handlers run one at a time; ticks wait their turn
    std::vector<WindowHost*> hosts{};  // every host that exists, oldest first

private:
    friend class HandlerScope;
    void postWaiting();
    void runWaiting();

    std::deque<std::function<void()>> waiting_;
    MessageWindow window_;  // how what waits gets back to the loop
};

// Counts a handler, or a message box or dialog it shows, as running while it lives.
class HandlerScope {
public:
    explicit HandlerScope(HostContext& context) : context_(context) { ++context_.handlersRunning; }
    ~HandlerScope() {
        if (--context_.handlersRunning == 0) context_.postWaiting();
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    HostContext& context_;
};

// Runs a handler, or work that waited until none ran, counted as running. Every one the program
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
