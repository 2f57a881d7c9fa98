#pragma once
namespace vorlane {
struct App;
void onSwitchClicked(App& app);  // 图形按钮2
}  // namespace vorlane
