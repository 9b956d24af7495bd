// "Rescue-Boot-Disk erstellen...": formats a floppy through the shell, copies the start
// set onto it and writes the three DOS start files.
#pragma once

#include "backup/ShFileOp.h"
#include "rescue/ShFormat.h"
#include "settings/Settings.h"
#include "win/Progress.h"

#include <windows.h>

namespace rescue {

// form owns the drive-letter prompt; application owns the warning boxes.
void CreateRescueBootDisk(HWND form, HWND application, const TSettings& settings, TShFormat& formatter,
                          TShFileOP& copier, win::Progress& progress);

} // namespace rescue
