// A window is an object: the object is bound to its window in WM_NCCREATE (dialogs in
// WM_INITDIALOG) and every message goes to a member. The one trampoline is also the
// only place where an error that leaves a handler is caught and shown to the user.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace win {

// Shows an error that escaped a handler; the application installs the standard
// error box here at start-up.
using ExceptionReporter = void (*)(const std::exception&);
void SetExceptionReporter(ExceptionReporter r);
void ReportException(const std::exception& e);
// Runs f and reports anything it throws: the boundary between the platform and our code.
template <typename F>
bool Guarded(F&& f)
{
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        ReportException(e);
    }
    return false;
}

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // Registers a class whose windows are bound to objects; idempotent.
    static void RegisterClassOnce(const char* name, HICON icon = nullptr,
                                  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

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
    INT_PTR ShowModal(HWND owner, int resourceId);

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

// Design bounds are given at 120 pixels per inch; the screen may have another density.
int Scale(int designUnits);

} // namespace win
