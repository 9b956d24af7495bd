#include "backup/SafetyFolder.h"

#include "backup/BackupRecord.h"
#include "win/Files.h"
#include "win/Handles.h"
#include "win/WideFiles.h"

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

std::optional<FILETIME> RecordTime(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind found(FindFirstFileA((folder + "\\" + kRecordName).c_str(), &fd));
    if (!found || (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return fd.ftLastWriteTime;
}

// Deletes everything below folder; a link is removed, never entered. By the names the
// file system holds: a kept Start menu may hold names the code page cannot spell.
bool DeleteContents(const std::wstring& folder)
{
    const auto entries = win::FindEntries(folder + L"\\*");
    if (!entries) return false;
    bool all = true;
    for (const win::FoundEntry& e : *entries) {
        const std::wstring path = folder + L"\\" + e.name;
        win::SetAttributesAt(path, FILE_ATTRIBUTE_NORMAL);
        if (e.IsFolder()) {
            if (!(e.attributes & kReparsePoint)) all = DeleteContents(path) && all;
            all = win::RemoveFolderAt(path) && all;
        } else {
            all = win::DeleteFileAt(path) && all;
        }
    }
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
    // Full and long, a short alias and a closing backslash spell the same folder.
    return win::NameKey(win::FullPath(a)) == win::NameKey(win::FullPath(b));
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
    return DeleteContents(win::Widen(folder));
}

std::uint64_t ClusterSize(const std::string& root)
{
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters) || !sectors || !bytes)
        return 4096;
    return std::uint64_t{sectors} * bytes;
}

std::uint64_t RoomForFile(std::uint64_t size, std::uint64_t cluster) { return (size + cluster - 1) / cluster * cluster; }

namespace {

std::uint64_t SizeAt(const std::wstring& path)
{
    win::UniqueFile file = win::OpenFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
    DWORD high = 0;
    const DWORD low = file ? GetFileSize(file.get(), &high) : INVALID_FILE_SIZE;
    return low == INVALID_FILE_SIZE ? 0 : (std::uint64_t{high} << 32) | low;
}

// By the names the file system holds; a link is counted as an entry, never entered.
std::uint64_t RoomTakenAt(const std::wstring& path, DWORD attributes, std::uint64_t cluster)
{
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return RoomForFile(SizeAt(path), cluster);
    // A folder's own entry takes a cluster as well.
    std::uint64_t room = cluster;
    if (attributes & kReparsePoint) return room;
    if (const auto entries = win::FindEntries(path + L"\\*"))
        for (const win::FoundEntry& e : *entries) room += RoomTakenAt(path + L"\\" + e.name, e.attributes, cluster);
    return room;
}

} // namespace

std::uint64_t RoomTaken(const std::string& path, std::uint64_t cluster)
{
    const std::wstring wide = win::Widen(path);
    const DWORD attributes = win::AttributesOf(wide);
    return attributes == INVALID_FILE_ATTRIBUTES ? 0 : RoomTakenAt(wide, attributes, cluster);
}

} // namespace backup
