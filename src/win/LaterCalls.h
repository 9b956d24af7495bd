// Calls that Windows 95 does not export, looked up by name at run time: a program that
// imports one of them directly is refused by that system's loader. Where the call is
// missing, each falls back to what the first release of Windows 95 offers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace win {

// A call of a library that the program's own imports load already, looked up by name;
// null where that library lacks it.
template <typename Proc>
Proc LaterCall(const char* dll, const char* name)
{
    HMODULE module = GetModuleHandleA(dll);
    return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Registers the common control classes: the flags where comctl32 4.70 or later is
// there, all classes of the first comctl32 otherwise.
void InitControls(DWORD classes);

// True when the drive of root answers a free-space query, that is, holds a medium.
// Before the second release of Windows 95 only the 32-bit query exists.
bool DiskFreeSpaceKnown(const char* root);
// The bytes free for this user on the drive of root; none when the drive does not answer.
std::optional<std::uint64_t> DiskFreeBytes(const char* root);

// GetLongPathNameA (Windows 98 on), else the long name of each existing component read
// from its directory entry. Answers like the call: the length, the size needed when
// buf is too small, 0 when a component does not exist.
DWORD LongPathName(const char* path, char* buf, DWORD size);

// Makes a folder with every missing level above it, one CreateDirectoryA each, as
// SHCreateDirectoryExA does from shell 5.0 on. True when the folder exists afterwards.
bool CreateFolderPath(const char* path);

// Asks for WM_MOUSELEAVE when the mouse leaves window: TrackMouseEvent (Windows 98 and
// NT 4 on), else the common controls' _TrackMouseEvent (Internet Explorer 3 on); false
// where neither is there, and the window then learns of the mouse only as it moves.
bool TrackMouseLeave(HWND window);

} // namespace win
