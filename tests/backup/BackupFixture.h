// What the backup and restore tests share: a configuration stored as the dialog would
// store it, on the Windows-95-style installation, and the names a target holds.
#pragma once

#include "Win95.h"
#include "backup/BackupRecord.h"
#include "win/ContentCheck.h"
#include "settings/Settings.h"
#include "win/Files.h"
#include "win/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace backuptest {

inline const std::string kTarget = "C:\\qmtest\\target\\";

// Every category on, the fixture's folders, target kTarget; change may adjust it.
inline TSettings StoreSettings(const std::function<void(TSettings&)>& change = {})
{
    TSettings s;
    s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = true;
    s.SaveInternet = s.SaveNetscape = s.SaveIExplorer = s.OtherFiles = true;
    s.BootDir = win95::kBootDir;
    s.WinDir = win95::kWinDir;
    s.StartMenuDir = win95::kStartMenu;
    s.DesktopDir = win95::kDesktop;
    s.NetscapeBookmarks = win95::kBookmarks;
    s.IEFavorites = win95::kFavorites;
    s.Target = kTarget;
    if (change) change(s);
    std::vector<std::string> files = s.OtherFileList;
    win95::ClearSettings();
    SaveSettings(s, true, true, files);
    return s;
}

// The short alias the file system gives a directory entry; empty when it has none.
inline std::string Alias(const std::string& path)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind found(FindFirstFileA(path.c_str(), &fd));
    return found ? fd.cAlternateFileName : "";
}

// The name a backup records for a copy in the target: its alias, else the name.
inline std::string Recorded(const std::string& name)
{
    std::string alias = Alias(kTarget + name);
    return alias.empty() ? name : alias;
}

inline std::string Record() { return win95::ReadFile(kTarget + "ABackUp.log"); }

// The record a run writes for these copies in the target (name, source folder), in the
// order a new record file receives its sections.
inline std::string ExpectedRecord(const std::vector<std::pair<std::string, std::string>>& entries,
                                  const std::string& target = kTarget)
{
    std::string files, dirs, checks, dosFiles, dosDirs;
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string key = std::to_string(i) + "=";
        const std::string alias = Alias(target + entries[i].first);
        const std::string recorded = alias.empty() ? entries[i].first : alias;
        files += key + recorded + "\r\n";
        dirs += key + entries[i].second + "\r\n";
        const auto check = win::Summarize(target + entries[i].first);
        checks += key + (check ? FormatCheck(*check) : "(no copy)") + "\r\n";
        dosFiles += key + win::NameOf(DosSpelling(target + recorded)) + "\r\n";
        dosDirs += key + DosSpelling(entries[i].second) + "\r\n";
    }
    return "[Target]\r\nDrive=" + target + "\r\nChecks=1\r\n[Files]\r\n" + files + "Count=" +
           std::to_string(entries.size()) + "\r\n" +
           (entries.empty() ? ""
                            : "[Dirs]\r\n" + dirs + "[Checks]\r\n" + checks + "[DosFiles]\r\n" + dosFiles +
                                  "[DosDirs]\r\n" + dosDirs);
}

} // namespace backuptest
