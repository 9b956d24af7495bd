#include "cleanup/FolderGuard.h"

#include "win/Error.h"
#include "win/Files.h"
#include "win/LaterCalls.h"
#include "win/Registry.h"
#include "win/WideFiles.h"

#include <algorithm>
#include <set>
#include <vector>

namespace cleanup {

namespace {

constexpr const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kShellFoldersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

template <UINT(WINAPI* Call)(LPSTR, UINT)>
std::string AskFolder()
{
    char buf[MAX_PATH] = {};
    const UINT n = Call(buf, MAX_PATH);
    return n && n < MAX_PATH ? std::string(buf, n) : std::string();
}

std::string Environment(const char* name)
{
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string Expanded(const std::string& text)
{
    char buf[MAX_PATH * 2] = {};
    const DWORD n = ExpandEnvironmentStringsA(text.c_str(), buf, sizeof buf);
    return n && n <= sizeof buf ? std::string(buf) : text;
}

// A value the registry holds in a form no folder has is no folder to protect.
void AddValues(std::vector<std::string>& folders, HKEY key, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (win::ValueExists(key, name)) try {
                folders.push_back(Expanded(win::ReadString(key, name)));
            } catch (const win::Error&) {
            }
}

// The 32-bit program on 64-bit Windows is shown the 32-bit system folder under the
// system folder's name; the real one it reaches only as Sysnative.
bool RunsUnderWow64()
{
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto isWow64 = win::LaterCall<IsWow64>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

// Every user's profile folder and the folder that holds them, as the profile lists of
// both lines of Windows name them.
void AddProfiles(std::vector<std::string>& folders)
{
    for (const char* list : {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList"}) {
        auto key = win::OpenKey(HKEY_LOCAL_MACHINE, list);
        if (!key) continue;
        AddValues(folders, key.get(), {"ProfilesDirectory", "AllUsersProfile", "Default", "Public"});
        char name[256];
        for (DWORD i = 0; RegEnumKeyA(key.get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
            auto profile = win::OpenKey(key.get(), name);
            AddValues(folders, profile.get(), {"ProfileImagePath"});
        }
    }
}

std::vector<std::string> ProtectedFolders(const TSettings& s)
{
    const std::string windows = AskFolder<GetWindowsDirectoryA>();
    // The settings' Windows folder counts too: it is the one the backup treats as such,
    // and it may differ from the running system's when restored from another machine.
    std::vector<std::string> folders{windows, AskFolder<GetSystemDirectoryA>(), s.WinDir, s.BootDir,
                                     s.BootDir + "DOS", "C:\\DOS", win::ProgramFolder(), s.Target,
                                     s.StartMenuDir, s.DesktopDir, s.IEFavorites};
    if (!windows.empty()) {
        if (RunsUnderWow64()) folders.push_back(win::WithTrailingBackslash(windows) + "Sysnative");
        folders.push_back(win::WithTrailingBackslash(windows) + "Profiles");
    }
    using Wow64Folder = UINT(WINAPI*)(LPSTR, UINT);
    if (auto wow64 = win::LaterCall<Wow64Folder>("kernel32.dll", "GetSystemWow64DirectoryA")) {
        char buf[MAX_PATH] = {};
        const UINT n = wow64(buf, MAX_PATH);
        if (n && n < MAX_PATH) folders.emplace_back(buf, n);
    }
    // Where a restore keeps the state it is about to overwrite.
    for (const std::string& w : {windows, s.WinDir})
        if (w.size() >= 2 && w[1] == ':')
            for (const char* safety : {"QMSAFE1", "QMSAFE2"}) folders.push_back(w.substr(0, 2) + "\\" + safety);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        auto key = win::OpenKey(root, kShellFoldersKey);
        AddValues(folders, key.get(),
                  {"Desktop", "Personal", "Start Menu", "Programs", "Startup", "Favorites", "AppData",
                   "Common Desktop", "Common Documents", "Common Start Menu", "Common Programs", "Common Startup",
                   "Common AppData", "Common Favorites"});
    }
    {
        auto key = win::OpenKey(HKEY_LOCAL_MACHINE, kVersionKey);
        AddValues(folders, key.get(), {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir", "CommonFilesDir"});
    }
    for (const char* name : {"USERPROFILE", "ALLUSERSPROFILE", "PUBLIC", "ProgramFiles", "ProgramFiles(x86)",
                             "ProgramW6432", "SystemRoot", "windir"})
        folders.push_back(Environment(name));
    AddProfiles(folders);
    folders.erase(std::remove(folders.begin(), folders.end(), std::string()), folders.end());
    return folders;
}

} // namespace

FolderVerdict JudgeFolder(const std::string& folder, const TSettings& settings)
{
    // The sweep joins the folder and "\*.*", so "C:" means the root of C: there, not
    // the current folder of that drive: the backslash goes on before anything is asked.
    const std::string swept = folder + "\\";
    const std::string full = win::FullPath(swept);
    const size_t root = win::RootLength(full);
    if (root > 0 && full.size() <= root) return FolderVerdict::Protected;
    const auto self = win::IdentityOf(full);
    if (!self) {
        // What cannot be listed cannot be swept either; what can, must be known first.
        return win::FindEntries(win::Widen(swept) + L"*.*") ? FolderVerdict::Unidentified : FolderVerdict::MayEmpty;
    }
    // A root reached by another road: a link to it, or a volume mounted into a folder,
    // which lies on another volume than the folder its path names above it.
    if (root > 0 && win::IdentityOf(full.substr(0, root)) == *self) return FolderVerdict::Protected;
    const auto above = win::FoldersAbove(full);
    if (!above.empty()) {
        const auto parent = win::IdentityOf(above.front());
        if (parent && parent->volume != self->volume) return FolderVerdict::Protected;
    }
    // A protected folder, or one of the folders that hold it.
    std::set<std::string> asked;
    for (const std::string& p : ProtectedFolders(settings)) {
        const std::string protectedFull = win::FullPath(win::WithTrailingBackslash(p));
        std::vector<std::string> chain = win::FoldersAbove(protectedFull);
        chain.insert(chain.begin(), protectedFull);
        for (const std::string& c : chain) {
            std::string key = c;
            CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
            // The folders above are mostly shared: each is opened once.
            if (!asked.insert(key).second) break;
            if (win::IdentityOf(c) == *self) return FolderVerdict::Protected;
        }
    }
    return FolderVerdict::MayEmpty;
}

bool MayEmptyFolder(HWND owner, const std::string& folder, const TSettings& settings)
{
    const FolderVerdict verdict = JudgeFolder(folder, settings);
    if (verdict == FolderVerdict::MayEmpty) return true;
    MessageBeep(0);
    const std::string text = "Der Ordner " + folder +
                             (verdict == FolderVerdict::Protected ? " ist ein Systemordner und wird nicht geleert."
                                                                  : " lässt sich nicht sicher bestimmen und wird nicht geleert.");
    MessageBoxA(owner, text.c_str(), "Warnung", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

} // namespace cleanup
