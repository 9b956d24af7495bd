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
        // The 8-bit listing gives a name it cannot spell in the code page a best-fit
        // spelling: a full-width backslash comes back as "\\", and the joined path
        // would then name a file outside the folder. Such a name is never deleted.
        const std::string name = entry.cFileName;
        if (name == "." || name == ".." || name.find_first_of("\\/:") != std::string::npos) continue;
        // A file that stays (read-only, in use) is no reason to stop: the rest still go.
        DeleteFileA((folder + "\\" + name).c_str());
    } while (FindNextFileA(find.get(), &entry));
}

} // namespace cleanup
