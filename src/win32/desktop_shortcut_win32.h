#pragma once
// Shortcuts through the shell's own interfaces (IShellLinkW, IPersistFile).
#include <vector>

#include "platform/platform.h"

namespace vorlane::win32 {

// This program, on the user's desktop (Platform::createDesktopShortcut). COM must be ready.
ShortcutResult createDesktopShortcut(const Text& name, const std::vector<Text>& arguments);

}  // namespace vorlane::win32
