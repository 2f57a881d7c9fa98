#include "switching/server_switch.h"

#include "app/app.h"

namespace vorlane {

void onSwitchClicked(App&) {}

}  // namespace vorlane
