#include <windows.h>

#include <gtest/gtest.h>

#include "program/app.h"
#include "program/controls.h"
#include "support.h"
#include "ui/skin_pictures.h"
#include "win32/win32_platform.h"
#include "win32/window_host.h"

namespace vorlane::win32 {
namespace {

using namespace vorlane::controls;

// The native control that covers exactly `rect` of the window's client area.
HWND childAt(HWND parent, RECT rect) {
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        if (EqualRect(&r, &rect)) return h;
    }
    return nullptr;
}

LRESULT hitTest(HWND hwnd, POINT clientPoint) {
    ClientToScreen(hwnd, &clientPoint);
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(clientPoint.x, clientPoint.y));
}

// The main window's host, told that it moved to a screen at 200 %. Wine under Xvfb has
// one screen and never sends the message itself.
TEST(WindowHost, MovedToAScreenOfAnotherScaleTakesTheSuggestedPlaceAndLaysOutAgain) {
    Win32Platform platform;
    App app(platform);
    WicDecoder decoder;
    SkinPictures pictures(resourcePictures(decoder));
    FontCache fonts;
    HostContext context{pictures, decoder, fonts};
    WindowHost host(app.main, context, nullptr, false);
    ASSERT_TRUE(host.alive());
    ASSERT_EQ(host.scale().dpi(), 96) << "this test program is not DPI aware";
    ASSERT_NE(childAt(host.hwnd(), {16, 120, 312, 136}), nullptr) << liveVersionBox << " at 100 %";

    RECT suggested{100, 60, 100 + 1694, 60 + 980};
    SendMessageW(host.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));

    RECT now;
    GetWindowRect(host.hwnd(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    EXPECT_EQ(host.scale().dpi(), 192);
    EXPECT_EQ(app.main.bounds(), (Rect{50, 30, 847, 490})) << "the model stays in layout units";

    // Edit boxes as tall as their doubled font, centred in their doubled boxes; radio
    // buttons over their doubled boxes, still radio buttons.
    const struct {
        const char* name;
        RECT rect;
    } natives[] = {{liveVersionBox, {32, 240, 624, 272}}, {experienceVersionBox, {32, 352, 624, 384}},
                   {musicPathBox, {32, 560, 624, 592}}, {liveChoice, {32, 80, 272, 128}}, {experienceChoice, {32, 128,
                                                                                                              272,
                                                                                                              176}}};
    for (const auto& native : natives) {
        HWND h = childAt(host.hwnd(), native.rect);
        ASSERT_NE(h, nullptr) << native.name;
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -24) << native.name;
    }
    HWND radio = childAt(host.hwnd(), {32, 128, 272, 176});
    EXPECT_EQ(GetWindowLongPtrW(radio, GWL_STYLE) & BS_TYPEMASK, BS_RADIOBUTTON);
    app.main.fire(app.main.control(experienceChoice), Event::Clicked);
    EXPECT_EQ(SendMessageW(radio, BM_GETCHECK, 0, 0), BST_CHECKED);

    // The mouse meets the controls where they are drawn now.
    EXPECT_EQ(hitTest(host.hwnd(), {2 * 420, 2 * 10}), HTCAPTION) << "bare surface drags the window";
    EXPECT_EQ(hitTest(host.hwnd(), {2 * 320, 2 * 232}), HTCLIENT) << switchButton;
    EXPECT_EQ(hitTest(host.hwnd(), {2 * 396, 2 * 232}), HTCAPTION) << "just right of " << switchButton;
}

// A host of its own for a window model, without the platform's start-up.
struct Hosted {
    explicit Hosted(Window& window) : host(window, context, nullptr, false) {}
    WicDecoder decoder;
    SkinPictures pictures{resourcePictures(decoder)};
    FontCache fonts;
    HostContext context{pictures, decoder, fonts};
    WindowHost host;
};

// What a version box shows is what the switch reads: a character the texts cannot hold
// leaves a mark the version check refuses, never the text the box held before.
TEST(WindowHost, AnEditBoxTextThatCannotBeConvertedIsRefusedNotReplacedByTheOldOne) {
    Win32Platform platform;
    App app(platform);
    Hosted hosted(app.main);
    HWND box = childAt(hosted.host.hwnd(), {16, 176, 312, 192});
    ASSERT_NE(box, nullptr) << experienceVersionBox;
    SetWindowTextW(box, L"1.0.9");
    SetWindowTextW(box, L"1.0.9\xD800");
    EXPECT_EQ(app.main.control(experienceVersionBox).text(), "1.0.9\x1A");
    testing::SystemHook system;
    app.main.fire(app.main.control(experienceChoice), Event::Clicked);
    app.main.fire(app.main.control(switchButton), Event::Clicked);
    EXPECT_EQ(system.messages(), std::vector<std::wstring>{L"提示：版本号不能包含 < > & 或控制字符，请重新填写！"});
}

void runsOutOfMemory(App&) { throw std::bad_alloc(); }
constexpr ControlSpec kGreedyButton[] = {
    {.name = musicPathFrame, .kind = ControlKind::GraphicButton, .width = 40, .height = 20,
     .onClicked = runsOutOfMemory}};
constexpr WindowSpec kGreedyWindow{.name = "测试窗口", .title = "", .width = 100, .height = 50, .controls = kGreedyButton};

// A handler that cannot have the memory it needs ends with one box that says so, and the
// window goes on.
TEST(WindowHost, AHandlerThatRunsOutOfMemoryIsReportedAndTheWindowGoesOn) {
    Win32Platform platform;
    App app(platform);
    Window window(kGreedyWindow, app);
    Hosted hosted(window);
    testing::SystemHook system;
    for (int click = 0; click < 2; ++click) hosted.host.fire(window.control(musicPathFrame), Event::Clicked);
    EXPECT_EQ(system.messages(), std::vector<std::wstring>(2, L"提示：内存不足，操作未完成。"));
    EXPECT_TRUE(hosted.host.alive());
    EXPECT_EQ(hosted.context.handlersRunning, 0);
}

// A quit while the preview is open (the session ending, say) closes the preview and still
// ends the program, with the quit's exit code.
TEST(WindowHost, AQuitWhileThePreviewIsOpenEndsTheProgramWithItsExitCode) {
    Win32Platform platform;
    App app(platform);
    platform.loadWindow(app.main, false);
    PostQuitMessage(7);
    app.main.fire(app.main.control(fullScreenButton), Event::Clicked);
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit was lost";
    EXPECT_EQ(platform.runMessageLoop(), 7);
}

// The system refuses the main window: the player is told what failed, in the system's
// words, and the program ends with a failure instead of 0.
TEST(WindowHost, AMainWindowTheSystemRefusesIsReportedAndEndsInFailure) {
    Win32Platform platform;
    App app(platform);
    testing::SystemHook system(L"VorlaneWindow");
    platform.loadWindow(app.main, false);
    ASSERT_EQ(system.messages().size(), 1u);
    const std::wstring& message = system.messages()[0];
    EXPECT_EQ(message.rfind(L"提示：无法创建主窗口。\r\n", 0), 0u) << testing::utf8(message);
    EXPECT_NE(message.find(L"错误代码"), std::wstring::npos) << testing::utf8(message);
    EXPECT_NE(platform.runMessageLoop(), 0);
}

}  // namespace
}  // namespace vorlane::win32
