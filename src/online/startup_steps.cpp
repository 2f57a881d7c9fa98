#include "online/startup_steps.h"

#include "online/page_labels.h"
#include "online/release_compare.h"
#include "online/web_addresses.h"
#include "program/app.h"
#include "program/controls.h"

namespace vorlane {

void openPortalPage(App& app) {
    if (!webAddresses.portalPage.empty()) app.platform.openUrl(webAddresses.portalPage);
}

void showIpAddress(App& app) { app.main.control(controls::ipAddressLabel).setText("IP：" + app.platform.localIpAddress()); }

namespace {

// Runs once the newest release is known; an unreachable page leaves it empty, never newer.
// The portal page was opened at start, so only the maker's page is opened here.
void showUpdateNoticeIfOutdated(App& app) {
    if (!isNewerRelease(app.main.control(controls::newestReleaseLabel).text(),
                        app.main.control(controls::ownVersionLabel).text())) return;
    app.platform.showMessage("请下载最新版补丁！网站：" + webAddresses.makerPage);
    app.platform.openUrl(webAddresses.makerPage);
}

}  // namespace

void showNewestRelease(App& app) {
    Control& newest = app.main.control(controls::newestReleaseLabel);
    fetchLabels(app.platform, newest, {{webAddresses.makerPage, newestReleaseLabel}},
                [&app, &newest](const std::vector<Text>& labels) {
                    newest.setText(labels[0]);
                    showUpdateNoticeIfOutdated(app);
                });
}

}  // namespace vorlane
