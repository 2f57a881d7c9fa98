#include "win32/host_context.h"

#include "win32/window_class.h"
#include "win32/window_host.h"

namespace vorlane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"VorlaneWaitingWork";
constexpr UINT kRunWaiting = WM_APP + 1;

}  // namespace

HostContext::HostContext(const PictureSource& pictureSource, const ImageDecoder& imageDecoder, FontCache& fontCache)
    : pictures(pictureSource), decoder(imageDecoder), fonts(fontCache), window_(kClassName, [this](UINT msg, WPARAM) {
          if (msg != kRunWaiting) return false;
          runWaiting();
          return true;
      }) {}

void HostContext::whenNoHandlerRuns(std::function<void()> work) {
    waiting_.push_back(std::move(work));
    if (handlersRunning == 0) postWaiting();
}

// Posted rather than run, so that it runs outside the stack of the handler that has ended.
void HostContext::postWaiting() {
    if (waiting_.empty()) return;
    if (const HWND window = window_.get()) PostMessageW(window, kRunWaiting, 0, 0);
}

void HostContext::runWaiting() {
    // A box or dialog a handler shows takes this message too: the handler's end posts again.
    if (handlersRunning > 0 || waiting_.empty()) return;
    // The main window is gone: the program is ending.
    if (hosts.empty() || !hosts.front()->alive()) {
        waiting_.clear();
        return;
    }
    std::function<void()> work = std::move(waiting_.front());
    waiting_.pop_front();
    // With no handler running, the main window is the only one open. Its end posts the next.
    runHandler(*this, hosts.front()->hwnd(), work);
}

}  // namespace vorlane::win32
