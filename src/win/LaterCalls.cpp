#include "win/LaterCalls.h"

#include "win/Files.h"
#include "win/Handles.h"

#include <commctrl.h>

#include <string>

namespace win {

namespace {

// What is looked up here is declared here: the headers describe Windows 95.
struct ControlClasses {  // INITCOMMONCONTROLSEX
    DWORD size;
    DWORD classes;
};
struct MouseTracking {  // TRACKMOUSEEVENT
    DWORD size;
    DWORD flags;
    HWND window;
    DWORD hoverTime;
};
constexpr DWORD kTrackLeave = 0x00000002;  // TME_LEAVE
struct MonitorInfo {  // MONITORINFO
    DWORD size;
    RECT monitor;
    RECT work;
    DWORD flags;
};
constexpr DWORD kDefaultToNearest = 0x00000002;  // MONITOR_DEFAULTTONEAREST
constexpr DWORD kNcRenderingPolicy = 2;         // DWMWA_NCRENDERING_POLICY
constexpr DWORD kNcRenderingDisabled = 1;       // DWMNCRP_DISABLED

template <typename Proc>
Proc Lookup(const char* dll, const char* name)
{
    // Every library asked for here is loaded by the program's own imports already.
    HMODULE module = GetModuleHandleA(dll);
    return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Length of the part of path that names its root: "C:\", "\\server\share\" or "\".
size_t RootLength(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':') return path.size() > 2 && path[2] == '\\' ? 3 : 2;
    if (path.rfind("\\\\", 0) == 0) {
        size_t share = path.find('\\', 2);
        if (share == std::string::npos) return path.size();
        size_t end = path.find('\\', share + 1);
        return end == std::string::npos ? path.size() : end + 1;
    }
    return !path.empty() && path[0] == '\\' ? 1 : 0;
}

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
    using InitEx = BOOL(WINAPI*)(const ControlClasses*);
    if (auto initEx = Lookup<InitEx>("comctl32.dll", "InitCommonControlsEx")) {
        const ControlClasses icc{sizeof icc, classes};
        initEx(&icc);
    } else {
        InitCommonControls();
    }
}

bool DiskFreeSpaceKnown(const char* root)
{
    using FreeEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    if (auto freeEx = Lookup<FreeEx>("kernel32.dll", "GetDiskFreeSpaceExA")) {
        ULARGE_INTEGER avail{}, total{}, free{};
        return freeEx(root, &avail, &total, &free) != FALSE;
    }
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    return GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &clusters) != FALSE;
}

DWORD LongPathName(const char* path, char* buf, DWORD size)
{
    using LongName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    if (auto longName = Lookup<LongName>("kernel32.dll", "GetLongPathNameA")) return longName(path, buf, size);
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
    using Track = BOOL(WINAPI*)(MouseTracking*);
    static const Track track = [] {
        if (auto own = Lookup<Track>("user32.dll", "TrackMouseEvent")) return own;
        return Lookup<Track>("comctl32.dll", "_TrackMouseEvent");
    }();
    if (!track) return false;
    MouseTracking tme{sizeof tme, kTrackLeave, window, 0};
    return track(&tme) != FALSE;
}

RECT WorkAreaAt(POINT point)
{
    using FromPoint = HANDLE(WINAPI*)(POINT, DWORD);
    using Info = BOOL(WINAPI*)(HANDLE, MonitorInfo*);
    static const FromPoint fromPoint = Lookup<FromPoint>("user32.dll", "MonitorFromPoint");
    static const Info info = Lookup<Info>("user32.dll", "GetMonitorInfoA");
    if (fromPoint && info) {
        MonitorInfo mi{sizeof mi, {}, {}, 0};
        if (HANDLE monitor = fromPoint(point, kDefaultToNearest); monitor && info(monitor, &mi)) return mi.work;
    }
    RECT work{};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) && !IsRectEmpty(&work)) return work;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void KeepFramePaintedByProgram(HWND window)
{
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    // Not one of the program's imports: loaded for the call, where there is one, and
    // without the box that the oldest systems show for a library they cannot find.
    const UINT mode = SetErrorMode(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
    UniqueModule dwm(LoadLibraryA("dwmapi.dll"));
    SetErrorMode(mode);
    if (!dwm) return;
    const auto set =
        reinterpret_cast<SetAttribute>(reinterpret_cast<void*>(GetProcAddress(dwm.get(), "DwmSetWindowAttribute")));
    const DWORD policy = kNcRenderingDisabled;
    if (set) set(window, kNcRenderingPolicy, &policy, sizeof policy);
}

} // namespace win
