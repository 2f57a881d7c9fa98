// httpGet against servers that misbehave on purpose (tests/torture/hostile_server.py):
// every call comes back, with at most 4 MiB of body, and the process lives on. Each
// fetch's time is printed as a "torture:" line for the record; only a hang guard is
// asserted, the time limit itself belongs to the benchmarks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "win32/services.h"

namespace vorlane::win32 {
namespace {

// The ordinary page every well-formed answer of the server carries.
const char kPage[] = "<html><body><p>最新版本 cfs1.0iii</p><p>穿越火线（CrossFire）v1.0.0.1完整客户端:</p></body></html>";
constexpr std::size_t kBodyLimit = 4u << 20;
constexpr ULONGLONG kHangGuardMs = 8000;

enum class Expect {
    Nothing,    // a failure: no body, no content type
    Page,       // exactly the page
    Beginning,  // the first 4 MiB, starting with the page
    // Not HTTP as it should be, which WinINet reads leniently (a status line that is no
    // HTTP passes for an HTTP/0.9 answer): any body within the limit will do.
    Anything,
};

class Torture : public ::testing::Test {
protected:
    void SetUp() override {
        const char* port = std::getenv("VORLANE_TORTURE_PORT");
        if (!port) GTEST_SKIP() << "VORLANE_TORTURE_PORT names the port of tests/torture/hostile_server.py";
        base = Text("http://127.0.0.1:") + port;
    }

    // Fetches one path and prints how long it took.
    HttpResponse timedGet(const char* path, ULONGLONG& ms) {
        ULONGLONG start = GetTickCount64();
        HttpResponse response = httpGet(base + path);
        ms = GetTickCount64() - start;
        std::printf("torture: %s %llu ms, %zu bytes\n", path, ms, response.body.size());
        std::fflush(stdout);
        return response;
    }

    int requestsFor(const char* kind) {
        HttpResponse response = httpGet(base + "/count/" + kind);
        return std::atoi(bytesToText(response.body).c_str());
    }

    Text base;
};

TEST_F(Torture, EveryHostileServerIsGivenUpWithinTheLimits) {
    struct Case {
        const char* path;
        Expect expect;
    };
    const Case cases[] = {
        {"/page", Expect::Page},
        {"/blackhole", Expect::Nothing},
        {"/drip", Expect::Nothing},
        {"/reset", Expect::Nothing},
        {"/huge", Expect::Beginning},
        {"/garbage", Expect::Anything},
        {"/loop", Expect::Nothing},
        {"/gzip", Expect::Page},
        {"/badchunk", Expect::Anything},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ULONGLONG ms = 0;
        HttpResponse response = timedGet(c.path, ms);
        EXPECT_LT(ms, kHangGuardMs);
        EXPECT_LE(response.body.size(), kBodyLimit);
        const Text body = bytesToText(response.body);
        switch (c.expect) {
            case Expect::Nothing:
                EXPECT_TRUE(response.body.empty()) << response.body.size() << " bytes";
                EXPECT_TRUE(response.contentType.empty()) << response.contentType;
                break;
            case Expect::Page:
                EXPECT_EQ(body, kPage);
                EXPECT_EQ(response.contentType, "text/html");
                break;
            case Expect::Beginning:
                EXPECT_EQ(response.body.size(), kBodyLimit);
                EXPECT_EQ(body.substr(0, sizeof kPage - 1), kPage);
                break;
            case Expect::Anything: break;
        }
    }
}

// A worker left behind at the deadline must not go on following the loop.
TEST_F(Torture, AnAbandonedRedirectLoopStopsRequesting) {
    const int before = requestsFor("loop");
    ULONGLONG ms = 0;
    EXPECT_TRUE(timedGet("/loop", ms).body.empty());
    Sleep(500);
    const int settled = requestsFor("loop");
    Sleep(1500);
    EXPECT_EQ(requestsFor("loop"), settled);
    // A handful of hops is all any real site needs.
    EXPECT_LE(settled - before, 10);
}

}  // namespace
}  // namespace vorlane::win32
