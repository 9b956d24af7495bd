// The menus of the real program, driven with real keys and the mouse, and checked on
// the screen at chosen pixels (the screenshots are kept beside the program).
#include "Driver.h"
#include "MenuFixture.h"
#include "Win95.h"
#include "menus/MenuPaint.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using menutest::Press;

// What the screen shows in r, as 0x00RRGGBB pixels; also written as a bitmap file.
menus::TImage Screenshot(RECT r, const std::string& name)
{
    menus::TOffscreen shot;
    const int w = r.right - r.left, h = r.bottom - r.top;
    shot.Resize(w, h);
    {
        win::WindowDC screen(nullptr);
        BitBlt(shot.DC(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    }
    menus::TImage img;
    img.width = w;
    img.height = h;
    img.pixels.assign(shot.Pixels(), shot.Pixels() + static_cast<size_t>(w) * h);
    for (auto& p : img.pixels) p &= 0xFFFFFF;
    CreateDirectoryA((driver::BinDir() + "screens").c_str(), nullptr);
    std::ofstream out(driver::BinDir() + "screens\\" + name + ".bmp", std::ios::binary);
    BITMAPFILEHEADER fh{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER ih{sizeof ih, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(w * h * 4);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
    out.write(reinterpret_cast<const char*>(img.pixels.data()), static_cast<std::streamsize>(img.pixels.size() * 4));
    return img;
}

uint32_t Sys(int colour) { return menus::ToPixel(GetSysColor(colour)); }

class ProgramMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings();
    }
    void TearDown() override { win95::ClearSettings(); }

    void Front(const driver::Program& p)
    {
        SetForegroundWindow(p.Main());
        ASSERT_TRUE(driver::WaitUntil([&] { return GetForegroundWindow() == p.Main(); }, 5000));
        menutest::Pump(100);
    }
    HWND WaitDropDown(const driver::Program& p, size_t count = 1)
    {
        std::vector<HWND> found;
        driver::WaitUntil([&] {
            found = driver::TopWindows(p.Pid(), "TDropMenuForm");
            return found.size() == count;
        }, 5000);
        menutest::Pump(400);  // the opening animation ends
        return found.size() == count ? found.front() : nullptr;
    }
    bool NoDropDown(const driver::Program& p)
    {
        return driver::WaitUntil([&] { return driver::TopWindows(p.Pid(), "TDropMenuForm").empty(); }, 3000);
    }
    static int Height(HWND w)
    {
        RECT r;
        GetWindowRect(w, &r);
        return r.bottom - r.top;
    }
};

TEST_F(ProgramMenuTest, MenuKeysOpenTheDropDownsWithImagesAndAClickOutsideClosesThem)
{
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    EXPECT_EQ(GetMenu(p.Main()), nullptr) << "the platform draws no menu bar";
    Front(p);
    Press('D', {VK_MENU});
    HWND file = WaitDropDown(p);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(Height(file), 5 * 19 + 11 + 6) << "the rows of \"&Datei\"";
    Press(VK_DOWN);  // opened from the keyboard on its first row; now the second
    menutest::Pump(100);
    RECT r, window, both;
    GetWindowRect(file, &r);
    GetWindowRect(p.Main(), &window);
    UnionRect(&both, &r, &window);
    Screenshot(both, "window");
    const menus::TImage shot = Screenshot(r, "datei");
    const int w = shot.width;
    EXPECT_EQ(shot.At(w - 10, 3 + 19 + 9), Sys(COLOR_HIGHLIGHT)) << "the second row highlighted";
    EXPECT_EQ(shot.At(w - 10, 3 + 9), Sys(COLOR_MENU));
    // "Rescue-Boot-Disk &erstellen..." carries its image beside the caption.
    const menus::TImage image = menus::ResourceImage("MENURESCUE");
    ASSERT_FALSE(image.Empty());
    int matching = 0, drawn = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (image.At(x, y) != image.At(0, 15)) {
                ++drawn;
                matching += shot.At(5 + x, 3 + 19 + 1 + y) == image.At(x, y);
            }
    EXPECT_EQ(matching, drawn);
    // The separator above "&Beenden": an etched line.
    const int separator = 3 + 4 * 19;
    EXPECT_EQ(shot.At(10, separator + 3), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(shot.At(10, separator + 4), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shot.At(2, separator + 3), Sys(COLOR_MENU)) << "4 pixels in from the side";

    // A click outside the bar and the drop-downs closes the menu without choosing.
    RECT main;
    GetWindowRect(p.Main(), &main);
    menutest::Click(POINT{main.right - 40, main.bottom - 120});
    EXPECT_TRUE(NoDropDown(p));
    EXPECT_TRUE(p.NoDialog());
    EXPECT_EQ(p.Status(), "Bereit!");

    // Alt alone highlights "&Datei", Right goes to "&Zubehör", Down opens it.
    Front(p);
    Press(VK_MENU);
    Press(VK_RIGHT);
    Press(VK_DOWN);
    HWND tools = WaitDropDown(p);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(Height(tools), 3 * 19 + 6);
    Press(VK_ESCAPE);
    EXPECT_TRUE(NoDropDown(p));
    Press(VK_ESCAPE);
    // F10 comes back to the button it left; Left from "&Datei" wraps to "&?".
    Press(VK_F10);
    Press(VK_LEFT);
    Press(VK_LEFT);
    Press(VK_RETURN);
    HWND help = WaitDropDown(p);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(Height(help), 2 * 19 + 11 + 6);
    Press(VK_ESCAPE);
    Press(VK_ESCAPE);
    EXPECT_TRUE(NoDropDown(p));
    p.Close();
    EXPECT_EQ(p.WaitExit(), 0);
}

TEST_F(ProgramMenuTest, ShortcutsActAlsoWithTheConfigurationDialogOpenAndAreRefusedWhileItRuns)
{
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    Front(p);
    Press('O', {VK_CONTROL});
    HWND dialog = p.WaitDialog("Quillmark-Configuration");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(driver::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 5000));
    // The main form's shortcuts are looked up here too; the command that runs refuses them.
    Press('O', {VK_CONTROL});
    Press('S', {VK_CONTROL});
    menutest::Pump(500);
    int dialogs = 0;
    for (HWND w : driver::TopWindows(p.Pid(), "#32770")) dialogs += driver::Text(w) == "Quillmark-Configuration";
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(p.Status(), "Bereit!");
    EXPECT_TRUE(p.Messages().empty()) << "no backup ran";
    driver::PressButton(dialog, "&Abbrechen");
    ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    Front(p);
    Press('O', {VK_CONTROL});
    dialog = p.WaitDialog("Quillmark-Configuration");
    ASSERT_NE(dialog, nullptr) << "after the command the shortcut acts again";
    driver::PressButton(dialog, "&Abbrechen");
    ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    EXPECT_TRUE(p.MenuShown());
}

TEST_F(ProgramMenuTest, AltSpaceOpensTheAnimatedSystemMenuWithItsImages)
{
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    Front(p);
    Press(VK_SPACE, {VK_MENU});
    HWND system = WaitDropDown(p);
    ASSERT_NE(system, nullptr);
    menutest::Pump(200);
    RECT r;
    GetWindowRect(system, &r);
    const menus::TImage shot = Screenshot(r, "system");
    // Some row carries the close entry's image at the left.
    const menus::TImage image = menus::ResourceImage("SYSTEMCLOSE");
    ASSERT_FALSE(image.Empty());
    int found = -1;
    for (int top = 3; top + 16 < shot.height && found < 0; ++top) {
        bool all = true;
        for (int y = 0; y < 16 && all; ++y)
            for (int x = 0; x < 16 && all; ++x)
                if (image.At(x, y) != image.At(0, 15)) all = shot.At(5 + x, top + y) == image.At(x, y);
        if (all) found = top;
    }
    EXPECT_GT(found, 3);
    Press(VK_ESCAPE);
    EXPECT_TRUE(NoDropDown(p));
    EXPECT_TRUE(p.Running());
}

} // namespace
