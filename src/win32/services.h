#pragma once
// The Windows implementations of the system services, one file each; Win32Platform
// composes them with the window host.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_copy.h"
#include "platform/file_replace.h"
#include "platform/platform.h"
#include "win32/handle.h"

namespace vorlane::win32 {

// GB18030 (or GBK where the system lacks GB18030) <-> UTF-16, failing rather than
// losing a character. Used for every caption, message, path and address.
std::optional<std::wstring> widen(std::string_view text);
std::optional<Text> narrow(std::wstring_view wide);
// What the user typed or chose, as the model holds it: a character a text cannot hold
// becomes the control character SUB, which the version check refuses and no file name
// holds, so it is never used as if it were something else.
Text narrowUserText(std::wstring_view wide);

// A path as the file APIs want it: converted exactly, long paths given the \\?\ prefix.
std::optional<std::wstring> systemPath(const Text& path);

Text programDirectory();
// For showing a name: a character that a text cannot hold becomes "?".
Text narrowKeepingMarks(const std::wstring& wide);
// A regular file on a disk, open for reading; empty (without waiting) for anything else.
OwnedFile openRegularFile(const Text& path);
// The regular file created, or truncated, for writing; empty for anything else.
OwnedFile createRegularFile(const Text& path);
// The whole of a regular file of at most 64 MiB.
FileRead readFile(const Text& path);

class Win32FileOps final : public FileOps {
public:
    bool writeNew(const Text& path, const Bytes& bytes) override;
    FileRead read(const Text& path) override;
    bool exists(const Text& path) override;
    bool keepCopy(const Text& from, const Text& to) override;
    bool moveOver(const Text& from, const Text& to) override;
    bool remove(const Text& path) override;
};

class Win32CopyOps final : public CopyOps {
public:
    std::unique_ptr<FileReader> openRegular(const Text& path) override;
    std::unique_ptr<FileWriter> createRegular(const Text& path) override;
    bool moveOver(const Text& from, const Text& to) override;
    bool remove(const Text& path) override;
};

// How long a page may take: its caller waits no longer, no redirect is followed after it,
// and each of WinINet's steps waits at most this long for the server.
constexpr DWORD kHttpTimeLimitMs = 5000;
// Gets at most 4 MiB of body: the page, or an empty response on any failure (an empty
// address fails at once). `done` must not throw.
using HttpDone = std::function<void(HttpResponse)>;
// On the calling thread, which a server that stalls can hold past the time limit: Wine
// ignores the connect time-out, and nothing interrupts a call. `done` runs on it once: as
// soon as the page is whole, or with nothing; the call returns when WinINet lets go.
void httpRequest(const Text& url, const HttpDone& done);
// The same on a thread of its own, waited for at most kHttpTimeLimitMs in all; a request
// still running then is left behind.
HttpResponse httpGet(const Text& url);
// Runs `work` on a new thread with a small stack and lets it go; false when there is none.
bool startWorker(std::function<void()> work);

// CreateProcessW's answer for a program whose manifest asks for administrator rights
// (ERROR_ELEVATION_REQUIRED, which MinGW-w64's headers lack).
constexpr DWORD kElevationRequired = 740;

// How a program is started: the system's calls, which the tests replace to answer as
// Windows does for a program that asks for administrator rights.
struct ProgramStarters {
    decltype(&CreateProcessW) createProcess = CreateProcessW;
    decltype(&ShellExecuteExW) shellExecute = ShellExecuteExW;
};

// Full path as the application name, quoted on the command line, started in its folder. A
// program that asks for administrator rights is started as a double-click starts it, with
// the system's prompt.
RunOutcome runProgram(const Text& programPath, bool wait, const ProgramStarters& starters = {});
// What the running-program check asks of the system; tests put failures in its place.
struct ProcessQueries {
    HANDLE(WINAPI* snapshot)(DWORD flags, DWORD process) = CreateToolhelp32Snapshot;
    HANDLE(WINAPI* open)(DWORD access, BOOL inherit, DWORD process) = OpenProcess;
};
// The first running program found, other than this one, whose file lies in the folder or
// below it (full paths compared without regard to case). A process that cannot be looked
// into counts when its name is that of a program directly in the folder or in its TCLS folder.
RunningProgram runningProgramIn(const Text& folder, const ProcessQueries& system = {});

// `ended` runs, on this thread, once the last play has ended by itself; never after a
// stop or another play, nor when nothing could be played.
void playMusic(int times, const Text& path, std::function<void()> ended);
void stopMusic();

Text localIpAddress();

// First thing at start: every library loaded by name from here on, by the program or by the
// system for it, comes from the system folder (where the system cannot be told so, at
// least not from the current folder).
void loadLibrariesFromSystemFolderOnly();
// A DLL loaded from the system folder by its file name, never from the program's own
// folder (a game folder, which may hold a DLL of the same name); null when it cannot be.
HMODULE loadSystemLibrary(const std::wstring& file);

}  // namespace vorlane::win32
