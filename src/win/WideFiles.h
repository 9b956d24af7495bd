// Files and folders by their names as the file system holds them. The 8-bit calls see a
// name through the system code page, and a name it cannot spell (a Start-menu entry in
// Cyrillic on a German system) comes back in a spelling that opens nothing, or opens
// another file. So the walks through folders (the read-back check, the sweep) use the
// wide calls, found at run time. Windows 95 has them only as stubs that answer
// "not implemented"; there the 8-bit calls serve, and its names are all 8-bit anyway.
#pragma once

#include "win/Handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace win {

// A path in the system code page as wide text, and back; a character the code page
// cannot spell comes back as the platform's stand-in for it.
std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// Whether the wide calls are taken. They are, until one answers "not implemented";
// a test takes the road of Windows 95 by turning them off.
bool WideCallsUsed();
void UseWideCalls(bool use);

struct FoundEntry {
    std::wstring name;
    DWORD attributes = 0;
    bool IsFolder() const noexcept { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The entries that pattern (a folder and "\*") matches, "." and ".." left out. Empty
// when nothing matches; none when the listing cannot start or breaks off.
std::optional<std::vector<FoundEntry>> FindEntries(const std::wstring& pattern);

// GetFileAttributes, CreateFile (no security attributes, no template) and DeleteFile
// on a wide path.
DWORD AttributesOf(const std::wstring& path);
UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
bool DeleteFileAt(const std::wstring& path);

} // namespace win
