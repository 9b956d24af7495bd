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

// The character a key types with the Shift and Caps Lock state of the moment, upper
// case, as access keys are compared; 0 for a key that types none. The key code alone
// would not do: "?" is Shift with the key of "ß" on a German keyboard.
char TypedCharacter(WPARAM key, LPARAM lp)
{
    // A dead key would leave its accent waiting for the next key the user types.
    if (MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0x80000000) return 0;
    BYTE state[256] = {};
    state[VK_SHIFT] = static_cast<BYTE>(GetKeyState(VK_SHIFT) & 0x80);
    state[VK_CAPITAL] = static_cast<BYTE>(GetKeyState(VK_CAPITAL) & 0x01);
    WORD typed = 0;
    if (ToAscii(static_cast<UINT>(key), static_cast<UINT>((lp >> 16) & 0xFF), state, &typed, 0) != 1) return 0;
    char c[2] = {static_cast<char>(typed & 0xFF), 0};
    CharUpperA(c);
    return c[0];
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
    // While a command runs the bar is hidden, and nothing opens under it.
    TMenuBar* shownBar = formBar && formBar->Visible() ? formBar : nullptr;

    if (up) {
        if (key != VK_MENU && key != VK_F10) return false;
        if (g_closedByPress) {
            // The press closed a menu; its release must not start a menu mode of any kind.
            g_closedByPress = false;
            g_altAlone = false;
            return true;
        }
        if (!formBar) return false;
        const bool enter = (key == VK_F10 || g_altAlone) && !open && !formBar->keyboard_;
        g_altAlone = false;
        if (enter && shownBar) shownBar->EnterKeyboardMode(nullptr);
        // The platform's own menu mode would start on this release.
        return true;
    }

    const bool repeat = (msg.lParam & (1 << 30)) != 0;
    if (key == VK_MENU || key == VK_F10) {
        // Alt closes any open menu, as the platform's menus do, and leaves the bar.
        if (open || (formBar && formBar->keyboard_)) {
            if (!repeat) {
                TDropMenu::CloseActive(false);
                if (formBar) formBar->LeaveKeyboardMode();
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
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // In a menu only a plain letter chooses: Ctrl or Alt with it chooses nothing. Asked
    // only where a menu takes the key: keys typed into a field keep their dead keys.
    auto letter = [&] { return ctrl || alt ? '\0' : TypedCharacter(key, msg.lParam); };

    // An open menu has the keys to itself: no shortcut runs behind it.
    if (open) {
        open->Form().Innermost().KeyDown(key, letter());
        return true;
    }
    // Shortcuts first, wherever the bar's form is active or is the program's main form.
    for (TMenuBar* bar : Bars()) {
        if (bar->form_ != active && bar->form_ != g_mainForm) continue;
        TMenuItem* item = bar->FindShortCut(ShortCutOf(key, alt));
        if (!item) continue;
        bar->LeaveKeyboardMode();
        const TShortCut before = item->ShortCut;
        if (item->Available()) item->Click(bar->form_);
        // A click that gave the item another shortcut: the key is looked up again.
        if (item->ShortCut != before && bar->FindShortCut(ShortCutOf(key, alt)) != item)
            if (TMenuItem* again = bar->FindShortCut(ShortCutOf(key, alt)); again && again->Available())
                again->Click(bar->form_);
        return true;
    }
    if (shownBar && shownBar->keyboard_) {
        shownBar->KeyboardKey(key, letter());
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
    if (alt && shownBar && !ctrl) {
        const char typed = TypedCharacter(key, msg.lParam);
        const int i = typed ? shownBar->ButtonWithKey(typed) : -1;
        if (i >= 0 && shownBar->Button(i).Enabled) {
            if (shownBar->Button(i).Menu) shownBar->OpenMenu(i, true);
            else shownBar->ClickButton(i, true);
            return true;
        }
    }
    return false;
}

} // namespace menus
