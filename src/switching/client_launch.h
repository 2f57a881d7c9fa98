#pragma once
namespace vorlane {
struct App;
void onLaunchClientClicked(App& app);  // 图形按钮10
}  // namespace vorlane
