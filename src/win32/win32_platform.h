#pragma once
#include <functional>
#include <vector>

#include "platform/platform.h"
#include "ui/skin_pictures.h"
#include "win32/gdi_text.h"
#include "win32/page_fetches.h"
#include "win32/services.h"
#include "win32/wic_images.h"
#include "win32/window_host.h"

namespace vorlane::win32 {

class Win32Platform final : public Platform {
public:
    ~Win32Platform() override;

    Text programDirectory() override;
    FileRead readFileBytes(const Text& path) override;
    bool exists(const Text& path) override;
    bool makeFolder(const Text& path) override;
    CopyOutcome copyFile(const Text& source, const Text& target, const std::function<bool()>& beforeReplacing) override;
    ReplaceOutcome replaceFiles(const std::vector<FileWrite>& files, const JournalPlace& journal) override;
    ReplaceOutcome recoverFiles(const JournalPlace& journal, const std::vector<Text>& targets) override;
    void showMessage(const Text& text, int style) override;
    bool ask(const Text& question) override;
    void openUrl(const Text& url) override;
    void fetchPages(std::vector<PageRequest> pages, PagesArrived arrived) override;
    RunOutcome runProgram(const Text& programPath, bool wait) override;
    RunningProgram runningProgramIn(const Text& folder) override;
    void playMusic(int times, const Text& path, Control& owner) override;
    void stopMusic() override;
    Text localIpAddress() override;
    int screenWidth() override;
    int screenHeight() override;
    bool openFileDialog(Control& dialog) override;
    ShortcutResult createDesktopShortcut(const Text& name, const std::vector<Text>& arguments) override;
    void loadWindow(Window& window, bool modal) override;
    void afterFirstFrame(std::function<void()> work) override;
    void destroyWindow(Window& window) override;
    int runMessageLoop() override;

private:
    WindowHost* hostOf(const Window& window) const;
    WindowHost* newestHost() const;  // the newest live window, if any
    HWND activeWindow() const;             // the owner for dialogs: the newest live window
    Scale screenScale() const;
    void runModalLoop(WindowHost& host);

    ComApartment com_;  // made first and ended last: the decoder's factory is COM's
    WicDecoder decoder_;
    SkinPictures pictures_{resourcePictures(decoder_)};
    FontCache fonts_;
    HostContext context_{pictures_, decoder_, fonts_};
    Win32FileOps fileOps_;
    Win32CopyOps copyOps_;
    std::vector<std::function<void()>> waitingForFirstFrame_;
    bool firstFrameShown_ = false;
    bool musicPlayed_ = false;  // else there is nothing to stop at the end
    int exitCode_ = 0;  // when the main window could not be made
    // Pages that have come back are applied as a handler of their own, once none runs.
    PageFetches fetches_{[this](PageFetches::Batch batch) {
        context_.whenNoHandlerRuns([batch = std::move(batch)] { batch.arrived(batch.digests); });
    }};
};

}  // namespace vorlane::win32
