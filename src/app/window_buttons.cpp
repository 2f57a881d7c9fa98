#include "app/window_buttons.h"

#include "online/web_addresses.h"
#include "program/app.h"

namespace vorlane {

// Timer, music and typed texts are left as they are; the taskbar brings the window back.
void onMinimiseClicked(App& app) { app.main.setMinimised(true); }

// The host ends the message loop once the main window is gone.
void onCloseClicked(App& app) { app.platform.destroyWindow(app.main); }

void onOfficialSiteClicked(App& app) { app.platform.openUrl(webAddresses.officialSite); }

}  // namespace vorlane
