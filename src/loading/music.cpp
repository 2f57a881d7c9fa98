#include "loading/music.h"

#include "app/app.h"

namespace vorlane {

void onChooseMusicPressed(App&) {}
void onInstallMusicClicked(App&) {}
void onRestoreMusicClicked(App&) {}
void onPreviewMusicClicked(App&) {}

}  // namespace vorlane
