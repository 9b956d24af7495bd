// The flat tooltips: their geometry, the cursor's depth, the font, and the tooltips a
// user gets over a window that has hints, with the program's delays.
#include "chrome/FlatHint.h"

#include "Driver.h"
#include "Screen.h"
#include "SystemFonts.h"
#include "win/Hint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A window with two hinted halves, as a bar of buttons has several hinted parts.
class HintedWindow : public win::Window {
public:
    HintedWindow()
    {
        RegisterClassOnce("HintedWindow");
        Create(0, "HintedWindow", "Hinweise", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 200, 200, 400, 160, nullptr,
               nullptr);
    }
    POINT Centre(bool left) const
    {
        RECT r;
        GetClientRect(Handle(), &r);
        POINT p{left ? r.right / 4 : r.right * 3 / 4, r.bottom / 2};
        ClientToScreen(Handle(), &p);
        return p;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg != win::HintQueryMessage()) return Window::HandleMessage(msg, wp, lp);
        auto* q = reinterpret_cast<win::HintQuery*>(lp);
        GetClientRect(Handle(), &q->area);
        const bool left = q->point.x < q->area.right / 2;
        (left ? q->area.right : q->area.left) = q->area.right / 2;
        q->text = left ? "Linke H\xE4lfte" : "Rechte H\xE4lfte";
        return TRUE;
    }
};

void MoveMouse(POINT p)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void Click()
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
}

HWND TooltipWindow() { return FindWindowA("TFlatHintWindow", nullptr); }

// Pumps until the tooltip is shown (or hidden); answers the milliseconds it took, or -1.
int PumpUntil(bool shown, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        screen::Pump(5);
        HWND t = TooltipWindow();
        if ((t && IsWindowVisible(t)) == shown) return static_cast<int>(GetTickCount() - start);
    }
    return -1;
}

TEST(FlatHintWindow, PaddingByStyle)
{
    const struct {
        THintStyle style;
        LONG cx, cy;
    } cases[] = {{THintStyle::hsFlat, 6, 4}, {THintStyle::hsOffice97, 6, 6}, {THintStyle::hsWindows95, 8, 4}};
    for (const auto& c : cases) {
        SIZE p = TFlatHintWindow::Padding(c.style);
        EXPECT_EQ(p.cx, c.cx) << int(c.style);
        EXPECT_EQ(p.cy, c.cy) << int(c.style);
    }
}

TEST(FlatHintWindow, PlacedBelowTheCursorAndKeptInTheWorkAreaOfItsMonitor)
{
    const RECT first{0, 0, 1024, 768}, left{-1280, 0, 0, 1024}, above{0, -768, 1024, 0};
    const SIZE tip{100, 20};
    const RECT control{600, 700, 700, 720};
    const struct {
        const char* what;
        RECT work;
        POINT cursor;
        THintStyle style;
        bool ofForm;
        RECT placed;
    } cases[] = {
        {"below the tip", first, {300, 200}, THintStyle::hsOffice97, false, {300, 219, 400, 239}},
        {"right edge", first, {1000, 200}, THintStyle::hsOffice97, false, {924, 219, 1024, 239}},
        {"bottom, Office 97: above the cursor", first, {300, 760}, THintStyle::hsOffice97, false,
         {300, 738, 400, 758}},
        {"bottom, hint of a form: above the cursor", first, {300, 760}, THintStyle::hsFlat, true,
         {300, 738, 400, 758}},
        {"bottom, control: on its top edge", first, {300, 760}, THintStyle::hsWindows95, false,
         {300, 680, 400, 700}},
        {"corner", first, {1020, 765}, THintStyle::hsOffice97, false, {924, 743, 1024, 763}},
        {"monitor on the left, its right edge", left, {-50, 200}, THintStyle::hsOffice97, false,
         {-100, 219, 0, 239}},
        {"monitor above, its bottom edge", above, {300, -10}, THintStyle::hsOffice97, false, {300, -32, 400, -12}},
    };
    for (const auto& c : cases) {
        RECT r = TFlatHintWindow::Place(tip, c.cursor, 19, c.work, c.style, c.ofForm, control);
        EXPECT_TRUE(EqualRect(&r, &c.placed)) << c.what << ": " << r.left << "," << r.top << "," << r.right << ","
                                              << r.bottom;
    }
}

// A 32 x 32 cursor: opaque rows [0, opaqueTo), inverting rows [0, invertTo), in column 0.
HCURSOR MakeCursor(int hotY, int opaqueTo, int invertTo)
{
    std::vector<BYTE> andPlane(128, 0xFF), xorPlane(128, 0);
    for (int row = 0; row < opaqueTo; ++row) andPlane[row * 4] = 0x7F;
    for (int row = 0; row < invertTo; ++row) xorPlane[row * 4] = 0x80;
    return CreateCursor(GetModuleHandleA(nullptr), 0, hotY, 32, 32, andPlane.data(), xorPlane.data());
}

TEST(FlatHintWindow, CursorDepthFromTheMask)
{
    const struct {
        const char* what;
        int hotY, opaqueTo, invertTo, depth;
    } cases[] = {
        {"opaque shape", 4, 21, 0, 16},
        {"inverting shape", 2, 0, 11, 8},
        {"blank cursor", 0, 0, 0, 32},
    };
    for (const auto& c : cases) {
        HCURSOR cursor = MakeCursor(c.hotY, c.opaqueTo, c.invertTo);
        ASSERT_TRUE(cursor) << c.what;
        EXPECT_EQ(TFlatHintWindow::CursorDepth(cursor), c.depth) << c.what;
        DestroyCursor(cursor);
    }
    EXPECT_EQ(TFlatHintWindow::CursorDepth(nullptr), 32);
    // The system's own shapes reach below their hot spot, never beyond the 32 rows.
    for (LPCSTR id : {IDC_ARROW, IDC_IBEAM, IDC_HAND, IDC_CROSS}) {
        const int depth = TFlatHintWindow::CursorDepth(LoadCursorA(nullptr, id));
        EXPECT_GT(depth, 0) << reinterpret_cast<INT_PTR>(id);
        EXPECT_LE(depth, 32) << reinterpret_cast<INT_PTR>(id);
    }
}

TEST(FlatHint, FaceByStyle)
{
    using S = THintStyle;
    const struct {
        const char* status;
        S style;
        bool tahoma;
        const char* face;
    } cases[] = {
        {"MS Sans Serif", S::hsOffice97, true, "Tahoma"},   {"MS Sans Serif", S::hsOffice97, false, "MS Sans Serif"},
        {"MS Sans Serif", S::hsFlat, true, "MS Sans Serif"}, {"MS Sans Serif", S::hsWindows95, true, "MS Sans Serif"},
        {"Arial", S::hsOffice97, true, "Arial"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFlatHint::FaceFor(c.status, c.style, c.tahoma), c.face) << c.status << " " << int(c.style);
    EXPECT_FALSE(TFlatHint::FontInstalled("Kein Font Dieses Namens"));
}

TEST(FlatHint, StatusFontOfTheSystemFollowedWhileRunning)
{
    SystemFonts msSansSerif = StatusFace("MS Sans Serif");
    TFlatHint hint;
    EXPECT_EQ(win::ApplicationHintTiming().pause, 500u);
    EXPECT_EQ(win::ApplicationHintTiming().shortPause, 25u);
    EXPECT_EQ(win::ApplicationHintTiming().hidePause, 5000u);
    EXPECT_EQ(hint.HintStyle(), THintStyle::hsWindows95);
    EXPECT_STREQ(hint.Font().lfFaceName, "MS Sans Serif");
    hint.SetHintStyle(THintStyle::hsOffice97);
    // Tahoma comes with Wine's fonts, which the machine has (scripts/install-deps.sh).
    ASSERT_TRUE(TFlatHint::FontInstalled("Tahoma"));
    const char* office = "Tahoma";
    EXPECT_STREQ(hint.Font().lfFaceName, office);
    // The system's fonts change while the program runs: the next tooltip follows.
    {
        SystemFonts courier = StatusFace("Courier New");
        EXPECT_STREQ(hint.Font().lfFaceName, "Courier New");
    }
    EXPECT_STREQ(hint.Font().lfFaceName, office);
}

TEST(FlatHint, StylesDifferByTheirPadding)
{
    SystemFonts tahoma = StatusFace("Tahoma");
    TFlatHint hint;
    TFlatHintWindow window;
    auto sizeFor = [&](THintStyle style) {
        hint.SetHintStyle(style);
        window.ActivateHint({0, 0, 1024, 0}, "Rescue-Boot-Disk erstellen");
        RECT r;
        GetWindowRect(window.Handle(), &r);
        window.Hide();
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const SIZE flat = sizeFor(THintStyle::hsFlat), office = sizeFor(THintStyle::hsOffice97),
               win95 = sizeFor(THintStyle::hsWindows95);
    EXPECT_EQ(win95.cx, flat.cx + 2);
    EXPECT_EQ(win95.cy, flat.cy);
    EXPECT_EQ(office.cx, flat.cx);
    EXPECT_EQ(office.cy, flat.cy + 2);
}

TEST(FlatHint, TooltipsOverAHintedWindow)
{
    TFlatHint hint;
    hint.SetHintStyle(THintStyle::hsOffice97);
    HWND lastControl = nullptr;
    hint.OnShowHint = [&](std::string&, bool&, THintInfo& info) { lastControl = info.HintControl; };
    HintedWindow w;
    SetForegroundWindow(w.Handle());
    screen::Pump(300);

    // First tooltip: after the first delay, below the cursor, in the flat look.
    const POINT left = w.Centre(true);
    MoveMouse(left);
    const int first = PumpUntil(true, 3000);
    EXPECT_GE(first, 450);
    EXPECT_LE(first, 1500);
    const HWND tip = TooltipWindow();
    ASSERT_TRUE(tip);
    EXPECT_EQ(win::WindowText(tip), "Linke H\xE4lfte");
    EXPECT_EQ(lastControl, w.Handle());
    EXPECT_EQ(hint.HintControl(), w.Handle());
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_EQ(r.left, left.x);
    EXPECT_GT(r.top, left.y);
    EXPECT_FALSE(GetWindowLongA(tip, GWL_STYLE) & WS_BORDER);
    screen::Pump(100);
    screen::Shot shot(r);
    shot.Save("tooltip");
    EXPECT_EQ(screen::Hex(shot.At(r.left, r.top)), screen::Hex(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(screen::Hex(shot.At(r.right - 1, r.bottom - 1)), screen::Hex(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(screen::Hex(shot.At(r.left + 1, r.top + 1)), screen::Hex(GetSysColor(COLOR_INFOBK)));
    EXPECT_TRUE(shot.AnyIn({r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, GetSysColor(COLOR_INFOTEXT)));

    // The next part's tooltip comes at once.
    MoveMouse(w.Centre(false));
    ASSERT_EQ(PumpUntil(false, 500) >= 0, true);
    const int next = PumpUntil(true, 1000);
    EXPECT_GE(next, 0);
    EXPECT_LT(next, 300);
    EXPECT_EQ(win::WindowText(TooltipWindow()), "Rechte H\xE4lfte");

    // A click hides it; the mouse coming back shows the first delay again, and the
    // tooltip hides by itself after five seconds.
    Click();
    EXPECT_GE(PumpUntil(false, 300), 0);
    MoveMouse(left);
    const int again = PumpUntil(true, 3000);
    EXPECT_GE(again, 450);
    const int hidden = PumpUntil(false, 7000);
    EXPECT_GE(hidden, 4800);
    EXPECT_LE(hidden, 5600);

    // Away from the window: nothing shows.
    MoveMouse({5, 5});
    EXPECT_EQ(PumpUntil(true, 1000), -1);
    // Left where a new session has it, for the tests after this one.
    MoveMouse({GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2});
}

} // namespace
