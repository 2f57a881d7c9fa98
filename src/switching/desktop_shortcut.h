#pragma once
namespace vorlane {
struct App;
// 透明标签18 shows while a server is chosen and its version box holds a version a switch
// accepts: the radio buttons and the two version boxes call this.
void showShortcutLink(App& app);
// 透明标签18: a shortcut on the desktop that switches to that server and version and starts
// the game, through the program's command line.
void onCreateShortcutPressed(App& app);
}  // namespace vorlane
