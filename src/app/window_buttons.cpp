#include "app/window_buttons.h"

#include "app/app.h"

namespace vorlane {

void onMinimiseClicked(App&) {}
void onCloseClicked(App&) {}
void onOfficialSiteClicked(App&) {}

}  // namespace vorlane
