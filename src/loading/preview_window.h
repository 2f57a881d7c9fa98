#pragma once
namespace vorlane {
struct App;
struct WindowSpec;
const WindowSpec& previewWindowSpec();
void onOpenPreviewClicked(App& app);
void onPreviewWindowCreated(App& app);  // the preview window's created event
void onClosePreviewClicked(App& app);
}  // namespace vorlane
