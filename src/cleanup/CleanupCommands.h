// The three commands of "&Zubehör": cookies, recent documents and the Temp folder.
// None asks before deleting and none reports a file it could not delete; each refuses
// a folder the machine needs, with a warning owned by owner.
#pragma once

#include "settings/Settings.h"
#include "win/Progress.h"

#include <windows.h>

namespace cleanup {

void EmptyCookies(HWND owner, const TSettings& settings, win::Progress& progress);
void EmptyRecentFiles(HWND owner, const TSettings& settings, win::Progress& progress);
void EmptyTempDirectory(HWND owner, const TSettings& settings, win::Progress& progress);

} // namespace cleanup
