#include "menus/SystemMenu.h"

#include "win/Error.h"

namespace menus {

namespace {

constexpr UINT_PTR kShowTimer = 0x5953;  // one of the form's timers, apart from its own
constexpr UINT kShowDelayMs = 300;

// Entries read from the platform menu post their command to the window.
void Adopt(TMenuItem& level, HWND window, bool& defaultSeen)
{
    for (auto& i : level.Items) {
        if (i->IsLine()) continue;
        defaultSeen = defaultSeen || i->Default;
        i->Name = SystemCommandName(i->Command);
        i->Tag = static_cast<INT_PTR>(i->Command);
        if (!i->Items.empty()) {
            Adopt(*i, window, defaultSeen);
            continue;
        }
        i->OnClick = [window](TMenuItem& item) {
            PostMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(item.Tag), 0);
        };
    }
}

void Disable(TMenuItem& root, std::initializer_list<UINT> commands)
{
    for (UINT c : commands)
        if (TMenuItem* i = root.FindCommand(c)) i->Enabled = false;
}

} // namespace

std::string SystemCommandName(UINT command)
{
    switch (command & 0xFFF0) {
    case SC_RESTORE: return "SYSTEMRESTORE";
    case SC_MOVE: return "SYSTEMMOVE";
    case SC_SIZE: return "SYSTEMSIZE";
    case SC_MINIMIZE: return "SYSTEMMINIMIZE";
    case SC_MAXIMIZE: return "SYSTEMMAXIMIZE";
    case SC_CLOSE: return "SYSTEMCLOSE";
    default: return {};
    }
}

TSystemMenu::TSystemMenu(win::Window& owner) : TDropMenu(owner.Handle())
{
    if (!dynamic_cast<TForm*>(&owner))
        throw win::Error("Error: Owner if TSystemMenu component is not a DropMenus.TForm. Possible reason: DropMenus "
                         "unit doesn't placed at the end of uses clause of your form's unit");
}

void ConvertSystemMenu(HWND window, TMenuItem& root)
{
    root.Items.clear();
    HMENU platform = GetSystemMenu(window, FALSE);
    if (!platform) return;
    ReadMenu(platform, root);
    bool defaultSeen = false;
    Adopt(root, window, defaultSeen);
    if (!defaultSeen)
        if (TMenuItem* close = root.FindCommand(SC_CLOSE)) close->Default = true;
    if (IsZoomed(window)) Disable(root, {SC_SIZE, SC_MOVE, SC_MAXIMIZE});
    else if (!IsIconic(window)) Disable(root, {SC_RESTORE});
    // Some platforms set these states only when their own menu opens: a window without
    // a sizing frame or a box must not be sized, minimised or maximised from ours.
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (!(style & WS_THICKFRAME)) Disable(root, {SC_SIZE});
    if (!(style & WS_MINIMIZEBOX)) Disable(root, {SC_MINIMIZE});
    if (!(style & WS_MAXIMIZEBOX)) Disable(root, {SC_MAXIMIZE});
}

void TSystemMenu::Convert() { ConvertSystemMenu(Owner(), *Items()); }

void TSystemMenu::Show(POINT at, bool fromIcon)
{
    if (!Enabled) return;
    Convert();
    if (OnShow) OnShow();
    if (AllowAdjust) OpenAnimation = fromIcon ? TAnimation::anSmart : TAnimation::anPopup;
    Popup(at.x, at.y);
}

TPlacement TSystemMenu::Context(POINT at) const
{
    TPlacement p = TDropMenu::Context(at);
    p.origin = TOrigin::oSystemMenu;
    RECT r;
    GetWindowRect(Owner(), &r);
    p.formTop = r.top;
    return p;
}

TForm::TForm() = default;

TForm::~TForm() { systemMenu_.reset(); }

void TForm::Loaded()
{
    if (!systemMenu_) systemMenu_ = std::make_unique<TSystemMenu>(*this);
}

POINT TForm::IconMenuPoint() const
{
    RECT r;
    GetWindowRect(Handle(), &r);
    const LONG ex = GetWindowLongA(Handle(), GWL_EXSTYLE);
    const int frame = (ex & WS_EX_DLGMODALFRAME) || !(GetWindowLongA(Handle(), GWL_STYLE) & WS_THICKFRAME)
                          ? GetSystemMetrics(SM_CYFIXEDFRAME)
                          : GetSystemMetrics(SM_CYSIZEFRAME);
    const int caption = (ex & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
    return POINT{r.left + frame, r.top + frame + caption};
}

void TForm::ShowSystemMenu(POINT at, bool fromIcon, bool delayed)
{
    Loaded();
    point_ = at;
    fromIcon_ = fromIcon;
    if (delayed) {
        SetTimer(Handle(), kShowTimer, kShowDelayMs, nullptr);
        return;
    }
    KillTimer(Handle(), kShowTimer);
    systemMenu_->Show(point_, fromIcon_);
}

LRESULT TForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_NCLBUTTONDOWN:
        if (wp != HTSYSMENU) break;
        ShowSystemMenu(IconMenuPoint(), true, true);
        return 0;
    case WM_NCLBUTTONDBLCLK:
        // The platform closes the window on a double click on the icon.
        if (wp == HTSYSMENU) KillTimer(Handle(), kShowTimer);
        break;
    case WM_NCRBUTTONDOWN:
        if (wp == HTCAPTION || wp == HTSYSMENU) return 0;
        break;
    case WM_NCRBUTTONUP:
        if (wp != HTCAPTION && wp != HTSYSMENU) break;
        ShowSystemMenu(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}, false, false);
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wp) == Handle()) {
            const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            const LRESULT hit = SendMessageA(Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
            if (hit == HTCAPTION || hit == HTSYSMENU) return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // Alt+Space that reached the platform without the menu hook.
        if ((wp & 0xFFF0) == SC_KEYMENU && lp == ' ') {
            ShowSystemMenu(IconMenuPoint(), true, false);
            return 0;
        }
        break;
    case WM_TIMER:
        if (wp != kShowTimer) break;
        KillTimer(Handle(), kShowTimer);
        if (systemMenu_) systemMenu_->Show(point_, fromIcon_);
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(msg, wp, lp);
}

} // namespace menus
