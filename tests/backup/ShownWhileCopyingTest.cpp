// What the main window shows while a copy blocks it: the status line and the bar of
// the item being copied, not of one before it, however fast the items before went by.
#include "AppEnv.h"
#include "BackupFixture.h"
#include "Win95.h"
#include "app/Unit1.h"
#include "backup/BackupRun.h"
#include "backup/RestoreRun.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using backuptest::kTarget;

// Hands every report on to the window and notes, as each step is taken, what the
// screen showed: a step follows its copy at once, so the copy was shown with that. The
// status line's text counts as shown when it is painted (a static control asks its
// parent for its colours each time it paints), the bar's position when the bar is
// painted, asked of the bar's own class past any keeper.
class Watch : public win::Progress {
public:
    explicit Watch(TForm1& form) : form_(form)
    {
        g_watch = this;
        formNext_ = Subclass(form.Handle(), FormProc);
        barNext_ = Subclass(form.PB1.Handle(), BarProc);
    }
    ~Watch()
    {
        Subclass(form_.PB1.Handle(), barNext_);
        Subclass(form_.Handle(), formNext_);
        g_watch = nullptr;
    }
    std::vector<std::pair<std::string, int>> shown;

    void SetStatus(const std::string& text) override { form_.SetStatus(text); }
    void SetStepCount(int steps) override { form_.SetStepCount(steps); }
    void SetPosition(int position) override { form_.SetPosition(position); }
    void Step() override
    {
        shown.emplace_back(status_, bar_);
        form_.Step();
    }
    void ClearLines() override { form_.ClearLines(); }
    void AddLine(const std::string& line) override { form_.AddLine(line); }
    void Pump() override { form_.Pump(); }
    void ShowBeforeBlocking() override { form_.ShowBeforeBlocking(); }

private:
    void EnterBusy() override { busy_.emplace(form_); }
    void LeaveBusy() noexcept override { busy_.reset(); }

    static WNDPROC Subclass(HWND w, WNDPROC proc)
    {
        return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    }
    static LRESULT CALLBACK FormProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        Watch& s = *g_watch;
        if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == s.form_.L1.Handle())
            s.status_ = s.form_.L1.Caption();
        return CallWindowProcA(s.formNext_, w, msg, wp, lp);
    }
    static LRESULT CALLBACK BarProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        Watch& s = *g_watch;
        if (msg == WM_PAINT) {
            const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(w, GCLP_WNDPROC));
            s.bar_ = static_cast<int>(CallWindowProcA(own, w, PBM_GETPOS, 0, 0));
        }
        return CallWindowProcA(s.barNext_, w, msg, wp, lp);
    }

    static inline Watch* g_watch = nullptr;
    TForm1& form_;
    WNDPROC formNext_ = nullptr;
    WNDPROC barNext_ = nullptr;
    std::string status_;
    int bar_ = -1;
    std::optional<win::BusyScope> busy_;
};

TEST(ShownWhileCopyingTest, StatusAndBarShowTheItemWhoseCopyBlocks)
{
    win95::LayOut();
    win95::Remove("C:\\qmtest");
    win95::MakeDirs(kTarget);
    const std::string data = win95::ScratchDir("burst");
    std::vector<std::string> names;
    for (int i = 1; i <= 6; ++i) names.push_back("small" + std::to_string(i) + ".txt");
    names.push_back("Ordner");
    for (size_t i = 0; i + 1 < names.size(); ++i) win95::WriteFile(data + "\\" + names[i], "x");
    win95::MakeDirs(data + "\\Ordner");
    for (int i = 0; i < 20; ++i) win95::WriteFile(data + "\\Ordner\\f" + std::to_string(i) + ".txt", "x");
    TSettings settings = backuptest::StoreSettings([&](TSettings& s) {
        s = TSettings{.OtherFiles = true, .Target = kTarget};
        for (const auto& name : names) s.OtherFileList.push_back(data + "\\" + name);
    });
    TForm1 form(testenv::App(), 0);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    form.ProcessMessages();

    std::vector<std::pair<std::string, int>> backup, restore;
    {
        Watch watch(form);
        backup::RunBackup(settings, form.ShFileOP1, watch);
        backup = watch.shown;
    }
    {
        Watch watch(form);
        backup::RestoreFromRecord(kTarget + "ABackUp.log", form.ShFileOP1, watch);
        restore = watch.shown;
    }
    ASSERT_EQ(backup.size(), names.size());
    ASSERT_EQ(restore.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(backup[i], std::make_pair("Writing " + names[i] + "...", static_cast<int>(i)));
        EXPECT_EQ(restore[i], std::make_pair("Writing " + data + "\\" + names[i] + "...", static_cast<int>(i)));
    }
    win95::ClearSettings();
}

} // namespace
