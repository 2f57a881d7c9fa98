#pragma once
// One copy of the program per game folder. The first copy holds a mutex named after the
// folder's final path, case folded, so every spelling of the folder (another case, an 8.3
// name, a second drive letter for it) gives the same name, and a small record of its process
// through which a later copy finds its window. Copies in different folders run side by side.
#include <windows.h>

#include <string>

#include "base/text.h"
#include "win32/handle.h"

namespace vorlane::win32 {

class FolderClaim {
public:
    // A folder that cannot be named (gone, unreadable) is claimed by nobody: the copy runs.
    explicit FolderClaim(const Text& folder);
    // False when another copy runs in this folder.
    bool first() const { return first_; }
    // Brings what the first copy shows to the front: its main window, restored if it was
    // minimised, or the box or window it shows over it. Waits a little for a copy still
    // making its window.
    void bringFirstToFront() const;

private:
    std::wstring name_;
    OwnedHandle mutex_;
    OwnedHandle record_;
    bool first_ = true;
};

}  // namespace vorlane::win32
