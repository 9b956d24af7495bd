// What the rescue tests share: a floppy in drive A: with old content on it, and the
// names the program reads and writes there.
#pragma once

#include "Win95.h"

#include <windows.h>

#include <string>
#include <vector>

namespace rescuetest {

// Leaves drive A: holding files and folders of every attribute, as a used floppy would.
inline void FillFloppy()
{
    for (const auto& name : win95::List(win95::kFloppy)) win95::Remove(win95::kFloppy + name);
    win95::WriteFile(win95::kFloppy + "BRIEF.TXT", "Lieber Hans");
    win95::MakeDirs(win95::kFloppy + "ALT\\TIEF");
    win95::WriteFile(win95::kFloppy + "ALT\\TIEF\\DATEN.DAT", "123");
    win95::WriteFile(win95::kFloppy + "MSDOS.SYS", "[Paths]");
    SetFileAttributesA((win95::kFloppy + "MSDOS.SYS").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((win95::kFloppy + "ALT").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

inline std::vector<std::string> FloppyContent() { return win95::List(win95::kFloppy); }

inline const std::vector<std::string> kOldContent = {"ALT", "BRIEF.TXT", "MSDOS.SYS"};

} // namespace rescuetest
