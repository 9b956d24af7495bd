#include "menus/DropMenus.h"

#include "menus/MenuBar.h"
#include "menus/MenuHintWindow.h"
#include "menus/MenuHook.h"
#include "menus/MenuItemBitmaps.h"
#include "win/LaterCalls.h"
#include "win/RecordSizes.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdlib>

namespace menus {

namespace {

constexpr const char* kFormClass = "TDropMenuForm";
constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverMs = 300;

TDropMenu* g_active = nullptr;
// Sub-menu windows closed while a drop-down is at work (handling a message or a key,
// or opening with its animation, which lets other windows handle the mouse) wait here
// until none is any more: the one that closes may be the one at work.
std::vector<std::unique_ptr<TDropMenuForm>> g_released;
int g_handlers = 0;

struct AtWork {
    AtWork() noexcept { ++g_handlers; }
    ~AtWork() { --g_handlers; }
    AtWork(const AtWork&) = delete;
    AtWork& operator=(const AtWork&) = delete;
};

void FreeReleased()
{
    if (g_handlers == 0) g_released.clear();
}

TMenuHintWindow& HintWindow()
{
    static TMenuHintWindow hint;
    return hint;
}

bool ApplicationActive()
{
    DWORD pid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    return pid == GetCurrentProcessId();
}

void Fill(HDC dc, RECT r, int colour) { FillRect(dc, &r, GetSysColorBrush(colour)); }

} // namespace

DWORD FrameWait(DWORD spent, DWORD timeout, DWORD& debt)
{
    if (spent >= timeout) {
        debt += spent - timeout;
        return 0;
    }
    const DWORD rest = timeout - spent;
    if (debt >= rest) {
        debt -= rest;
        return 0;
    }
    const DWORD wait = rest - debt;
    debt = 0;
    return wait;
}

void PlayMenuSound(const char* name) { sndPlaySoundA(name, SND_ASYNC | SND_NODEFAULT); }

void SetStatusText(HWND statusBar, int index, const std::string& text)
{
    if (!statusBar) return;
    if (SendMessageA(statusBar, SB_ISSIMPLE, 0, 0))
        SendMessageA(statusBar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    else
        SendMessageA(statusBar, SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
}

// ------------------------------------------------------------------ the drop-down window

TDropMenuForm::TDropMenuForm(TDropMenu& menu, TDropMenuForm* parent) : menu_(menu), parent_(parent)
{
    RegisterClassOnce(kFormClass, nullptr, nullptr);
    Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | win::kExNoActivate, kFormClass, "", WS_POPUP | WS_CLIPSIBLINGS, 0, 0, 0,
           0, menu.Owner(), nullptr);
    InstallMenuHook();
}

// The menu that owns the root form lets the hook go (TDropMenu's destructor).
TDropMenuForm::~TDropMenuForm() { child_.reset(); }

void TDropMenuForm::Setup(TMenuItem* owner, HFONT font, TAnimation openAnimation, TAnimation closeAnimation)
{
    owner_ = owner;
    open_ = openAnimation;
    close_ = closeAnimation;
    if (font != font_ || !bold_) {
        font_ = font;
        LOGFONTA lf{};
        GetObjectA(font_, sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        bold_.reset(CreateFontIndirectA(&lf));
    }
    rows_.clear();
    images_.clear();
    if (owner_)
        for (auto& i : owner_->Items)
            if (i->Visible) {
                rows_.push_back(i.get());
                images_.push_back(i->IsLine() ? TImage{} : ItemImage(*i));
            }
    selected_ = previous_ = ticked_ = -1;
    keyboard_ = false;
}

TImage TDropMenuForm::ItemImage(const TMenuItem& item)
{
    if (item.ParentHandle) {
        MENUITEMINFOA mii{win::kMenuItemInfoSize};
        mii.fMask = MIIM_CHECKMARKS;
        const bool byPosition = !item.Items.empty() || item.Command == 0;
        const UINT key = byPosition ? static_cast<UINT>(item.Position) : item.Command;
        if ((!byPosition || item.Position >= 0) && GetMenuItemInfoA(item.ParentHandle, key, byPosition, &mii)) {
            HBITMAP bmp = item.Checked && mii.hbmpChecked ? mii.hbmpChecked : mii.hbmpUnchecked;
            if (!bmp) bmp = mii.hbmpChecked;
            if (bmp) {
                TImage img = ReadImage(bmp);
                if (!img.Empty()) return img;
            }
        }
    }
    for (const std::string& source : {item.Name, item.Text()}) {
        TImage img = ResourceImage(ImageResourceName(source));
        if (!img.Empty()) return img;
    }
    return {};
}

SIZE TDropMenuForm::Measure()
{
    win::WindowDC dc(Handle());
    std::vector<TRowMeasure> rows;
    for (TMenuItem* item : rows_) {
        TRowMeasure m;
        m.separator = item->IsLine();
        if (!m.separator) {
            win::SelectObj sel(dc.get(), item->Default ? bold_.get() : font_);
            RECT r{};
            const std::string text = item->Text(), shortcut = item->ShortCutText();
            DrawTextA(dc.get(), text.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
            m.captionWidth = r.right;
            r = RECT{};
            if (!shortcut.empty()) DrawTextA(dc.get(), shortcut.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
            m.shortcutWidth = r.right;
        }
        rows.push_back(m);
    }
    captionWidth_ = 0;
    for (const auto& m : rows) captionWidth_ = std::max(captionWidth_, m.captionWidth);
    return MeasureDropDown(rows, menu_.Indent, menu_.ItemHeight, menu_.SeparatorHeight);
}

RECT TDropMenuForm::RowRect(int row) const
{
    int y = 3;
    for (int i = 0; i < row; ++i) y += rows_[static_cast<size_t>(i)]->IsLine() ? menu_.SeparatorHeight : menu_.ItemHeight;
    const int h = rows_[static_cast<size_t>(row)]->IsLine() ? menu_.SeparatorHeight : menu_.ItemHeight;
    return RECT{3, y, bounds_.right - bounds_.left - 3, y + h};
}

int TDropMenuForm::RowAt(int y) const
{
    int top = 3;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const int h = rows_[i]->IsLine() ? menu_.SeparatorHeight : menu_.ItemHeight;
        if (y >= top && y < top + h) return static_cast<int>(i);
        top += h;
    }
    return -1;
}

void TDropMenuForm::SetAnchoredSize(SIZE s)
{
    RECT r = bounds_;
    if (leftwards_) r.left = r.right - s.cx;
    else r.right = r.left + s.cx;
    if (upwards_) r.top = r.bottom - s.cy;
    else r.bottom = r.top + s.cy;
    SetWindowPos(Handle(), HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TDropMenuForm::ProcessPending(UINT first, UINT last)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, first, last, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool TDropMenuForm::StillOpen() const { return showing_ && !closing_ && TDropMenu::Active() == &menu_; }

void TDropMenuForm::Popup(POINT at, const TPlacement& context)
{
    FreeReleased();
    const SIZE size = Measure();
    TPlacement p = context;
    p.at = at;
    p.size = size;
    p.openAnimation = open_;
    const TPlaced placed = Place(p);
    bounds_ = placed.bounds;
    leftwards_ = placed.leftwards;
    upwards_ = placed.upwards;
    image_.Resize(size.cx, size.cy);
    Render();
    const AtWork opening;

    TAnimation stored;
    openNow_ = ResolveOpen(open_, stored, std::rand() % 2);
    open_ = stored;
    steps_ = StepsFor(openNow_, size.cx, size.cy, FramesPerDimension(menu_.Timeout, menu_.DoubleSpeed));
    const std::vector<SIZE> frames = OpeningFrames(openNow_, size.cx, size.cy, steps_);
    shownFrames_.clear();

    showing_ = true;
    closing_ = false;
    opening_ = true;
    GetCursorPos(&lastMouse_);
    ScreenToClient(Handle(), &lastMouse_);
    ProcessPending(WM_MOUSEMOVE, WM_MOUSEMOVE);
    if (!StillOpen()) {
        opening_ = false;
        return;
    }
    SetAnchoredSize(frames.empty() ? size : frames.front());
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    HideCaret(nullptr);
    DWORD debt = 0;
    int shown = 0;
    for (const SIZE& s : frames) {
        const DWORD start = GetTickCount();
        SetAnchoredSize(s);
        shownFrames_.push_back(s);
        Repaint();
        ProcessPending(WM_MOUSEMOVE, WM_MOUSEMOVE);
        if (!StillOpen()) break;
        ProcessPending(WM_PAINT, WM_PAINT);
        if (++shown == 3) PlayMenuSound("MenuPopup");
        if (DWORD wait = FrameWait(GetTickCount() - start, static_cast<DWORD>(menu_.Timeout), debt)) Sleep(wait);
    }
    opening_ = false;
    if (!StillOpen()) return;
    SetAnchoredSize(size);
    Repaint();
    if (shown < 3) PlayMenuSound("MenuPopup");
    StartTimer();
}

void TDropMenuForm::CloseChild(bool animate)
{
    if (!child_) return;
    child_->CloseUp(animate);
    g_released.push_back(std::move(child_));
}

void TDropMenuForm::CloseUp(bool animate)
{
    CloseChild(animate);
    if (!showing_) return;
    closing_ = true;
    StopTimer();
    TMenuItem* selected = selected_ >= 0 ? rows_[static_cast<size_t>(selected_)] : nullptr;
    if (menu_.OnMenuClose) menu_.OnMenuClose(selected);
    if (animate) {
        const TAnimation kind = ResolveClose(close_, parent_ != nullptr, std::rand() % 2);
        PlayMenuSound("");
        RECT r;
        GetWindowRect(Handle(), &r);
        for (const SIZE& s : ClosingFrames(kind, r.right - r.left, r.bottom - r.top, steps_)) {
            SetAnchoredSize(s);
            Repaint();
            ProcessPending(WM_PAINT, WM_PAINT);
        }
    }
    ShowWindow(Handle(), SW_HIDE);
    showing_ = false;
    closing_ = false;
    selected_ = previous_ = -1;
}

TDropMenuForm& TDropMenuForm::Innermost()
{
    TDropMenuForm* f = this;
    while (f->child_ && f->child_->Showing()) f = f->child_.get();
    return *f;
}

bool TDropMenuForm::Contains(POINT screen) const
{
    if (showing_ && PtInRect(&bounds_, screen)) return true;
    return child_ && child_->Contains(screen);
}

void TDropMenuForm::Render()
{
    HDC dc = image_.DC();
    if (!dc) return;
    const int w = image_.Width(), h = image_.Height();
    RECT all{0, 0, w, h};
    Fill(dc, all, COLOR_MENU);
    DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
    Fill(dc, RECT{2, 2, w - 2, 3}, COLOR_MENU);
    Fill(dc, RECT{2, h - 3, w - 2, h - 2}, COLOR_MENU);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        TMenuItem& item = *rows_[static_cast<size_t>(i)];
        RECT row = RowRect(i);
        row.right = w - 3;
        if (item.IsLine()) {
            Fill(dc, RECT{4, row.top + 3, w - 4, row.top + 4}, COLOR_BTNSHADOW);
            Fill(dc, RECT{4, row.top + 4, w - 4, row.top + 5}, COLOR_BTNHIGHLIGHT);
            continue;
        }
        const bool selected = i == selected_;
        const bool highlighted = selected && (item.Enabled || keyboard_);
        Fill(dc, row, highlighted ? COLOR_HIGHLIGHT : COLOR_MENU);

        // The image square at the left.
        const TImage& img = images_[static_cast<size_t>(i)];
        RECT square{row.left + 1, row.top, row.left + 1 + menu_.ItemHeight, row.bottom};
        const int ix = square.left + (square.right - square.left - 16) / 2;
        const int iy = square.top + (square.bottom - square.top - 16) / 2;
        if (item.Checked) {
            FillRect(dc, &square, selected ? GetSysColorBrush(COLOR_MENU) : DitherBrush());
            DrawEdge(dc, &square, BDR_SUNKENOUTER, BF_RECT);
            if (!img.Empty()) DrawImage(image_, ix, iy, img, !item.Enabled);
            else DrawImage(image_, ix, iy, ResourceImage(item.RadioItem ? "RADIOITEM" : "CHECKMARK"), !item.Enabled);
        } else if (!img.Empty()) {
            if (selected && item.Enabled) {
                Fill(dc, square, COLOR_MENU);
                DrawEdge(dc, &square, BDR_RAISEDINNER, BF_RECT);
            }
            DrawImage(image_, ix, iy, img, !item.Enabled);
        }

        // Caption and shortcut.
        win::SelectObj sel(dc, item.Default ? bold_.get() : font_);
        UINT align = DT_LEFT;
        if (menu_.Alignment == TMenuAlignment::taRightJustify) align = DT_RIGHT;
        if (menu_.Alignment == TMenuAlignment::taCenter) align = DT_CENTER;
        const UINT format = DT_SINGLELINE | DT_TOP | align;
        RECT text{menu_.Indent, row.top + 2, menu_.Indent + captionWidth_, row.bottom};
        RECT shortcut{menu_.Indent + captionWidth_ + 10, row.top + 2, w - 3, row.bottom};
        const std::string caption = item.Text(), keys = item.ShortCutText();
        COLORREF colour = GetSysColor(COLOR_MENUTEXT);
        bool embossed = false;
        if (item.Enabled && selected) colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
        else if (!item.Enabled && selected && keyboard_) colour = GetSysColor(COLOR_BTNSHADOW);
        else if (!item.Enabled) embossed = true;
        if (embossed) {
            DrawEmbossedText(dc, caption, text, format);
            if (!keys.empty()) DrawEmbossedText(dc, keys, shortcut, DT_SINGLELINE | DT_TOP | DT_LEFT);
        } else {
            SetTextColor(dc, colour);
            DrawTextA(dc, caption.c_str(), -1, &text, format);
            if (!keys.empty()) DrawTextA(dc, keys.c_str(), -1, &shortcut, DT_SINGLELINE | DT_TOP | DT_LEFT);
        }
        if (!item.Items.empty()) {
            // A small triangle pointing right, 14 pixels from the right edge.
            const int x = w - 14, cy = (row.top + row.bottom) / 2;
            auto triangle = [&](int dx, COLORREF c) {
                win::UniqueBrush b(CreateSolidBrush(c));
                for (int k = 0; k < 4; ++k) {
                    RECT line{x + k + dx, cy - 3 + k + dx, x + k + 1 + dx, cy + 4 - k + dx};
                    FillRect(dc, &line, b.get());
                }
            };
            if (embossed) triangle(1, GetSysColor(COLOR_BTNHIGHLIGHT));
            triangle(0, embossed ? GetSysColor(COLOR_BTNSHADOW) : colour);
        }
    }
}

void TDropMenuForm::Repaint()
{
    if (!Handle()) return;
    Render();
    win::WindowDC dc(Handle());
    RECT r;
    GetClientRect(Handle(), &r);
    BitBlt(dc.get(), 0, 0, r.right, r.bottom, image_.DC(), 0, 0, SRCCOPY);
    ValidateRect(Handle(), nullptr);
}

void TDropMenuForm::StartTimer() { SetTimer(Handle(), kHoverTimer, kHoverMs, nullptr); }

void TDropMenuForm::StopTimer() { KillTimer(Handle(), kHoverTimer); }

void TDropMenuForm::ShowStatus()
{
    const std::string hint = selected_ >= 0 ? rows_[static_cast<size_t>(selected_)]->Hint : std::string();
    HWND bar = menu_.StatusBar;
    int index = menu_.StatusBarIndex;
    if (!bar && TMenuBar::ActiveBar()) {
        bar = TMenuBar::ActiveBar()->StatusBar;
        index = TMenuBar::ActiveBar()->StatusBarIndex;
    }
    SetStatusText(bar, index, StatusText(hint));
}

void TDropMenuForm::Select(int row, bool byKeyboard)
{
    if (row == selected_) {
        keyboard_ = byKeyboard;
        return;
    }
    StopTimer();
    HintWindow().ReleaseHandle();
    previous_ = selected_;
    selected_ = row;
    keyboard_ = byKeyboard;
    Repaint();
    ShowStatus();
    StartTimer();
}

void TDropMenuForm::MouseMove(POINT p)
{
    if (std::abs(p.x - lastMouse_.x) <= 2 && std::abs(p.y - lastMouse_.y) < 3) return;
    lastMouse_ = p;
    const int row = RowAt(p.y);
    if (row >= 0 && row != selected_) Select(row, false);
}

void TDropMenuForm::Tick()
{
    if (!ApplicationActive()) {
        TDropMenu::CloseActive(false);
        ShowCaret(nullptr);
        return;
    }
    if (selected_ == ticked_) return;
    ticked_ = selected_;
    if (selected_ < 0) return;
    TMenuItem& item = *rows_[static_cast<size_t>(selected_)];
    if (!keyboard_ && menu_.ShowHint && !item.Hint.empty()) {
        POINT pt;
        GetCursorPos(&pt);
        HintWindow().ActivateHint(item.Hint, pt, win::WorkAreaAt(pt));
    }
    const bool alreadyOpen = child_ && child_->Showing() && child_->Level() == &item;
    if (!alreadyOpen && (!item.Items.empty() || child_)) OpenSubMenu(selected_);
}

void TDropMenuForm::OpenSubMenu(int row)
{
    CloseChild(true);
    if (row < 0 || row >= ItemCount()) return;
    ticked_ = row;  // the hover timer must not open it a second time
    TMenuItem& item = *rows_[static_cast<size_t>(row)];
    if (item.Items.empty() || !item.Enabled) return;
    child_ = std::make_unique<TDropMenuForm>(menu_, this);
    child_->Setup(&item, font_, open_, close_);
    if (item.OnClick) item.OnClick(item);  // it may fill its sub-menu now
    child_->Setup(&item, font_, open_, close_);
    POINT at{bounds_.right - bounds_.left - 7, RowRect(row).top};
    ClientToScreen(Handle(), &at);
    TPlacement context;
    context.work = win::WorkAreaAt(at);
    context.origin = TOrigin::oSubMenu;
    context.parent = bounds_;
    child_->Popup(at, context);
}

void TDropMenuForm::Choose(int row)
{
    if (row < 0 || row >= ItemCount()) return;
    TMenuItem& item = *rows_[static_cast<size_t>(row)];
    if (!item.Items.empty()) {
        OpenSubMenu(row);
        if (child_ && keyboard_) child_->Select(0, true);
        return;
    }
    if (item.IsLine() || !item.Enabled) return;
    StopTimer();
    // Closing may release this window; nothing below touches it.
    TDropMenu& menu = menu_;
    menu.CloseTree(true);
    menu.Execute(item);
}

bool TDropMenuForm::KeyDown(WPARAM key, char letter)
{
    const AtWork keying;
    const int n = ItemCount();
    auto step = [&](int dir) {
        if (n == 0) return;
        int i = selected_;
        for (int k = 0; k < n; ++k) {
            i = (i + dir + n) % n;
            if (i < 0) i = dir > 0 ? 0 : n - 1;
            if (!rows_[static_cast<size_t>(i)]->IsLine()) {
                Select(i, true);
                return;
            }
        }
    };
    switch (key) {
    case VK_UP:
        if (selected_ < 0) selected_ = 0;
        step(-1);
        return true;
    case VK_DOWN:
        step(1);
        return true;
    case VK_RIGHT:
        if (selected_ >= 0 && !rows_[static_cast<size_t>(selected_)]->Items.empty() &&
            rows_[static_cast<size_t>(selected_)]->Enabled) {
            OpenSubMenu(selected_);
            if (child_) child_->Select(0, true);
        } else if (menu_.Bar && menu_.Button) {
            menu_.Bar->MoveMenu(1);
        } else if (n > 0) {
            Select(n - 1, true);
        }
        return true;
    case VK_LEFT:
        if (parent_) parent_->CloseChild(true);
        else if (menu_.Bar && menu_.Button) menu_.Bar->MoveMenu(-1);
        else if (n > 0) Select(0, true);
        return true;
    case VK_RETURN:
        Choose(selected_);
        return true;
    case VK_ESCAPE:
        if (parent_) {
            parent_->CloseChild(true);
        } else {
            TMenuBar* bar = menu_.Bar;
            TBarButton* button = menu_.Button;
            menu_.CloseTree(true);
            if (bar && button) bar->EnterKeyboardMode(button);
        }
        return true;
    case VK_F1: {
        if (selected_ < 0) return true;
        const int context = rows_[static_cast<size_t>(selected_)]->HelpContext;
        if (context && !TDropMenu::HelpFile.empty())
            WinHelpA(menu_.Owner(), TDropMenu::HelpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context));
        return true;
    }
    case VK_SHIFT:
    case VK_CONTROL:
        return true;
    default:
        break;
    }
    if (!letter) return true;
    for (int i = 0; i < n; ++i) {
        TMenuItem& item = *rows_[static_cast<size_t>(i)];
        if (item.IsLine() || AccessKey(item.Text()) != letter) continue;
        if (!item.Enabled) return true;
        if (!item.Items.empty()) {
            Select(i, true);
            OpenSubMenu(i);
            if (child_) child_->Select(0, true);
            return true;
        }
        TDropMenu& menu = menu_;
        menu.CloseTree(true);
        menu.Execute(item);
        return true;
    }
    MessageBeep(0xFFFFFFFF);
    return true;
}

LRESULT TDropMenuForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    const AtWork handling;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        RECT r;
        GetClientRect(Handle(), &r);
        if (image_.DC()) BitBlt(ps.hdc, 0, 0, r.right, r.bottom, image_.DC(), 0, 0, SRCCOPY);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
        if (showing_ && !closing_) MouseMove(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        return 0;
    case WM_LBUTTONUP:
        if (showing_ && !opening_ && !closing_) Choose(RowAt(static_cast<short>(HIWORD(lp))));
        return 0;
    case WM_TIMER:
        if (wp == kHoverTimer && showing_ && !opening_) Tick();
        return 0;
    default:
        return Window::HandleMessage(msg, wp, lp);
    }
}

// ------------------------------------------------------------------ the menu

std::string TDropMenu::HelpFile;

// The drop-down's window is made when it first opens: a program starts with menus it
// may never open, and every top-level window costs its start a few milliseconds. The
// keyboard hook that the menus share is there from the start, for the bar's keys, and
// a form made later takes it again where a closed bar has let it go.
TDropMenu::TDropMenu(HWND owner) : owner_(owner) { InstallMenuHook(); }

TDropMenuForm& TDropMenu::Form()
{
    if (!form_) form_ = std::make_unique<TDropMenuForm>(*this, nullptr);
    return *form_;
}

TDropMenu::~TDropMenu()
{
    if (g_active == this) CloseTree(false);
    g_released.clear();
    form_.reset();
    ReleaseMenuHookIfUnused();
}

TDropMenu* TDropMenu::Active() { return g_active; }

void TDropMenu::CloseActive(bool animate)
{
    if (g_active) g_active->CloseTree(animate);
}

bool TDropMenu::IsOpen() const { return g_active == this && form_ && form_->Showing(); }

HFONT TDropMenu::ShownFont() const
{
    if (!ParentFont && Font) return Font;
    HFONT owned = owner_ ? reinterpret_cast<HFONT>(SendMessageA(owner_, WM_GETFONT, 0, 0)) : nullptr;
    if (owned) return owned;
    return Font ? Font : DefaultMenuFont();
}

TPlacement TDropMenu::Context(POINT at) const
{
    TPlacement p;
    p.at = at;
    // The work area of the monitor the menu opens on, not always the first one's.
    p.work = win::WorkAreaAt(at);
    if (Bar && Button) {
        p.origin = TOrigin::oBarButton;
        p.button = Bar->ButtonScreenRect(*Button);
        p.barVertical = Bar->SideDocked();
    }
    return p;
}

void TDropMenu::Popup(int x, int y)
{
    if (g_active) g_active->CloseTree(false);
    g_active = this;
    if (OnPopup) OnPopup();
    TDropMenuForm& form = Form();
    form.Setup(Items(), ShownFont(), OpenAnimation, CloseAnimation);
    TMenuItemBitmaps::RefreshAll(owner_);
    form.Setup(Items(), ShownFont(), OpenAnimation, CloseAnimation);
    const POINT at{x, y};
    form.Popup(at, Context(at));
}

void TDropMenu::CloseTree(bool animate)
{
    if (g_active != this) return;
    HintWindow().ReleaseHandle();
    SetStatusText(StatusBar ? StatusBar : (TMenuBar::ActiveBar() ? TMenuBar::ActiveBar()->StatusBar : nullptr),
                  StatusBar ? StatusBarIndex : (TMenuBar::ActiveBar() ? TMenuBar::ActiveBar()->StatusBarIndex : 0),
                  "");
    if (form_) form_->CloseUp(animate);
    g_active = nullptr;
    if (OnMenuClose) OnMenuClose(nullptr);
    if (Bar && Button) Bar->ReleaseButton(Button);
    FreeReleased();
}

void TDropMenu::Execute(TMenuItem& item)
{
    PlayMenuSound("MenuCommand");
    if (OnMenuCommand) OnMenuCommand(&item);
    if (Bar) Bar->LeaveKeyboardMode();
    item.Click(owner_);
}

} // namespace menus
