#include "cleanup/FolderSweep.h"

#include "win/WideFiles.h"

#include <windows.h>

namespace cleanup {

void SweepFolder(const std::string& folder)
{
    const std::wstring prefix = win::Widen(folder) + L"\\";
    auto entries = win::FindEntries(prefix + L"*.*");
    if (!entries) return;
    for (const auto& entry : *entries) {
        // Folders are neither removed nor entered; a delete call would refuse them anyway.
        if (entry.IsFolder()) continue;
        // The 8-bit listing of Windows 95 gives a name it cannot spell in the code page a
        // best-fit spelling: a full-width backslash comes back as "\", and the joined
        // path would then name a file outside the folder. Such a name is never deleted.
        if (entry.name.find_first_of(L"\\/:") != std::wstring::npos) continue;
        // A file that stays (read-only, in use) is no reason to stop: the rest still go.
        win::DeleteFileAt(prefix + entry.name);
    }
}

} // namespace cleanup
