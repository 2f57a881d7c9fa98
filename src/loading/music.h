#pragma once
namespace vorlane {
struct App;
void onChooseMusicPressed(App& app);
void onInstallMusicClicked(App& app);
void onRestoreMusicClicked(App& app);
void onPreviewMusicClicked(App& app);
void onPreviewMusicEnded(App& app);
}  // namespace vorlane
