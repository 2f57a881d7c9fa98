#pragma once
namespace vorlane {
struct App;
void onRestoreLauncherPressed(App& app);
}  // namespace vorlane
