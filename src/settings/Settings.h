// What a backup covers, where those things lie, and where the backup goes: loaded once
// when the main window is created, written only by the configuration dialog's OK.
#pragma once

#include <string>
#include <vector>

struct TSettings {
    bool MSDOSBootFiles = false;
    bool WindowsRegistry = false;
    bool WinIniSystemIni = false;
    bool StartMenu = false;
    bool Desktop = false;
    bool SaveInternet = false;
    bool OtherFiles = false;
    bool SaveNetscape = false;
    bool SaveIExplorer = false;
    std::string WinDir;
    std::string BootDir;
    std::string StartMenuDir;
    std::string DesktopDir;
    std::string CookiesDir;
    std::string RecentDir;
    std::string TempDir;
    std::string Target = "a:\\";
    std::string NetscapeBookmarks;
    std::string IEFavorites;
    std::vector<std::string> OtherFileList;
};

inline constexpr const char* kSettingsKey = "Software\\ZUNT\\Pelmora";
inline constexpr const char* kOtherFilesKey = "Software\\ZUNT\\Pelmora\\OtherFiles";

// A registry error stops loading at the value it names: that field and every later
// one keep their defaults, the error is shown in the standard error box, and the
// program goes on with what was loaded.
void LoadSettings(TSettings& s);

// Writes the settings; a value that cannot be written raises an error and leaves
// the values after it, and the in-memory list, untouched.
void SaveSettings(TSettings& s, bool netscapeTicked, bool ieTicked, const std::vector<std::string>& files);
