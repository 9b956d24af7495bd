#include "MenuFixture.h"

#include "menus/MenuHook.h"

namespace menutest {

void Key(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void Press(WORD vk, std::initializer_list<WORD> modifiers)
{
    for (WORD m : modifiers) Key(m, false);
    Key(vk, false);
    Key(vk, true);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) Key(*m, true);
    Pump();
}

void Click(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    Pump(30);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
    Pump();
}

std::vector<HWND> DropDowns()
{
    std::vector<HWND> found;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            char name[64] = {};
            GetClassNameA(w, name, sizeof name);
            if (IsWindowVisible(w) && lstrcmpA(name, "TDropMenuForm") == 0)
                reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

Host::Host(DWORD style)
{
    RegisterClassOnce("MenuTestHost");
    Create(0, "MenuTestHost", "Menütest", style | WS_VISIBLE, 100, 80, 600, 400, nullptr, nullptr);
    Loaded();
}

Host::~Host() = default;

LRESULT Host::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND && lp == 0) {
        commands.push_back(LOWORD(wp));
        return 0;
    }
    if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) != SC_KEYMENU) {
        sysCommands.push_back(static_cast<UINT>(wp & 0xFFF0));
        return 0;
    }
    return TForm::HandleMessage(msg, wp, lp);
}

HMENU MakeTestMenu()
{
    HMENU more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, kOne, "&Eins");
    AppendMenuA(more, MF_STRING, kTwo, "&Zwei");
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kNew, "&Neu\tStrg+N");
    AppendMenuA(file, MF_STRING, kOpen, "Ö&ffnen...");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_GRAYED, kGray, "&Grau");
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&Mehr");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, kEnd, "&Ende");
    HMENU extra = CreatePopupMenu();
    AppendMenuA(extra, MF_STRING, kAlpha, "&Alpha");
    AppendMenuA(extra, MF_STRING, kBeta, "&Beta");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, kInfo, "&Info");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Datei");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(extra), "&Extras");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&?");
    return bar;
}

void MenuTest::SetUp()
{
    static Host* shared = new Host();
    host = shared;
    host->commands.clear();
    host->sysCommands.clear();
    menu = std::make_unique<menus::TMainMenu>(MakeTestMenu());
    dock = std::make_unique<menus::TDock>();
    dock->CreateWnd(host->Handle(), 1, 12);
    bar = std::make_unique<menus::TMenuBar>();
    bar->Timeout = 5;
    bar->CreateWnd(dock->Handle(), host->Handle());
    bar->SetMainMenu(menu.get());
    dock->AdjustSize();
    Activate();
}

void MenuTest::TearDown()
{
    menus::TDropMenu::CloseActive(false);
    bar.reset();
    dock.reset();
    menu.reset();
    Pump(20);
}

void MenuTest::Activate()
{
    // The pointer stays where the session's last test left it, and a drop-down that
    // opens under it selects the row it rests on: out of every window's way.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    SetForegroundWindow(host->Handle());
    SetActiveWindow(host->Handle());
    SetFocus(host->Handle());
    Pump(50);
}

} // namespace menutest
