// The caption bar: its arithmetic, the caption texts it keeps in the form, and what
// the user sees of the real program's window on the session's display.
#include "chrome/GradCaption.h"
#include "chrome/FlatHint.h"
#include "menus/MenuPaint.h"

#include "Driver.h"
#include "Screen.h"
#include "SystemFonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr COLORREF kGreen = RGB(0, 128, 0);

// A form whose window can be made again, as a framework form recreates its handle.
class TestForm : public win::Window {
public:
    explicit TestForm(const std::string& caption, int width = 400) : width_(width) { Make(caption); }
    // The new window gets the caption of the old one, as the form keeps its caption.
    void Recreate()
    {
        const std::string caption = win::WindowText(Handle());
        Destroy();
        Make(caption);
    }
    // The activation flags that reached the form's own procedure.
    std::vector<WPARAM> ncActivations;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_NCACTIVATE) ncActivations.push_back(wp ? 1 : 0);
        return Window::HandleMessage(msg, wp, lp);
    }

private:
    void Make(const std::string& caption)
    {
        RegisterClassOnce("TestCaptionForm");
        Create(WS_EX_DLGMODALFRAME, "TestCaptionForm", caption.c_str(),
               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 120, 420, width_, 120, nullptr, nullptr);
    }
    int width_;
};

// The caption rectangle of a dialog-framed window, in screen coordinates.
RECT CaptionOnScreen(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    InflateRect(&r, -GetSystemMetrics(SM_CXDLGFRAME), -GetSystemMetrics(SM_CYDLGFRAME));
    r.bottom = r.top + GetSystemMetrics(SM_CYCAPTION) - 1;
    return r;
}

// Whether the dark pixels in r form a mark that is the same mirrored left to right and
// top to bottom, as the cross of a close button is and a letter is not. Two pixels of
// ten may differ, for the rounding of a small glyph.
template <typename PixelAt>
bool SymmetricMark(PixelAt at, const RECT& r)
{
    auto dark = [&](int x, int y) {
        const COLORREF c = at(x, y);
        return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96;
    };
    RECT box{r.right, r.bottom, r.left, r.top};
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (dark(x, y)) {
                ++count;
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
            }
    if (count < 6) return false;
    int differ = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (dark(x, y)) {
                differ += !dark(box.left + box.right - 1 - x, y);
                differ += !dark(x, box.top + box.bottom - 1 - y);
            }
    return differ * 10 <= 2 * 2 * count;
}

void Activate(HWND w)
{
    SetForegroundWindow(w);
    driver::WaitUntil([&] { return GetForegroundWindow() == w; }, 5000);
    screen::Pump(300);
}

TEST(GradientBands, CoverTheWidthInRoundedSteps)
{
    const struct {
        int width, n;
        int band0Right, lastLeft;
    } cases[] = {
        {500, 64, 8, 492},   // MulDiv(1, 500, 64) = 7.8 rounds to 8
        {500, 1, 500, 0},
        {100, 256, 0, 100},  // more bands than pixels: empty bands, still ending at the edge
        {37, 3, 12, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " in " + std::to_string(c.n));
        auto bands = TGradientCaption::GradientBands(c.width, c.n, RGB(128, 0, 0), RGB(10, 36, 106));
        ASSERT_EQ(bands.size(), size_t(c.n));
        EXPECT_EQ(bands.front().left, 0);
        EXPECT_EQ(bands.front().right, c.band0Right);
        EXPECT_EQ(bands.back().left, c.lastLeft);
        EXPECT_EQ(bands.back().right, c.width);
        for (size_t i = 1; i < bands.size(); ++i) EXPECT_EQ(bands[i].left, bands[i - 1].right);
        EXPECT_EQ(bands.front().color, RGB(128, 0, 0));
        EXPECT_EQ(bands.back().color, c.n == 1 ? RGB(128, 0, 0) : RGB(10, 36, 106));
    }
    // Each channel moves by its own rounded share.
    auto bands = TGradientCaption::GradientBands(500, 64, RGB(0, 0, 0), RGB(255, 100, 10));
    EXPECT_EQ(bands[1].color, RGB(4, 2, 0));  // 255/63 = 4.05, 100/63 = 1.59, 10/63 = 0.16
}

TEST(GradientDrawn, FollowsEnabledActivationAndColourDepth)
{
    const struct {
        TGradEnabled e;
        bool active;
        int bpp;
        bool drawn;
    } cases[] = {
        {TGradEnabled::geSmart, true, 8, true},   {TGradEnabled::geSmart, false, 8, false},
        {TGradEnabled::geSmart, false, 16, true}, {TGradEnabled::geSmart, true, 4, false},
        {TGradEnabled::geAlways, false, 4, true}, {TGradEnabled::geNever, true, 32, false},
        {TGradEnabled::geWhenActive, true, 4, true}, {TGradEnabled::geWhenActive, false, 32, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TGradientCaption::GradientDrawn(c.e, c.active, c.bpp), c.drawn)
            << int(c.e) << " active " << c.active << " bpp " << c.bpp;
}

TEST(LayoutTexts, DropsTheCompanyFirstThenTheNameAndPlacesTheRest)
{
    using J = TJustification;
    using Slots = std::array<TGradientCaption::TTextSlot, 3>;
    const Slots fits{{{50, true, true}, {60, true, true}, {20, true, true}}};
    const struct {
        const char* what;
        Slots texts;
        J j;
        std::array<int, 3> at;
    } cases[] = {
        {"all fit", fits, J::jLeft, {3, 53, 113}},
        {"left on 4.x", fits, J::jAuto, {3, 53, 113}},
        {"centred", fits, J::jCenter, {38, 88, 148}},
        {"flush right", fits, J::jRight, {73, 123, 183}},
        {"company dropped", {{{100, true, true}, {60, true, true}, {50, true, true}}}, J::jLeft, {-1, 3, 63}},
        {"caption only", {{{100, true, true}, {150, true, true}, {60, true, true}}}, J::jCenter, {-1, -1, 73}},
        {"caption cut", {{{100, true, true}, {150, true, true}, {260, true, true}}}, J::jCenter, {-1, -1, 3}},
        {"hidden company", {{{150, false, true}, {60, true, true}, {20, true, true}}}, J::jLeft, {-1, 3, 63}},
        {"empty company", {{{3, true, false}, {60, true, true}, {20, true, true}}}, J::jLeft, {-1, 3, 63}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TGradientCaption::LayoutTexts(c.texts, c.j, 0, 200), c.at) << c.what;
}

class GradCaptionTest : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<TestForm>(""); }
    void TearDown() override
    {
        caption.reset();
        form.reset();
    }
    void MakeCaption()
    {
        caption = std::make_unique<TGradientCaption>(*form);
        caption->CompanyText.SetCaption("Ardo's");
        caption->CompanyText.SetFontKind(TFontKind::fkSystemBI);
        caption->AppNameText.SetCaption("Quillmark");
        caption->AppNameText.SetFontKind(TFontKind::fkSystemB);
    }
    std::string FormCaption() const { return win::WindowText(form->Handle()); }

    std::unique_ptr<TestForm> form;
    std::unique_ptr<TGradientCaption> caption;
};

TEST_F(GradCaptionTest, DefaultsOfTheComponentAndItsTexts)
{
    caption = std::make_unique<TGradientCaption>(*form);
    EXPECT_EQ(caption->ColorLeftActive(), win::clBlack);
    EXPECT_EQ(caption->ColorLeftInActive(), win::clBlack);
    EXPECT_EQ(caption->ColorRightActive(), win::SystemColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(caption->ColorRightInActive(), win::SystemColor(COLOR_INACTIVECAPTION));
    EXPECT_EQ(caption->Enabled(), TGradEnabled::geSmart);
    EXPECT_EQ(caption->Justification(), TJustification::jAuto);
    EXPECT_EQ(caption->NumColors(), 64);
    for (const TCompanyText* e : {static_cast<const TCompanyText*>(&caption->CompanyText),
                                  static_cast<const TCompanyText*>(&caption->AppNameText),
                                  static_cast<const TCompanyText*>(&caption->CaptionText)}) {
        EXPECT_EQ(e->ColorActive(), win::SystemColor(COLOR_CAPTIONTEXT));
        EXPECT_EQ(e->ColorInactive(), win::SystemColor(COLOR_INACTIVECAPTIONTEXT));
        EXPECT_EQ(e->FontKind(), TFontKind::fkSystem);
        EXPECT_TRUE(e->Visible());
        EXPECT_STREQ(e->Font().lfFaceName, caption->CaptionFont().lfFaceName);
    }
}

TEST_F(GradCaptionTest, NumColorsStaysWithinOneTo256)
{
    caption = std::make_unique<TGradientCaption>(*form);
    const struct {
        int set, stored;
    } cases[] = {{1, 1}, {256, 256}, {300, 256}, {0, 256}, {-5, 256}, {64, 64}, {0, 64}};
    for (const auto& c : cases) {
        caption->SetNumColors(c.set);
        EXPECT_EQ(caption->NumColors(), c.stored) << "set " << c.set;
    }
}

TEST_F(GradCaptionTest, FormCaptionIsComposedFromTheTextsAndReadBack)
{
    MakeCaption();
    EXPECT_EQ(FormCaption(), "Ardo's Quillmark ");
    EXPECT_EQ(caption->CaptionText.Caption(), "");

    const struct {
        bool company, name, rest;
        const char* formCaption;
    } cases[] = {
        {true, true, true, "Ardo's Quillmark Bericht"},
        {false, true, true, "Quillmark Bericht"},
        {true, false, true, "Ardo's Bericht"},
        {true, true, false, "Ardo's Quillmark"},
        {true, false, false, "Ardo's"},
    };
    caption->CaptionText.SetCaption("Bericht");
    for (const auto& c : cases) {
        caption->CompanyText.SetVisible(c.company);
        caption->AppNameText.SetVisible(c.name);
        caption->CaptionText.SetVisible(c.rest);
        EXPECT_EQ(FormCaption(), c.formCaption);
        if (c.rest) {
            EXPECT_EQ(caption->CaptionText.Caption(), "Bericht") << c.formCaption;
        }
        caption->CaptionText.SetVisible(true);
        caption->CompanyText.SetVisible(true);
        caption->AppNameText.SetVisible(true);
    }
    // A new company text replaces the old one in front of the same rest.
    caption->CompanyText.SetCaption("Zunt");
    EXPECT_EQ(FormCaption(), "Zunt Quillmark Bericht");
    // Taken off a form that stays, the component leaves the form its own caption.
    caption.reset();
    EXPECT_EQ(FormCaption(), "Bericht");
}

TEST_F(GradCaptionTest, FontKindsDeriveFromTheCaptionFont)
{
    caption = std::make_unique<TGradientCaption>(*form);
    TCompanyText& t = caption->CompanyText;
    const LOGFONTA& base = caption->CaptionFont();
    const struct {
        TFontKind kind;
        bool italic, bold;
    } cases[] = {{TFontKind::fkSystem, false, false},
                 {TFontKind::fkSystemI, true, false},
                 {TFontKind::fkSystemB, false, true},
                 {TFontKind::fkSystemBI, true, true}};
    for (const auto& c : cases) {
        t.SetFontKind(c.kind);
        EXPECT_STREQ(t.Font().lfFaceName, base.lfFaceName);
        EXPECT_EQ(t.Font().lfHeight, base.lfHeight);
        EXPECT_EQ(t.Font().lfItalic != 0, c.italic || base.lfItalic);
        EXPECT_EQ(t.Font().lfWeight >= FW_BOLD, c.bold || base.lfWeight >= FW_BOLD);
    }
    // A font of its own makes the kind custom...
    LOGFONTA big{};
    big.lfHeight = -40;
    lstrcpyA(big.lfFaceName, "Courier New");
    t.SetFont(big);
    EXPECT_EQ(t.FontKind(), TFontKind::fkCustom);
    EXPECT_EQ(t.Font().lfHeight, -40);
    // ...unless its height follows the caption font: then its letters are as tall.
    t.SetFontKind(TFontKind::fkAutoHeight);
    t.SetFont(big);
    EXPECT_EQ(t.FontKind(), TFontKind::fkAutoHeight);
    EXPECT_STREQ(t.Font().lfFaceName, "Courier New");
    auto charHeight = [](HFONT f) {
        win::UniqueMemDC dc(CreateCompatibleDC(nullptr));
        win::SelectObj sel(dc.get(), f);
        TEXTMETRICA tm{};
        GetTextMetricsA(dc.get(), &tm);
        return tm.tmHeight - tm.tmInternalLeading;
    };
    win::UniqueFont captionFont(CreateFontIndirectA(&base));
    EXPECT_LE(charHeight(t.FontHandle()), charHeight(captionFont.get()));
    EXPECT_GE(charHeight(t.FontHandle()), charHeight(captionFont.get()) - 1);
}

TEST_F(GradCaptionTest, FontsFollowTheSystemWhileRunning)
{
    MakeCaption();
    {
        SystemFonts courier([](NONCLIENTMETRICSA& m) { lstrcpyA(m.lfCaptionFont.lfFaceName, "Courier New"); });
        EXPECT_STREQ(caption->CaptionFont().lfFaceName, "Courier New");
        EXPECT_STREQ(caption->CompanyText.Font().lfFaceName, "Courier New");
        EXPECT_TRUE(caption->CompanyText.Font().lfItalic);
        EXPECT_GE(caption->CompanyText.Font().lfWeight, FW_BOLD);
    }
    EXPECT_STRNE(caption->CaptionFont().lfFaceName, "Courier New");
}

TEST_F(GradCaptionTest, BorderHitsGetTheSizingCursors)
{
    caption = std::make_unique<TGradientCaption>(*form);
    const struct {
        int hit;
        LPCSTR cursor;
    } cases[] = {{HTLEFT, IDC_SIZEWE},     {HTRIGHT, IDC_SIZEWE},       {HTTOP, IDC_SIZENS},
                 {HTBOTTOM, IDC_SIZENS},   {HTTOPLEFT, IDC_SIZENWSE},   {HTBOTTOMRIGHT, IDC_SIZENWSE},
                 {HTTOPRIGHT, IDC_SIZENESW}, {HTBOTTOMLEFT, IDC_SIZENESW}};
    for (const auto& c : cases) {
        SetCursor(nullptr);
        EXPECT_TRUE(SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()),
                                 MAKELPARAM(c.hit, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor)) << c.hit;
    }
}

TEST_F(GradCaptionTest, DialogFrameHasOnlyTheCloseButtonBesideTheTexts)
{
    caption = std::make_unique<TGradientCaption>(*form);
    RECT window;
    GetWindowRect(form->Handle(), &window);
    RECT cap = caption->CaptionRect();
    EXPECT_EQ(cap.left, GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(cap.right, window.right - window.left - GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(cap.bottom - cap.top, GetSystemMetrics(SM_CYCAPTION) - 1);
    RECT area = caption->TextArea();
    EXPECT_EQ(area.left, cap.left);
    EXPECT_EQ(area.right, cap.right - (GetSystemMetrics(SM_CXSIZE) + 2) - 3);
}

TEST_F(GradCaptionTest, ActivationReachesTheFormAndThePaintedCaptionStays)
{
    MakeCaption();
    caption->SetColorLeftActive(kGreen);
    Activate(form->Handle());
    TestForm other("Anderes Fenster", 200);
    Activate(other.Handle());
    Activate(form->Handle());
    ASSERT_GE(form->ncActivations.size(), 2u);
    EXPECT_EQ(form->ncActivations.end()[-2], 0u) << "the deactivation";
    EXPECT_EQ(form->ncActivations.back(), 1u) << "the activation";
    const RECT cap = CaptionOnScreen(form->Handle());
    EXPECT_EQ(screen::Hex(screen::Shot(cap).At(cap.left + 1, cap.top + 1)), screen::Hex(kGreen));
}

// The symbols of the caption buttons are glyphs of the Marlett font: without it the
// close button shows the letter "r".
TEST(CaptionButtons, DrawTheirSymbolsFromMarlett)
{
    EXPECT_TRUE(TFlatHint::FontInstalled("Marlett"));
    const int w = GetSystemMetrics(SM_CXSIZE) - 2, h = GetSystemMetrics(SM_CYSIZE) - 4;
    menus::TOffscreen image;
    image.Resize(w, h);
    ASSERT_TRUE(image.DC());
    RECT r{0, 0, w, h};
    FillRect(image.DC(), &r, GetSysColorBrush(COLOR_BTNFACE));
    ASSERT_TRUE(DrawFrameControl(image.DC(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE));
    const uint32_t* px = image.Pixels();
    auto at = [&](int x, int y) {
        const uint32_t p = px[static_cast<size_t>(y) * w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    // Inside the button's frame.
    EXPECT_TRUE(SymmetricMark(at, RECT{2, 2, w - 2, h - 2})) << "the close button shows a cross";
}

TEST_F(GradCaptionTest, RecreatedWindowKeepsThePaintedCaption)
{
    MakeCaption();
    caption->SetColorLeftActive(kGreen);
    Activate(form->Handle());
    auto leftPixel = [&] {
        RECT cap = CaptionOnScreen(form->Handle());
        return screen::Shot(cap).At(cap.left + 1, cap.top + 1);
    };
    EXPECT_EQ(screen::Hex(leftPixel()), screen::Hex(kGreen));

    form->Recreate();
    screen::Pump(200);
    const HWND w = form->Handle();
    EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), GetClassLongPtrA(w, GCLP_WNDPROC));
    Activate(w);
    EXPECT_EQ(screen::Hex(leftPixel()), screen::Hex(kGreen));
    EXPECT_EQ(FormCaption(), "Ardo's Quillmark ");
}

// The real program on the session's display.
class MainWindowCaption : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = std::make_unique<driver::Program>();
        w = program->Main();
        ASSERT_TRUE(w);
        Activate(w);
    }
    void TearDown() override { program.reset(); }

    struct Look {
        COLORREF left, right, textPixels;
        int textCount;
        bool closeButton, secondButton;
    };
    Look LookAt(bool active, const std::string& name)
    {
        const RECT cap = CaptionOnScreen(w);
        screen::Shot shot(cap);
        RECT window;
        GetWindowRect(w, &window);
        screen::Shot(window).Save(name);
        const int y = cap.top + 1;  // above the letters
        const int areaRight = cap.right - (GetSystemMetrics(SM_CXSIZE) + 2) - 3;
        Look look{};
        look.left = shot.At(cap.left + 1, y);
        look.right = shot.At(areaRight - 1, y);
        look.textPixels = GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
        for (int yy = cap.top; yy < cap.bottom; ++yy)
            for (int x = cap.left; x < cap.left + 150; ++x)
                if (shot.At(x, yy) == look.textPixels) ++look.textCount;
        const int bw = GetSystemMetrics(SM_CXSIZE) - 2;
        const RECT close{cap.right - 2 - bw, cap.top + 2, cap.right - 2, cap.bottom - 2};
        // A button with its cross: the face, and inside the frame a symmetric mark.
        look.closeButton = shot.AnyIn(close, GetSysColor(COLOR_BTNFACE)) &&
                           SymmetricMark([&](int x, int y) { return shot.At(x, y); },
                                         RECT{close.left + 2, close.top + 2, close.right - 2, close.bottom - 2});
        const RECT next{close.left - 2 - bw, close.top, close.left - 2, close.bottom};
        look.secondButton = shot.AnyIn(next, GetSysColor(COLOR_BTNFACE));
        return look;
    }

    std::unique_ptr<driver::Program> program;
    HWND w = nullptr;
};

TEST_F(MainWindowCaption, ActiveAndInactiveOnScreen)
{
    EXPECT_EQ(win::WindowText(w), "Ardo's Quillmark ");
    Look active = LookAt(true, "caption-active");
    EXPECT_EQ(screen::Hex(active.left), screen::Hex(RGB(128, 0, 0)));
    EXPECT_EQ(screen::Hex(active.right), screen::Hex(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_GT(active.textCount, 30) << "caption text " << screen::Hex(active.textPixels);
    EXPECT_TRUE(active.closeButton);
    EXPECT_FALSE(active.secondButton);
    // No icon: the gradient runs on where a single-frame window shows its icon.
    const RECT cap = CaptionOnScreen(w);
    const int iconX = cap.left + 1 + GetSystemMetrics(SM_CXSMICON) / 2;
    const int areaWidth = cap.right - (GetSystemMetrics(SM_CXSIZE) + 2) - 3 - cap.left;
    const auto bands = TGradientCaption::GradientBands(areaWidth, 64, RGB(128, 0, 0), GetSysColor(COLOR_ACTIVECAPTION));
    COLORREF expected = 0;
    for (const auto& b : bands)
        if (iconX - cap.left >= b.left && iconX - cap.left < b.right) expected = b.color;
    EXPECT_EQ(screen::Hex(screen::Shot(cap).At(iconX, cap.top + 1)), screen::Hex(expected));

    // Another window takes the activation.
    TestForm other("Anderes Fenster", 200);
    Activate(other.Handle());
    Look inactive = LookAt(false, "caption-inactive");
    EXPECT_EQ(screen::Hex(inactive.left), screen::Hex(RGB(0, 0, 0)));
    EXPECT_EQ(screen::Hex(inactive.right), screen::Hex(GetSysColor(COLOR_INACTIVECAPTION)));
    EXPECT_GT(inactive.textCount, 30) << "caption text " << screen::Hex(inactive.textPixels);
    EXPECT_TRUE(inactive.closeButton);
}

} // namespace
