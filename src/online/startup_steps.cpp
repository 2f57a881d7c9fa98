#include "online/startup_steps.h"

#include "app/app.h"

namespace vorlane {

void openPortalPage(App&) {}
void showIpAddress(App&) {}
void showNewestRelease(App&) {}
void showUpdateNoticeIfOutdated(App&) {}

}  // namespace vorlane
