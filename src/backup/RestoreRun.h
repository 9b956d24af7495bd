// "&Wiederherstellen": copies every item of a backup record back into the folder it
// came from. What is restored is what the record lists, whatever the settings say now.
#pragma once

#include "backup/ShFileOp.h"
#include "win/Progress.h"

#include <string>

namespace backup {

void RestoreFromRecord(const std::string& recordPath, TShFileOP& copier, win::Progress& progress);

} // namespace backup
