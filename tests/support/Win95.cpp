#include "Win95.h"

#include "win/Handles.h"
#include "win/WideFiles.h"
#include "win/Registry.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace win95 {

namespace {

void Check(bool ok, const std::string& what)
{
    if (!ok) throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

void SetString(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    auto k = win::CreateKey(root, key);
    Check(static_cast<bool>(k), "create key " + key);
    win::WriteString(k.get(), name, value);
}

void DeleteTree(HKEY root, const std::string& key) { RegDeleteTreeA(root, key.c_str()); }

} // namespace

void WriteFile(const std::string& path, const std::string& content)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    win::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    Check(static_cast<bool>(f), "create " + path);
    DWORD written = 0;
    Check(::WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size(),
          "write " + path);
}

std::string ReadFile(const std::string& path)
{
    win::UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    Check(static_cast<bool>(f), "open " + path);
    std::string out;
    char buf[65536];
    DWORD got = 0;
    while (::ReadFile(f.get(), buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    return out;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDir(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeDirs(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    Check(IsDir(path), "make folder " + path);
}

namespace {

// By the names the file system holds: a test may leave names behind that the code
// page cannot spell, and the next test must not find them.
void RemoveWide(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    win::UniqueFind h(FindFirstFileW((path + L"\\*").c_str(), &fd));
    if (h) {
        do {
            const std::wstring n = fd.cFileName;
            if (n != L"." && n != L"..") names.push_back(n);
        } while (FindNextFileW(h.get(), &fd));
    }
    for (const auto& name : names) RemoveWide(path + L"\\" + name);
    RemoveDirectoryW(path.c_str());
}

} // namespace

void Remove(const std::string& path) { RemoveWide(win::Widen(path)); }

std::vector<std::string> List(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    win::UniqueFind h(FindFirstFileA((dir + "\\*").c_str(), &fd));
    if (!h) return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") names.push_back(n);
    } while (FindNextFileA(h.get(), &fd));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

std::string ScratchDir(const std::string& name)
{
    std::string dir = "C:\\qmtest\\" + name;
    Remove(dir);
    MakeDirs(dir);
    return dir;
}

void LayOut()
{
    for (const char* f : {"Autoexec.bat", "Config.sys", "IO.sys", "MSDOS.sys", "Command.com", "Drvspace.bin"})
        Remove(kBootDir + f);
    for (const char* f : {"Win.ini", "System.ini", "User.dat", "System.dat", "System.cb", "ShellIconCache",
                          "TTfCache", "dosstart.bat", "Protocol.ini", "Profiles"})
        Remove(kWinDir + f);
    for (const auto& d : {kStartMenu, kDesktop, kCookies, kRecent, kFavorites}) Remove(d);
    Remove("C:\\Programme");

    WriteFile(kBootDir + "Autoexec.bat", "@ECHO OFF\r\nPROMPT $p$g\r\nSET TEMP=C:\\WINDOWS\\TEMP\r\n");
    WriteFile(kBootDir + "Config.sys", "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=40\r\n");
    WriteFile(kBootDir + "IO.sys", std::string(4096, '\x90'));
    WriteFile(kBootDir + "MSDOS.sys", "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\nHostWinBootDrv=C\r\n");
    WriteFile(kBootDir + "Command.com", std::string(2048, '\xCD'));
    WriteFile(kBootDir + "Drvspace.bin", std::string(1024, '\xDB'));

    WriteFile(kWinDir + "Win.ini", "[windows]\r\nload=\r\nrun=\r\n[Desktop]\r\nWallpaper=(None)\r\n");
    WriteFile(kWinDir + "System.ini", "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\n");
    WriteFile(kWinDir + "User.dat", "CREG user hive\x01\x02\x03");
    WriteFile(kWinDir + "System.dat", "CREG system hive\x04\x05\x06");
    WriteFile(kWinDir + "System.cb", "[boot]\r\nshell=progman.exe\r\n");
    WriteFile(kWinDir + "ShellIconCache", std::string(512, '\x11'));
    WriteFile(kWinDir + "TTfCache", std::string(256, '\x22'));
    WriteFile(kWinDir + "dosstart.bat", "@ECHO OFF\r\n");
    WriteFile(kWinDir + "Protocol.ini", "[ndishlp$]\r\n");
    MakeDirs(kWinDir + "Profiles\\Anna\\Start Menu");
    WriteFile(kWinDir + "Profiles\\Anna\\User.dat", "CREG Anna");

    MakeDirs(kStartMenu + "\\Programs\\Zubehör");
    WriteFile(kStartMenu + "\\Programs\\Zubehör\\Editor.lnk", "link to notepad");
    WriteFile(kStartMenu + "\\Programs\\Explorer.lnk", "link to explorer");
    MakeDirs(kDesktop);
    WriteFile(kDesktop + "\\Notiz.txt", "Einkaufen: Milch, Brot\r\n");
    WriteFile(kDesktop + "\\Arbeitsplatz.lnk", "link");
    MakeDirs(kCookies);
    WriteFile(kCookies + "\\anna@example.txt", "cookie");
    MakeDirs(kRecent);
    WriteFile(kRecent + "\\Brief.lnk", "recent");
    MakeDirs(kFavorites + "\\Links");
    WriteFile(kFavorites + "\\Links\\Example.url", "[InternetShortcut]\r\nURL=http://example.invalid/\r\n");
    MakeDirs("C:\\Programme\\Netscape");
    WriteFile(kBookmarks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n");

    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", "BootDir", "C:\\");
    SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", "WinDir", "C:\\WINDOWS");
    const std::string shell = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    SetString(HKEY_CURRENT_USER, shell, "Start Menu", kStartMenu);
    SetString(HKEY_CURRENT_USER, shell, "Desktop", kDesktop);
    SetString(HKEY_CURRENT_USER, shell, "Cookies", kCookies);
    SetString(HKEY_CURRENT_USER, shell, "Recent", kRecent);
    SetString(HKEY_CURRENT_USER, shell, "Favorites", kFavorites);
}

void ClearSettings() { DeleteTree(HKEY_CURRENT_USER, "Software\\ZUNT"); }

void StoreUsualSettings(const std::string& target)
{
    ClearSettings();
    auto k = win::CreateKey(HKEY_CURRENT_USER, "Software\\ZUNT\\Pelmora");
    Check(static_cast<bool>(k), "create settings key");
    for (const char* flag : {"MSDOSBootFiles", "WindowsRegistry", "WinIniSystemIni", "StartMenu", "Desktop"})
        win::WriteBool(k.get(), flag, true);
    for (const char* flag : {"SaveInternet", "OtherFiles", "SaveNetscape", "SaveIExplorer"})
        win::WriteBool(k.get(), flag, false);
    win::WriteString(k.get(), "Target", target);
}

} // namespace win95
