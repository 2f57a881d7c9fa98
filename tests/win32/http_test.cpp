#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "win32/page_fetches.h"
#include "win32/services.h"

namespace vorlane::win32 {
namespace {

const char kGbkPage[] = "<html><body>穿越火线（CrossFire）v1.2.3完整客户端:</body></html>";
const char8_t kUtf8Page[] = u8"<html><head><meta charset=\"utf-8\"></head><body>体验服 cfv2.0.1vvvv</body></html>";

class Http : public ::testing::Test {
protected:
    void SetUp() override {
        const char* port = std::getenv("VORLANE_TEST_HTTP_PORT");
        if (!port) GTEST_SKIP() << "VORLANE_TEST_HTTP_PORT names the port of tests/servers/http_server.py";
        base = Text("http://127.0.0.1:") + port;
    }
    Text base;
};

TEST_F(Http, ReturnsBodyAndContentType) {
    const Text utf8(reinterpret_cast<const char*>(kUtf8Page));
    struct Case {
        const char* path;
        Text body;
        Text contentType;
    };
    const Case cases[] = {
        {"/gbk", kGbkPage, "text/html; charset=gbk"},
        {"/chunked", kGbkPage, "text/html; charset=gbk"},
        {"/redirect", kGbkPage, "text/html; charset=gbk"},
        {"/utf8", utf8, "text/html"},
        {"/utf8-charset", utf8, "text/html; charset=utf-8"},
        {"/gbk?query=1", kGbkPage, "text/html; charset=gbk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        HttpResponse response = httpGet(base + c.path);
        EXPECT_EQ(bytesToText(response.body), c.body);
        EXPECT_EQ(response.contentType, c.contentType);
    }
}

TEST_F(Http, FailuresGiveAnEmptyResponse) {
    for (const Text& url : {base + "/status/404", base + "/status/500", Text("http://127.0.0.1:1/"),
                            Text("ftp://127.0.0.1/"), Text("not a url"), Text()}) {
        SCOPED_TRACE(url);
        HttpResponse response = httpGet(url);
        EXPECT_TRUE(response.body.empty());
        EXPECT_TRUE(response.contentType.empty());
    }
}

TEST_F(Http, ABodyOverFourMebibytesGivesItsBeginning) {
    HttpResponse response = httpGet(base + "/huge");
    ASSERT_EQ(response.body.size(), 4u << 20);
    EXPECT_EQ(bytesToText(Bytes(response.body.begin(), response.body.begin() + 6)), "BEGINx");
}

// Hang guards only: the time bound itself is the worker's deadline, not asserted here.
TEST_F(Http, ServersThatNeverFinishAreGivenUp) {
    for (const char* path : {"/blackhole", "/slow"}) {
        SCOPED_TRACE(path);
        ULONGLONG start = GetTickCount64();
        HttpResponse response = httpGet(base + path);
        EXPECT_TRUE(response.body.empty());
        EXPECT_LT(GetTickCount64() - start, 8000u);
    }
}

LRESULT CALLBACK countKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD windowThread = 0;
Text bodyOffTheWindowThread(const HttpResponse& page) {
    return (GetCurrentThreadId() == windowThread ? "on the window's thread: " : "") + bytesToText(page.body);
}

// The window's thread never waits for a page nor digests one: it takes input while the pages
// are on their way and gets their digests back from its own message loop, all together, in
// the order asked.
TEST_F(Http, PagesComeBackThroughTheMessageLoopWhileTheWindowTakesInput) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = countKeys;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VorlaneHttpTestWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"http test", WS_POPUP, 0, 0, 120, 80, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (!window) GTEST_SKIP() << "no display for a window";
    int keys = 0;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&keys));

    std::vector<PageFetches::Batch> arrived;
    PageFetches fetches([&arrived](PageFetches::Batch batch) { arrived.push_back(std::move(batch)); });
    windowThread = GetCurrentThreadId();
    fetches.start({{base + "/delay/1500", bodyOffTheWindowThread},
                   {base + "/utf8", bodyOffTheWindowThread},
                   {Text(), bodyOffTheWindowThread}},
                  [](const std::vector<Text>&) {});
    EXPECT_TRUE(arrived.empty());
    PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    const UINT_PTR hangGuard = SetTimer(nullptr, 0, 8000, nullptr);
    MSG message;
    while (arrived.empty() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == hangGuard) break;
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, hangGuard);
    DestroyWindow(window);

    EXPECT_EQ(keys, 1);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived.front().digests,
              (std::vector<Text>{kGbkPage, Text(reinterpret_cast<const char*>(kUtf8Page)), Text()}));
}

}  // namespace
}  // namespace vorlane::win32
