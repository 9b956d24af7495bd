// What the backup and restore tests share: a configuration stored as the dialog would
// store it, on the Windows-95-style installation, and the names a target holds.
#pragma once

#include "Win95.h"
#include "settings/Settings.h"
#include "win/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
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

} // namespace backuptest
