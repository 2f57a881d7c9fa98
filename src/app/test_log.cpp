#ifdef VORLANE_TEST_HOOKS
#include "app/test_log.h"

#include <chrono>
#include <string>

#include "base/encoding.h"
#include "base/json_string.h"
#include "base/test_log_file.h"
#include "program/app.h"

namespace vorlane {
namespace {

std::string json(const Text& text) { return jsonString(textToUtf8(text).value_or("?")); }

std::string rect(const Rect& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height) + "]";
}

long long elapsedMs() { return millisecondsSinceStart(); }

void append(const std::string& line) { appendTestLogLine(line); }

std::string layoutLine(const Window& window) {
    std::string out = "{\"layout\":" + json(window.spec().name) + ",\"controls\":{";
    bool first = true;
    for (const Control& c : window.controls()) {
        out += (first ? "" : ",") + json(c.name()) + ":" + rect(c.windowRect());
        first = false;
    }
    return out + "}}";
}

void onEvent(Window& window, const Control* control, const char* event) {
    App& app = window.app();
    static bool layoutsWritten = false;
    if (!layoutsWritten) {
        append(layoutLine(app.main));
        layoutsWritten = true;
    }
    if (&window != &app.main) append(layoutLine(window));
    append(stateLine(app, event, control));
}

// Forwards every service and records each message box before it is shown.
class LoggingPlatform final : public Platform {
public:
    explicit LoggingPlatform(Platform& real) : real_(real) {}
    Text programDirectory() override { return real_.programDirectory(); }
    FileRead readFileBytes(const Text& p) override { return real_.readFileBytes(p); }
    bool exists(const Text& p) override { return real_.exists(p); }
    bool makeFolder(const Text& p) override { return real_.makeFolder(p); }
    CopyOutcome copyFile(const Text& s, const Text& t, const std::function<bool()>& before) override {
        return real_.copyFile(s, t, before);
    }
    ReplaceOutcome replaceFiles(const std::vector<FileWrite>& f, const JournalPlace& journal) override {
        auto start = std::chrono::steady_clock::now();
        ReplaceOutcome outcome = real_.replaceFiles(f, journal);
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        append("{\"replace_files_ms\":" + std::to_string(took.count()) + ",\"files\":" + std::to_string(f.size()) +
               ",\"ok\":" + (outcome.ok ? "true" : "false") + "}");
        return outcome;
    }
    ReplaceOutcome recoverFiles(const JournalPlace& journal, const std::vector<Text>& t) override {
        return real_.recoverFiles(journal, t);
    }
    void showMessage(const Text& text, int style) override {
        append("{\"message\":" + json(text) + ",\"ms\":" + std::to_string(elapsedMs()) + "}");
        real_.showMessage(text, style);
    }
    bool ask(const Text& question) override {
        append("{\"message\":" + json(question) + ",\"ms\":" + std::to_string(elapsedMs()) + ",\"yes_no\":true}");
        const bool yes = real_.ask(question);
        append(std::string("{\"answer\":") + (yes ? "true" : "false") + "}");
        return yes;
    }
    void openUrl(const Text& url) override { real_.openUrl(url); }
    void fetchPages(std::vector<PageRequest> pages, PagesArrived arrived) override {
        real_.fetchPages(std::move(pages), std::move(arrived));
    }
    RunOutcome runProgram(const Text& p, bool wait) override { return real_.runProgram(p, wait); }
    RunningProgram runningProgramIn(const Text& f) override { return real_.runningProgramIn(f); }
    void playMusic(int times, const Text& p, Control& owner) override { real_.playMusic(times, p, owner); }
    void stopMusic() override { real_.stopMusic(); }
    Text localIpAddress() override { return real_.localIpAddress(); }
    int screenWidth() override { return real_.screenWidth(); }
    int screenHeight() override { return real_.screenHeight(); }
    bool openFileDialog(Control& d) override { return real_.openFileDialog(d); }
    ShortcutResult createDesktopShortcut(const Text& name, const std::vector<Text>& arguments) override {
        return real_.createDesktopShortcut(name, arguments);
    }
    void loadWindow(Window& w, bool modal) override { real_.loadWindow(w, modal); }
    void afterFirstFrame(std::function<void()> work) override { real_.afterFirstFrame(std::move(work)); }
    void destroyWindow(Window& w) override { real_.destroyWindow(w); }
    int runMessageLoop() override { return real_.runMessageLoop(); }

private:
    Platform& real_;
};

}  // namespace

std::string stateLine(const App& app, const char* event, const Control* control) {
    std::string out = "{\"event\":" + json(Text(event) + (control ? Text(" ") + control->name() : Text())) +
                      ",\"ms\":" + std::to_string(elapsedMs()) + ",\"window\":" + rect(app.main.bounds()) +
                      ",\"minimised\":" + (app.main.minimised() ? "true" : "false");
    if (app.preview) out += ",\"preview\":" + rect(app.preview->bounds());
    std::string labels, hidden, edits, checked;
    int interval = 0;
    for (const Control& c : app.main.controls()) {
        switch (c.kind()) {
            case ControlKind::TransparentLabel:
                labels += (labels.empty() ? "" : ",") + json(c.name()) + ":" + json(c.text());
                if (!c.visible()) hidden += (hidden.empty() ? "" : ",") + json(c.name());
                break;
            case ControlKind::EditBox:
                if (c.visible()) {
                    edits += (edits.empty() ? "" : ",") + json(c.name()) + ":{\"text\":" + json(c.text()) +
                             ",\"enabled\":" + (c.enabled() ? "true" : "false") + "}";
                }
                break;
            case ControlKind::RadioButton:
            case ControlKind::GraphicButton:
                if (c.kind() == ControlKind::RadioButton || c.spec().buttonType == ButtonType::Toggle) {
                    checked += (checked.empty() ? "" : ",") + json(c.name()) + ":" + (c.checked() ? "true" : "false");
                }
                break;
            case ControlKind::Timer: interval = c.interval(); break;
            default: break;
        }
    }
    return out + ",\"labels\":{" + labels + "},\"hidden\":[" + hidden + "],\"edits\":{" + edits +
           "},\"checked\":{" + checked +
           "},\"interval\":" + std::to_string(interval) + "}";
}

int runWithTestLog(Platform& platform, const std::function<int(Platform&)>& run) {
    LoggingPlatform logging(platform);
    Window::setEventListener(onEvent);
    return run(logging);
}

}  // namespace vorlane
#endif
