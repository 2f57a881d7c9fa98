#pragma once
namespace vorlane {
struct App;
void onSwitchClicked(App& app);  // 图形按钮2
// At start, before any input: finishes or undoes a switch that a crash cut short.
void recoverInterruptedSwitch(App& app);
}  // namespace vorlane
