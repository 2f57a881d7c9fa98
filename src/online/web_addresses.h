#pragma once
// The four web addresses, one place for all of them. Each is a CMake cache variable, so
// distributors and tests can point them elsewhere at configure time.
#include "base/text.h"

#ifndef VORLANE_OFFICIAL_SITE_URL
#define VORLANE_OFFICIAL_SITE_URL "http://cf.qq.com/"
#endif
#ifndef VORLANE_DOWNLOAD_PAGE_URL
#define VORLANE_DOWNLOAD_PAGE_URL "http://cf.qq.com/web201105/download.shtml"
#endif
#ifndef VORLANE_MAKER_PAGE_URL
#define VORLANE_MAKER_PAGE_URL ""
#endif
#ifndef VORLANE_PORTAL_PAGE_URL
#define VORLANE_PORTAL_PAGE_URL ""
#endif

namespace vorlane {

inline constexpr char kOfficialSiteUrl[] = VORLANE_OFFICIAL_SITE_URL;
inline constexpr char kDownloadPageUrl[] = VORLANE_DOWNLOAD_PAGE_URL;
// Empty until the page is published: nothing is fetched, the labels read as for an
// unreachable host.
inline constexpr char kMakerPageUrl[] = VORLANE_MAKER_PAGE_URL;
// Empty: nothing is opened at start.
inline constexpr char kPortalPageUrl[] = VORLANE_PORTAL_PAGE_URL;

struct WebAddresses {
    Text officialSite = kOfficialSiteUrl;
    Text downloadPage = kDownloadPageUrl;
    Text makerPage = kMakerPageUrl;
    Text portalPage = kPortalPageUrl;
};

// The addresses every handler reads. They start as the configured ones and nothing in the
// program changes them; the native tests assign their own to serve pages from the fake.
inline WebAddresses webAddresses;

}  // namespace vorlane
