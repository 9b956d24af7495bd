#include "win/Window.h"

#include "win/Error.h"
#include "win/Handles.h"

namespace win {

namespace {

void DefaultReporter(const std::exception& e)
{
    MessageBoxA(nullptr, e.what(), nullptr, MB_OK | MB_ICONERROR);
}

ExceptionReporter g_reporter = DefaultReporter;

} // namespace

void SetExceptionReporter(ExceptionReporter r) { g_reporter = r ? r : DefaultReporter; }

void ReportException(const std::exception& e) { g_reporter(e); }

void ReportUnknownException() { g_reporter(Error("Unbekannter Fehler")); }

Window::~Window() { Destroy(); }

void Window::Destroy()
{
    if (hwnd_) {
        HWND h = hwnd_;
        DestroyWindow(h);
        // WM_NCDESTROY normally clears the binding; make sure nothing points back at us.
        if (IsWindow(h)) SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
    }
}

void Window::RegisterClassOnce(const char* name, HICON icon, HBRUSH background, HICON smallIcon)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(inst, name, &existing)) return;
    WNDCLASSEXA wc{sizeof wc};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.lpszClassName = name;
    if (!RegisterClassExA(&wc)) throw Error("Fensterklasse " + std::string(name) + " nicht registriert");
}

void Window::Create(DWORD exStyle, const char* cls, const char* caption, DWORD style,
                    int x, int y, int w, int h, HWND parent, HMENU menu)
{
    HWND made = CreateWindowExA(exStyle, cls, caption, style, x, y, w, h, parent, menu,
                                GetModuleHandleA(nullptr), this);
    if (!made) throw Error("Fenster " + std::string(cls) + " nicht erzeugt");
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (Guarded([&] { result = self->HandleMessage(msg, wp, lp); })) return result;
    // A close request whose handler failed is not carried out behind the user's back:
    // the default would destroy the window.
    if (msg == WM_CLOSE) return 0;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

INT_PTR Dialog::ShowModal(HWND owner, int resourceId)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), owner, Proc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Dialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return FALSE;
    }
    INT_PTR result = FALSE;
    if (Guarded([&] { result = self->HandleMessage(msg, wp, lp); })) return result;
    // A dialog that could not be set up ends instead of staying half-built.
    if (msg == WM_INITDIALOG) EndDialog(hwnd, kInitFailed);
    return TRUE;
}

std::string Dialog::ItemText(int id) const { return WindowText(Item(id)); }

void Dialog::SetItemText(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }

std::string WindowText(HWND w)
{
    int n = GetWindowTextLengthA(w);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(w, s.data(), n + 1);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

int Scale(int designUnits)
{
    static const int dpi = [] {
        WindowDC dc(nullptr);
        int d = GetDeviceCaps(dc.get(), LOGPIXELSY);
        return d > 0 ? d : 96;
    }();
    return MulDiv(designUnits, dpi, 120);
}

BOOL CALLBACK TaskWindowsDisabled::DisableOne(HWND w, LPARAM self)
{
    if (IsWindowVisible(w) && IsWindowEnabled(w)) {
        EnableWindow(w, FALSE);
        reinterpret_cast<TaskWindowsDisabled*>(self)->disabled_.push_back(w);
    }
    return TRUE;
}

TaskWindowsDisabled::TaskWindowsDisabled()
{
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(this));
}

TaskWindowsDisabled::~TaskWindowsDisabled()
{
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
        if (IsWindow(*it)) EnableWindow(*it, TRUE);
}

} // namespace win
