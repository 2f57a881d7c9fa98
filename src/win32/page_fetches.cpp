#include "win32/page_fetches.h"

#include <mutex>

#include "win32/services.h"
#include "win32/window_class.h"

namespace vorlane::win32 {
namespace {

constexpr wchar_t kClassName[] = L"VorlanePageFetches";
constexpr UINT kArrived = WM_APP + 1;  // wParam: the batch whose last page has come back

}  // namespace

// What the workers of one batch share with the UI thread. A worker holds only this, the
// window's handle and the batch number: one that finishes after its batch was given up finds
// it abandoned and drops its page; one that finishes after the program has ended posts to a
// window that no longer exists, which does nothing, and frees this itself.
struct PageFetches::Shared {
    explicit Shared(std::vector<Text> empty) : digests(std::move(empty)), left(digests.size()) {}
    std::mutex lock;
    std::vector<Text> digests;
    std::size_t left;
    bool abandoned = false;
};

PageFetches::PageFetches(std::function<void(Batch)> onArrived)
    : onArrived_(std::move(onArrived)), window_(kClassName, [this](UINT msg, WPARAM batch) {
          if (msg != kArrived && msg != WM_TIMER) return false;
          collect(batch, msg == WM_TIMER);
          return true;
      }) {}

void PageFetches::start(std::vector<PageRequest> pages, PagesArrived arrived) {
    const WPARAM batch = ++lastBatch_;
    const HWND window = window_.get();
    // Each page counts as an empty one, as a failed fetch does, until it has come back: that
    // is what a page given up at the time limit leaves. Digesting nothing is no work.
    std::vector<Text> empty;
    for (const PageRequest& page : pages) empty.push_back(page.digest(HttpResponse{}));
    auto shared = std::make_shared<Shared>(std::move(empty));
    pending_[batch] = {shared, std::move(arrived)};
    auto finish = [shared, window, batch](std::size_t i, Text digest) {
        {
            std::lock_guard<std::mutex> hold(shared->lock);
            if (shared->abandoned) return;
            shared->digests[i] = std::move(digest);
            if (--shared->left != 0) return;
        }
        PostMessageW(window, kArrived, batch, 0);
    };
    if (pages.empty()) PostMessageW(window, kArrived, batch, 0);
    // Without a timer (the system refuses one) the batch waits for its last page.
    SetTimer(window, batch, kHttpTimeLimitMs, nullptr);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        bool started = false;
        try {
            started = startWorker([finish, i, page = pages[i]] {
                httpRequest(page.url, [&](HttpResponse response) {
                    Text digest;
                    // A page that cannot be digested (no memory for it) is one without markers.
                    try {
                        digest = page.digest(response);
                    } catch (...) {
                    }
                    finish(i, std::move(digest));
                });
            });
        } catch (...) {
        }
        if (!started) finish(i, {});  // no worker: the page comes back empty
    }
}

void PageFetches::collect(WPARAM batch, bool givenUp) {
    auto it = pending_.find(batch);
    if (it == pending_.end()) return;
    Pending& pending = it->second;
    Batch done;
    {
        std::lock_guard<std::mutex> hold(pending.shared->lock);
        // Only a batch's last worker posts; anything else (a late worker of an earlier
        // window that had this handle) is no news.
        if (!givenUp && pending.shared->left != 0) return;
        pending.shared->abandoned = true;
        done = {std::move(pending.arrived), std::move(pending.shared->digests)};
    }
    KillTimer(window_.get(), batch);
    pending_.erase(it);
    onArrived_(std::move(done));
}

}  // namespace vorlane::win32
