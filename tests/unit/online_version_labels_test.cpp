#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fake_platform.h"
#include "online/web_addresses.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {
namespace {

using namespace vorlane::controls;

using testing::FakePlatform;
using testing::TempDir;

constexpr const char* kMaker = "http://maker.test/";
constexpr const char* kPortal = "http://portal.test/?ref=42";

// "穿越火线（CrossFire）v" and "完整客户端:" as the GBK bytes the official page carries.
const std::string kLiveStart = "\xB4\xA9\xD4\xBD\xBB\xF0\xCF\xDF\xA3\xA8" "CrossFire" "\xA3\xA9v";
const std::string kLiveEnd = "\xCD\xEA\xD5\xFB\xBF\xCD\xBB\xA7\xB6\xCB:";

HttpResponse page(const std::string& body) { return {Bytes(body.begin(), body.end()), "text/html"}; }

std::string downloadPage(const std::string& version) { return "<p>" + kLiveStart + version + kLiveEnd + "</p>"; }

void fireTick(App& run) { run.main.fire(run.main.control(versionTimer), Event::Tick); }

// The start-up, then `ticks` ticks, the pages of each coming back before the next.
void startAndTick(FakePlatform& net, App& run, int ticks) {
    run.main.fireCreated();
    net.arriveAll();
    for (int i = 0; i < ticks; ++i) {
        fireTick(run);
        net.arriveAll();
    }
}

class OnlineLabels : public ::testing::Test {
protected:
    OnlineLabels() {
        fake.programDir = dir.text();
        fake.ipAddress = "192.168.1.23";
        webAddresses.makerPage = kMaker;
        webAddresses.portalPage = kPortal;
    }
    ~OnlineLabels() override { webAddresses = saved; }

    const Text& caption(const char* name) { return app.main.control(name).text(); }
    int interval() { return app.main.control(versionTimer).interval(); }
    void start() {
        app.main.fireCreated();
        fake.arriveAll();
    }
    void tick() {
        fireTick(app);
        fake.arriveAll();
    }
    void serve(const std::string& download, const std::string& maker) {
        fake.pages[webAddresses.downloadPage] = page(download);
        fake.pages[kMaker] = page(maker);
    }

    WebAddresses saved = webAddresses;
    TempDir dir;
    FakePlatform fake;
    App app{fake};
};

TEST_F(OnlineLabels, WellFormedPagesFillEveryLabelAndTheSecondTickStopsTheTimer) {
    serve(downloadPage("2.0.1"), "<!-- cfs1.0iii cfv3.0.2.7vvvv -->");
    start();
    EXPECT_EQ(caption(ipAddressLabel), "IP：192.168.1.23");
    EXPECT_EQ(caption(newestReleaseLabel), "1.0");
    EXPECT_EQ(fake.openedUrls, std::vector<Text>{kPortal});
    EXPECT_TRUE(fake.messages.empty());

    tick();
    EXPECT_EQ(caption(liveNewestVersionLabel), "2.0.1");
    EXPECT_EQ(caption(experienceNewestVersionLabel), "3.0.2.7");
    EXPECT_EQ(interval(), 100);
    tick();
    EXPECT_EQ(caption(liveNewestVersionLabel), "0.2.0.1");
    EXPECT_EQ(interval(), 0);
    EXPECT_EQ(fake.fetchedUrls, (std::vector<Text>{kMaker, webAddresses.downloadPage, kMaker}));
}

// The start-up's page and the tick's two are all on their way at once; each label changes only
// when its own pages come back, whichever comes first.
TEST_F(OnlineLabels, LabelsWaitForTheirOwnPagesAndTicksMeanwhileFetchNothing) {
    const Text notice = Text("请下载最新版补丁！网站：") + kMaker;
    struct Case {
        std::size_t first;  // the held fetch that comes back first: 0 the start-up's, 1 the tick's
        const char* release;
        const char* live;
        const char* experience;
        std::size_t messages;
    };
    const Case cases[] = {{0, "1.1", "0.0.0.0", "0.0.0.0", 1}, {1, "1.0", "2.0.1", "3.1", 0}};
    for (const Case& c : cases) {
        FakePlatform net;
        net.programDir = dir.text();
        net.pages[webAddresses.downloadPage] = page(downloadPage("2.0.1"));
        net.pages[kMaker] = page("cfs1.1iii cfv3.1vvvv");
        App run(net);
        auto captions = [&run] {
            return std::vector<Text>{run.main.control(newestReleaseLabel).text(),
                                     run.main.control(liveNewestVersionLabel).text(),
                                     run.main.control(experienceNewestVersionLabel).text()};
        };
        run.main.fireCreated();
        for (int i = 0; i < 3; ++i) fireTick(run);
        EXPECT_EQ(net.fetchedUrls, (std::vector<Text>{kMaker, webAddresses.downloadPage, kMaker}));
        EXPECT_EQ(captions(), (std::vector<Text>{"1.0", "0.0.0.0", "0.0.0.0"}));
        EXPECT_TRUE(net.messages.empty());

        net.arrive(c.first);
        EXPECT_EQ(captions(), (std::vector<Text>{c.release, c.live, c.experience})) << c.first;
        EXPECT_EQ(net.messages.size(), c.messages) << c.first;
        net.arriveAll();
        EXPECT_EQ(captions(), (std::vector<Text>{"1.1", "2.0.1", "3.1"})) << c.first;
        EXPECT_EQ(net.messages, std::vector<Text>{notice}) << c.first;

        fireTick(run);
        EXPECT_EQ(run.main.control(liveNewestVersionLabel).text(), "0.2.0.1") << c.first;
        EXPECT_EQ(run.main.control(versionTimer).interval(), 0) << c.first;
        EXPECT_EQ(net.fetchedUrls.size(), 3u) << c.first;
    }
}

TEST_F(OnlineLabels, ThePageToPublishCarriesBothMarkers) {
    const auto site = std::filesystem::path(VORLANE_ASSETS_DIR).parent_path() / "site" / "index.html";
    serve(downloadPage("1.2.3.4"), testing::readFile(site));
    start();
    tick();
    EXPECT_EQ(caption(newestReleaseLabel), "1.0");
    EXPECT_EQ(caption(experienceNewestVersionLabel), "1.0.0.0");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(OnlineLabels, NoNetworkLeavesEmptyLabelsAndAZeroPrefix) {
    start();
    tick();
    tick();
    tick();  // a tick already queued when the timer stopped changes nothing
    EXPECT_EQ(caption(ipAddressLabel), "IP：192.168.1.23");
    EXPECT_EQ(caption(newestReleaseLabel), "");
    EXPECT_EQ(caption(experienceNewestVersionLabel), "");
    EXPECT_EQ(caption(liveNewestVersionLabel), "0.");
    EXPECT_EQ(interval(), 0);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(OnlineLabels, UnpublishedAddressesAreNeitherFetchedNorOpened) {
    webAddresses.makerPage = "";
    webAddresses.portalPage = "";
    serve(downloadPage("1.2.3.4"), "cfs9.0iii cfv1.0vvvv");
    start();
    tick();
    EXPECT_EQ(caption(newestReleaseLabel), "");
    EXPECT_EQ(caption(experienceNewestVersionLabel), "");
    EXPECT_EQ(caption(liveNewestVersionLabel), "1.2.3.4");
    EXPECT_EQ(fake.fetchedUrls, std::vector<Text>{webAddresses.downloadPage});
    EXPECT_TRUE(fake.openedUrls.empty());
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(OnlineLabels, EachMakerMarkerPairIsReadOnItsOwn) {
    struct Case {
        const char* makerPage;
        const char* release;
        const char* experience;
    };
    const Case cases[] = {
        {"cfv1.0.0.1vvvv", "", "1.0.0.1"},
        {"cfs1.0iii", "1.0", ""},
        {"cfs1.0iii cfv1.2vvvv", "1.0", "1.2"},  // the experience version is never completed
    };
    for (const Case& c : cases) {
        FakePlatform net;
        net.programDir = dir.text();
        net.pages[webAddresses.downloadPage] = page(downloadPage("1.2.3.4"));
        net.pages[kMaker] = page(c.makerPage);
        App run(net);
        startAndTick(net, run, 2);
        EXPECT_EQ(run.main.control(newestReleaseLabel).text(), c.release) << c.makerPage;
        EXPECT_EQ(run.main.control(experienceNewestVersionLabel).text(), c.experience) << c.makerPage;
    }
}

TEST_F(OnlineLabels, LiveVersionIsCompletedOnceToFourParts) {
    struct Case {
        std::string download;
        const char* shown;
    };
    const Case cases[] = {
        {downloadPage("1.2.3.4"), "1.2.3.4"},
        {downloadPage("1.2.3"), "0.1.2.3"},
        {downloadPage("5"), "0.5"},
        {kLiveEnd + " " + kLiveStart + "1.2.3.4", "0."},  // markers in the wrong order
    };
    for (const Case& c : cases) {
        FakePlatform net;
        net.programDir = dir.text();
        net.pages[webAddresses.downloadPage] = page(c.download);
        App run(net);
        startAndTick(net, run, 2);
        EXPECT_EQ(run.main.control(liveNewestVersionLabel).text(), c.shown) << c.download;
        EXPECT_EQ(run.main.control(versionTimer).interval(), 0);
    }
}

TEST_F(OnlineLabels, DownloadPageSayingZeroVersionIsFetchedThreeTimesThenTheTimerStops) {
    serve(downloadPage("0.0.0.0"), "cfv2.0vvvv");
    for (int i = 0; i < 6; ++i) tick();
    EXPECT_EQ(fake.fetchedUrls.size(), 6u);  // three ticks, each fetching both pages
    EXPECT_EQ(interval(), 0);
    EXPECT_EQ(caption(liveNewestVersionLabel), "0.0.0.0");
    EXPECT_EQ(caption(experienceNewestVersionLabel), "2.0");
}

TEST_F(OnlineLabels, UpdateNoticeOnlyForANewerRelease) {
    struct Case {
        const char* makerPage;
        bool notice;
    };
    const Case cases[] = {
        {"cfs1.1iii", true},  {"cfs2iii", true},   {"cfs1.0iii", false}, {"cfs1.0.0iii", false},
        {"cfs0.9iii", false}, {"cfsiii", false},   {"cfsbetaiii", false}, {"no markers", false},
    };
    for (const Case& c : cases) {
        FakePlatform net;
        net.programDir = dir.text();
        net.pages[kMaker] = page(c.makerPage);
        App run(net);
        run.main.fireCreated();
        EXPECT_TRUE(net.messages.empty()) << "before the page has come: " << c.makerPage;
        net.arriveAll();
        if (c.notice) {
            EXPECT_EQ(net.messages, std::vector<Text>{Text("请下载最新版补丁！网站：") + kMaker}) << c.makerPage;
            EXPECT_EQ(net.openedUrls, (std::vector<Text>{kPortal, kMaker})) << c.makerPage;
        } else {
            EXPECT_TRUE(net.messages.empty()) << c.makerPage;
            EXPECT_EQ(net.openedUrls, std::vector<Text>{kPortal}) << c.makerPage;
        }
        EXPECT_EQ(run.main.control(ownVersionLabel).text(), "1.0");
    }
}

}  // namespace
}  // namespace vorlane
