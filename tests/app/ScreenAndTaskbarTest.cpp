// The real program as the shell and the screen see it: its taskbar button, and its
// main window at the densities users have.
#include "Density.h"
#include "Driver.h"
#include "Win95.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ScreenAndTaskbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings();
    }
    void TearDown() override { win95::ClearSettings(); }
};

RECT ChildBounds(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND ChildOfClass(HWND parent, const char* cls)
{
    return FindWindowExA(parent, nullptr, cls, nullptr);
}

// The shell gives a button (and an Alt+Tab entry) to every visible top-level window
// that asks for one, and to every one that has no owner and is no tool window.
TEST_F(ScreenAndTaskbarTest, OneTaskbarButtonCarriesTheApplicationTitle)
{
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    std::vector<HWND> buttons;
    for (HWND w : driver::TopWindows(p.Pid())) {
        const LONG ex = GetWindowLongA(w, GWL_EXSTYLE);
        if ((ex & WS_EX_APPWINDOW) || (!GetWindow(w, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW))) buttons.push_back(w);
    }
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(driver::Text(buttons[0]), "Quillmark");
    EXPECT_EQ(GetWindow(p.Main(), GW_OWNER), buttons[0]);

    // Chosen on the taskbar, the button's window hands the activation to the main window.
    SetForegroundWindow(GetDesktopWindow());
    SetForegroundWindow(buttons[0]);
    EXPECT_TRUE(driver::WaitUntil([&] { return GetForegroundWindow() == p.Main(); }, 5000));
}

TEST_F(ScreenAndTaskbarTest, MainWindowHasItsDesignClientAreaWithTheDockInsideAtEveryDensity)
{
    for (DWORD dpi : {96u, 120u, 144u}) {
        SCOPED_TRACE(dpi);
        testenv::ScreenDensity density(dpi);
        driver::Program p;
        ASSERT_NE(p.Main(), nullptr);
        RECT client;
        GetClientRect(p.Main(), &client);
        EXPECT_EQ(client.right, MulDiv(512, static_cast<int>(dpi), 120));
        EXPECT_EQ(client.bottom, MulDiv(215, static_cast<int>(dpi), 120));
        const RECT dock = ChildBounds(p.Main(), ChildOfClass(p.Main(), "TDock"));
        // The busy symbol's window is made with the first command; the design places it
        // 65 units above the status line, and the two move down together.
        const RECT status = ChildBounds(p.Main(), ChildOfClass(p.Main(), "Static"));
        RECT symbol = status;
        symbol.top -= MulDiv(65, static_cast<int>(dpi), 120);
        const RECT list = ChildBounds(p.Main(), ChildOfClass(p.Main(), "ListBox"));
        EXPECT_EQ(dock.top, 0);
        EXPECT_EQ(dock.right, client.right);
        EXPECT_GE(symbol.top, dock.bottom) << "the dock covers nothing";
        EXPECT_EQ(list.bottom, client.bottom);
        EXPECT_EQ(list.bottom - list.top, MulDiv(69, static_cast<int>(dpi), 120));
    }
}

} // namespace
