#include "win/LaterCalls.h"

#include "win/Files.h"
#include "win/Handles.h"

#include <commctrl.h>

#include <string>

namespace win {

namespace {

std::string LongNameByEntries(const std::string& path)
{
    const size_t root = RootLength(path);
    std::string out = path.substr(0, root);
    size_t pos = root;
    while (pos < path.size()) {
        size_t end = path.find('\\', pos);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(pos, end - pos);
        if (part.find_first_of("*?") != std::string::npos) return {};
        if (part.empty() || part == "." || part == "..") {
            out += part;
        } else {
            WIN32_FIND_DATAA entry;
            UniqueFind find(FindFirstFileA((out + part).c_str(), &entry));
            if (!find) return {};
            out += entry.cFileName;
        }
        if (end < path.size()) out += '\\';
        pos = end + 1;
    }
    return out;
}

} // namespace

void InitControls(DWORD classes)
{
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto initEx = LaterCall<InitEx>("comctl32.dll", "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX icc{sizeof icc, classes};
        initEx(&icc);
    } else {
        InitCommonControls();
    }
}

bool DiskFreeSpaceKnown(const char* root) { return DiskFreeBytes(root).has_value(); }

std::optional<std::uint64_t> DiskFreeBytes(const char* root)
{
    using FreeEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    if (auto freeEx = LaterCall<FreeEx>("kernel32.dll", "GetDiskFreeSpaceExA")) {
        ULARGE_INTEGER avail{}, total{}, free{};
        if (!freeEx(root, &avail, &total, &free)) return std::nullopt;
        return avail.QuadPart;
    }
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &clusters)) return std::nullopt;
    return std::uint64_t{freeClusters} * sectors * bytes;
}

DWORD LongPathName(const char* path, char* buf, DWORD size)
{
    using LongName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    if (auto longName = LaterCall<LongName>("kernel32.dll", "GetLongPathNameA")) return longName(path, buf, size);
    std::string out = LongNameByEntries(path);
    if (out.empty()) return 0;
    if (out.size() >= size) return static_cast<DWORD>(out.size() + 1);
    out.copy(buf, out.size());
    buf[out.size()] = '\0';
    return static_cast<DWORD>(out.size());
}

bool CreateFolderPath(const char* path)
{
    std::string full = path;
    const size_t root = RootLength(full);
    for (size_t pos = full.find('\\', root); ; pos = full.find('\\', pos + 1)) {
        std::string level = full.substr(0, pos);
        if (level.size() > root && !IsFolder(level)) CreateDirectoryA(level.c_str(), nullptr);
        if (pos == std::string::npos) break;
    }
    return IsFolder(full);
}

bool TrackMouseLeave(HWND window)
{
    using Track = BOOL(WINAPI*)(TRACKMOUSEEVENT*);
    static const Track track = [] {
        if (auto own = LaterCall<Track>("user32.dll", "TrackMouseEvent")) return own;
        return LaterCall<Track>("comctl32.dll", "_TrackMouseEvent");
    }();
    if (!track) return false;
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, window, 0};
    return track(&tme) != FALSE;
}

} // namespace win
