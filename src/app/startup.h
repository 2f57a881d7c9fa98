#pragma once
namespace vorlane {
struct App;
// The main window's created event: runs once, after every control exists.
void onMainWindowCreated(App& app);
}  // namespace vorlane
