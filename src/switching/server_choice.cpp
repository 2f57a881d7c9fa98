#include "switching/server_choice.h"

#include "app/app.h"
#include "switching/desktop_shortcut.h"

namespace vorlane {

// Only the chosen server's version box takes typing; the other keeps its text.
void onLiveChosen(App& app) {
    app.main.control("编辑框2").setEnabled(true);
    app.main.control("编辑框1").setEnabled(false);
    showShortcutLink(app);
}

void onExperienceChosen(App& app) {
    app.main.control("编辑框2").setEnabled(false);
    app.main.control("编辑框1").setEnabled(true);
    showShortcutLink(app);
}

}  // namespace vorlane
