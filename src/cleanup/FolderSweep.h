// Empties one folder of its files, quietly: whatever cannot be deleted stays where it is.
#pragma once

#include <string>

namespace cleanup {

// Deletes every file lying directly in folder; folders inside are neither removed nor
// entered, and read-only files and files in use stay. The path is joined as it is
// given, so a folder ending in a backslash is addressed with two in a row, which the
// platform accepts. A folder that cannot be listed is left alone.
void SweepFolder(const std::string& folder);

} // namespace cleanup
