// The configuration dialog of the real program at the densities users have: its size
// is the design's, whatever the dialog font measures there.
#include "Density.h"
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"
#include "settings/Unit2Res.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

RECT Bounds(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(DialogSizeTest, ConfigurationDialogHasItsDesignSizeAtEveryDensity)
{
    win95::LayOut();
    win95::StoreUsualSettings();
    for (int dpi : {96, 120, 144}) {
        SCOPED_TRACE(dpi);
        testenv::ScreenDensity density(static_cast<DWORD>(dpi));
        driver::Program p;
        p.PostCommand(IDM_CONFIGURATION);
        HWND d = p.WaitDialog("Quillmark-Configuration");
        ASSERT_NE(d, nullptr);
        RECT client;
        GetClientRect(d, &client);
        EXPECT_EQ(client.right, MulDiv(396, dpi, 120));
        EXPECT_EQ(client.bottom, MulDiv(411, dpi, 120));
        const RECT pages = Bounds(d, GetDlgItem(d, IDC_PAGECONTROL1));
        EXPECT_EQ(pages.left, 0);
        EXPECT_EQ(pages.top, 0);
        EXPECT_EQ(pages.right, MulDiv(393, dpi, 120));
        EXPECT_EQ(pages.bottom, MulDiv(369, dpi, 120));
        // Below the page control at the right, "Abbrechen" left of "OK", both inside.
        const RECT cancel = Bounds(d, GetDlgItem(d, IDC_BUTTON2));
        const RECT ok = Bounds(d, GetDlgItem(d, IDC_BUTTON1));
        EXPECT_GE(cancel.top, pages.bottom);
        EXPECT_LE(cancel.right, ok.left);
        EXPECT_LE(ok.right, client.right);
        EXPECT_LE(ok.bottom, client.bottom);
        // Every control of every page lies within its page.
        for (HWND page = FindWindowExA(d, nullptr, "#32770", nullptr); page;
             page = FindWindowExA(d, page, "#32770", nullptr)) {
            RECT area;
            GetClientRect(page, &area);
            for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                const RECT r = Bounds(page, c);
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= area.right && r.bottom <= area.bottom)
                    << driver::Text(c) << " " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
            }
        }
        driver::Press(d, IDC_BUTTON2);
        EXPECT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    }
    win95::ClearSettings();
}

} // namespace
