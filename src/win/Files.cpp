#include "win/Files.h"

#include <windows.h>

#include <iterator>

namespace win {

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
