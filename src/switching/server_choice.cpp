#include "switching/server_choice.h"

#include "app/app.h"

namespace vorlane {

void onLiveChosen(App&) {}
void onExperienceChosen(App&) {}

}  // namespace vorlane
