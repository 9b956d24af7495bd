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
// The configuration dialog's list holds no more entries on Windows 95, so no list the
// program stored numbers an entry beyond it.
constexpr int kLongestList = 32767;

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

// Without the own key (k none) every field takes what a first start gives it.
void Load(TSettings& s, HKEY k)
{
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
    if (!k) return;

    auto list = win::OpenKey(HKEY_CURRENT_USER, kOtherFilesKey);
    if (win::ValueExists(list.get(), "Count")) {
        // Only the values that are there are read: a damaged Count of two billion must
        // not cost every start two billion look-ups.
        const int count = win::ReadInteger(list.get(), "Count");
        const std::vector<win::Value> values = win::Values(list.get());
        std::vector<std::string> names;
        names.reserve(values.size());
        for (const auto& value : values) names.push_back(value.name);
        // A missing number keeps its place as an empty entry, up to the highest number
        // there is; a number no list could reach takes the next place instead, so that
        // one damaged name cannot fill the memory with gaps.
        std::vector<std::string> files;
        for (const auto& key : win::NumberedKeys(names, count)) {
            if (key.number < kLongestList) files.resize(static_cast<size_t>(key.number));
            files.push_back(win::Text(values[key.position]));
        }
        s.OtherFileList = std::move(files);
    }
}

} // namespace

void LoadSettings(TSettings& s)
{
    // Every field first takes its default, then the own key is read over it: an error
    // that stops the reading leaves each later field at that default, so that the
    // commands still find the folders of the installation.
    s = TSettings{};
    if (!win::Guarded([&] { Load(s, nullptr); })) return;
    auto own = win::OpenKey(HKEY_CURRENT_USER, kSettingsKey);
    if (own) win::Guarded([&] { Load(s, own.get()); });
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
