#include "cleanup/FolderGuard.h"

#include "app/Unit1.h"
#include "win/LaterCalls.h"

#include <algorithm>
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

// The folder whose entries a sweep of path would delete, in one spelling per folder.
// The sweep joins path and "\*.*", so "C:" means the root of C: there, not the current
// folder of that drive: the backslash goes on before the path is resolved.
std::string Canonical(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
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
                                              ProgramFolder()};
    return std::any_of(protectedFolders.begin(), protectedFolders.end(), [&](const std::string& p) {
        return !p.empty() && lstrcmpiA(Canonical(p).c_str(), candidate.c_str()) == 0;
    });
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
