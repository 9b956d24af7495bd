#include "app/Application.h"

#include "app/resource.h"
#include "menus/MenuHook.h"
#include "win/LaterCalls.h"

#include <commctrl.h>

namespace {

TApplication* g_app = nullptr;

void ReportToUser(const std::exception& e) { TApplication::Instance().ShowException(e); }

} // namespace

TApplication::TApplication(HINSTANCE instance) : Title("Quillmark")
{
    win::InitControls(ICC_WIN95_CLASSES | ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS);
    // Shared icons from the resources are released by the system with the module.
    icon_ = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    RegisterClassOnce("TApplication", icon_, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), smallIcon_);
    Create(0, "TApplication", Title.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
           nullptr, nullptr);
    g_app = this;
    win::SetExceptionReporter(ReportToUser);
}

TApplication::~TApplication()
{
    Destroy();
    win::SetExceptionReporter(nullptr);
    if (g_app == this) g_app = nullptr;
}

TApplication& TApplication::Instance() { return *g_app; }

void TApplication::SetMainForm(HWND form) noexcept
{
    mainForm_ = form;
    menus::SetApplicationMainForm(form);
}

bool TApplication::Dispatch(MSG& msg)
{
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        exitCode_ = static_cast<int>(msg.wParam);
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
}

int TApplication::Run()
{
    SetWindowTextA(Handle(), Title.c_str());
    // Shown, it gives the program its one taskbar button and its entry in Alt+Tab.
    ShowWindow(Handle(), SW_SHOWNA);
    if (mainForm_) {
        ShowWindow(mainForm_, SW_SHOWNORMAL);
        UpdateWindow(mainForm_);
    }
    MSG msg;
    while (!terminated_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            terminated_ = true;
            exitCode_ = static_cast<int>(msg.wParam);
            break;
        }
        Dispatch(msg);
    }
    return exitCode_;
}

void TApplication::Terminate(int exitCode) { PostQuitMessage(exitCode); }

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    // The taskbar button and Alt+Tab activate this window, which has nothing to show:
    // the main form takes over, or the box or dialog last active above it.
    if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE && mainForm_) {
        HWND to = GetLastActivePopup(Handle());
        if (to == Handle()) to = GetLastActivePopup(mainForm_);
        if (IsWindowVisible(to) && IsWindowEnabled(to)) {
            SetActiveWindow(to);
            return 0;
        }
    }
    return Window::HandleMessage(msg, wp, lp);
}

void TApplication::ShowException(const std::exception& e) const
{
    std::string text = std::string(e.what()) + ".";
    if (errorReport_) {
        errorReport_(text);
        return;
    }
    // Modal for the whole program: no window takes input and no command starts behind it.
    ++errorBoxes_;
    struct Shown {
        int& n;
        ~Shown() { --n; }
    } shown{errorBoxes_};
    win::TaskWindowsDisabled modal;
    MessageBoxA(Handle(), text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR);
}
