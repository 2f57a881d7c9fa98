#include "loading/preview_window.h"

#include "app/app.h"

namespace vorlane {

void onOpenPreviewClicked(App&) {}

}  // namespace vorlane
