#include "menus/MenuBar.h"

#include "menus/DropMenuLayout.h"
#include "menus/MenuHook.h"
#include "menus/SystemMenu.h"
#include "win/Error.h"
#include "win/Hint.h"
#include "win/LaterCalls.h"
#include "win/RecordSizes.h"

#include <algorithm>
#include <cstdlib>

namespace menus {

namespace {

constexpr const char* kBarClass = "TMenuBar";
constexpr const char* kMenuProp = "Quillmark.Menu";
constexpr int kMargin = 2;
constexpr UINT_PTR kChildTimer = 1, kSystemTimer = 2;
constexpr UINT kChildTimerMs = 100, kSystemDelayMs = 175;

HICON ChildIcon(HWND child, HWND frame)
{
    for (HWND w : {child, frame}) {
        if (auto icon = reinterpret_cast<HICON>(SendMessageA(w, WM_GETICON, ICON_SMALL, 0))) return icon;
        if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(w, GCLP_HICONSM))) return icon;
        if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(w, GCLP_HICON))) return icon;
    }
    return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

std::vector<TMenuBar*>& BarList()
{
    static std::vector<TMenuBar*> bars;
    return bars;
}

int g_lockCount = 0;

// Rebuilding locks the desktop's painting; nested rebuilds unlock once.
struct UpdateLock {
    UpdateLock()
    {
        if (g_lockCount++ == 0) LockWindowUpdate(GetDesktopWindow());
    }
    ~UpdateLock()
    {
        if (--g_lockCount == 0) LockWindowUpdate(nullptr);
    }
};

} // namespace

std::vector<TMenuItem*> MergedItems(TMenuItem* main, TMenuItem* child)
{
    std::vector<TMenuItem*> out;
    for (int group = 0; group <= 255; ++group) {
        bool fromChild = false;
        if (child)
            for (auto& i : child->Items)
                if (i->Visible && i->GroupIndex == group) {
                    out.push_back(i.get());
                    fromChild = true;
                }
        if (fromChild || !main) continue;
        for (auto& i : main->Items)
            if (i->Visible && i->GroupIndex == group) out.push_back(i.get());
    }
    return out;
}

// ------------------------------------------------------------------ a button

bool TBarButton::Vertical() const
{
    if (Orientation == TButtonOrientation::orVertical) return true;
    if (Orientation == TButtonOrientation::orHorizontal) return false;
    return Bounds.bottom - Bounds.top > Bounds.right - Bounds.left;
}

SIZE TBarButton::Measure(HDC dc, HFONT font, bool sideDocked) const
{
    if (gap_) return sideDocked ? SIZE{0, 2} : SIZE{2, 0};
    if (filler_) return SIZE{0, 0};
    win::SelectObj sel(dc, font);
    const std::string shown = StripAccessMarks(Caption);
    SIZE ext{};
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &ext);
    BITMAP bm{};
    const int imageWidth = Image && GetObjectA(Image, sizeof bm, &bm) ? bm.bmWidth : 0;
    return BarButtonSize(ext, imageWidth, sideDocked, system_);
}

void TBarButton::Draw(TOffscreen& target, HFONT font, bool hot, bool pressed, bool vertical) const
{
    const int w = Bounds.right - Bounds.left, h = Bounds.bottom - Bounds.top;
    TOffscreen horizontal;
    horizontal.Resize(vertical ? h : w, vertical ? w : h);
    HDC dc = horizontal.DC();
    const int hw = horizontal.Width(), hh = horizontal.Height();
    RECT all{0, 0, hw, hh};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    int x = system_ ? 2 : 6;
    if (Image) {
        TImage img = ReadImage(Image);
        DrawImage(horizontal, x, hh / 2 - 7, img, !Enabled);
        x += img.width + 2;
    } else if (!system_) {
        x = 8;
    }
    if (!Caption.empty()) {
        win::UniqueFont bold;
        if (Bold) {
            LOGFONTA lf{};
            GetObjectA(font, sizeof lf, &lf);
            lf.lfWeight = FW_BOLD;
            bold.reset(CreateFontIndirectA(&lf));
        }
        win::SelectObj sel(dc, bold ? bold.get() : font);
        RECT text{x, 0, hw, hh};
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
        SetBkMode(dc, TRANSPARENT);
        if (Enabled) {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextA(dc, Caption.c_str(), -1, &text, format);
        } else {
            DrawEmbossedText(dc, Caption, text, format);
        }
    }
    if (vertical) {
        RotateInto(horizontal, target);
    } else {
        target.Resize(hw, hh);
        BitBlt(target.DC(), 0, 0, hw, hh, dc, 0, 0, SRCCOPY);
    }
    RECT frame{0, 0, target.Width(), target.Height()};
    if (pressed) DrawEdge(target.DC(), &frame, BDR_SUNKENOUTER, BF_RECT);
    else if (hot) DrawEdge(target.DC(), &frame, BDR_RAISEDINNER, BF_RECT);
}

// ------------------------------------------------------------------ the bar

TMenuBar::TMenuBar()
{
    OpenAnimation = CloseAnimation = TAnimation::anSmart;
    BarList().push_back(this);
}

TMenuBar::~TMenuBar()
{
    if (TDropMenu* active = TDropMenu::Active(); active && active->Bar == this) active->CloseTree(false);
    buttons_.clear();
    auto& bars = BarList();
    bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    ReleaseMenuHookIfUnused();
}

const std::vector<TMenuBar*>& TMenuBar::Bars() { return BarList(); }

TMenuBar* TMenuBar::ActiveBar()
{
    HWND active = GetActiveWindow();
    for (TMenuBar* b : BarList())
        if (b->form_ == active) return b;
    for (TMenuBar* b : BarList())
        if (b->form_ && b->form_ == ApplicationMainForm()) return b;
    return nullptr;
}

void TMenuBar::CreateWnd(HWND dock, HWND form)
{
    form_ = form;
    RegisterClassOnce(kBarClass, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    RECT r;
    GetClientRect(dock, &r);
    Create(0, kBarClass, Caption.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, r.right, 20, dock, nullptr);
    if (!Font) Font = DefaultMenuFont();
    Layout();
    // A frame window of child windows: the bar follows its active child.
    if (FindWindowExA(form_, nullptr, "MDICLIENT", nullptr)) SetTimer(Handle(), kChildTimer, kChildTimerMs, nullptr);
}

void TMenuBar::SetWindowMenu(HWND child, TMainMenu* menu)
{
    if (menu) SetPropA(child, kMenuProp, menu);
    else RemovePropA(child, kMenuProp);
}

HWND TMenuBar::ActiveChild(bool* maximized) const
{
    HWND client = form_ ? FindWindowExA(form_, nullptr, "MDICLIENT", nullptr) : nullptr;
    BOOL max = FALSE;
    HWND child = client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&max)))
                        : nullptr;
    if (maximized) *maximized = child && max;
    return child;
}

void TMenuBar::CheckChild()
{
    bool maximized = false;
    HWND child = ActiveChild(&maximized);
    if (child == child_ && maximized == childMaximized_) return;
    child_ = child;
    childMaximized_ = maximized;
    childMenu_ = child ? static_cast<TMainMenu*>(GetPropA(child, kMenuProp)) : nullptr;
    Rebuild();
}

void TMenuBar::AddChildButtons(HWND child)
{
    auto system = std::make_unique<TBarButton>();
    system->system_ = true;
    {
        // The child's small icon on a 17 by 17 image in the bar's colour.
        win::WindowDC screen(nullptr);
        system->ownImage_.reset(CreateCompatibleBitmap(screen.get(), 17, 17));
        win::UniqueMemDC dc(CreateCompatibleDC(screen.get()));
        win::SelectObj sel(dc.get(), system->ownImage_.get());
        RECT r{0, 0, 17, 17};
        FillRect(dc.get(), &r, GetSysColorBrush(COLOR_BTNFACE));
        DrawIconEx(dc.get(), 0, 0, ChildIcon(child, form_), GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL);
    }
    system->Image = system->ownImage_.get();
    auto menu = std::make_unique<TDropMenu>(form_);
    menu->SetItems(&system->systemItems_);
    TMenuItem* items = &system->systemItems_;
    static_cast<TDropMenuSettings&>(*menu) = *this;
    menu->ParentFont = false;
    menu->OnPopup = [this, items] { ConvertSystemMenu(child_, *items); };
    menu->Bar = this;
    system->Menu = std::move(menu);
    buttons_.push_back(std::move(system));

    auto filler = std::make_unique<TBarButton>();
    filler->filler_ = true;
    filler->Enabled = false;
    buttons_.push_back(std::move(filler));

    auto command = [&](const char* image, const char* hint, UINT sc) {
        auto b = std::make_unique<TBarButton>();
        b->ownImage_.reset(LoadBitmapA(GetModuleHandleA(nullptr), image));
        b->Image = b->ownImage_.get();
        b->Hint = hint;
        b->sysCommand_ = sc;
        buttons_.push_back(std::move(b));
    };
    if (GetWindowLongA(child, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
        command("MINIMIZE_SMALL", "Minimize window", SC_MINIMIZE);
        command("RESTORE_SMALL", "Restore window", SC_RESTORE);
        auto gap = std::make_unique<TBarButton>();
        gap->gap_ = true;
        gap->Enabled = false;
        buttons_.push_back(std::move(gap));
    }
    command("CLOSE_SMALL", "Close window", SC_CLOSE);
}

void TMenuBar::SetMainMenu(TMainMenu* menu)
{
    if (!menu) throw win::Error("Value cannot be empty");
    mainMenu_ = menu;
    if (form_ && GetMenu(form_)) SetMenu(form_, nullptr);
    if (Handle()) Rebuild();
}

void TMenuBar::SetChildMenu(TMainMenu* menu)
{
    childMenu_ = menu;
    if (Handle()) Rebuild();
}

void TMenuBar::AddButton(TMenuItem& item)
{
    auto b = std::make_unique<TBarButton>();
    b->Caption = item.Text();
    b->Enabled = item.Enabled;
    b->Hint = item.Hint;
    b->Bold = item.Default;
    b->Item = &item;
    b->GroupIndex = item.GroupIndex;
    if (item.ParentHandle && item.Position >= 0) {
        MENUITEMINFOA mii{win::kMenuItemInfoSize};
        mii.fMask = MIIM_CHECKMARKS;
        if (GetMenuItemInfoA(item.ParentHandle, static_cast<UINT>(item.Position), TRUE, &mii))
            b->Image = mii.hbmpUnchecked;
    }
    if (!item.Items.empty()) {
        auto m = std::make_unique<TDropMenu>(form_);
        m->SetItems(&item);
        static_cast<TDropMenuSettings&>(*m) = *this;
        m->ParentFont = false;
        m->Bar = this;
        b->Menu = std::move(m);
    }
    buttons_.push_back(std::move(b));
}

void TMenuBar::Rebuild()
{
    if (rebuilding_) return;
    rebuilding_ = true;
    {
        UpdateLock lock;
        TDropMenu::CloseActive(false);
        buttons_.clear();
        hot_ = pressed_ = keyboardButton_ = -1;
        keyboard_ = false;
        for (TMenuItem* item :
             MergedItems(mainMenu_ ? &mainMenu_->Items() : nullptr, childMenu_ ? &childMenu_->Items() : nullptr))
            AddButton(*item);
        if (child_ && childMaximized_) AddChildButtons(child_);
        Layout();
    }
    rebuilding_ = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
}

void TMenuBar::Layout()
{
    win::WindowDC dc(Handle());
    int x = kMargin, tallest = 0;
    for (auto& b : buttons_) {
        SIZE s = b->Measure(dc.get(), Font, SideDocked());
        b->Bounds = RECT{x, kMargin, x + s.cx, kMargin + s.cy};
        x += s.cx;
        tallest = std::max<int>(tallest, s.cy);
    }
    if (tallest == 0) {
        TEXTMETRICA tm{};
        win::SelectObj sel(dc.get(), Font);
        GetTextMetricsA(dc.get(), &tm);
        tallest = tm.tmHeight + 6;
    }
    for (auto& b : buttons_) b->Bounds.bottom = b->Bounds.top + tallest;
    height_ = tallest + 2 * kMargin;
    // The bar fills its dock's width; a filler takes up what the buttons leave.
    RECT dock;
    GetClientRect(GetParent(Handle()), &dock);
    const int free = dock.right - kMargin - x;
    bool after = false;
    for (auto& b : buttons_) {
        if (after) OffsetRect(&b->Bounds, std::max(free, 0), 0);
        if (b->filler_ && free > 0) {
            b->Bounds.right += free;
            after = true;
        }
    }
    SetWindowPos(Handle(), nullptr, 0, 0, dock.right, height_, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

int TMenuBar::IndexOf(const TBarButton* b) const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].get() == b) return static_cast<int>(i);
    return -1;
}

RECT TMenuBar::ButtonScreenRect(const TBarButton& b) const
{
    RECT r = b.Bounds;
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Shown or hidden as the bar itself, whether or not its form is on the screen yet.
bool TMenuBar::Visible() const { return Handle() && (GetWindowLongA(Handle(), GWL_STYLE) & WS_VISIBLE); }

void TMenuBar::Show() const
{
    if (Handle()) ShowWindow(Handle(), SW_SHOWNA);
}

void TMenuBar::Hide()
{
    if (!Handle()) return;
    if (TDropMenu* active = TDropMenu::Active(); active && active->Bar == this) active->CloseTree(false);
    LeaveKeyboardMode();
    ShowWindow(Handle(), SW_HIDE);
}

int TMenuBar::ButtonAt(POINT p) const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (PtInRect(&buttons_[i]->Bounds, p)) return static_cast<int>(i);
    return -1;
}

int TMenuBar::ButtonWithKey(char key) const
{
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (AccessKey(buttons_[i]->Caption) == key) return static_cast<int>(i);
    return -1;
}

void TMenuBar::Redraw()
{
    if (Handle()) {
        InvalidateRect(Handle(), nullptr, FALSE);
        UpdateWindow(Handle());
    }
}

void TMenuBar::OpenMenu(int index, bool byKeyboard)
{
    TBarButton& b = Button(index);
    pressed_ = index;
    hot_ = index;
    Redraw();
    // Below the button, or beside it when the bar stands at the left.
    RECT r = ButtonScreenRect(b);
    RECT bar;
    GetWindowRect(Handle(), &bar);
    POINT at{r.left, r.bottom};
    const int bw = b.Bounds.right - b.Bounds.left;
    if (SideDocked() || (b.Bounds.bottom + 25 < bar.bottom - bar.top &&
                         bar.right - bar.left < b.Bounds.left + 2 * bw))
        at = POINT{r.right, r.top};
    b.Menu->Button = &b;
    b.Menu->Popup(at.x, at.y);
    if (byKeyboard && b.Menu->IsOpen() && b.Menu->Form().ItemCount() > 0) {
        TDropMenuForm& f = b.Menu->Form();
        for (int i = 0; i < f.ItemCount(); ++i)
            if (!f.Row(i)->IsLine()) {
                f.Select(i, true);
                break;
            }
    }
}

void TMenuBar::ClickButton(int index, bool byKeyboard)
{
    if (index < 0 || index >= ButtonCount()) return;
    TBarButton& b = Button(index);
    if (!b.Enabled) return;
    if (b.Menu && b.Menu->IsOpen()) {
        b.Menu->CloseTree(true);
        ReleaseButton(&b);
        return;
    }
    TDropMenu::CloseActive(false);
    LeaveKeyboardMode();
    if (b.sysCommand_) {
        PlayMenuSound("MenuCommand");
        if (child_) SendMessageA(child_, WM_SYSCOMMAND, b.sysCommand_, 0);
        return;
    }
    if (b.system_ && !byKeyboard) {
        // A second press within the double-click time closes the child instead; the
        // menu waits to see whether one comes.
        const DWORD now = GetTickCount();
        if (systemClick_ && now - systemClick_ <= GetDoubleClickTime()) {
            systemClick_ = 0;
            KillTimer(Handle(), kSystemTimer);
            if (child_) SendMessageA(child_, WM_SYSCOMMAND, SC_CLOSE, 0);
            return;
        }
        systemClick_ = now;
        SetTimer(Handle(), kSystemTimer, kSystemDelayMs, nullptr);
        return;
    }
    if (b.Item && b.Item->OnClick) b.Item->OnClick(*b.Item);
    if (!b.Menu) {
        PlayMenuSound("MenuCommand");
        if (b.Item && !b.Item->OnClick) b.Item->Click(form_);
        return;
    }
    OpenMenu(index, byKeyboard);
}

void TMenuBar::EnterKeyboardMode(TBarButton* at)
{
    if (buttons_.empty()) return;
    keyboard_ = true;
    int i = at ? IndexOf(at) : keyboardButton_;
    keyboardButton_ = i >= 0 && i < ButtonCount() ? i : 0;
    hot_ = keyboardButton_;
    HideCaret(nullptr);
    Redraw();
}

void TMenuBar::LeaveKeyboardMode()
{
    if (!keyboard_) return;
    keyboard_ = false;
    hot_ = -1;
    ShowCaret(nullptr);
    Redraw();
}

void TMenuBar::MoveMenu(int direction)
{
    TDropMenu* active = TDropMenu::Active();
    int i = active && active->Bar == this ? IndexOf(active->Button) : keyboardButton_;
    const int n = ButtonCount();
    if (n == 0) return;
    for (int k = 0; k < n; ++k) {
        i = ((i + direction) % n + n) % n;
        if (Button(i).Enabled && Button(i).Menu) break;
    }
    TDropMenu::CloseActive(false);
    keyboardButton_ = i;
    OpenMenu(i, true);
}

void TMenuBar::ReleaseButton(TBarButton* b)
{
    if (pressed_ >= 0 && (!b || IndexOf(b) == pressed_)) {
        pressed_ = -1;
        if (!keyboard_) hot_ = -1;
        Redraw();
    }
}

void TMenuBar::KeyboardKey(WPARAM key, char letter)
{
    const int n = ButtonCount();
    switch (key) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_UP:
    case VK_DOWN: {
        const int i = keyboardButton_;
        keyboard_ = false;
        if (i >= 0 && i < n && Button(i).Menu && Button(i).Enabled) OpenMenu(i, true);
        return;
    }
    case VK_ESCAPE:
        LeaveKeyboardMode();
        return;
    case VK_LEFT:
    case VK_RIGHT:
        if (n == 0) return;
        keyboardButton_ = ((keyboardButton_ + (key == VK_RIGHT ? 1 : -1)) % n + n) % n;
        hot_ = keyboardButton_;
        Redraw();
        return;
    default:
        break;
    }
    if (!letter && GetKeyState(VK_CONTROL) < 0) return;  // Ctrl with a letter opens nothing
    const int i = letter ? ButtonWithKey(letter) : -1;
    if (i < 0) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    keyboard_ = false;
    keyboardButton_ = i;
    OpenMenu(i, true);
}

TMenuItem* TMenuBar::FindShortCut(TShortCut sc)
{
    if (childMenu_)
        if (TMenuItem* i = childMenu_->Items().FindShortCut(sc)) return i;
    return mainMenu_ ? mainMenu_->Items().FindShortCut(sc) : nullptr;
}

void TMenuBar::Paint(HDC dc)
{
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    TOffscreen image;
    for (int i = 0; i < ButtonCount(); ++i) {
        const TBarButton& b = Button(i);
        if (b.gap_ || b.filler_) continue;
        b.Draw(image, Font, i == hot_ || (keyboard_ && i == keyboardButton_), i == pressed_, b.Vertical());
        BitBlt(dc, b.Bounds.left, b.Bounds.top, image.Width(), image.Height(), image.DC(), 0, 0, SRCCOPY);
    }
}

LRESULT TMenuBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == win::HintQueryMessage()) {
        auto* q = reinterpret_cast<win::HintQuery*>(lp);
        const int i = ButtonAt(q->point);
        if (i < 0 || !ShowHint || Button(i).Hint.empty()) return FALSE;
        q->text = Button(i).Hint;
        q->area = Button(i).Bounds;
        return TRUE;
    }
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        Paint(ps.hdc);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (!tracking_) {
            tracking_ = win::TrackMouseLeave(Handle());
        }
        // A move counts from the last position that counted: a slow pointer creeps a
        // pixel per message and must still get from one title to the next.
        const bool moved = std::abs(p.x - lastMouse_.x) > 2 || std::abs(p.y - lastMouse_.y) >= 3;
        if (moved) lastMouse_ = p;
        const int i = ButtonAt(p);
        TDropMenu* active = TDropMenu::Active();
        if (active && active->Bar == this && active->IsOpen()) {
            if (moved && i >= 0 && i != IndexOf(active->Button) && Button(i).Enabled) {
                active->CloseTree(false);
                switchTo_ = i;
            }
            return 0;
        }
        if (switchTo_ >= 0 && i == switchTo_ && moved) {
            switchTo_ = -1;
            if (Button(i).Menu) {
                OpenMenu(i, false);
                return 0;
            }
        }
        if (!keyboard_ && i != hot_) {
            hot_ = i >= 0 && Button(i).Enabled ? i : -1;
            Redraw();
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        tracking_ = false;
        switchTo_ = -1;
        if (!keyboard_ && pressed_ < 0 && hot_ >= 0) {
            hot_ = -1;
            Redraw();
        }
        return 0;
    case WM_LBUTTONDOWN:
        ClickButton(ButtonAt(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}));
        return 0;
    case WM_SIZE:
        return 0;
    case WM_TIMER:
        if (wp == kChildTimer) CheckChild();
        if (wp == kSystemTimer) {
            KillTimer(Handle(), kSystemTimer);
            for (int i = 0; i < ButtonCount(); ++i)
                if (Button(i).system_) OpenMenu(i, false);
        }
        return 0;
    default:
        return Window::HandleMessage(msg, wp, lp);
    }
}

} // namespace menus
