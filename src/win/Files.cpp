#include "win/Files.h"

#include "win/Handles.h"
#include "win/LaterCalls.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

namespace win {

namespace {

bool StartsWithText(const std::string& text, size_t at, const char* prefix)
{
    const size_t n = std::char_traits<char>::length(prefix);
    return text.size() >= at + n && lstrcmpiA(text.substr(at, n).c_str(), prefix) == 0;
}

// The end of the given number of backslash-ended parts from at on, or the path's end.
size_t AfterParts(const std::string& path, size_t at, int parts)
{
    for (int i = 0; i < parts; ++i) {
        const size_t end = path.find('\\', at);
        if (end == std::string::npos) return path.size();
        at = end + 1;
    }
    return at;
}

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

// The systems of the Windows 95 line cannot open a folder at all.
bool OpensFolders() { return (GetVersion() & 0x80000000u) == 0; }

} // namespace

bool IsFile(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryReady(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

std::string ProgramFolder()
{
    char path[MAX_PATH * 4] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::string s(path, n);
    auto cut = s.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : s.substr(0, cut + 1);
}

std::string DriveRoot(char letter)
{
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    return std::string(1, letter) + ":\\";
}

bool IsDriveRoot(const std::string& path) { return path.size() == 3 && path[1] == ':' && path[2] == '\\'; }

size_t RootLength(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':') return path.size() > 2 && path[2] == '\\' ? 3 : 2;
    if (path.rfind("\\\\?\\", 0) == 0 || path.rfind("\\\\.\\", 0) == 0) {
        if (path.size() >= 6 && path[5] == ':') return path.size() > 6 && path[6] == '\\' ? 7 : 6;
        if (StartsWithText(path, 4, "UNC\\")) return AfterParts(path, 8, 2);
        if (StartsWithText(path, 4, "GLOBALROOT\\")) return AfterParts(path, 4, 3);
        return AfterParts(path, 4, 1);
    }
    if (path.rfind("\\\\", 0) == 0) return AfterParts(path, 2, 2);
    return !path.empty() && path[0] == '\\' ? 1 : 0;
}

std::string FullPath(const std::string& path)
{
    std::string full = Ask(path, [](const char* p, char* buf, DWORD size) {
        return GetFullPathNameA(p, size, buf, nullptr);
    });
    if (full.empty()) full = path;
    const std::string longName = Ask(full, LongPathName);
    if (!longName.empty()) full = longName;
    std::string out;
    for (size_t i = 0; i < full.size(); ++i)
        if (full[i] != '\\' || out.empty() || out.back() != '\\' || i == 1) out += full[i];
    while (out.size() > std::max<size_t>(RootLength(out), 1) && out.back() == '\\') out.pop_back();
    return out;
}

std::vector<std::string> FoldersAbove(const std::string& fullPath)
{
    std::vector<std::string> above;
    const size_t root = RootLength(fullPath);
    if (root == 0) return above;
    for (std::string p = fullPath; p.size() > root;) {
        const size_t cut = p.rfind('\\');
        p = cut == std::string::npos || cut < root ? p.substr(0, root) : p.substr(0, cut);
        above.push_back(p);
    }
    return above;
}

std::optional<PathFacts> FactsOf(const std::string& path)
{
    if (path.find_first_of("*?") != std::string::npos) return std::nullopt;
    using GetAttributesEx = BOOL(WINAPI*)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);
    static const auto attributesEx = LaterCall<GetAttributesEx>("kernel32.dll", "GetFileAttributesExA");
    if (attributesEx) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!attributesEx(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
        return PathFacts{(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                         (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathFacts{true, 0};
    WIN32_FIND_DATAA fd;
    UniqueFind found(FindFirstFileA(path.c_str(), &fd));
    return PathFacts{false, found ? (std::uint64_t{fd.nFileSizeHigh} << 32) | fd.nFileSizeLow : 0};
}

bool CopyMayTakeLong(const PathFacts& facts) { return facts.folder || facts.size >= 1024 * 1024; }

std::optional<FileIdentity> IdentityOf(const std::string& path)
{
    ErrorModeScope quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    FileIdentity id;
    if (!OpensFolders()) {
        id.path = FullPath(path);
        if (id.path.empty() || GetFileAttributesA(id.path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        CharUpperBuffA(id.path.data(), static_cast<DWORD>(id.path.size()));
        return id;
    }
    // Asking for the attributes only: a folder or a file in use opens for that.
    UniqueFile h(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!h || !GetFileInformationByHandle(h.get(), &info)) return std::nullopt;
    id.volume = info.dwVolumeSerialNumber;
    id.indexHigh = info.nFileIndexHigh;
    id.indexLow = info.nFileIndexLow;
    return id;
}

std::string NameOf(const std::string& path)
{
    const auto cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOf(const std::string& path)
{
    const auto cut = path.find_last_of('\\');
    if (cut == std::string::npos) return {};
    std::string folder = path.substr(0, cut);
    if (folder.empty() || folder.back() == ':') folder += '\\';
    return folder;
}

std::string NameKey(std::string name)
{
    CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

} // namespace win
