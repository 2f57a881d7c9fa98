#pragma once
namespace vorlane {
struct App;
void onChooseMusicPressed(App& app);   // 透明标签12, left button pressed
void onInstallMusicClicked(App& app);  // 图形按钮8
void onRestoreMusicClicked(App& app);  // 图形按钮9
void onPreviewMusicClicked(App& app);  // 图形按钮12
void onPreviewMusicEnded(App& app);    // 图形按钮12, its music ended by itself
}  // namespace vorlane
