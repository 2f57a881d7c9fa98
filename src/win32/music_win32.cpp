// MP3 playback through MCI. The music plays from a private copy in the temp folder:
// MCI keeps the file it plays open, and the user must be able to install or restore
// the very file that is playing. The copy is deleted when the music is stopped, replaced
// or over; its name also keeps quotes and odd characters out of the MCI command.
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "win32/services.h"
#include "win32/window_class.h"

namespace vorlane::win32 {
namespace {

constexpr wchar_t kAlias[] = L"vorlane_music";

struct Music {
    std::wstring copy;   // the private copy being played, empty when none
    int playsLeft = 0;   // further plays after the current one
    std::function<void()> ended;
    HWND notify = nullptr;
};

Music& music() {
    static Music state;
    return state;
}

bool mci(const std::wstring& command, HWND notify = nullptr) {
    return mciSendStringW(command.c_str(), nullptr, 0, notify) == 0;
}

bool playing() {
    wchar_t mode[32] = L"";
    std::wstring command = std::wstring(L"status ") + kAlias + L" mode";
    return mciSendStringW(command.c_str(), mode, 32, nullptr) == 0 && std::wstring(mode) == L"playing";
}

// A play has ended: the next begins, or after the last the device is closed and the
// owner told.
LRESULT CALLBACK notifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != MM_MCINOTIFY) return DefWindowProcW(window, message, wParam, lParam);
    Music& m = music();
    // A notice from music that was stopped or replaced since is not ours any more: ours is
    // then closed, or playing afresh. Wine names no device in its notices (0).
    auto device = static_cast<MCIDEVICEID>(lParam);
    MCIDEVICEID open = mciGetDeviceIDW(kAlias);
    if (wParam != MCI_NOTIFY_SUCCESSFUL || open == 0 || (device != 0 && device != open) || playing()) return 0;
    if (m.playsLeft > 0) {
        --m.playsLeft;
        std::wstring alias = kAlias;
        if (mci(L"seek " + alias + L" to start") && mci(L"play " + alias + L" notify", window)) return 0;
    }
    std::function<void()> ended = std::move(m.ended);
    stopMusic();
    if (ended) ended();
    return 0;
}

// A message-only window that hears when a play ends.
HWND notifyWindow() {
    Music& m = music();
    if (m.notify) return m.notify;
    m.notify = createMessageWindow(L"VorlaneMusicNotify", notifyProc);
    return m.notify;
}

std::wstring privateCopyName() {
    static unsigned counter = 0;
    std::wstring folder(MAX_PATH + 1, L'\0');
    DWORD n = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (n == 0 || n > folder.size()) return {};
    folder.resize(n);
    return folder + L"vorlane-music-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
           L".mp3";
}

// Nothing plays when the file is missing, no regular file or no MP3, or the machine has no
// sound device.
bool startPlaying(int times, const Text& path, HWND notify) {
    if (times < 1 || !notify) return false;
    Music& m = music();
    const std::wstring copy = privateCopyName();
    const std::optional<Text> copyText = narrow(copy);
    Win32CopyOps ops;
    if (copy.empty() || !copyText || copyFileAtomically(ops, path, *copyText) != CopyOutcome::Copied) return false;
    m.copy = copy;
    std::wstring alias = kAlias;
    m.playsLeft = times - 1;
    return mci(L"open \"" + copy + L"\" type mpegvideo alias " + alias) && mci(L"play " + alias + L" notify", notify);
}

}  // namespace

void playMusic(int times, const Text& path, std::function<void()> ended) {
    stopMusic();
    if (startPlaying(times, path, notifyWindow())) {
        music().ended = std::move(ended);
    } else {
        stopMusic();
    }
}

void stopMusic() {
    Music& m = music();
    m.playsLeft = 0;
    m.ended = nullptr;
    if (mciGetDeviceIDW(kAlias) != 0) {
        std::wstring alias = kAlias;
        mci(L"stop " + alias);
        mci(L"close " + alias);
    }
    if (!m.copy.empty()) {
        DeleteFileW(m.copy.c_str());
        m.copy.clear();
    }
}

}  // namespace vorlane::win32
