#include "menus/MenuHook.h"

#include "menus/DropMenus.h"
#include "menus/MenuBar.h"
#include "win/Window.h"

namespace menus {

namespace {

HHOOK g_hook = nullptr;
HWND g_mainForm = nullptr;
// Alt was pressed and no other key since; a press of Alt or F10 that closed a menu
// must not start the keyboard mode again on its release.
bool g_altAlone = false;
bool g_closedByPress = false;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION && wp == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lp);
        bool used = false;
        win::Guarded([&] { used = TMenuBar::HookMessage(*msg); });
        if (used) {
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

bool IsPress(UINT m)
{
    switch (m) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

bool OverBarButton(POINT screen)
{
    for (TMenuBar* bar : TMenuBar::Bars()) {
        if (!IsWindowVisible(bar->Handle())) continue;
        for (int i = 0; i < bar->ButtonCount(); ++i) {
            RECT r = bar->ButtonScreenRect(bar->Button(i));
            if (PtInRect(&r, screen)) return true;
        }
    }
    return false;
}

TMenuBar* BarOfForm(HWND form)
{
    for (TMenuBar* bar : TMenuBar::Bars())
        if (bar->Form() == form) return bar;
    return nullptr;
}

TShortCut ShortCutOf(WPARAM key, bool alt)
{
    TShortCut sc = static_cast<TShortCut>(key & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0) sc |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) sc |= scCtrl;
    if (alt) sc |= scAlt;
    return sc;
}

} // namespace

void InstallMenuHook()
{
    if (!g_hook) g_hook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
}

void ReleaseMenuHookIfUnused()
{
    if (g_hook && TMenuBar::Bars().empty()) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}

bool MenuHookInstalled() { return g_hook != nullptr; }

void SetApplicationMainForm(HWND form) { g_mainForm = form; }

HWND ApplicationMainForm() { return g_mainForm; }

bool TMenuBar::HookMessage(const MSG& msg)
{
    HWND active = GetActiveWindow();
    if (!active || IsIconic(active)) return false;
    TDropMenu* open = TDropMenu::Active();
    if (open && !open->IsOpen()) open = nullptr;

    if (IsPress(msg.message)) {
        POINT pt;
        GetCursorPos(&pt);
        if (open) {
            if (!OverBarButton(pt) && !open->Form().Contains(pt)) TDropMenu::CloseActive(true);
        } else {
            for (TMenuBar* bar : Bars()) bar->LeaveKeyboardMode();
        }
        return false;
    }
    const bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if (!down && !up) return false;
    const WPARAM key = msg.wParam;
    const bool alt = (msg.lParam & (1 << 29)) != 0;
    TMenuBar* formBar = BarOfForm(active);

    if (up) {
        if ((key == VK_MENU || key == VK_F10) && formBar) {
            const bool enter = (key == VK_F10 || g_altAlone) && !g_closedByPress && !open && !formBar->keyboard_;
            g_altAlone = false;
            g_closedByPress = false;
            if (enter) formBar->EnterKeyboardMode(nullptr);
            // The platform's own menu mode would start on this release.
            return true;
        }
        return false;
    }

    const bool repeat = (msg.lParam & (1 << 30)) != 0;
    if (key == VK_MENU || key == VK_F10) {
        if (formBar && (open || formBar->keyboard_)) {
            if (!repeat) {
                TDropMenu::CloseActive(false);
                formBar->LeaveKeyboardMode();
                g_closedByPress = true;
            }
            return true;
        }
        if (!repeat) {
            g_altAlone = key == VK_MENU;
            g_closedByPress = false;
        }
        return false;
    }
    if (key == VK_SHIFT || key == VK_CONTROL) return false;
    g_altAlone = false;

    // Shortcuts first, wherever the bar's form is active or is the program's main form.
    for (TMenuBar* bar : Bars()) {
        if (bar->form_ != active && bar->form_ != g_mainForm) continue;
        TMenuItem* item = bar->FindShortCut(ShortCutOf(key, alt));
        if (!item) continue;
        TDropMenu::CloseActive(false);
        bar->LeaveKeyboardMode();
        const TShortCut before = item->ShortCut;
        if (item->Available()) item->Click(bar->form_);
        // A click that gave the item another shortcut: the key is looked up again.
        if (item->ShortCut != before && bar->FindShortCut(ShortCutOf(key, alt)) != item)
            if (TMenuItem* again = bar->FindShortCut(ShortCutOf(key, alt)); again && again->Available())
                again->Click(bar->form_);
        return true;
    }
    if (open) {
        open->Form().Innermost().KeyDown(key);
        return true;
    }
    if (formBar && formBar->keyboard_) {
        formBar->KeyboardKey(key);
        return true;
    }
    if (alt && (key == VK_OEM_MINUS || key == VK_SUBTRACT) && formBar)
        if (HWND child = formBar->ActiveChild()) {
            RECT r;
            GetWindowRect(child, &r);
            PostMessageA(child, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(r.left, r.top));
            return true;
        }
    if (alt && key == VK_SPACE) {
        RECT r;
        GetWindowRect(active, &r);
        PostMessageA(active, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(r.left, r.top));
        return true;
    }
    if (alt && formBar && !open) {
        char c[2] = {static_cast<char>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR)), 0};
        CharUpperA(c);
        const int i = c[0] ? formBar->ButtonWithKey(c[0]) : -1;
        if (i >= 0 && formBar->Button(i).Enabled) {
            if (formBar->Button(i).Menu) formBar->OpenMenu(i, true);
            else formBar->ClickButton(i, true);
            return true;
        }
    }
    return false;
}

} // namespace menus
