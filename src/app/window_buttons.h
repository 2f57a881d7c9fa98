#pragma once
namespace vorlane {
struct App;
void onMinimiseClicked(App& app);
void onCloseClicked(App& app);
void onOfficialSiteClicked(App& app);
}  // namespace vorlane
