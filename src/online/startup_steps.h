#pragma once
namespace vorlane {
struct App;
// Start-up steps after the preview picture, in this order.
void openPortalPage(App& app);
void showIpAddress(App& app);
// Fetches the maker's page in the background; when it arrives, shows the newest release and,
// when that is newer than this copy, the update notice.
void showNewestRelease(App& app);
}  // namespace vorlane
