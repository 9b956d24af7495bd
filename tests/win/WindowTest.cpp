// The boundary between the platform and the program's handlers: whatever a handler
// throws is shown once and does not leave a window half-made or closed behind the
// user's back.
#include "win/Window.h"

#include "rescue/Unit4Res.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_reported;

class WindowBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_reported.clear();
        win::SetExceptionReporter([](const std::exception& e) { g_reported.push_back(e.what()); });
    }
    void TearDown() override { win::SetExceptionReporter(nullptr); }
};

class Throwing : public win::Window {
public:
    Throwing()
    {
        RegisterClassOnce("QuillmarkThrowing");
        Create(0, "QuillmarkThrowing", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr);
    }
    ~Throwing() override { Destroy(); }
    static inline bool sawDestroy = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_CLOSE) throw std::runtime_error("close failed");
        if (msg == WM_USER) throw 42;
        if (msg == WM_DESTROY) sawDestroy = true;
        return Window::HandleMessage(msg, wp, lp);
    }
};

TEST_F(WindowBoundaryTest, FailedCloseKeepsTheWindowAndAnyThrownValueIsReported)
{
    Throwing w;
    SendMessageA(w.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(w.Handle()));
    SendMessageA(w.Handle(), WM_USER, 0, 0);
    EXPECT_EQ(g_reported, (std::vector<std::string>{"close failed", "Unbekannter Fehler"}));
}

class InitThrows : public win::Dialog {
protected:
    INT_PTR HandleMessage(UINT msg, WPARAM, LPARAM) override
    {
        if (msg == WM_INITDIALOG) throw std::runtime_error("set-up failed");
        return FALSE;
    }
};

TEST_F(WindowBoundaryTest, DialogWhoseSetUpFailsEndsAtOnce)
{
    InitThrows dialog;
    EXPECT_EQ(dialog.ShowModal(nullptr, IDD_FORM4), win::Dialog::kInitFailed);
    EXPECT_EQ(g_reported, std::vector<std::string>{"set-up failed"});
}

TEST_F(WindowBoundaryTest, DerivedWindowSeesItsOwnDestroy)
{
    Throwing::sawDestroy = false;
    HWND h;
    {
        Throwing w;
        h = w.Handle();
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(Throwing::sawDestroy);
}

} // namespace
