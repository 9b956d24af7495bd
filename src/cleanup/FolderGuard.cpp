#include "cleanup/FolderGuard.h"

#include "win/Files.h"
#include "win/Handles.h"
#include "win/LaterCalls.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace cleanup {

namespace {

// Both calls answer the size they need when the buffer is too small.
template <typename Call>
std::string Ask(const std::string& path, Call call)
{
    std::string out(MAX_PATH, '\0');
    for (;;) {
        DWORD n = call(path.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (n == 0) return {};
        if (n < out.size()) return out.substr(0, n);
        out.assign(n, '\0');
    }
}

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string ComputerName()
{
    char buf[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD n = sizeof buf;
    return GetComputerNameA(buf, &n) ? std::string(buf, n) : std::string();
}

// The plain drive-letter spelling of paths that reach a local folder by another road:
// the device namespaces \\?\ and \\.\, and the administrative share of a drive on
// this machine (\\localhost\C$\...). Anything else is returned as it is.
std::string PlainSpelling(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    for (const char* device : {"\\\\?\\", "\\\\.\\", "\\??\\"}) {
        const std::string prefix = device;
        if (path.size() > prefix.size() && SameText(path.substr(0, prefix.size()), prefix)) {
            path.erase(0, prefix.size());
            if (path.size() >= 4 && SameText(path.substr(0, 4), "UNC\\")) {
                // UNC\server\share is \\server\share.
                path.erase(0, 2);
                path[0] = '\\';
            }
            break;
        }
    }
    if (path.rfind("\\\\", 0) == 0) {
        const auto hostEnd = path.find('\\', 2);
        if (hostEnd != std::string::npos) {
            const std::string host = path.substr(2, hostEnd - 2);
            const std::string rest = path.substr(hostEnd + 1);
            const bool local = SameText(host, "localhost") || SameText(host, "127.0.0.1") || SameText(host, "::1") ||
                               SameText(host, ComputerName());
            // C$ (or C$\anything) on this machine is the root of drive C:.
            if (local && rest.size() >= 2 && rest[1] == '$' && (rest.size() == 2 || rest[2] == '\\'))
                return std::string(1, rest[0]) + ":\\" + (rest.size() > 3 ? rest.substr(3) : std::string());
        }
    }
    return path;
}

// What a folder is, rather than how it is spelled: a junction or a link to the Windows
// folder is the Windows folder. Not every platform can open a folder to ask (the
// oldest cannot), and then the spelling is all there is.
struct Identity {
    DWORD volume = 0, high = 0, low = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
};

std::optional<Identity> IdentityOf(const std::string& folder)
{
    win::UniqueFile h(CreateFileA(win::WithTrailingBackslash(folder).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!h || !GetFileInformationByHandle(h.get(), &info)) return std::nullopt;
    return Identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// The roots of the fixed drives: a link to one of them makes a root of its own. Drives
// with removable media are not asked, so that no empty drive is touched.
std::vector<std::string> FixedDriveRoots()
{
    std::vector<std::string> roots;
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        if ((drives & (1u << i)) && GetDriveTypeA(root.c_str()) == DRIVE_FIXED) roots.push_back(root);
    }
    return roots;
}

// The folder whose entries a sweep of path would delete, in one spelling per folder.
// The sweep joins path and "\*.*", so "C:" means the root of C: there, not the current
// folder of that drive: the backslash goes on before the path is resolved.
std::string Canonical(std::string path)
{
    path = PlainSpelling(std::move(path));
    path += '\\';
    std::string full = Ask(path, [](const char* p, char* buf, DWORD size) {
        return GetFullPathNameA(p, size, buf, nullptr);
    });
    if (full.empty()) full = path;
    // Short names are resolved only where the folder exists; a missing one is not swept.
    std::string longName = Ask(full, win::LongPathName);
    if (!longName.empty()) full = longName;

    // A network path keeps its leading pair; every other run of backslashes becomes one.
    std::string out;
    for (size_t i = 0; i < full.size(); ++i)
        if (full[i] != '\\' || out.empty() || out.back() != '\\' || i == 1) out += full[i];
    while (out.size() > 1 && out.back() == '\\') out.pop_back();
    return out;
}

bool IsRoot(const std::string& canonical)
{
    if (canonical.size() == 2 && canonical[1] == ':') return true;
    // \\server\share is the root of a network drive.
    if (canonical.rfind("\\\\", 0) == 0) return std::count(canonical.begin() + 2, canonical.end(), '\\') <= 1;
    return canonical.empty() || canonical == "\\";
}

std::string WindowsFolder()
{
    char buf[MAX_PATH] = {};
    UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    return n && n < MAX_PATH ? std::string(buf, n) : std::string();
}

std::string SystemFolder()
{
    char buf[MAX_PATH] = {};
    UINT n = GetSystemDirectoryA(buf, MAX_PATH);
    return n && n < MAX_PATH ? std::string(buf, n) : std::string();
}

} // namespace

bool IsProtectedFolder(const std::string& folder, const TSettings& settings)
{
    const std::string candidate = Canonical(folder);
    if (IsRoot(candidate)) return true;
    // The settings' Windows folder counts too: it is the one the backup treats as such,
    // and it may differ from the running system's when restored from another machine.
    std::vector<std::string> protectedFolders{WindowsFolder(), SystemFolder(), settings.WinDir, settings.BootDir,
                                              win::ProgramFolder()};
    protectedFolders.erase(std::remove(protectedFolders.begin(), protectedFolders.end(), std::string()),
                           protectedFolders.end());
    for (auto& p : protectedFolders) p = Canonical(p);
    if (std::any_of(protectedFolders.begin(), protectedFolders.end(),
                    [&](const std::string& p) { return SameText(p, candidate); }))
        return true;
    const auto identity = IdentityOf(candidate);
    if (!identity) return false;
    for (const auto& root : FixedDriveRoots()) protectedFolders.push_back(root);
    return std::any_of(protectedFolders.begin(), protectedFolders.end(),
                       [&](const std::string& p) { return IdentityOf(p) == identity; });
}

bool MayEmptyFolder(HWND owner, const std::string& folder, const TSettings& settings)
{
    if (!IsProtectedFolder(folder, settings)) return true;
    MessageBeep(0);
    const std::string text = "Der Ordner " + folder + " ist ein Systemordner und wird nicht geleert.";
    MessageBoxA(owner, text.c_str(), "Warnung", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

} // namespace cleanup
