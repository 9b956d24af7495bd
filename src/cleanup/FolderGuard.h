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

// True for a drive root, the Windows folder, the system folder, the boot folder of the
// settings and the program's own folder, however the path spells them: case, forward
// slashes, doubled or trailing backslashes, "." and ".." parts and short names make
// no difference.
bool IsProtectedFolder(const std::string& folder, const TSettings& settings);

// Answers whether folder may be emptied. A protected one is refused with the default
// beep and a warning box owned by owner.
bool MayEmptyFolder(HWND owner, const std::string& folder, const TSettings& settings);

} // namespace cleanup
