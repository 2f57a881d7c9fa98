#include "online/version_check.h"

#include "app/app.h"

namespace vorlane {

void onVersionTimerTick(App&) {}

}  // namespace vorlane
