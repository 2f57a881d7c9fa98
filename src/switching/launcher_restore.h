#pragma once
namespace vorlane {
struct App;
void onRestoreLauncherPressed(App& app);  // 透明标签17
}  // namespace vorlane
