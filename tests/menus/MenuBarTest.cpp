// The menu bar on a form: its buttons, the keys of a menu bar through the message hook
// with real key input, shortcuts, the mouse, merging, and the system menu.
#include "MenuFixture.h"

#include "menus/MenuHook.h"
#include "win/Error.h"
#include "win/Hint.h"

#include <algorithm>

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

TEST_F(MenuBarTest, ShortcutsActFromAnywhereInTheProgramAndCloseAnOpenMenu)
{
    Press('N', {VK_CONTROL});
    Pump();
    EXPECT_EQ(host->commands, std::vector<UINT>{kNew});
    Press('E', {VK_MENU});
    ASSERT_NE(OpenMenu(), nullptr);
    Press('N', {VK_CONTROL});
    EXPECT_EQ(OpenMenu(), nullptr);
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
    if (TMenuItem* restore = host->SystemMenu()->Items()->FindCommand(SC_RESTORE)) {
        EXPECT_FALSE(restore->Enabled) << "a normal window cannot be restored";
    }
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
            if (!item) continue;  // the platform left the entry out
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
