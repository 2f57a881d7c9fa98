#pragma once
namespace vorlane {
struct App;
// 透明标签16: which server the launcher files point at, read from the files themselves.
void showLauncherState(App& app);
}  // namespace vorlane
