#include <gtest/gtest.h>

#include <regex>

#include "win32/services.h"

namespace vorlane::win32 {
namespace {

TEST(LocalIpAddress, IsADottedIpv4Address) {
    const Text address = localIpAddress();
    EXPECT_TRUE(std::regex_match(address, std::regex(R"((\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3}))"))) << address;
}

}  // namespace
}  // namespace vorlane::win32
