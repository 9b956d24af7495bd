// "&Sichern": copies what the settings select into the target folder, flat, and
// records beside the copies where each came from.
#pragma once

#include "backup/ShFileOp.h"
#include "settings/Settings.h"
#include "win/Progress.h"

namespace backup {

// How a backup ended; the exit code of the unattended mode. kNotEnded: the run did not
// reach its end (an error stopped it, or the window was closed before or during it).
enum BackupOutcome { kAllStored = 0, kTargetNotReady = 1, kItemsFailed = 2, kNotEnded = 3 };

// Runs one backup with the copier, showing its course through progress. An error that
// stops the run (a record that cannot be written) leaves it as an exception.
BackupOutcome RunBackup(const TSettings& settings, TShFileOP& copier, win::Progress& progress);

} // namespace backup
