#pragma once
namespace vorlane {
struct App;
void onLaunchClientClicked(App& app);  // 图形按钮10
// Starts TCLS\Client.exe without waiting for it; false, the player told why, when it cannot.
bool startClient(App& app);
}  // namespace vorlane
