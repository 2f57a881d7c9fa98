#pragma once
namespace vorlane {
struct App;
void onLiveChosen(App& app);
void onExperienceChosen(App& app);
}  // namespace vorlane
