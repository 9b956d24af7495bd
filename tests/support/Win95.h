// A small Windows-95-style installation laid out in the current Wine prefix: boot files
// in C:\, a Windows folder with the registry and initialisation files, profiles, shell
// caches, a Start menu and a Desktop, and the registry keys that point at them.
#pragma once

#include <string>
#include <vector>

namespace win95 {

inline const std::string kBootDir = "C:\\";
inline const std::string kWinDir = "C:\\WINDOWS\\";
inline const std::string kStartMenu = "C:\\WINDOWS\\Start Menu";
inline const std::string kDesktop = "C:\\WINDOWS\\Desktop";
inline const std::string kCookies = "C:\\WINDOWS\\Cookies";
inline const std::string kRecent = "C:\\WINDOWS\\Recent";
inline const std::string kFavorites = "C:\\WINDOWS\\Favorites";
inline const std::string kBookmarks = "C:\\Programme\\Netscape\\bookmark.htm";

// The drives of the test session (tests/harness/wine-session.sh): a removable drive
// with a medium, a removable drive without one, and a fixed disk of its own.
inline const std::string kFloppy = "A:\\";
inline const std::string kNoMediumDrive = "B:\\";
inline const std::string kFixedDrive = "F:\\";

// Removes what an earlier lay-out (or test) left and lays the installation out anew.
void LayOut();
// Forgets the program's own settings, as on a first start.
void ClearSettings();
// Stores the configuration a user would have: the usual categories ticked, target given.
void StoreUsualSettings(const std::string& target = "a:\\");

// Small file helpers for tests.
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
bool IsDir(const std::string& path);
void MakeDirs(const std::string& path);
// Deletes a file or a whole folder, whatever the attributes; missing is fine.
void Remove(const std::string& path);
// Names in a folder, sorted without case, "." and ".." left out.
std::vector<std::string> List(const std::string& dir);
// A fresh empty folder under C:\qmtest.
std::string ScratchDir(const std::string& name);

} // namespace win95
