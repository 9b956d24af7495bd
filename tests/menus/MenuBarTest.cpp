// The menu bar on a form: its buttons, the keys of a menu bar through the message hook
// with real key input, shortcuts, the mouse, merging, and the system menu.
#include "MenuFixture.h"

#include "menus/MenuHook.h"
#include "win/Error.h"
#include "win/Hint.h"

#include <algorithm>
#include <functional>

namespace {

using namespace menutest;
using namespace menus;

class MenuBarTest : public MenuTest {
protected:
    TDropMenu* OpenMenu() { return TDropMenu::Active() && TDropMenu::Active()->IsOpen() ? TDropMenu::Active() : nullptr; }
    int OpenButton()
    {
        TDropMenu* m = OpenMenu();
        return m ? bar->IndexOf(m->Button) : -1;
    }
    POINT ButtonPoint(int i)
    {
        RECT r = bar->ButtonScreenRect(bar->Button(i));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

TEST_F(MenuBarTest, BarShowsTheTopLevelItemsAsButtonsInsteadOfThePlatformMenu)
{
    EXPECT_EQ(GetMenu(host->Handle()), nullptr);
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Button(0).Caption, "&Datei");
    EXPECT_EQ(bar->Button(1).Caption, "&Extras");
    EXPECT_EQ(bar->Button(2).Caption, "&?");
    EXPECT_EQ(bar->Caption, "Menu Bar");
    EXPECT_EQ(dock->Height(), bar->BarHeight()) << "the dock grows to the bar";
    RECT r;
    GetWindowRect(bar->Handle(), &r);
    RECT client;
    GetClientRect(host->Handle(), &client);
    EXPECT_EQ(r.right - r.left, client.right) << "the bar fills its dock's width";
    // Width: caption without its access marks, "&&" counted as one "&", plus 16.
    win::WindowDC dc(bar->Handle());
    win::SelectObj sel(dc.get(), bar->Font);
    TBarButton b;
    b.Caption = "Laden && &Sichern";
    SIZE ext{};
    GetTextExtentPoint32A(dc.get(), "Laden & Sichern", 15, &ext);
    SIZE s = b.Measure(dc.get(), bar->Font, false);
    EXPECT_EQ(s.cx, ext.cx + 16);
    EXPECT_EQ(s.cy, ext.cy + 6);
    EXPECT_THROW(bar->SetMainMenu(nullptr), win::Error);
    try {
        bar->SetMainMenu(nullptr);
    } catch (const win::Error& e) {
        EXPECT_STREQ(e.what(), "Value cannot be empty");
    }
}

TEST_F(MenuBarTest, AltAloneHighlightsTheFirstButtonAndArrowsMoveAndOpen)
{
    Press(VK_MENU);
    EXPECT_TRUE(bar->KeyboardMode());
    EXPECT_EQ(bar->KeyboardButton(), 0);
    EXPECT_EQ(OpenMenu(), nullptr);
    Press(VK_RIGHT);
    EXPECT_EQ(bar->KeyboardButton(), 1);
    Press(VK_LEFT);
    Press(VK_LEFT);
    EXPECT_EQ(bar->KeyboardButton(), 2) << "wraps to the last button";
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_EQ(OpenButton(), 1);
    EXPECT_EQ(OpenMenu()->Form().Selected(), 0);
    // Esc closes the drop-down and leaves the bar on its button; a second Esc leaves the bar.
    Press(VK_ESCAPE);
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_TRUE(bar->KeyboardMode());
    EXPECT_EQ(bar->KeyboardButton(), 1);
    Press(VK_ESCAPE);
    EXPECT_FALSE(bar->KeyboardMode());
    EXPECT_TRUE(host->commands.empty());
}

TEST_F(MenuBarTest, F10LikeAltAndAPressOfEitherLeavesAgain)
{
    Press(VK_F10);
    EXPECT_TRUE(bar->KeyboardMode());
    Press(VK_RETURN);
    EXPECT_EQ(OpenButton(), 0);
    Press(VK_MENU);
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_FALSE(bar->KeyboardMode()) << "the press that closed the menu does not start the keyboard mode again";
    Press(VK_F10);
    EXPECT_TRUE(bar->KeyboardMode());
    Press(VK_F10);
    EXPECT_FALSE(bar->KeyboardMode());
    // A letter in keyboard mode opens its button; an unknown one only beeps.
    Press(VK_MENU);
    Press('Q');
    EXPECT_EQ(OpenMenu(), nullptr);
    Press('E');
    EXPECT_EQ(OpenButton(), 1);
}

TEST_F(MenuBarTest, AltWithALetterOpensItsMenuAndArrowsMoveBetweenMenus)
{
    Press('D', {VK_MENU});
    ASSERT_EQ(OpenButton(), 0);
    EXPECT_EQ(bar->PressedButton(), 0);
    EXPECT_FALSE(bar->KeyboardMode()) << "Alt released after the letter";
    Press(VK_RIGHT);
    EXPECT_EQ(OpenButton(), 1);
    EXPECT_EQ(bar->PressedButton(), 1);
    Press(VK_LEFT);
    Press(VK_LEFT);
    EXPECT_EQ(OpenButton(), 2);
    Press('I');
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_EQ(bar->PressedButton(), -1);
    Pump();
    EXPECT_EQ(host->commands, std::vector<UINT>{kInfo});
    Press('X', {VK_MENU});  // no button has it
    EXPECT_EQ(OpenMenu(), nullptr);
}

TEST_F(MenuBarTest, ShortcutsActFromAnywhereInTheProgram)
{
    Press('N', {VK_CONTROL});
    Pump();
    EXPECT_EQ(host->commands, std::vector<UINT>{kNew});
    // In keyboard mode too, and it ends the keyboard mode.
    Press(VK_MENU);
    ASSERT_TRUE(bar->KeyboardMode());
    Press('N', {VK_CONTROL});
    EXPECT_FALSE(bar->KeyboardMode());
    Pump();
    EXPECT_EQ(host->commands.size(), 2u);
    // Another window of the program is active: the main form's shortcuts still act.
    SetApplicationMainForm(host->Handle());
    Host other;
    SetForegroundWindow(other.Handle());
    SetFocus(other.Handle());
    Pump();
    ASSERT_EQ(GetActiveWindow(), other.Handle());
    Press('N', {VK_CONTROL});
    Pump();
    EXPECT_EQ(host->commands.size(), 3u);
    EXPECT_TRUE(other.commands.empty());
    // A hidden bar keeps its shortcuts; a disabled item has none.
    bar->Hide();
    Activate();
    Top(0).Items[0]->Enabled = false;
    Press('N', {VK_CONTROL});
    Top(0).Items[0]->Enabled = true;
    Press('N', {VK_CONTROL});
    Pump();
    EXPECT_EQ(host->commands.size(), 4u);
    SetApplicationMainForm(nullptr);
}

TEST_F(MenuBarTest, InAnOpenMenuOnlyAPlainLetterChoosesAndNoShortcutRuns)
{
    Click(ButtonPoint(0));
    ASSERT_EQ(OpenButton(), 0);
    // Alt held on from opening "&Datei" with Alt+D: Alt with E is not "&Ende". (Posted:
    // Wine forgets a held Alt when a window of the program shows.)
    const LPARAM scanE = static_cast<LPARAM>(MapVirtualKeyA('E', MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(host->Handle(), WM_SYSKEYDOWN, 'E', 1 | scanE | (1 << 29));
    PostMessageA(host->Handle(), WM_SYSKEYUP, 'E', 1 | scanE | (1 << 29) | (3u << 30));
    Pump();
    EXPECT_EQ(OpenButton(), 0) << "Alt+E";
    Press('E', {VK_CONTROL});
    EXPECT_EQ(OpenButton(), 0) << "Ctrl+E";
    Press('N', {VK_CONTROL});  // the shortcut of "&Neu"
    EXPECT_EQ(OpenButton(), 0) << "a shortcut behind an open menu";
    Pump();
    EXPECT_TRUE(host->commands.empty());
    Press('E');
    EXPECT_EQ(OpenMenu(), nullptr);
    Pump();
    EXPECT_EQ(host->commands, std::vector<UINT>{kEnd});
}

TEST_F(MenuBarTest, AltAloneClosesAnOpenMenuAlsoWhereNoBarIs)
{
    Click(ButtonPoint(1));
    ASSERT_EQ(OpenButton(), 1);
    Press(VK_MENU);
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_FALSE(bar->KeyboardMode()) << "the release after the closing press starts nothing";
    // A window without a menu bar and a menu of its own.
    Host other;
    SetForegroundWindow(other.Handle());
    SetFocus(other.Handle());
    Pump();
    ASSERT_EQ(GetActiveWindow(), other.Handle());
    TDropMenu popup(other.Handle());
    popup.SetItems(&Top(1));
    popup.OpenAnimation = TAnimation::anNone;
    popup.Popup(200, 150);
    Pump();
    ASSERT_TRUE(popup.IsOpen());
    Press(VK_MENU);
    EXPECT_FALSE(popup.IsOpen());
    EXPECT_TRUE(other.commands.empty());
    EXPECT_TRUE(host->commands.empty());
}

// "?" is Shift with a key whose own character is another ("/" in the US layout, "ß" in
// the German one): the access key is what the keys type.
TEST_F(MenuBarTest, AccessKeysMatchTheCharacterTypedWithShift)
{
    const SHORT scan = VkKeyScanA('?');
    ASSERT_NE(scan, -1);
    const WORD key = LOBYTE(scan);
    std::initializer_list<WORD> withShift = {VK_MENU, VK_SHIFT}, shiftOnly = {VK_SHIFT};
    ASSERT_TRUE(HIBYTE(scan) & 1) << "the layout types \"?\" with Shift";
    Press(key, withShift);
    EXPECT_EQ(OpenButton(), 2) << "Alt+?";
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    Press(VK_MENU);
    ASSERT_TRUE(bar->KeyboardMode());
    Press(key, shiftOnly);
    EXPECT_EQ(OpenButton(), 2) << "? in keyboard mode";
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    Press(key, {VK_MENU});  // without Shift the key types another character
    EXPECT_EQ(OpenMenu(), nullptr);
}

// During a command the bar is hidden; no key opens a menu under it.
TEST_F(MenuBarTest, AHiddenBarOpensNothing)
{
    Press(VK_MENU);
    ASSERT_TRUE(bar->KeyboardMode());
    bar->Hide();
    EXPECT_FALSE(bar->KeyboardMode()) << "hiding leaves the keyboard mode";
    Press(VK_RETURN);
    Press(VK_MENU);
    EXPECT_FALSE(bar->KeyboardMode());
    Press(VK_F10);
    EXPECT_FALSE(bar->KeyboardMode());
    Press(VK_DOWN);
    Press('D', {VK_MENU});
    Press('E', {VK_MENU});
    EXPECT_EQ(TDropMenu::Active(), nullptr);
    EXPECT_TRUE(DropDowns().empty());
    bar->Show();
    Press('D', {VK_MENU});
    EXPECT_EQ(OpenButton(), 0);
    EXPECT_TRUE(host->commands.empty());
}

// A pointer that creeps a pixel at a time from one title to the next still counts as
// moving there.
TEST_F(MenuBarTest, ASlowPointerTakesTheOpenMenuToTheNextTitle)
{
    Click(ButtonPoint(0));
    ASSERT_EQ(OpenButton(), 0);
    const POINT from = ButtonPoint(0), to = ButtonPoint(1);
    for (int x = from.x + 1; x <= to.x; ++x) {
        SetCursorPos(x, from.y);
        Pump(5);
    }
    EXPECT_EQ(OpenButton(), 1);
    EXPECT_TRUE(host->commands.empty());
}

// The bar's window procedure, watched: what the test wants to know right after the bar
// has handled a mouse move.
WNDPROC g_barProc = nullptr;
std::function<void()> g_afterBarMove;

LRESULT CALLBACK WatchedBar(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    const LRESULT r = CallWindowProcA(g_barProc, w, msg, wp, lp);
    if (msg == WM_MOUSEMOVE && g_afterBarMove) g_afterBarMove();
    return r;
}

// The mouse reaches another title while a sub-menu opens from the keyboard: the bar
// closes the tree, and the sub-menu, still opening, must not be freed under it.
TEST_F(MenuBarTest, ASubMenuOpeningFromTheKeyboardOutlivesTheTreeClosingMeanwhile)
{
    Press('D', {VK_MENU});
    ASSERT_EQ(OpenButton(), 0);
    TDropMenuForm& file = OpenMenu()->Form();
    const RECT next = bar->Button(1).Bounds;
    HWND sub = nullptr;
    bool closed = false, subAlive = false;
    Top(0).Items[4]->OnClick = [&](TMenuItem&) {
        if (!file.Child()) return;
        sub = file.Child()->Handle();
        PostMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(next.left + 5, next.top + 5));
    };
    g_barProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchedBar)));
    g_afterBarMove = [&] {
        if (!sub || closed || TDropMenu::Active()) return;
        closed = true;
        subAlive = IsWindow(sub) != FALSE;
    };
    Press('M');  // "&Mehr"
    g_afterBarMove = nullptr;
    SetWindowLongPtrA(bar->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_barProc));
    ASSERT_NE(sub, nullptr);
    ASSERT_TRUE(closed) << "the move over the next title closed the tree";
    EXPECT_TRUE(subAlive);
    EXPECT_TRUE(host->commands.empty());
    // Released once nothing uses it any more: the next menu to open frees it.
    TDropMenu::CloseActive(false);
    Press('E', {VK_MENU});
    EXPECT_EQ(OpenButton(), 1);
    EXPECT_FALSE(IsWindow(sub));
}

TEST_F(MenuBarTest, ClickOpensAndClosesAndMovingToAnotherButtonSwitchesMenus)
{
    Click(ButtonPoint(0));
    EXPECT_EQ(OpenButton(), 0);
    EXPECT_EQ(bar->PressedButton(), 0);
    Click(ButtonPoint(0));
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_EQ(bar->PressedButton(), -1);
    Click(ButtonPoint(0));
    POINT p = ButtonPoint(1);
    SetCursorPos(p.x, p.y);
    Pump();
    SetCursorPos(p.x + 3, p.y);
    Pump();
    EXPECT_EQ(OpenButton(), 1);
    // Opened below the button's bottom-left corner.
    RECT button = bar->ButtonScreenRect(bar->Button(1)), drop;
    GetWindowRect(OpenMenu()->Form().Handle(), &drop);
    EXPECT_EQ(drop.left, button.left);
    EXPECT_EQ(drop.top, button.bottom);
    Click(POINT{300, 400});
    EXPECT_EQ(OpenMenu(), nullptr);
    EXPECT_TRUE(host->commands.empty());
}

TEST_F(MenuBarTest, ButtonsAnswerTheHintQuery)
{
    bar->ShowHint = true;
    bar->Button(1).Hint = "Werkzeuge";
    win::HintQuery q;
    q.point = POINT{bar->Button(1).Bounds.left + 3, bar->Button(1).Bounds.top + 3};
    ASSERT_TRUE(SendMessageA(bar->Handle(), win::HintQueryMessage(), 0, reinterpret_cast<LPARAM>(&q)));
    EXPECT_EQ(q.text, "Werkzeuge");
    EXPECT_TRUE(EqualRect(&q.area, &bar->Button(1).Bounds));
    q.point = POINT{bar->Button(0).Bounds.left + 3, bar->Button(0).Bounds.top + 3};
    EXPECT_FALSE(SendMessageA(bar->Handle(), win::HintQueryMessage(), 0, reinterpret_cast<LPARAM>(&q)));
}

TEST(MenuMerge, ChildItemsReplaceTheMainMenusItemsOfTheirGroup)
{
    TMenuItem main, child;
    auto add = [](TMenuItem& to, const char* caption, int group, bool visible = true) {
        auto i = std::make_unique<TMenuItem>();
        i->Caption = caption;
        i->GroupIndex = group;
        i->Visible = visible;
        to.Add(std::move(i));
    };
    add(main, "Datei", 0);
    add(main, "Fenster", 5);
    add(main, "Hilfe", 9);
    add(main, "Versteckt", 5, false);
    add(child, "Bearbeiten", 1);
    add(child, "Ansicht", 5);
    add(child, "Format", 5);
    auto captions = [](const std::vector<TMenuItem*>& items) {
        std::vector<std::string> out;
        for (auto* i : items) out.push_back(i->Caption);
        return out;
    };
    EXPECT_EQ(captions(MergedItems(&main, nullptr)), (std::vector<std::string>{"Datei", "Fenster", "Hilfe"}));
    EXPECT_EQ(captions(MergedItems(&main, &child)),
              (std::vector<std::string>{"Datei", "Bearbeiten", "Ansicht", "Format", "Hilfe"}));
}

TEST(BarButtonDrawing, AVerticalButtonIsTheHorizontalImageTurned)
{
    TOffscreen source, turned;
    source.Resize(3, 2);
    uint32_t* px = source.Pixels();
    for (int i = 0; i < 6; ++i) px[i] = static_cast<uint32_t>(i + 1);  // (x, y) holds y * 3 + x + 1
    RotateInto(source, turned);
    ASSERT_EQ(turned.Width(), 2);
    ASSERT_EQ(turned.Height(), 3);
    const uint32_t* t = turned.Pixels();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(t[x * 2 + (2 - y - 1)], static_cast<uint32_t>(y * 3 + x + 1));

    TBarButton b;
    b.Caption = "&Datei";
    b.Bounds = RECT{0, 0, 20, 60};
    EXPECT_TRUE(b.Vertical()) << "automatic and taller than wide";
    TOffscreen image;
    b.Draw(image, DefaultMenuFont(), false, true, true);
    EXPECT_EQ(image.Width(), 20);
    EXPECT_EQ(image.Height(), 60);
    EXPECT_EQ(image.Pixels()[0], ToPixel(GetSysColor(COLOR_BTNSHADOW))) << "pressed: a sunken frame";
}

TEST_F(MenuBarTest, SystemMenuOpensFromAltSpaceAndTheCaptionWithItsImages)
{
    ASSERT_NE(host->SystemMenu(), nullptr);
    Press(VK_SPACE, {VK_MENU});
    EXPECT_EQ(OpenMenu(), nullptr) << "from the icon it waits for a double click";
    Pump(400);
    ASSERT_EQ(OpenMenu(), host->SystemMenu());
    TDropMenuForm& f = host->SystemMenu()->Form();
    RECT r;
    GetWindowRect(f.Handle(), &r);
    POINT icon = host->IconMenuPoint();
    EXPECT_EQ(r.left, icon.x);
    EXPECT_EQ(r.top, icon.y);
    TMenuItem* close = host->SystemMenu()->Items()->FindCommand(SC_CLOSE);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Name, "SYSTEMCLOSE");
    EXPECT_TRUE(close->Default);
    EXPECT_EQ(TDropMenuForm::ItemImage(*close).pixels, ResourceImage("SYSTEMCLOSE").pixels);
    TMenuItem* restore = host->SystemMenu()->Items()->FindCommand(SC_RESTORE);
    ASSERT_NE(restore, nullptr);
    EXPECT_FALSE(restore->Enabled) << "a normal window cannot be restored";
    Press(VK_ESCAPE);
    EXPECT_EQ(OpenMenu(), nullptr);

    // A right click on the caption shows it at once, at the pointer; choosing posts the command.
    RECT w;
    GetWindowRect(host->Handle(), &w);
    POINT p{w.left + 150, w.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
    SendMessageA(host->Handle(), WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(p.x, p.y));
    Pump();
    ASSERT_EQ(OpenMenu(), host->SystemMenu());
    GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.left, p.x);
    close = host->SystemMenu()->Items()->FindCommand(SC_CLOSE);  // converted anew for each showing
    for (int i = 0; i < f.ItemCount(); ++i)
        if (f.Row(i) == close) f.Choose(i);
    Pump();
    EXPECT_EQ(host->sysCommands, std::vector<UINT>{SC_CLOSE});
}

TEST(SystemMenuStates, FollowTheWindowsStateAndFrame)
{
    struct Case {
        DWORD style;
        int show;
        std::vector<UINT> disabled;
    } cases[] = {
        {WS_OVERLAPPEDWINDOW, SW_SHOWNORMAL, {SC_RESTORE}},
        {WS_OVERLAPPEDWINDOW, SW_MAXIMIZE, {SC_SIZE, SC_MOVE, SC_MAXIMIZE}},
        {WS_CAPTION | WS_SYSMENU, SW_SHOWNORMAL, {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}},
    };
    for (const auto& c : cases) {
        Host h(c.style);
        ShowWindow(h.Handle(), c.show);
        h.SystemMenu()->Convert();
        for (UINT command : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}) {
            TMenuItem* item = h.SystemMenu()->Items()->FindCommand(command);
            ASSERT_NE(item, nullptr) << std::hex << command;
            const bool off = std::find(c.disabled.begin(), c.disabled.end(), command) != c.disabled.end();
            EXPECT_EQ(item->Enabled, !off) << std::hex << c.style << " " << c.show << " " << command;
        }
        ShowWindow(h.Handle(), SW_HIDE);
    }
}

TEST(SystemMenuOwner, MustBeAFormOfTheMenusOwnClass)
{
    class Plain : public win::Window {
    } plain;
    try {
        TSystemMenu m(plain);
        FAIL();
    } catch (const win::Error& e) {
        EXPECT_STREQ(e.what(), "Error: Owner if TSystemMenu component is not a DropMenus.TForm. Possible reason: "
                               "DropMenus unit doesn't placed at the end of uses clause of your form's unit");
    }
}

} // namespace
