#pragma once
namespace vorlane {
struct App;
void onLaunchClientClicked(App& app);
// Starts TCLS\Client.exe without waiting for it; false when it cannot (the player told why) or
// the player refused the administrator prompt.
bool startClient(App& app);
}  // namespace vorlane
