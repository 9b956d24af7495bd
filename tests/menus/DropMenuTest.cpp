// The drop-down window on a real screen: its size and rows, its opening frames and
// their timing, selection by keys and mouse, choosing, sub-menus, images and hints.
#include "MenuFixture.h"

#include "AppEnv.h"

#include "menus/MenuHintWindow.h"
#include "menus/MenuItemBitmaps.h"
#include "win/Hint.h"

#include <commctrl.h>

namespace {

using namespace menutest;
using namespace menus;

class DropMenuTest : public MenuTest {
protected:
    // The "&Datei" level in a pop-up menu of its own, opened at (200, 150).
    TDropMenu& Open(TAnimation animation = TAnimation::anNone)
    {
        drop = std::make_unique<TDropMenu>(host->Handle());
        drop->SetItems(&Top(0));
        drop->OpenAnimation = animation;
        drop->CloseAnimation = TAnimation::anNone;
        drop->OnMenuCommand = [this](TMenuItem* i) { chosen.push_back(i->Command); };
        drop->Popup(200, 150);
        Pump(30);
        return *drop;
    }
    TDropMenuForm& Form() { return drop->Form(); }
    POINT RowPoint(int row, int dx = 30, int dy = 9)
    {
        RECT r = Form().RowRect(row);
        POINT p{r.left + dx, r.top + dy};
        ClientToScreen(Form().Handle(), &p);
        return p;
    }
    void TearDown() override
    {
        if (drop) drop->CloseTree(false);
        drop.reset();
        MenuTest::TearDown();
    }

    std::unique_ptr<TDropMenu> drop;
    std::vector<UINT> chosen;
};

TEST_F(DropMenuTest, OpensAtItsMeasuredSizeWithEveryVisibleRow)
{
    Top(0).Items[6]->Visible = false;  // "&Ende"
    Open();
    ASSERT_TRUE(drop->IsOpen());
    EXPECT_EQ(Form().ItemCount(), 6);
    RECT r;
    GetWindowRect(Form().Handle(), &r);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(r.bottom - r.top, 4 * 19 + 2 * 11 + 6);
    EXPECT_EQ(r.right - r.left, Form().Measure().cx);
    // Widest caption and widest shortcut side by side, with the indent on both sides.
    win::WindowDC dc(Form().Handle());
    win::SelectObj sel(dc.get(), drop->ShownFont());
    RECT open{}, keys{};
    DrawTextA(dc.get(), "Ö&ffnen...", -1, &open, DT_SINGLELINE | DT_CALCRECT);
    DrawTextA(dc.get(), "Strg+N", -1, &keys, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.right - r.left, open.right + keys.right + 2 * 27 + 10);
    EXPECT_EQ(GetActiveWindow(), host->Handle()) << "the drop-down never takes the activation";
}

TEST_F(DropMenuTest, OpeningAnimationRunsItsFramesAtTheTimeout)
{
    // Six items are 120 pixels high: 15 more per frame, seven frames before the full size.
    Top(0).Items.erase(Top(0).Items.begin() + 5);
    Top(0).Items.erase(Top(0).Items.begin() + 2);
    for (auto& i : Top(0).Items) i->Items.clear();
    auto extra = std::make_unique<TMenuItem>();
    extra->Caption = "&Sechs";
    Top(0).Add(std::move(extra));
    auto extra2 = std::make_unique<TMenuItem>();
    extra2->Caption = "Sieben";
    Top(0).Add(std::move(extra2));
    Top(0).Items.erase(Top(0).Items.begin());
    ASSERT_EQ(Top(0).Items.size(), 6u);
    drop = std::make_unique<TDropMenu>(host->Handle());
    drop->SetItems(&Top(0));
    drop->OpenAnimation = TAnimation::anVSlide;
    const DWORD start = GetTickCount();
    drop->Popup(200, 150);
    const DWORD spent = GetTickCount() - start;
    const auto& frames = Form().ShownFrames();
    ASSERT_EQ(frames.size(), 7u);
    for (size_t i = 0; i < frames.size(); ++i) EXPECT_EQ(frames[i].cy, 15 * static_cast<int>(i + 1));
    EXPECT_GE(spent, 100u) << "the frames wait out their 20 ms, an overrun paid off by the next";
    EXPECT_LT(spent, 1500u);
    RECT r;
    GetWindowRect(Form().Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, 120);
}

TEST(FrameTiming, AnOverrunIsPaidOffByTheFollowingFrames)
{
    DWORD debt = 0;
    EXPECT_EQ(FrameWait(5, 20, debt), 15u);
    EXPECT_EQ(FrameWait(50, 20, debt), 0u);
    EXPECT_EQ(debt, 30u);
    EXPECT_EQ(FrameWait(5, 20, debt), 0u);  // 15 of the debt paid
    EXPECT_EQ(debt, 15u);
    EXPECT_EQ(FrameWait(10, 20, debt), 0u);  // 10 paid
    EXPECT_EQ(FrameWait(10, 20, debt), 5u);  // the last 5, then 5 of its own wait
    EXPECT_EQ(debt, 0u);
}

TEST_F(DropMenuTest, ArrowKeysSkipSeparatorsAndWrap)
{
    Open();
    Press(VK_DOWN);
    EXPECT_EQ(Form().Selected(), 0);
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(Form().Selected(), 3) << "the separator at row 2 is passed over";
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(Form().Selected(), 6);
    Press(VK_DOWN);
    EXPECT_EQ(Form().Selected(), 0) << "from the last item to the first";
    Press(VK_UP);
    EXPECT_EQ(Form().Selected(), 6);
    Press(VK_SHIFT);
    EXPECT_EQ(Form().Selected(), 6);
    EXPECT_TRUE(drop->IsOpen());
}

TEST_F(DropMenuTest, EnterAndAccessKeysChooseEnabledItemsOnly)
{
    Open();
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(drop->IsOpen());
    Pump();
    EXPECT_EQ(chosen, std::vector<UINT>{kNew});
    EXPECT_EQ(host->commands, std::vector<UINT>{kNew}) << "an item of the platform menu posts its command";

    Open();
    Press('G');  // "&Grau" is disabled
    EXPECT_TRUE(drop->IsOpen());
    Press('Q');  // no item has it: a beep, nothing else
    EXPECT_TRUE(drop->IsOpen());
    Press('F');  // "Ö&ffnen..."
    EXPECT_FALSE(drop->IsOpen());
    Pump();
    EXPECT_EQ(host->commands, (std::vector<UINT>{kNew, kOpen}));
}

TEST_F(DropMenuTest, SubMenuOpensRightOfItsRowAndClosesWithLeftOrEsc)
{
    int filled = 0;
    Top(0).Items[4]->OnClick = [&](TMenuItem&) { ++filled; };
    Open();
    Press('M');
    ASSERT_NE(Form().Child(), nullptr);
    TDropMenuForm& sub = *Form().Child();
    EXPECT_TRUE(sub.Showing());
    EXPECT_EQ(filled, 1) << "the item's own handler runs before its sub-menu opens";
    RECT parent, child;
    GetWindowRect(Form().Handle(), &parent);
    GetWindowRect(sub.Handle(), &child);
    EXPECT_EQ(child.left, parent.right - 7);
    EXPECT_EQ(child.top, parent.top + Form().RowRect(4).top);
    EXPECT_EQ(sub.Selected(), 0);
    EXPECT_EQ(DropDowns().size(), 2u);
    Press(VK_LEFT);
    EXPECT_EQ(DropDowns().size(), 1u);
    EXPECT_TRUE(drop->IsOpen());
    Press(VK_RIGHT);
    EXPECT_EQ(DropDowns().size(), 2u);
    Press(VK_ESCAPE);
    EXPECT_EQ(DropDowns().size(), 1u);
    Press(VK_RIGHT);
    Press(VK_DOWN);
    Press(VK_RETURN);
    Pump();
    EXPECT_EQ(host->commands, std::vector<UINT>{kTwo});
}

TEST_F(DropMenuTest, RightAndLeftOutsideABarSelectTheLastAndFirstRow)
{
    Open();
    Press(VK_RIGHT);
    EXPECT_EQ(Form().Selected(), 6);
    Press(VK_LEFT);
    EXPECT_EQ(Form().Selected(), 0);
    Press(VK_ESCAPE);
    EXPECT_FALSE(drop->IsOpen());
    EXPECT_TRUE(host->commands.empty());
}

TEST_F(DropMenuTest, PointerJitterKeepsTheSelection)
{
    Open();
    // Rows 0 and 1 meet 19 pixels below the first row's top.
    POINT p = RowPoint(0, 30, 17);
    SetCursorPos(p.x, p.y);
    Pump(40);
    ASSERT_EQ(Form().Selected(), 0);
    SetCursorPos(p.x + 2, p.y + 2);  // into row 1, but only by jitter
    Pump(40);
    EXPECT_EQ(Form().Selected(), 0);
    SetCursorPos(p.x, p.y + 3);
    Pump(40);
    EXPECT_EQ(Form().Selected(), 1);
}

TEST_F(DropMenuTest, ClickOnAnItemChoosesItAndOutsideClosesWithoutChoosing)
{
    Open();
    Click(RowPoint(3));  // "&Grau", disabled: nothing
    EXPECT_TRUE(drop->IsOpen());
    Click(POINT{150, 450});  // on the host, outside the drop-down
    EXPECT_FALSE(drop->IsOpen());
    EXPECT_TRUE(DropDowns().empty());
    Pump();
    EXPECT_TRUE(host->commands.empty());
    Open();
    Click(RowPoint(6));
    Pump();
    EXPECT_EQ(host->commands, std::vector<UINT>{kEnd});
}

TEST_F(DropMenuTest, HoveredItemShowsItsHintAndStatusText)
{
    HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                  host->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    int parts[] = {300, -1};
    SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    Top(0).Items[1]->Hint = " Öffnet eine Datei | Öffnet eine&#13;Datei zum Lesen ";
    win::ApplicationHintTiming().hidePause = 400;
    drop = std::make_unique<TDropMenu>(host->Handle());
    drop->SetItems(&Top(0));
    drop->OpenAnimation = TAnimation::anNone;
    drop->ShowHint = true;
    drop->StatusBar = status;
    drop->StatusBarIndex = 1;
    drop->Popup(200, 150);
    Pump(30);
    POINT p = RowPoint(1);
    SetCursorPos(p.x, p.y);
    Pump(30);
    char text[128] = {};
    SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Öffnet eine Datei zum Lesen");
    HWND hint = FindWindowA("TMenuHintWindow", nullptr);
    ASSERT_NE(hint, nullptr);
    EXPECT_FALSE(IsWindowVisible(hint)) << "the hint waits for the hover timer";
    Pump(400);
    ASSERT_TRUE(IsWindowVisible(hint));
    RECT r;
    GetWindowRect(hint, &r);
    EXPECT_EQ(r.top, p.y + 25);
    EXPECT_EQ(GetActiveWindow(), host->Handle());
    Pump(500);
    EXPECT_FALSE(IsWindowVisible(hint)) << "hidden after the hide pause";
    drop->CloseTree(false);
    SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "");
    win::ApplicationHintTiming().hidePause = 2500;
}

TEST(MenuHints, ShortAndLongPartsOfAHint)
{
    EXPECT_EQ(ShortHint("Kurz|Lang"), "Kurz");
    EXPECT_EQ(ShortHint("Beides"), "Beides");
    EXPECT_EQ(StatusText("Kurz| Lang&#13;Text "), "Lang Text");
    EXPECT_EQ(StatusText("  Beides "), "Beides");
    EXPECT_EQ(HintLines(" Eins&#13;Zwei\rDrei|Lang"), (std::vector<std::string>{"Eins", "Zwei", "Drei"}));
    const RECT work{0, 0, 800, 600};
    struct Case {
        POINT pointer;
        POINT expected;
    } cases[] = {{{100, 100}, {100, 125}},
                 {{750, 100}, {750 - 110, 125}},
                 {{100, 590}, {100, 590 - 30 - 35}},
                 {{5, 10}, {5, 35}}};
    for (const auto& c : cases) {
        POINT at = TMenuHintWindow::Position(SIZE{100, 30}, c.pointer, work);
        EXPECT_EQ(at.x, c.expected.x) << c.pointer.x;
        EXPECT_EQ(at.y, c.expected.y) << c.pointer.y;
    }
}

TEST(MenuItems, ShortcutTextsAndImageNames)
{
    struct Case {
        const char* text;
        TShortCut sc;
    } cases[] = {{"Strg+O", 16463}, {"Strg+S", 16467}, {"Strg+R", 16466}, {"Umschalt+Strg+F5", 0x6000 | VK_F5},
                 {"Alt+X", 0x8000 | 'X'}, {"", 0}, {"Strg+", 0}, {"Hyper+A", 0}};
    for (const auto& c : cases) EXPECT_EQ(TextToShortCut(c.text), c.sc) << c.text;
    EXPECT_EQ(ImageResourceName("Exit1"), "EXIT");
    EXPECT_EQ(ImageResourceName("Backup2"), "BACKUP");
    EXPECT_EQ(ImageResourceName("Rescue-Boot-Disk &erstellen..."), "RESCUEBOOTDISKERSTELLEN");
}

TEST_F(DropMenuTest, ImagesComeFromAttachedBitmapsThenTheNameThenTheCaption)
{
    TMenuItem& open = *Top(0).Items[1];
    EXPECT_TRUE(TDropMenuForm::ItemImage(open).Empty());
    open.Name = "MenuBackup2";
    const TImage byName = TDropMenuForm::ItemImage(open);
    ASSERT_EQ(byName.width, 16);
    EXPECT_EQ(byName.pixels, ResourceImage("MENUBACKUP").pixels);
    open.Name = "Open1";
    open.Caption = "System&close";
    EXPECT_EQ(TDropMenuForm::ItemImage(open).pixels, ResourceImage("SYSTEMCLOSE").pixels);
    {
        TMenuItemBitmaps bitmaps(host->Handle());
        bitmaps.SetSingleBitmap(true);
        bitmaps.SetUncheckedBmpResource("MENURESTORE");
        bitmaps.SetMenuItem(&open);
        EXPECT_EQ(TDropMenuForm::ItemImage(open).pixels, ResourceImage("MENURESTORE").pixels);
        bitmaps.SetEnabled(false);
        EXPECT_EQ(TDropMenuForm::ItemImage(open).pixels, ResourceImage("SYSTEMCLOSE").pixels);
    }
    testenv::BoxAnswerer answer;
    TMenuItemBitmaps bad(host->Handle());
    bad.SetCheckedBmpResource("#abc");
    EXPECT_EQ(answer.Text(), "Error|'#abc' is not a valid resource name");
}

TEST_F(DropMenuTest, DisabledImageShowsOnlyItsDarkPixelsEmbossed)
{
    TImage img;
    img.width = img.height = 16;
    img.pixels.assign(256, 0xFF00FF);     // transparent, as at (0, 15)
    img.pixels[5 * 16 + 5] = 0x000000;    // dark
    img.pixels[6 * 16 + 6] = 0xFFFF00;    // light: left out when disabled
    TOffscreen target;
    target.Resize(20, 20);
    uint32_t* px = target.Pixels();
    std::fill(px, px + 400, 0x123456);
    DrawImage(target, 0, 0, img, true);
    px = target.Pixels();
    EXPECT_EQ(px[5 * 20 + 5], ToPixel(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(px[6 * 20 + 6], ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT))) << "the highlight copy, one pixel down-right";
    EXPECT_EQ(px[0], 0x123456u);
    DrawImage(target, 0, 0, img, false);
    px = target.Pixels();
    EXPECT_EQ(px[5 * 20 + 5], 0u);
    EXPECT_EQ(px[6 * 20 + 6], 0xFFFF00u);
}

} // namespace
