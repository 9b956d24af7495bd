// A frame window of child windows: the active child's menu merges into the bar by
// group, and a maximised child brings its system button and its window buttons.
#include "MenuFixture.h"

namespace {

using namespace menutest;
using namespace menus;

class Frame : public TForm {
public:
    Frame()
    {
        RegisterClassOnce("MenuTestFrame");
        Create(0, "MenuTestFrame", "Rahmen", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 120, 100, 640, 420,
               nullptr, nullptr);
        dock.CreateWnd(Handle(), 1, 12);
        CLIENTCREATESTRUCT ccs{nullptr, 1000};
        client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 40,
                                 600, 300, Handle(), nullptr, GetModuleHandleA(nullptr), &ccs);
    }
    HWND client = nullptr;
    TDock dock;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        return DefFrameProcA(Handle(), client, msg, wp, lp);
    }
};

HMENU ChildMenu()
{
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 301, "&Kopieren\tStrg+C");
    HMENU window = CreatePopupMenu();
    AppendMenuA(window, MF_STRING, 302, "&Nebeneinander");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Bearbeiten");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), "&Fenster");
    return bar;
}

std::vector<std::string> Captions(TMenuBar& bar)
{
    std::vector<std::string> out;
    for (int i = 0; i < bar.ButtonCount(); ++i) out.push_back(bar.Button(i).Caption);
    return out;
}

TEST(FrameWindow, ActiveChildMergesItsMenuAndAMaximisedOneBringsItsButtons)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefMDIChildProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "MenuTestChild";
    RegisterClassA(&wc);

    Frame frame;
    TMainMenu main(MakeTestMenu());
    const int groups[] = {0, 5, 9};
    for (int i = 0; i < 3; ++i) main.Items().Items[static_cast<size_t>(i)]->GroupIndex = groups[i];
    TMainMenu childMenu(ChildMenu());
    childMenu.Items().Items[0]->GroupIndex = 1;
    childMenu.Items().Items[1]->GroupIndex = 5;
    int copied = 0;
    childMenu.Items().FindCommand(301)->OnClick = [&](TMenuItem&) { ++copied; };

    TMenuBar bar;
    bar.CreateWnd(frame.dock.Handle(), frame.Handle());
    bar.SetMainMenu(&main);
    frame.dock.AdjustSize();
    EXPECT_EQ(Captions(bar), (std::vector<std::string>{"&Datei", "&Extras", "&?"}));

    HWND child = CreateMDIWindowA("MenuTestChild", "Kind", WS_OVERLAPPEDWINDOW, 10, 10, 200, 150, frame.client,
                                  GetModuleHandleA(nullptr), 0);
    ASSERT_NE(child, nullptr);
    TMenuBar::SetWindowMenu(child, &childMenu);
    Pump(300);
    EXPECT_EQ(Captions(bar), (std::vector<std::string>{"&Datei", "&Bearbeiten", "&Fenster", "&?"}));

    // Its shortcuts come first while the frame is active.
    SetForegroundWindow(frame.Handle());
    Pump(50);
    Press('C', {VK_CONTROL});
    EXPECT_EQ(copied, 1);

    SendMessageA(frame.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Pump(300);
    ASSERT_EQ(bar.ButtonCount(), 10);
    TBarButton& system = bar.Button(4);
    EXPECT_TRUE(system.SystemButton());
    EXPECT_EQ(system.Bounds.right - system.Bounds.left, 20);
    EXPECT_EQ(system.Bounds.bottom - system.Bounds.top, bar.Button(0).Bounds.bottom - bar.Button(0).Bounds.top);
    EXPECT_TRUE(bar.Button(5).Filler());
    EXPECT_FALSE(bar.Button(5).Enabled);
    EXPECT_EQ(bar.Button(6).Hint, "Minimize window");
    EXPECT_EQ(bar.Button(6).SysCommand(), static_cast<UINT>(SC_MINIMIZE));
    EXPECT_EQ(bar.Button(7).Hint, "Restore window");
    EXPECT_EQ(bar.Button(7).SysCommand(), static_cast<UINT>(SC_RESTORE));
    EXPECT_EQ(bar.Button(8).Bounds.right - bar.Button(8).Bounds.left, 2) << "the gap before the close button";
    EXPECT_EQ(bar.Button(9).Hint, "Close window");
    RECT r;
    GetClientRect(bar.Handle(), &r);
    EXPECT_EQ(bar.Button(9).Bounds.right, r.right - 2) << "the filler pushes the window buttons to the right end";

    // The system button opens the child's system menu a moment later.
    bar.ClickButton(4);
    EXPECT_EQ(TDropMenu::Active(), nullptr);
    Pump(300);
    ASSERT_NE(TDropMenu::Active(), nullptr);
    EXPECT_NE(TDropMenu::Active()->Items()->FindCommand(SC_CLOSE), nullptr);
    TDropMenu::CloseActive(false);

    bar.ClickButton(9);
    Pump(300);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(Captions(bar), (std::vector<std::string>{"&Datei", "&Extras", "&?"}));
}

} // namespace
