#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/win32/services.h"

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

struct Watched {
    int paints = 0;
    int keys = 0;
};

LRESULT CALLBACK watchedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* watched = reinterpret_cast<Watched*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (watched && message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        ++watched->paints;
        return 0;
    }
    if (watched && message == WM_KEYDOWN) ++watched->keys;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Http, WhileWaitingTheWindowPaintsAndInputStaysQueued) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = watchedProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VorlaneHttpTestWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"http test", WS_POPUP | WS_VISIBLE, 0, 0, 120, 80,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) GTEST_SKIP() << "no display for a window";
    Watched watched;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watched));
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    watched = {};

    PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    // The page arrives only after a while; meanwhile another thread asks for a repaint.
    std::thread repaint([window] {
        Sleep(300);
        InvalidateRect(window, nullptr, FALSE);
    });
    HttpResponse response = httpGet(base + "/delay/1500");
    repaint.join();
    EXPECT_EQ(bytesToText(response.body), kGbkPage);
    EXPECT_GE(watched.paints, 1);
    EXPECT_EQ(watched.keys, 0);
    EXPECT_TRUE(PeekMessageW(&message, window, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    DestroyWindow(window);
}

}  // namespace
}  // namespace vorlane::win32
