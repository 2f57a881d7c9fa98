#pragma once
// Pages fetched and digested on worker threads, their digests handed back to the UI thread
// through its message loop, so the window never waits for a server nor works on its bytes.
#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "platform/platform.h"
#include "win32/handle.h"

namespace vorlane::win32 {

class PageFetches {
public:
    struct Batch {
        PagesArrived arrived;
        std::vector<Text> digests;
    };

    // `onReady` runs on the thread that made this object, from its message loop (or a modal
    // loop inside it), each time a batch has come back and after resume().
    explicit PageFetches(std::function<void()> onReady);
    ~PageFetches();
    PageFetches(const PageFetches&) = delete;
    PageFetches& operator=(const PageFetches&) = delete;

    // One worker per page, all at once, each fetching and then digesting its page; returns at
    // once. A batch not back within the time limit is given up: its pages still out count as
    // empty.
    void start(std::vector<PageRequest> pages, PagesArrived arrived);
    // The batches that have come back and wait to be applied, oldest first.
    std::deque<Batch>& ready() { return ready_; }
    // Asks for onReady again, from the message loop, when a batch waits.
    void resume();

private:
    struct Shared;
    struct Pending {
        std::shared_ptr<Shared> shared;
        PagesArrived arrived;
    };
    static LRESULT CALLBACK procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // Moves a batch whose last page has come back, or whose time is up, to ready().
    void collect(WPARAM batch, bool givenUp);

    std::function<void()> onReady_;
    OwnedWindow window_;  // message-only: the workers' way back
    std::map<WPARAM, Pending> pending_;
    std::deque<Batch> ready_;
    WPARAM lastBatch_ = 0;
};

}  // namespace vorlane::win32
