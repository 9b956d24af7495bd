// How the backup names what it copies: paths are joined by plain concatenation, a
// name is what follows the last backslash or colon, and a folder keeps its backslash
// only when it is a root.
#pragma once

#include <windows.h>

#include <string>

namespace backup {

inline std::string NameOf(const std::string& path)
{
    const auto cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// C:\WINDOWS\Win.ini gives C:\WINDOWS, C:\Autoexec.bat gives C:\.
inline std::string FolderOf(const std::string& path)
{
    const auto cut = path.find_last_of('\\');
    if (cut == std::string::npos) return {};
    std::string folder = path.substr(0, cut);
    if (folder.empty() || folder.back() == ':') folder += '\\';
    return folder;
}

// File names compare as the file system compares them, without regard to case: two
// names are the same when their keys are.
inline std::string NameKey(std::string name)
{
    CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

} // namespace backup
