// Keeps the clean-up commands out of the folders the machine needs to start and run.
// The folders they empty come from places the user does not see: the temporary folder
// falls back to the current or the Windows folder when no TEMP is set, and a damaged
// Shell Folders value can name any folder. A sweep of C:\ takes Command.com,
// Autoexec.bat and Config.sys with it.
#pragma once

#include "settings/Settings.h"

#include <windows.h>

#include <string>

namespace cleanup {

enum class FolderVerdict {
    // Nothing the machine needs, or nothing there to sweep at all.
    MayEmpty,
    // A drive root or share, a folder the system, the user's profile, this program or
    // its backups live in, or one that holds such a folder.
    Protected,
    // There to sweep, but it cannot be told what it is (the platform does not open it):
    // it might be any of the protected ones.
    Unidentified,
};

// Judges the folder a sweep of folder would empty by what it is, not by how the path
// spells it: case, slashes, doubled backslashes, "." and "..", short names, device
// paths, links and junctions all lead to the folder they name.
FolderVerdict JudgeFolder(const std::string& folder, const TSettings& settings);

// Answers whether folder may be emptied. Any other verdict is refused with the default
// beep and a warning box owned by owner.
bool MayEmptyFolder(HWND owner, const std::string& folder, const TSettings& settings);

} // namespace cleanup
