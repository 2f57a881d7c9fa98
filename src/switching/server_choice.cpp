#include "switching/server_choice.h"

#include "program/app.h"
#include "program/controls.h"
#include "switching/desktop_shortcut.h"

namespace vorlane {

// Only the chosen server's version box takes typing; the other keeps its text.
void onLiveChosen(App& app) {
    app.main.control(controls::liveVersionBox).setEnabled(true);
    app.main.control(controls::experienceVersionBox).setEnabled(false);
    showShortcutLink(app);
}

void onExperienceChosen(App& app) {
    app.main.control(controls::liveVersionBox).setEnabled(false);
    app.main.control(controls::experienceVersionBox).setEnabled(true);
    showShortcutLink(app);
}

}  // namespace vorlane
