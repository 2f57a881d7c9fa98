#pragma once
// Pages fetched and digested on worker threads, their digests handed back to the UI thread
// through its message loop, so the window never waits for a server nor works on its bytes.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/platform.h"
#include "win32/window_class.h"

namespace vorlane::win32 {

class PageFetches {
public:
    struct Batch {
        PagesArrived arrived;
        std::vector<Text> digests;
    };

    // `onArrived` runs on the thread that made this object, from its message loop (or a modal
    // loop inside it), once for each batch: when its last page has come back, or when its
    // time is up.
    explicit PageFetches(std::function<void(Batch)> onArrived);

    // One worker per page, all at once, each fetching and then digesting its page; returns at
    // once. A batch not back within the time limit is given up: its pages still out count as
    // empty.
    void start(std::vector<PageRequest> pages, PagesArrived arrived);

private:
    struct Shared;
    struct Pending {
        std::shared_ptr<Shared> shared;
        PagesArrived arrived;
    };
    // Hands on a batch whose last page has come back, or whose time is up.
    void collect(WPARAM batch, bool givenUp);

    std::function<void(Batch)> onArrived_;
    MessageWindow window_;  // the workers' way back
    std::map<WPARAM, Pending> pending_;
    WPARAM lastBatch_ = 0;
};

}  // namespace vorlane::win32
