#pragma once
namespace vorlane {
struct App;
void onOpenPreviewClicked(App& app);  // 图形按钮3 of the main window
}  // namespace vorlane
