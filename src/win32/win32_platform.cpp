#include "win32/win32_platform.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "base/version.h"
#include "win32/desktop_shortcut_win32.h"
#include "win32/services.h"
#include "win32/system_failure.h"
#include "win32/test_hooks_win32.h"

namespace vorlane::win32 {

Win32Platform::~Win32Platform() {
    // Music ends with the program; stopping also removes its private copy.
    if (musicPlayed_) win32::stopMusic();
}

Text Win32Platform::programDirectory() { return win32::programDirectory(); }

FileRead Win32Platform::readFileBytes(const Text& path) { return readFile(path); }

bool Win32Platform::exists(const Text& path) { return fileOps_.exists(path); }

bool Win32Platform::makeFolder(const Text& path) {
    auto wide = systemPath(path);
    if (!wide) return false;
    if (CreateDirectoryW(wide->c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CopyOutcome Win32Platform::copyFile(const Text& source, const Text& target,
                                    const std::function<bool()>& beforeReplacing) {
    return copyFileAtomically(copyOps_, source, target, beforeReplacing);
}

ReplaceOutcome Win32Platform::replaceFiles(const std::vector<FileWrite>& files, const JournalPlace& journal) {
    return replaceFilesAtomically(fileOps_, files, journal);
}

ReplaceOutcome Win32Platform::recoverFiles(const JournalPlace& journal, const std::vector<Text>& targets) {
    return recoverReplacement(fileOps_, journal, targets);
}

void Win32Platform::showMessage(const Text& text, int style) {
    // The program's own title stands in for the system's default ("Error").
    std::wstring body = widen(text).value_or(L"?");
    HandlerScope running(context_);
    MessageBoxW(activeWindow(), body.c_str(), L"" VORLANE_TITLE, static_cast<UINT>(style) | MB_OK | MB_SETFOREGROUND);
}

bool Win32Platform::ask(const Text& question) {
    std::wstring body = widen(question).value_or(L"?");
    HandlerScope running(context_);
    return MessageBoxW(activeWindow(), body.c_str(), L"" VORLANE_TITLE, MB_YESNO | MB_SETFOREGROUND) == IDYES;
}

void Win32Platform::openUrl(const Text& url) {
    if (url.empty()) return;
    auto wide = widen(url);
    if (!wide) return;
    afterFirstFrame([page = std::move(*wide)] {
        ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    });
}

void Win32Platform::fetchPages(std::vector<PageRequest> pages, PagesArrived arrived) {
    afterFirstFrame([this, pages = std::move(pages), arrived = std::move(arrived)]() mutable {
        fetches_.start(std::move(pages), std::move(arrived));
    });
}

// What the start-up asks for that the first frame need not wait for (opening a page,
// starting fetches, a message) runs once the main window has painted it.
void Win32Platform::afterFirstFrame(std::function<void()> work) {
    if (firstFrameShown_) {
        work();
    } else {
        waitingForFirstFrame_.push_back(std::move(work));
    }
}

RunOutcome Win32Platform::runProgram(const Text& programPath, bool wait) {
    return win32::runProgram(programPath, wait);
}

RunningProgram Win32Platform::runningProgramIn(const Text& folder) { return win32::runningProgramIn(folder); }

// The end of the music is news from outside, like a paint: it reaches the owner at once,
// even while a handler waits on a message box or the preview.
void Win32Platform::playMusic(int times, const Text& path, Control& owner) {
    musicPlayed_ = true;
    win32::playMusic(times, path, [this, &owner] {
        if (WindowHost* host = hostOf(owner.window()); host && host->alive()) host->fire(owner, Event::MusicEnded);
    });
}

void Win32Platform::stopMusic() { win32::stopMusic(); }

Text Win32Platform::localIpAddress() { return win32::localIpAddress(); }

// The screen in the layout units of the newest window, which is the one asking (the
// preview, made on the primary screen): enough of them to cover every device pixel.
Scale Win32Platform::screenScale() const {
    const WindowHost* host = newestHost();
    return host ? host->scale() : Scale{};
}

int Win32Platform::screenWidth() { return screenScale().cover(GetSystemMetrics(SM_CXSCREEN)); }

int Win32Platform::screenHeight() { return screenScale().cover(GetSystemMetrics(SM_CYSCREEN)); }

bool Win32Platform::openFileDialog(Control& dialog) {
    std::wstring file(32768, L'\0');
    // The dialog remembers the last chosen file and offers its folder again.
    if (auto last = widen(dialog.text()); last && last->size() < file.size()) {
        std::copy(last->begin(), last->end(), file.begin());
    }
    std::wstring filter = L"MP3 (*.mp3)";
    filter.push_back(L'\0');
    filter += L"*.mp3";
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = activeWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    BOOL ok;
    {
        HandlerScope running(context_);
        ok = GetOpenFileNameW(&ofn);
    }
    if (!ok) return false;
    dialog.setText(narrowUserText(file.c_str()));
    return true;
}

ShortcutResult Win32Platform::createDesktopShortcut(const Text& name, const std::vector<Text>& arguments) {
    return win32::createDesktopShortcut(name, arguments);
}

WindowHost* Win32Platform::hostOf(const Window& window) const {
    for (WindowHost* h : context_.hosts) {
        if (&h->model() == &window) return h;
    }
    return nullptr;
}

WindowHost* Win32Platform::newestHost() const {
    for (auto it = context_.hosts.rbegin(); it != context_.hosts.rend(); ++it) {
        if ((*it)->alive()) return *it;
    }
    return nullptr;
}

HWND Win32Platform::activeWindow() const {
    const WindowHost* host = newestHost();
    return host ? host->hwnd() : nullptr;
}

void Win32Platform::loadWindow(Window& window, bool modal) {
    HWND owner = modal ? activeWindow() : nullptr;
    const bool main = context_.hosts.empty();
    auto made = std::make_unique<WindowHost>(window, context_, owner, main);
    WindowHost& host = *made;
    if (!host.alive()) {
        const DWORD error = host.creationError();
        made.reset();
        HandlerScope running(context_);
        reportSystemFailure(owner, L"提示：无法创建" + widen(window.spec().name).value_or(L"窗口") + L"。", error);
        if (main) exitCode_ = kExitSystemFailure;
        return;
    }
    window.setHost(std::move(made));
    if (main) logPhase("window made");
    // Prepared before it appears, so its first frame is whole.
    runHandler(context_, owner, [&] { window.fireCreated(); });
    if (main) logPhase("prepared");
    if (owner) EnableWindow(owner, FALSE);
    host.show();
    host.startTimers();
    if (!modal) {
        logPhase("painted");
        firstFrameShown_ = true;
        runHandler(context_, host.hwnd(), [this] {
            for (auto& work : std::exchange(waitingForFirstFrame_, {})) work();
        });
        logPhase("pages asked");
        return;
    }
    runModalLoop(host);
    if (owner) {
        EnableWindow(owner, TRUE);
        SetForegroundWindow(owner);
    }
}

void Win32Platform::runModalLoop(WindowHost& host) {
    MSG msg;
    while (host.alive()) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: this window goes, and the end, with its exit code, is
            // passed on to the outer loop.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            host.destroy();
            break;
        }
        if (!host.dialogMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void Win32Platform::destroyWindow(Window& window) {
    if (WindowHost* host = hostOf(window)) host->destroy();
}

int Win32Platform::runMessageLoop() {
    if (!activeWindow()) return exitCode_;
#ifdef VORLANE_TEST_HOOKS
    logSinceProcessCreation("input_ready_ms");
#endif
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        WindowHost* active = newestHost();
        if (active && active->dialogMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
#ifdef VORLANE_TEST_HOOKS
    logPeakWorkingSet();
#endif
    return got == 0 ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace vorlane::win32
