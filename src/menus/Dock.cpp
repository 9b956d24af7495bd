#include "menus/Dock.h"

#include <algorithm>

namespace menus {

void TDock::CreateWnd(HWND form, int id, int height)
{
    emptyHeight_ = height;
    RegisterClassOnce("TDock", nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    RECT r;
    GetClientRect(form, &r);
    Create(WS_EX_CONTROLPARENT, "TDock", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, r.right,
           height, form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

int TDock::AdjustSize()
{
    int tallest = emptyHeight_;
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        tallest = std::max<int>(tallest, r.bottom - r.top);
    }
    RECT form;
    GetClientRect(GetParent(Handle()), &form);
    SetWindowPos(Handle(), nullptr, 0, 0, form.right, tallest, SWP_NOZORDER | SWP_NOACTIVATE);
    return tallest;
}

int TDock::Height() const
{
    RECT r;
    GetWindowRect(Handle(), &r);
    return r.bottom - r.top;
}

LRESULT TDock::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SIZE) {
        // The bars in it fill its width.
        for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(child, &r);
            SetWindowPos(child, nullptr, 0, 0, LOWORD(lp), r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        }
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

} // namespace menus
