#pragma once
namespace vorlane {
struct App;
void onVersionTimerTick(App& app);  // 时钟1
}  // namespace vorlane
