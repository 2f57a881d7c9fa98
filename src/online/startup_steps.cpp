#include "online/startup_steps.h"

#include "app/app.h"
#include "online/page_text.h"
#include "online/release_compare.h"
#include "online/text_between.h"
#include "online/web_addresses.h"

namespace vorlane {

void openPortalPage(App& app) {
    if (!webAddresses.portalPage.empty()) app.platform.openUrl(webAddresses.portalPage);
}

void showIpAddress(App& app) { app.main.control("透明标签10").setText("IP：" + app.platform.localIpAddress()); }

void showNewestRelease(App& app) {
    const Text page = fetchPageText(app.platform, webAddresses.makerPage);
    app.main.control("透明标签15").setText(textBetween(page, "cfs", "iii", -1, false));
}

// Runs after the newest release is known; an unreachable page leaves it empty, never newer.
// The portal page was opened moments ago, so only the maker's page is opened here.
void showUpdateNoticeIfOutdated(App& app) {
    if (!isNewerRelease(app.main.control("透明标签15").text(), app.main.control("透明标签13").text())) return;
    app.platform.showMessage("请下载最新版补丁！网站：" + webAddresses.makerPage);
    app.platform.openUrl(webAddresses.makerPage);
}

}  // namespace vorlane
