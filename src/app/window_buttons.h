#pragma once
namespace vorlane {
struct App;
void onMinimiseClicked(App& app);      // 图形按钮6
void onCloseClicked(App& app);         // 图形按钮7
void onOfficialSiteClicked(App& app);  // 图形按钮11
}  // namespace vorlane
