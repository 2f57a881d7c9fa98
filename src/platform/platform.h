#pragma once
// The operating-system services the program uses. Feature code reaches the system only
// through this interface, so every handler also runs against a test double.
#include <functional>
#include <optional>
#include <vector>

#include "base/text.h"
#include "ui/window.h"

namespace vorlane {

struct FileRead {
    Bytes bytes{};
    bool ok = false;  // false: missing or unreadable (bytes then empty)
};

enum class CopyOutcome {
    Copied,
    SourceUnusable,    // missing, unreadable, empty, or no regular file
    TargetUnwritable,  // the target keeps its bytes
    HeldBack,          // the caller's last step before the move said no; the target keeps its bytes
};

enum class RunOutcome {
    Started,
    Declined,  // the player said no to the administrator prompt, as to a double-click's
    Failed,
};

struct FileWrite {
    Text path;
    Bytes bytes;
    bool remove = false;  // the target goes instead (bytes unused)
};

struct ReplaceOutcome {
    bool ok = false;
    Text failedPath{};  // the first path that could not be written
    // After a failure: every file that could not be put back as it was (or, when every file
    // was, the side file or journal that could not be removed). The journal then stays, and the
    // next start finishes the undo. Empty: nothing changed.
    std::vector<Text> notRestored{};
    bool unknownJournal = false;  // a whole journal this program cannot read: nothing was touched
};

// Where a replacement keeps its journal, and the folder below which it names the targets.
struct JournalPlace {
    Text path;  // empty: no journal
    Text root;
};

// A program of a folder that runs, found by where its file lies or, for a process the system
// will not let us look into, by its name.
struct RunningProgram {
    bool cannotTell = false;  // the system would not list the running programs
    std::optional<Text> path{};
};

struct ShortcutResult {
    bool ok = false;
    Text reason{};  // why it could not be made, in the system's words
};

struct HttpResponse {
    Bytes body;        // empty on any failure
    Text contentType;  // the Content-Type header, empty when absent
};

// What the program keeps of a fetched page: a short text. Runs on the worker that fetched
// the page, so it touches nothing but the page (a plain function, no state).
using PageDigest = Text (*)(const HttpResponse& page);

struct PageRequest {
    Text url;
    PageDigest digest;
};

// The digests of one fetchPages call's pages, in the order asked.
using PagesArrived = std::function<void(const std::vector<Text>& digests)>;

class Platform {
public:
    virtual ~Platform() = default;

    // The program's folder, without a trailing backslash.
    virtual Text programDirectory() = 0;

    // The whole of a regular file, for what is decoded or compared: never a folder, a device
    // or a pipe (refused at once, never waited on), nor a file over 64 MiB.
    virtual FileRead readFileBytes(const Text& path) = 0;
    // A file or a folder of that name exists.
    virtual bool exists(const Text& path) = 0;
    // Makes the folder unless it exists; its parent must.
    [[nodiscard]] virtual bool makeFolder(const Text& path) = 0;
    // Puts a copy of the source, a regular file that is not empty, in place of the target in
    // one step; copied a piece at a time, so only the disk bounds its size. The target keeps
    // its bytes unless the copy reads back exactly as the source; a crash never truncates it.
    // `beforeReplacing`, when given, runs once the copy has read back, just before the move,
    // and can hold the move back.
    [[nodiscard]] virtual CopyOutcome copyFile(const Text& source, const Text& target,
                                               const std::function<bool()>& beforeReplacing = {}) = 0;
    // Replaces every file or none: on failure each target keeps its previous bytes and
    // no temporary file is left. Targets are moved into place in the order given and read
    // back. The journal, a file in a folder that exists, lives while they are moved, so
    // that after a crash recoverFiles leaves them all old or all new.
    [[nodiscard]] virtual ReplaceOutcome replaceFiles(const std::vector<FileWrite>& files,
                                                      const JournalPlace& journal) = 0;
    // Finishes or undoes a replaceFiles with this journal that a crash cut short, and
    // removes the side files of `targets` (every file such a call may write).
    [[nodiscard]] virtual ReplaceOutcome recoverFiles(const JournalPlace& journal, const std::vector<Text>& targets) = 0;

    // Modal box with the default title and one OK button (style 0).
    virtual void showMessage(const Text& text, int style = 0) = 0;
    // Modal box with Yes and No; true only for Yes (closing the box is No).
    virtual bool ask(const Text& question) = 0;
    virtual void openUrl(const Text& url) = 0;
    // Fetches every page at once in the background, each within 5 s and 4 MiB (an empty
    // address is not fetched: its digest gets an empty page), digests it there and returns
    // at once. When the last digest is made, `arrived` runs on the UI thread: never while a
    // handler, its message box or a dialog runs (it waits until they end), and not at all
    // once the program is ending.
    virtual void fetchPages(std::vector<PageRequest> pages, PagesArrived arrived) = 0;
    // Starts the program by its full path, quoted, in its own folder; one that asks for
    // administrator rights as a double-click would, with the system's prompt.
    virtual RunOutcome runProgram(const Text& programPath, bool wait) = 0;
    // A running program, other than this one, whose file lies in the folder or below it, or
    // which the system will not let us look into and bears the name of a program directly in
    // the folder or its TCLS folder.
    virtual RunningProgram runningProgramIn(const Text& folder) = 0;

    // Plays in the background; when the last play ends by itself (not when stopped or
    // replaced), `owner` gets its music-ended event.
    virtual void playMusic(int times, const Text& path, Control& owner) = 0;
    virtual void stopMusic() = 0;

    virtual Text localIpAddress() = 0;
    virtual int screenWidth() = 0;
    virtual int screenHeight() = 0;

    // Modal open-file dialog; on confirm the chosen full path becomes the dialog's text.
    virtual bool openFileDialog(Control& dialog) = 0;
    // A shortcut named `name` on the user's desktop that starts this program in its own
    // folder with `arguments`, each given back to it exactly, and shows its icon. One of
    // that name already there is replaced.
    [[nodiscard]] virtual ShortcutResult createDesktopShortcut(const Text& name,
                                                               const std::vector<Text>& arguments) = 0;
    // Creates the native window, runs its created event and shows it; when modal,
    // returns once it is destroyed, the owner taking no input meanwhile. A window is
    // prepared before it appears, so its first frame is whole; pages the main window's
    // start-up opens or fetches are asked for once that frame is painted.
    virtual void loadWindow(Window& window, bool modal) = 0;
    // Runs `work` once the main window's first frame is painted (at once if it is), when no
    // handler runs: for what the player should see over the window, not before it.
    virtual void afterFirstFrame(std::function<void()> work) = 0;
    virtual void destroyWindow(Window& window) = 0;

    // Dispatches events until the last window is destroyed; returns the exit code.
    virtual int runMessageLoop() = 0;
};

}  // namespace vorlane
