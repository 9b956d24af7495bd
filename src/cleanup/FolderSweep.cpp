#include "cleanup/FolderSweep.h"

#include "win/Handles.h"

#include <windows.h>

namespace cleanup {

void SweepFolder(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    win::UniqueFind find(FindFirstFileA((folder + "\\*.*").c_str(), &entry));
    if (!find) return;
    do {
        // "." and ".." are folders too; a delete call would refuse them all anyway, so
        // they are passed over without one.
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // A file that stays (read-only, in use) is no reason to stop: the rest still go.
        DeleteFileA((folder + "\\" + entry.cFileName).c_str());
    } while (FindNextFileA(find.get(), &entry));
}

} // namespace cleanup
