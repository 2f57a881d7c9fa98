#include <gtest/gtest.h>

#include <string>

#include "switching/server_addresses.h"
#include "switching/templates.h"
#include "switching/version_file.h"
#include "switching_expected.h"

namespace vorlane {
namespace {

namespace ex = testing::expected;

TEST(SwitchingTemplates, EveryTemplateHoldsItsExactBytes) {
    struct Case {
        const char* name;
        const char* actual;
        const Text& expected;
        std::size_t size;  // 0: holds server addresses, so no fixed size
    };
    const Case cases[] = {
        {"version head", templates::kVersionHead, ex::kVersionHead, 161},
        {"version middle", templates::kVersionMiddle, ex::kVersionMiddle, 119},
        {"live dir servers", templates::kLiveDirServers, ex::kLiveDirServers, 0},
        {"live version servers", templates::kLiveVersionServers, ex::kLiveVersionServers, 0},
        {"live server choice", templates::kLiveServerChoice, ex::kLiveServerChoice, 61},
        {"experience server choice", templates::kTestServerChoice, ex::kTestServerChoice, 60},
        {"experience version servers", templates::kTestVersionServers, ex::kTestVersionServers, 0},
        {"experience dir servers", templates::kTestDirServers, ex::kTestDirServers, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(c.actual), c.expected) << c.name;
        if (c.size != 0) {
            EXPECT_EQ(Text(c.actual).size(), c.size) << c.name;
        }
    }
}

// A build that was never given the real servers must not point launchers at anyone.
TEST(SwitchingTemplates, DefaultServerAddressesReachNoOne) {
    const std::string host = VORLANE_LIVE_SERVER_1;
    EXPECT_TRUE(host.ends_with(".invalid")) << host;
    for (const std::string ip : {VORLANE_LIVE_SERVER_2, VORLANE_LIVE_SERVER_3, VORLANE_LIVE_SERVER_4,
                                 VORLANE_LIVE_SERVER_5, VORLANE_EXPERIENCE_SERVER}) {
        EXPECT_TRUE(ip.starts_with("192.0.2.") || ip.starts_with("198.51.100.") || ip.starts_with("203.0.113."))
            << ip;
    }
}

TEST(SwitchingVersionFile, VersionGoesInUnchangedInAllThreePlaces) {
    const Text versions[] = {"2.0.19.50", " ", "<&> x\r\ny", "版本1", "{V}"};
    for (const Text& v : versions) {
        const Text file = versionFileText(templates::kVersionHead, v, templates::kVersionMiddle);
        EXPECT_EQ(file, ex::versionFile(v)) << v;
        EXPECT_EQ(file.size(), 357 + 3 * v.size()) << v;
    }
}

}  // namespace
}  // namespace vorlane
