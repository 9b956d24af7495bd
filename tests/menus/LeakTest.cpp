// Opening and closing menus a thousand times leaves no GDI object and no window behind.
#include "MenuFixture.h"

namespace {

using namespace menutest;
using namespace menus;

// The process's GDI objects. Wine answers GetGuiResources with 0; there every live
// object is found by its handle's table index, which Wine accepts without the
// generation in the high word.
int GdiObjects()
{
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(n);
    int count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return count;
}

int Windows()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            ++*reinterpret_cast<int*>(lp);
            EnumChildWindows(
                w, [](HWND, LPARAM c) -> BOOL { return ++*reinterpret_cast<int*>(c), TRUE; }, lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

class LeakTest : public MenuTest {};

TEST_F(LeakTest, HundredsOfMenusOfEveryKindOpenedAndClosedLeaveNothingBehind)
{
    {
        // The counter sees objects come and go.
        const int before = GdiObjects();
        win::UniqueBrush a(CreateSolidBrush(RGB(1, 2, 3))), b(CreateSolidBrush(RGB(4, 5, 6)));
        ASSERT_EQ(GdiObjects(), before + 2);
    }
    // Without animation the rounds cost what showing and hiding costs; every 50th
    // round runs the animations at their usual 20 ms.
    auto animate = [&](bool on) {
        const TAnimation a = on ? TAnimation::anUnfold : TAnimation::anNone;
        bar->OpenAnimation = bar->CloseAnimation = a;
        bar->Timeout = 20;
        bar->Rebuild();
        host->SystemMenu()->AllowAdjust = on;
        host->SystemMenu()->OpenAnimation = host->SystemMenu()->CloseAnimation = a;
    };
    auto round = [&](int i) {
        if (i % 50 == 0) animate(true);
        if (i % 4 == 3) {
            host->SystemMenu()->Show(POINT{200, 200}, false);
        } else {
            bar->ClickButton(i % 3, i % 2 == 0);
            if (i % 12 == 0 && TDropMenu::Active()) TDropMenu::Active()->Form().OpenSubMenu(4);
        }
        TDropMenu::CloseActive(i % 2 == 0);
        if (i % 50 == 0) {
            animate(false);
            Pump(0);
        }
    };
    // What the menus and the platform make once (fonts, the DC cache) exists before
    // counting: a hundred rounds reach it. The 300 after them add nothing; the rounds'
    // pattern repeats every 300, so every mix of menu, button, way of closing, sub-menu
    // and animation runs while the objects are counted.
    for (int i = 0; i < 100; ++i) round(i);
    Pump(50);
    const int gdi = GdiObjects(), windows = Windows();
    for (int i = 0; i < 300; ++i) round(i);
    Pump(50);
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(Windows(), windows);
    EXPECT_EQ(TDropMenu::Active(), nullptr);
}

} // namespace
