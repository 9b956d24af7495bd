#include "backup/SafetyFolder.h"

#include "backup/BackupRecord.h"
#include "win/Files.h"
#include "win/Handles.h"

#include <windows.h>

#include <algorithm>

namespace backup {

namespace {

constexpr DWORD kReparsePoint = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT; Windows 95 has none

std::string WindowsDrive()
{
    char buf[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    const std::string dir(buf, n < MAX_PATH ? n : 0);
    if (dir.size() < 3 || dir[1] != ':' || dir[2] != '\\') return {};
    return win::DriveRoot(dir[0]);
}

// The spelling that compares: full, without closing backslash (a root keeps it), upper case.
std::string Compared(const std::string& path)
{
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
    std::string full = n && n < sizeof buf ? std::string(buf, n) : path;
    if (full.size() > 3 && full.back() == '\\') full.pop_back();
    return win::NameKey(full);
}

std::string ShortSpelling(const std::string& path)
{
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
    return n && n < sizeof buf ? Compared(std::string(buf, n)) : std::string();
}

std::optional<FILETIME> RecordTime(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind found(FindFirstFileA((folder + "\\" + kRecordName).c_str(), &fd));
    if (!found || (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return fd.ftLastWriteTime;
}

// Deletes everything below folder; a link is removed, never entered.
bool DeleteContents(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &fd));
    if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool all = true;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(fd.dwFileAttributes & kReparsePoint)) all = DeleteContents(path) && all;
            all = RemoveDirectoryA(path.c_str()) && all;
        } else {
            all = DeleteFileA(path.c_str()) && all;
        }
    } while (FindNextFileA(find.get(), &fd));
    return all;
}

} // namespace

std::vector<std::string> SafetyFolders()
{
    const std::string root = WindowsDrive();
    if (root.empty()) return {};
    return {root + "QMSAFE1", root + "QMSAFE2"};
}

bool SameFolder(const std::string& a, const std::string& b)
{
    if (Compared(a) == Compared(b)) return true;
    const std::string shortA = ShortSpelling(a);
    return !shortA.empty() && shortA == ShortSpelling(b);
}

std::optional<std::string> ChooseSafetyFolder(const std::vector<std::string>& readFrom)
{
    std::vector<std::string> open;
    for (const auto& folder : SafetyFolders())
        if (std::none_of(readFrom.begin(), readFrom.end(), [&](const std::string& r) { return SameFolder(folder, r); }))
            open.push_back(folder);
    std::optional<std::string> oldest;
    std::optional<FILETIME> oldestTime;
    for (const auto& folder : open) {
        const auto time = RecordTime(folder);
        if (!time) return folder;
        if (!oldestTime || CompareFileTime(&*time, &*oldestTime) < 0) {
            oldest = folder;
            oldestTime = time;
        }
    }
    return oldest;
}

bool EmptySafetyFolder(const std::string& folder)
{
    const auto folders = SafetyFolders();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) return false;
    const DWORD a = GetFileAttributesA(folder.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return CreateDirectoryA(folder.c_str(), nullptr) != FALSE;
    if (!(a & FILE_ATTRIBUTE_DIRECTORY) || (a & kReparsePoint)) return false;
    return DeleteContents(folder);
}

std::uint64_t ClusterSize(const std::string& root)
{
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters) || !sectors || !bytes)
        return 4096;
    return std::uint64_t{sectors} * bytes;
}

std::uint64_t RoomForFile(std::uint64_t size, std::uint64_t cluster) { return (size + cluster - 1) / cluster * cluster; }

std::uint64_t RoomTaken(const std::string& path, std::uint64_t cluster)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind find(FindFirstFileA(path.c_str(), &fd));
    if (!find) return 0;
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return RoomForFile((std::uint64_t{fd.nFileSizeHigh} << 32) | fd.nFileSizeLow, cluster);
    }
    // A folder's own entry takes a cluster as well.
    std::uint64_t room = cluster;
    win::UniqueFind inside(FindFirstFileA((path + "\\*").c_str(), &fd));
    if (!inside) return room;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != ".." && !(fd.dwFileAttributes & kReparsePoint))
            room += RoomTaken(path + "\\" + name, cluster);
    } while (FindNextFileA(inside.get(), &fd));
    return room;
}

} // namespace backup
