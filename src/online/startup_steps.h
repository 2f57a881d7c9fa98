#pragma once
namespace vorlane {
struct App;
// Start-up steps after the preview picture, in this order.
void openPortalPage(App& app);
void showIpAddress(App& app);
void showNewestRelease(App& app);
void showUpdateNoticeIfOutdated(App& app);
}  // namespace vorlane
