// The busy symbol over the platform's animation control, with the generated clip.
#include "chrome/AnimSymbol.h"

#include "Driver.h"
#include "win/Window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

struct Played {
    WPARAM repeat = 0;
    LPARAM range = 0;
    int opens = 0;
};
Played g_played;
WNDPROC g_original = nullptr;

// Listens in on what the symbol asks of the platform's control.
LRESULT CALLBACK Spy(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == ACM_PLAY) g_played = {wp, lp, g_played.opens};
    if (msg == ACM_OPENA && lp) ++g_played.opens;
    return CallWindowProcA(g_original, w, msg, wp, lp);
}

class AnimSymbolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "AnimHost";
            return RegisterClassA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        host = CreateWindowA("AnimHost", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
        clip = driver::BinDir() + "s.dll";
    }
    void TearDown() override { DestroyWindow(host); }

    HWND host = nullptr;
    std::string clip;
};

TEST_F(AnimSymbolTest, NewSymbolHasItsDefaults)
{
    TAnimatedSymbol s;
    EXPECT_TRUE(s.Enabled());
    EXPECT_TRUE(s.Visible());
    EXPECT_EQ(s.AVIName(), "");
    EXPECT_TRUE(s.Center());
    EXPECT_TRUE(s.Transparent());
    EXPECT_EQ(s.PlayFrom(), 0);
    EXPECT_EQ(s.PlayTo(), -1);
    EXPECT_EQ(s.Cycles(), -1);
    EXPECT_EQ(s.State(), TAnimatedState::acmClosed);
    EXPECT_TRUE(s.AutoPlay());
    s.CreateWnd(host, 7, 0, 0);
    RECT r;
    GetWindowRect(s.Handle(), &r);
    EXPECT_EQ(r.right - r.left, win::Scale(32));
    char cls[64] = {};
    GetClassNameA(s.Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "SysAnimate32");
    EXPECT_EQ(s.Style() & (ACS_AUTOPLAY | ACS_CENTER | ACS_TRANSPARENT),
              static_cast<DWORD>(ACS_AUTOPLAY | ACS_CENTER | ACS_TRANSPARENT));
}

TEST_F(AnimSymbolTest, ClosedWithoutAutoPlayNeverLooksAtTheClip)
{
    TAnimatedSymbol s;
    s.SetAutoPlay(false);
    s.CreateWnd(host, 7, 16, 16, 281, 49);
    EXPECT_NO_THROW(s.SetAVIName("C:\\nowhere\\s.dll"));
    EXPECT_EQ(s.Style() & ACS_AUTOPLAY, 0u);
}

TEST_F(AnimSymbolTest, WindowIsMadeWhenThereIsAClipToShowOrWhenAskedFor)
{
    TAnimatedSymbol s;
    s.SetAutoPlay(false);
    s.CreateWnd(host, 7, 16, 16, 281, 49);
    s.MoveBy(0, 10);
    s.SetAVIName(clip);
    s.SetCenter(false);
    EXPECT_FALSE(s.HandleAllocated());
    EXPECT_EQ(FindWindowExA(host, nullptr, ANIMATE_CLASSA, nullptr), nullptr);
    s.SetState(TAnimatedState::acmPlaying);
    ASSERT_TRUE(s.HandleAllocated());
    HWND made = FindWindowExA(host, nullptr, ANIMATE_CLASSA, nullptr);
    EXPECT_EQ(made, s.Handle());
    EXPECT_FALSE(GetWindowLongA(made, GWL_STYLE) & ACS_CENTER) << "made with the style set before";
    RECT r;
    GetWindowRect(made, &r);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, win::Scale(16) + 10);
    s.SetState(TAnimatedState::acmClosed);
    EXPECT_EQ(s.Handle(), made) << "a window once made stays";

    TAnimatedSymbol asked;
    asked.CreateWnd(host, 8, 0, 0);
    EXPECT_FALSE(asked.HandleAllocated());
    EXPECT_NE(asked.Handle(), nullptr);
}

TEST_F(AnimSymbolTest, ClipThatCannotBeOpenedIsReportedByName)
{
    TAnimatedSymbol s;
    s.SetAutoPlay(false);
    s.CreateWnd(host, 7, 16, 16, 281, 49);
    for (const std::string& bad : {std::string("C:\\nowhere\\s.dll"), driver::BinDir() + "Quillmark.exe"}) {
        s.SetAVIName(bad);
        try {
            s.SetAutoPlay(true);
            FAIL() << "opened " << bad;
        } catch (const std::exception& e) {
            EXPECT_EQ(e.what(), "Could not open AVI \"" + bad + "\"\r\rIt must be a silent AVI file/resource.");
        }
        s.SetAutoPlay(false);
    }
}

TEST_F(AnimSymbolTest, AutoPlayRecreatesTheWindowOnlyWhenItChanges)
{
    TAnimatedSymbol s;
    s.SetAutoPlay(false);
    s.CreateWnd(host, 7, 16, 16, 281, 49);
    s.SetAVIName(clip);
    HWND before = s.Handle();
    s.SetAutoPlay(false);
    EXPECT_EQ(s.Handle(), before);
    int started = 0;
    s.OnStart = [&](TAnimatedSymbol& sender) {
        EXPECT_EQ(&sender, &s);
        ++started;
    };
    s.SetAutoPlay(true);
    EXPECT_NE(s.Handle(), before);
    EXPECT_TRUE(GetWindowLongA(s.Handle(), GWL_STYLE) & ACS_AUTOPLAY);
    // The control tells its parent that it started; the parent hands the code on.
    s.Notification(ACN_START);
    EXPECT_EQ(started, 1);
    HWND playing = s.Handle();
    s.SetAutoPlay(true);
    EXPECT_EQ(s.Handle(), playing);
    s.SetCenter(false);
    EXPECT_NE(s.Handle(), playing);
    EXPECT_FALSE(GetWindowLongA(s.Handle(), GWL_STYLE) & ACS_CENTER);
    HWND uncentred = s.Handle();
    s.SetTransparent(false);
    EXPECT_NE(s.Handle(), uncentred);
    s.SetAutoPlay(false);
    EXPECT_FALSE(GetWindowLongA(s.Handle(), GWL_STYLE) & ACS_AUTOPLAY);
}

TEST_F(AnimSymbolTest, PlayingPassesRangeAndRepeatCount)
{
    TAnimatedSymbol s;
    s.SetAutoPlay(false);
    s.CreateWnd(host, 7, 16, 16, 281, 49);
    g_original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(s.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy)));
    g_played = {};
    s.SetAVIName(clip);
    EXPECT_EQ(g_played.opens, 0) << "closed and not auto-playing";
    s.SetPlayFrom(2);
    s.SetPlayTo(5);
    s.SetCycles(3);
    s.SetState(TAnimatedState::acmPlaying);
    EXPECT_EQ(g_played.repeat, 3u);
    EXPECT_EQ(g_played.range, (5 << 16) + 2);
    s.SetCycles(-1);
    EXPECT_EQ(g_played.repeat, static_cast<WPARAM>(static_cast<UINT>(-1)));
    s.SetState(TAnimatedState::acmClosed);
}

} // namespace
