#pragma once
namespace vorlane {
struct App;
struct WindowSpec;
const WindowSpec& previewWindowSpec();
void onOpenPreviewClicked(App& app);    // 图形按钮3 of the main window
void onPreviewWindowCreated(App& app);  // the preview window's created event
void onClosePreviewClicked(App& app);   // 图形按钮3 of the preview window
}  // namespace vorlane
