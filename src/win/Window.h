// A window is an object: the object is bound to its window in WM_NCCREATE (dialogs in
// WM_INITDIALOG) and every message goes to a member. The one trampoline is also the
// only place where an error that leaves a handler is caught and shown to the user.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace win {

// Shows an error that escaped a handler; the application installs the standard
// error box here at start-up.
using ExceptionReporter = void (*)(const std::exception&);
void SetExceptionReporter(ExceptionReporter r);
void ReportException(const std::exception& e);
// Runs f and reports anything it throws: the boundary between the platform and our code.
void ReportUnknownException();
template <typename F>
bool Guarded(F&& f)
{
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        ReportException(e);
    } catch (...) {
        // Whatever else is thrown must not cross into the platform either.
        ReportUnknownException();
    }
    return false;
}

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // A derived window calls Destroy in its own destructor, so that it still handles
    // WM_DESTROY and its members (fonts, brushes) outlive the window's controls.
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // Registers a class whose windows are bound to objects; idempotent. A class with an
    // icon is given its small one too: left to the system, it is made from the icon's
    // resource again at each registration, under Wine some 3 ms of the program's start.
    static void RegisterClassOnce(const char* name, HICON icon = nullptr,
                                  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                  HICON smallIcon = nullptr);

protected:
    void Create(DWORD exStyle, const char* cls, const char* caption, DWORD style,
                int x, int y, int w, int h, HWND parent, HMENU menu);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Destroy();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// A modal dialog laid out in the resources.
class Dialog {
public:
    Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog() = default;

    HWND Handle() const noexcept { return hwnd_; }
    // Answers what the dialog ended with; kInitFailed when its initialisation raised an
    // error, which has been shown by then.
    INT_PTR ShowModal(HWND owner, int resourceId);
    static constexpr INT_PTR kInitFailed = -2;

protected:
    // Answers whether the message was handled (the dialog procedure's result).
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;
    bool Checked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetChecked(int id, bool on) const { CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED); }

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

std::string WindowText(HWND w);

// BeginPaint and EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND w) noexcept : w_(w) { BeginPaint(w_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(w_, &ps_); }
    HDC dc() const noexcept { return ps_.hdc; }

private:
    HWND w_;
    PAINTSTRUCT ps_{};
};

// A control that does not redraw for a scope, and redraws once at its end.
class RedrawOff {
public:
    explicit RedrawOff(HWND w) noexcept : w_(w) { SendMessageA(w_, WM_SETREDRAW, FALSE, 0); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;
    ~RedrawOff()
    {
        SendMessageA(w_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(w_, nullptr, TRUE);
    }

private:
    HWND w_;
};

// Disables every enabled, visible top-level window of this thread for a scope and
// enables them again after it: what a box owned by a hidden window needs to be modal
// for the whole program, not only for its owner.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled();
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;
    ~TaskWindowsDisabled();

private:
    static BOOL CALLBACK DisableOne(HWND w, LPARAM self);
    std::vector<HWND> disabled_;
};

// Design bounds are given at 120 pixels per inch; the screen may have another density.
int Scale(int designUnits);

} // namespace win
