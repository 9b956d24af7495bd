// One owning wrapper for every kind of Win32 handle, in the spirit of WIL's unique_any:
// feature code never calls a close function by hand, so no path can leak or double-close.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace win {

template <typename H, auto Close, INT_PTR InvalidValue = 0>
class Unique {
public:
    static H Invalid() noexcept { return reinterpret_cast<H>(InvalidValue); }

    Unique() noexcept = default;
    explicit Unique(H h) noexcept : h_(h) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Invalid())) {}
    Unique& operator=(Unique&& o) noexcept
    {
        if (this != &o) reset(std::exchange(o.h_, Invalid()));
        return *this;
    }
    ~Unique() { reset(); }

    H get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Invalid(); }
    H release() noexcept { return std::exchange(h_, Invalid()); }

    // Closing must not disturb GetLastError: callers often read it right after a
    // failed call whose half-made handle goes out of scope.
    void reset(H h = Invalid()) noexcept
    {
        if (h_ != Invalid()) {
            DWORD err = GetLastError();
            Close(h_);
            SetLastError(err);
        }
        h_ = h;
    }
    // For out-parameters: frees what is held and hands out the slot.
    H* put() noexcept
    {
        reset();
        return &h_;
    }

private:
    H h_ = Invalid();
};

namespace detail {
inline void closeKey(HKEY h) { RegCloseKey(h); }
inline void closeHandle(HANDLE h) { CloseHandle(h); }
inline void closeFind(HANDLE h) { FindClose(h); }
inline void deleteObject(HGDIOBJ h) { DeleteObject(h); }
inline void destroyIcon(HICON h) { DestroyIcon(h); }
inline void destroyWindow(HWND h) { DestroyWindow(h); }
inline void destroyMenu(HMENU h) { DestroyMenu(h); }
inline void destroyAccel(HACCEL h) { DestroyAcceleratorTable(h); }
inline void freeLibrary(HMODULE h) { FreeLibrary(h); }
inline void deleteDC(HDC h) { DeleteDC(h); }
inline void unhook(HHOOK h) { UnhookWindowsHookEx(h); }
// Memory the shell hands out (item lists, wide display names) belongs to the task allocator.
template <typename T>
void taskFree(T* p)
{
    IMalloc* m = nullptr;
    if (SUCCEEDED(CoGetMalloc(1, &m)) && m) {
        m->Free(p);
        m->Release();
    }
}
template <typename T>
void releaseCom(T* p) { p->Release(); }
} // namespace detail

using UniqueHKey = Unique<HKEY, detail::closeKey>;
using UniqueHandle = Unique<HANDLE, detail::closeHandle>;
using UniqueFile = Unique<HANDLE, detail::closeHandle, -1>;
using UniqueFind = Unique<HANDLE, detail::closeFind, -1>;
using UniqueFont = Unique<HFONT, detail::deleteObject>;
using UniqueBrush = Unique<HBRUSH, detail::deleteObject>;
using UniqueBitmap = Unique<HBITMAP, detail::deleteObject>;
using UniqueRgn = Unique<HRGN, detail::deleteObject>;
using UniquePen = Unique<HPEN, detail::deleteObject>;
using UniqueIcon = Unique<HICON, detail::destroyIcon>;
using UniqueWindow = Unique<HWND, detail::destroyWindow>;
using UniqueMenu = Unique<HMENU, detail::destroyMenu>;
using UniqueAccel = Unique<HACCEL, detail::destroyAccel>;
using UniqueModule = Unique<HMODULE, detail::freeLibrary>;
using UniqueMemDC = Unique<HDC, detail::deleteDC>;
using UniqueHook = Unique<HHOOK, detail::unhook>;
template <typename T>
using UniqueTaskMem = Unique<T*, detail::taskFree<T>>;
template <typename T>
using UniqueCom = Unique<T*, detail::releaseCom<T>>;

// A DC borrowed with GetDC (the client area) or GetWindowDC (the whole window, frame
// included) goes back with ReleaseDC to the same window.
template <HDC(WINAPI* Get)(HWND)>
class BorrowedDC {
public:
    explicit BorrowedDC(HWND w) noexcept : w_(w), dc_(Get(w)) {}
    BorrowedDC(const BorrowedDC&) = delete;
    BorrowedDC& operator=(const BorrowedDC&) = delete;
    ~BorrowedDC()
    {
        if (dc_) ReleaseDC(w_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND w_;
    HDC dc_;
};
using WindowDC = BorrowedDC<GetDC>;
using WholeWindowDC = BorrowedDC<GetWindowDC>;

// Saves a DC's selections, colours and modes for a scope and puts them all back.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : dc_(dc), id_(SaveDC(dc)) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC()
    {
        if (id_) RestoreDC(dc_, id_);
    }

private:
    HDC dc_;
    int id_;
};

// Selects a GDI object for a scope and puts the previous one back.
class SelectObj {
public:
    SelectObj(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
    SelectObj(const SelectObj&) = delete;
    SelectObj& operator=(const SelectObj&) = delete;
    ~SelectObj()
    {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Restores the process error mode on every path out of a scope.
class ErrorModeScope {
public:
    explicit ErrorModeScope(UINT mode) noexcept : old_(SetErrorMode(mode)) {}
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;
    ~ErrorModeScope() { SetErrorMode(old_); }

private:
    UINT old_;
};

} // namespace win
