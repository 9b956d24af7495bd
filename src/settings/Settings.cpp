#include "settings/Settings.h"

#include "win/Files.h"
#include "win/Registry.h"
#include "win/Sections.h"
#include "win/Window.h"

#include <windows.h>

#include <vector>

namespace {

constexpr const char* kSetupKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool Flag(HKEY key, const char* name) { return win::ValueExists(key, name) && win::ReadBool(key, name); }

// A present value wins even when empty; the fallback is asked only for an absent one.
std::string Text(HKEY key, const char* name, HKEY fallbackKey = nullptr, const char* fallbackName = nullptr)
{
    if (win::ValueExists(key, name)) return win::ReadString(key, name);
    if (fallbackKey && win::ValueExists(fallbackKey, fallbackName)) return win::ReadString(fallbackKey, fallbackName);
    return {};
}

std::string TempPath()
{
    char buf[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, buf);
    return buf;
}

void Load(TSettings& s)
{
    auto own = win::OpenKey(HKEY_CURRENT_USER, kSettingsKey);
    HKEY k = own.get();
    s.MSDOSBootFiles = Flag(k, "MSDOSBootFiles");
    s.WindowsRegistry = Flag(k, "WindowsRegistry");
    s.WinIniSystemIni = Flag(k, "WinIniSystemIni");
    s.StartMenu = Flag(k, "StartMenu");
    s.Desktop = Flag(k, "Desktop");
    s.OtherFiles = Flag(k, "OtherFiles");
    {
        auto setup = win::OpenKey(HKEY_LOCAL_MACHINE, kSetupKey);
        s.BootDir = win::WithTrailingBackslash(Text(k, "BootDir", setup.get(), "BootDir"));
        s.WinDir = win::WithTrailingBackslash(Text(k, "WinDir", setup.get(), "WinDir"));
    }
    {
        auto shell = win::OpenKey(HKEY_CURRENT_USER, kShellFoldersKey);
        s.StartMenuDir = Text(k, "StartMenuDir", shell.get(), "Start Menu");
        s.DesktopDir = Text(k, "DesktopDir", shell.get(), "Desktop");
        s.CookiesDir = Text(shell.get(), "Cookies");
        s.RecentDir = Text(shell.get(), "Recent");
    }
    s.TempDir = TempPath();
    if (win::ValueExists(k, "Target")) s.Target = win::ReadString(k, "Target");
    s.SaveInternet = Flag(k, "SaveInternet");
    s.SaveNetscape = Flag(k, "SaveNetscape");
    s.SaveIExplorer = Flag(k, "SaveIExplorer");
    s.NetscapeBookmarks = Text(k, "NetscapeBookmarks");
    s.IEFavorites = Text(k, "IEFavorites");
    own.reset();

    auto list = win::OpenKey(HKEY_CURRENT_USER, kOtherFilesKey);
    if (win::ValueExists(list.get(), "Count")) {
        // Only the values that are there are read: a damaged Count of two billion must
        // not cost every start two billion look-ups. A missing number leaves no gap.
        const int count = win::ReadInteger(list.get(), "Count");
        const std::vector<std::string> names = win::ValueNames(list.get());
        for (const auto& key : win::NumberedKeys(names, count))
            s.OtherFileList.push_back(Text(list.get(), names[key.position].c_str()));
    }
}

} // namespace

void LoadSettings(TSettings& s)
{
    s = TSettings{};
    win::Guarded([&] { Load(s); });
}

void SaveSettings(TSettings& s, bool netscapeTicked, bool ieTicked, const std::vector<std::string>& files)
{
    {
        auto own = win::CreateKey(HKEY_CURRENT_USER, kSettingsKey);
        HKEY k = own.get();
        win::WriteBool(k, "MSDOSBootFiles", s.MSDOSBootFiles);
        win::WriteBool(k, "WindowsRegistry", s.WindowsRegistry);
        win::WriteBool(k, "StartMenu", s.StartMenu);
        win::WriteBool(k, "Desktop", s.Desktop);
        win::WriteBool(k, "WinIniSystemIni", s.WinIniSystemIni);
        win::WriteBool(k, "OtherFiles", s.OtherFiles);
        win::WriteString(k, "BootDir", s.BootDir);
        win::WriteString(k, "WinDir", s.WinDir);
        win::WriteString(k, "StartMenuDir", s.StartMenuDir);
        win::WriteString(k, "DesktopDir", s.DesktopDir);
        win::WriteString(k, "Target", s.Target);
        win::WriteBool(k, "SaveInternet", s.SaveInternet);
        if (netscapeTicked) {
            win::WriteBool(k, "SaveNetscape", s.SaveNetscape);
            win::WriteBool(k, "SaveIExplorer", s.SaveIExplorer);
            win::WriteString(k, "NetscapeBookmarks", s.NetscapeBookmarks);
        }
        if (ieTicked) {
            win::WriteBool(k, "SaveNetscape", s.SaveNetscape);
            win::WriteBool(k, "SaveIExplorer", s.SaveIExplorer);
            win::WriteString(k, "IEFavorites", s.IEFavorites);
        }
    }
    {
        auto list = win::CreateKey(HKEY_CURRENT_USER, kOtherFilesKey);
        for (const auto& name : win::ValueNames(list.get())) win::DeleteValue(list.get(), name);
        for (size_t i = 0; i < files.size(); ++i) win::WriteString(list.get(), std::to_string(i), files[i]);
        win::WriteInteger(list.get(), "Count", static_cast<int>(files.size()));
    }
    s.OtherFileList = files;
}
