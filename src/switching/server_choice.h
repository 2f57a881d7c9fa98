#pragma once
namespace vorlane {
struct App;
void onLiveChosen(App& app);        // 单选框1
void onExperienceChosen(App& app);  // 单选框2
}  // namespace vorlane
