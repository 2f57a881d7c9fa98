#include "loading/preview_window.h"

#include "program/app.h"
#include "program/controls.h"

namespace vorlane {

void onOpenPreviewClicked(App& app) {
    app.preview = std::make_unique<Window>(previewWindowSpec(), app);
    // Modal: returns once the close button has destroyed the window.
    app.platform.loadWindow(*app.preview, true);
    app.preview.reset();
}

void onPreviewWindowCreated(App& app) {
    Window& window = *app.preview;
    Control& picture = window.control(preview_controls::picture);
    Control& box = window.control(preview_controls::pictureBox);

    // Read at every opening, so a picture replaced on disk shows the next time.
    const Text path = app.platform.programDirectory() + "\\TCLS\\ui\\background_Loading.png";
    picture.setPictureBytes(app.platform.readFileBytes(path).bytes);

    window.setLeft(0);
    window.setTop(0);
    window.setHeight(app.platform.screenHeight());
    window.setWidth(app.platform.screenWidth());

    box.setTop(0);
    box.setLeft(0);
    box.setWidth(window.bounds().width);
    box.setHeight(window.bounds().height);
    box.place(picture, 0, 0);
}

// The window stays owned by the open handler: the host still uses it until the modal
// loop returns there.
void onClosePreviewClicked(App& app) { app.platform.destroyWindow(*app.preview); }

}  // namespace vorlane
