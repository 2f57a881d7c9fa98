#pragma once
namespace vorlane {
struct App;
// The shortcut link shows while a server is chosen and its version box holds a version a
// switch accepts: the radio buttons and the two version boxes call this.
void showShortcutLink(App& app);
// A shortcut on the desktop that switches to that server and version and starts
// the game, through the program's command line.
void onCreateShortcutPressed(App& app);
}  // namespace vorlane
