#include "switching/client_launch.h"

#include "app/app.h"

namespace vorlane {

void onLaunchClientClicked(App&) {}

}  // namespace vorlane
