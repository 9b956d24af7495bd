#include "win/WideFiles.h"

#include "win/LaterCalls.h"

namespace win {

namespace {

bool g_wide = true;

template <typename Proc>
Proc Kernel32(const char* name)
{
    return LaterCall<Proc>("kernel32.dll", name);
}

// A wide call that failed because the system has none: the 8-bit call takes over,
// for this call and every later one.
bool NotImplemented()
{
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    g_wide = false;
    return true;
}

// A call on one path that answers whether it did it: the wide one where the system has
// it, the 8-bit one otherwise.
template <typename... Args>
bool OnPath(BOOL(WINAPI* wide)(LPCWSTR, Args...), BOOL(WINAPI* narrow)(LPCSTR, Args...), const std::wstring& path,
            Args... args)
{
    if (g_wide && wide) {
        if (wide(path.c_str(), args...)) return true;
        if (!NotImplemented()) return false;
    }
    return narrow(Narrow(path).c_str(), args...) != FALSE;
}

} // namespace

std::wstring Widen(const std::string& text)
{
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool WideCallsUsed() { return g_wide; }
void UseWideCalls(bool use) { g_wide = use; }

std::optional<std::vector<FoundEntry>> FindEntries(const std::wstring& pattern)
{
    using FirstW = HANDLE(WINAPI*)(LPCWSTR, WIN32_FIND_DATAW*);
    using NextW = BOOL(WINAPI*)(HANDLE, WIN32_FIND_DATAW*);
    static const auto firstW = Kernel32<FirstW>("FindFirstFileW");
    static const auto nextW = Kernel32<NextW>("FindNextFileW");
    std::vector<FoundEntry> entries;
    auto take = [&](const std::wstring& name, DWORD attributes) {
        if (name != L"." && name != L"..") entries.push_back({name, attributes});
    };
    // A folder that matches nothing (a root lists no "." or "..") is empty, not unreadable.
    auto ended = [&](bool started) -> std::optional<std::vector<FoundEntry>> {
        const DWORD error = GetLastError();
        if (started ? error == ERROR_NO_MORE_FILES : error == ERROR_FILE_NOT_FOUND) return std::move(entries);
        return std::nullopt;
    };
    if (g_wide && firstW && nextW) {
        WIN32_FIND_DATAW fd;
        UniqueFind find(firstW(pattern.c_str(), &fd));
        if (find) {
            do take(fd.cFileName, fd.dwFileAttributes);
            while (nextW(find.get(), &fd));
            return ended(true);
        }
        if (!NotImplemented()) return ended(false);
    }
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA(Narrow(pattern).c_str(), &fd));
    if (!find) return ended(false);
    do take(Widen(fd.cFileName), fd.dwFileAttributes);
    while (FindNextFileA(find.get(), &fd));
    return ended(true);
}

DWORD AttributesOf(const std::wstring& path)
{
    using AttributesW = DWORD(WINAPI*)(LPCWSTR);
    static const auto attributesW = Kernel32<AttributesW>("GetFileAttributesW");
    if (g_wide && attributesW) {
        const DWORD a = attributesW(path.c_str());
        if (a != INVALID_FILE_ATTRIBUTES || !NotImplemented()) return a;
    }
    return GetFileAttributesA(Narrow(path).c_str());
}

UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    using CreateW = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    static const auto createW = Kernel32<CreateW>("CreateFileW");
    if (g_wide && createW) {
        UniqueFile file(createW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
        if (file || !NotImplemented()) return file;
    }
    return UniqueFile(CreateFileA(Narrow(path).c_str(), access, share, nullptr, disposition, flags, nullptr));
}

bool DeleteFileAt(const std::wstring& path)
{
    static const auto wide = Kernel32<BOOL(WINAPI*)(LPCWSTR)>("DeleteFileW");
    return OnPath(wide, &DeleteFileA, path);
}

bool RemoveFolderAt(const std::wstring& path)
{
    static const auto wide = Kernel32<BOOL(WINAPI*)(LPCWSTR)>("RemoveDirectoryW");
    return OnPath(wide, &RemoveDirectoryA, path);
}

bool SetAttributesAt(const std::wstring& path, DWORD attributes)
{
    static const auto wide = Kernel32<BOOL(WINAPI*)(LPCWSTR, DWORD)>("SetFileAttributesW");
    return OnPath(wide, &SetFileAttributesA, path, attributes);
}

} // namespace win
