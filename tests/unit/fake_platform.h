#pragma once
// A Platform for the native tests: real files under a temporary folder, everything else
// recorded so a test can check what the program asked of the system.
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "posix/posix_copy_ops.h"
#include "posix/posix_file_ops.h"

namespace vorlane::testing {

// A fresh temporary folder, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // The folder as the program names it: a GB18030 text.
    Text text() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& p, const std::string& bytes);
std::string readFile(const std::filesystem::path& p);  // empty when missing

// Wraps the real file operations for fault injection: fails the n-th write, read, keep or
// move (1-based), or dies during the n-th change to the disk, as a crash would: a write
// then leaves half its bytes, and nothing happens after it. A copy's opens count as reads.
class FaultyFileOps final : public FileOps, public CopyOps {
public:
    int failAt = 0;  // 0: never fail
    int calls = 0;
    bool lies = false;  // the failing call claims success without doing its work (a read alters a byte)
    int failAgainAt = 0;  // then the n-th call after that failure fails too (removes counted)
    int callsAfterFailure = 0;
    int crashAt = 0;  // 0: never crash
    int changes = 0;  // counted also without a crash
    bool dead() const { return crashAt != 0 && changes >= crashAt; }

    bool writeNew(const Text& path, const Bytes& bytes) override;
    FileRead read(const Text& path) override;
    bool exists(const Text& path) override { return !dead() && real_.exists(path); }
    bool keepCopy(const Text& from, const Text& to) override;
    bool moveOver(const Text& from, const Text& to) override;
    bool remove(const Text& path) override;
    std::unique_ptr<FileReader> openRegular(const Text& path) override;
    std::unique_ptr<FileWriter> createRegular(const Text& path) override;

private:
    bool failed() const { return failAt != 0 && calls >= failAt; }
    bool fails() { return failed() ? ++callsAfterFailure == failAgainAt : ++calls == failAt; }
    bool lying() const { return lies && callsAfterFailure == 0; }
    bool survives() { return !dead() && (++changes < crashAt || crashAt == 0); }
    PosixFileOps real_;
    PosixCopyOps realCopy_;
};

// Stands for the system's window: like the real host, it observes its window, is owned by
// it, and lets go of it when it ends, which a window already gone would not survive (ASan).
class FakeHost final : public WindowObserver {
public:
    FakeHost(Window& window, std::vector<std::string>& gone) : window_(window), gone_(gone) {
        window.setObserver(this);
    }
    ~FakeHost() override {
        window_.setObserver(nullptr);
        gone_.push_back(std::string(window_.spec().name) + " " + std::to_string(window_.controls().size()));
    }
    void controlChanged(Control&, Property) override {}
    void windowChanged(Window&) override {}

private:
    Window& window_;
    std::vector<std::string>& gone_;
};

class FakePlatform final : public Platform {
public:
    Text programDir;
    std::vector<Text> messages;
    std::vector<Text> openedUrls;
    struct Run {
        Text path;
        bool wait;
    };
    std::vector<Run> runs;
    RunOutcome runOutcome = RunOutcome::Started;  // what runProgram answers
    RunningProgram running;  // what runningProgramIn answers
    struct MusicCall {
        bool play;
        int times;
        Text path;
    };
    std::vector<MusicCall> music;
    Control* musicOwner = nullptr;  // told when the music that plays ends
    std::map<Text, HttpResponse> pages;  // url -> response; others fail (empty)
    std::vector<Text> fetchedUrls;
    // Fetches stay on their way until arrive() lets one come back.
    struct HeldFetch {
        std::vector<PageRequest> pages;
        PagesArrived arrived;
    };
    std::vector<HeldFetch> held;
    Text ipAddress = "127.0.0.1";
    int screenW = 1024, screenH = 768;
    // What the file dialog returns: nullopt = the user cancels.
    std::optional<Text> dialogChoice;
    int dialogsOpened = 0;
    std::vector<std::pair<Text, std::vector<Text>>> shortcuts;  // each made: its name and arguments
    ShortcutResult shortcutMade{.ok = true};                     // what createDesktopShortcut answers
    std::vector<Window*> loadedWindows;
    std::vector<Window*> destroyedWindows;
    std::vector<std::string> hostsGone;  // "window name, controls it still had", in order
    std::function<void(Window&)> whileModal;  // runs while a modal window is open
    std::function<void()> whileRunning;  // runs as the message loop
    FaultyFileOps fileOps;
    bool firstFrameShown = false;
    std::vector<std::function<void()>> afterFirstFrameWork;  // waits for the main window's first frame
    std::function<void()> onMessage;  // e.g. to record state when a box appears

    Text programDirectory() override { return programDir; }
    FileRead readFileBytes(const Text& path) override { return readWholeFile(path); }
    bool exists(const Text& path) override { return PosixFileOps().exists(path); }
    bool makeFolder(const Text& path) override {
        std::error_code error;
        std::filesystem::create_directory(nativePath(path), error);
        return std::filesystem::is_directory(nativePath(path));
    }
    CopyOutcome copyFile(const Text& source, const Text& target, const std::function<bool()>& before) override {
        return copyFileAtomically(fileOps, source, target, before);
    }
    ReplaceOutcome replaceFiles(const std::vector<FileWrite>& files, const JournalPlace& journal) override {
        return replaceFilesAtomically(fileOps, files, journal);
    }
    ReplaceOutcome recoverFiles(const JournalPlace& journal, const std::vector<Text>& targets) override {
        return recoverReplacement(fileOps, journal, targets);
    }
    void showMessage(const Text& text, int) override {
        messages.push_back(text);
        if (onMessage) onMessage();
    }
    bool answer = true;  // what the player answers every question
    bool ask(const Text& question) override {
        messages.push_back(question);
        return answer;
    }
    void openUrl(const Text& url) override { openedUrls.push_back(url); }
    void fetchPages(std::vector<PageRequest> requests, PagesArrived arrived) override {
        for (const PageRequest& page : requests) {
            if (!page.url.empty()) fetchedUrls.push_back(page.url);
        }
        held.push_back({std::move(requests), std::move(arrived)});
    }
    // The held fetch `index` (the oldest by default) comes back with the pages served now.
    void arrive(std::size_t index = 0) {
        HeldFetch fetch = std::move(held.at(index));
        held.erase(held.begin() + static_cast<std::ptrdiff_t>(index));
        std::vector<Text> digests;
        for (const PageRequest& page : fetch.pages) {
            auto it = pages.find(page.url);
            digests.push_back(page.digest(page.url.empty() || it == pages.end() ? HttpResponse{} : it->second));
        }
        fetch.arrived(digests);
    }
    void arriveAll() {
        while (!held.empty()) arrive();
    }
    RunOutcome runProgram(const Text& path, bool wait) override {
        runs.push_back({path, wait});
        return runOutcome;
    }
    RunningProgram runningProgramIn(const Text&) override { return running; }
    void playMusic(int times, const Text& path, Control& owner) override {
        music.push_back({true, times, path});
        musicOwner = &owner;
    }
    void stopMusic() override {
        music.push_back({false, 0, {}});
        musicOwner = nullptr;
    }
    // The music that plays ends by itself.
    void endMusic() {
        Control* owner = std::exchange(musicOwner, nullptr);
        if (owner) owner->window().fire(*owner, Event::MusicEnded);
    }
    Text localIpAddress() override { return ipAddress; }
    int screenWidth() override { return screenW; }
    int screenHeight() override { return screenH; }
    bool openFileDialog(Control& dialog) override {
        ++dialogsOpened;
        if (!dialogChoice) return false;
        dialog.setText(*dialogChoice);
        return true;
    }
    ShortcutResult createDesktopShortcut(const Text& name, const std::vector<Text>& arguments) override {
        shortcuts.push_back({name, arguments});
        return shortcutMade;
    }
    void loadWindow(Window& window, bool modal) override {
        loadedWindows.push_back(&window);
        window.setHost(std::make_unique<FakeHost>(window, hostsGone));
        window.fireCreated();
        if (!modal) showFirstFrame();
        if (modal && whileModal) whileModal(window);
    }
    // The main window has painted its first frame.
    void showFirstFrame() {
        firstFrameShown = true;
        for (auto& work : std::exchange(afterFirstFrameWork, {})) work();
    }
    void afterFirstFrame(std::function<void()> work) override {
        if (firstFrameShown) {
            work();
        } else {
            afterFirstFrameWork.push_back(std::move(work));
        }
    }
    void destroyWindow(Window& window) override { destroyedWindows.push_back(&window); }
    int runMessageLoop() override {
        if (whileRunning) whileRunning();
        return 0;
    }
};

}  // namespace vorlane::testing
