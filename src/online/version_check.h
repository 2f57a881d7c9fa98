#pragma once
namespace vorlane {
struct App;
void onVersionTimerTick(App& app);
}  // namespace vorlane
