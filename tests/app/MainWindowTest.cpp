// The main window created in this process: layout, menu, start state, busy state,
// the folder test and the standard error box.
#include "app/Unit1.h"

#include "AppEnv.h"
#include "Driver.h"
#include "Win95.h"
#include "app/Application.h"
#include "app/resource.h"
#include "win/Files.h"
#include "win/Registry.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings("C:\\qmtest\\target\\");
        form = std::make_unique<TForm1>(testenv::App(), 0);
    }
    void TearDown() override
    {
        form.reset();
        win95::ClearSettings();
    }

    RECT ChildRect(HWND w) const
    {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The controls above the separating line move down by what the menu bar's dock
    // takes beyond the 12 units the design gives it.
    void ExpectBounds(HWND w, int l, int t, int width, int height) const
    {
        SCOPED_TRACE(win::WindowText(w) + " " + std::to_string(GetDlgCtrlID(w)));
        RECT r = ChildRect(w);
        OffsetRect(&r, 0, -(form->Dock1.Height() - win::Scale(12)));
        EXPECT_EQ(r.left, win::Scale(l));
        EXPECT_EQ(r.top, win::Scale(t));
        EXPECT_EQ(r.right - r.left, win::Scale(width));
        EXPECT_EQ(r.bottom - r.top, win::Scale(height));
    }
    std::string MenuText(HMENU m, UINT pos) const
    {
        char buf[128] = {};
        GetMenuStringA(m, pos, buf, sizeof buf, MF_BYPOSITION);
        return buf;
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindowTest, WindowAndControlsStandAtTheirDesignBounds)
{
    EXPECT_EQ(win::WindowText(form->Handle()), "Ardo's Quillmark ");
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), testenv::App().Handle());
    LONG style = GetWindowLongA(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_SYSMENU);
    // The dock of the menu bar lies inside the client area of the design.
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, win::Scale(512));
    EXPECT_EQ(client.bottom, win::Scale(215));
    const RECT dock = ChildRect(form->Dock1.Handle());
    EXPECT_EQ(dock.top, 0);
    EXPECT_EQ(dock.right, client.right);
    EXPECT_GT(dock.bottom, win::Scale(12)) << "the menu bar needs more than the design gives";

    ExpectBounds(form->AS1.Handle(), 16, 16, 281, 49);
    ExpectBounds(form->L1.Handle(), 16, 81, 281, 16);
    ExpectBounds(form->PB1.Handle(), 15, 100, 380, 16);
    ExpectBounds(form->B1, 404, 94, 101, 28);
    EXPECT_LT(ChildRect(form->B1).bottom, form->Bevel1.top);
    EXPECT_EQ(form->Bevel1.left, win::Scale(1));
    EXPECT_EQ(form->Bevel1.top, win::Scale(140));
    EXPECT_EQ(form->Bevel1.bottom - form->Bevel1.top, win::Scale(2));
    RECT lb = ChildRect(form->LB1.Handle());
    EXPECT_EQ(lb.left, 0);
    EXPECT_EQ(lb.right, client.right);
    EXPECT_EQ(lb.bottom, client.bottom);
    EXPECT_EQ(lb.bottom - lb.top, win::Scale(69));
    EXPECT_GE(lb.top, form->Bevel1.bottom);
    EXPECT_EQ(SendMessageA(form->LB1.Handle(), LB_GETITEMHEIGHT, 0, 0), win::Scale(16));

    EXPECT_EQ(win::WindowText(form->B1), "&Abbrechen");
    EXPECT_FALSE(IsWindowEnabled(form->B1));
    EXPECT_TRUE(GetWindowLongA(form->B1, GWL_STYLE) & BS_DEFPUSHBUTTON);
}

// Tools that read a window's font (and the system menu's drop-down) get the font of
// its controls.
TEST_F(MainWindowTest, AnswersWithTheFontOfItsControls)
{
    const LRESULT font = SendMessageA(form->Handle(), WM_GETFONT, 0, 0);
    EXPECT_NE(font, 0);
    EXPECT_EQ(font, SendMessageA(form->L1.Handle(), WM_GETFONT, 0, 0));
    EXPECT_EQ(font, SendMessageA(form->LB1.Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(form->SystemMenu(), nullptr);
    EXPECT_EQ(reinterpret_cast<LRESULT>(form->SystemMenu()->ShownFont()), font);
}

TEST_F(MainWindowTest, StartsReadyWithSettingsLoadedAndNoClipOpen)
{
    EXPECT_EQ(form->L1.Caption(), "Bereit!");
    EXPECT_EQ(form->PB1.Position(), 0);
    EXPECT_EQ(form->PB1.Max(), 100);
    EXPECT_EQ(form->LB1.Count(), 0);
    EXPECT_EQ(form->AS1.AVIName(), driver::BinDir() + "s.dll");
    EXPECT_FALSE(form->AS1.AutoPlay());
    EXPECT_EQ(form->AS1.State(), TAnimatedState::acmClosed);
    EXPECT_TRUE(form->Settings.StartMenu);
    EXPECT_EQ(form->Settings.Target, "C:\\qmtest\\target\\");
    EXPECT_FALSE(form->BackupStarted());
    EXPECT_TRUE(form->MB1.Visible());
}

// A long command's message list: the newest line stays in view unless the reader has
// scrolled away, and the scroll bar, which the list keeps itself, comes, follows the
// lines and goes.
TEST_F(MainWindowTest, MessageListKeepsTheNewestLineInViewWithItsScrollBarInStep)
{
    ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    const HWND list = form->LB1.Handle();
    const int page = form->LB1.VisibleLines();
    // The bar is redrawn at most every few hundredths of a second: let that pass.
    auto settle = [&] {
        for (int i = 0; i < 10; ++i) {
            form->ProcessMessages();
            Sleep(10);
        }
    };
    auto barShown = [&] { return (GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) != 0; };
    auto top = [&] { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); };
    auto bar = [&] {
        SCROLLINFO si{sizeof si, SIF_ALL};
        GetScrollInfo(list, SB_VERT, &si);
        return si;
    };
    ASSERT_GE(page, 2);

    for (int i = 0; i < page; ++i) form->LB1.Add("line " + std::to_string(i));
    settle();
    EXPECT_EQ(top(), 0);
    EXPECT_FALSE(barShown());

    const int lines = 40;
    for (int i = page; i < lines; ++i) form->LB1.Add("line " + std::to_string(i));
    settle();
    EXPECT_EQ(top(), lines - page);
    ASSERT_TRUE(barShown());
    EXPECT_EQ(bar().nMax, lines - 1);
    EXPECT_EQ(bar().nPage, static_cast<UINT>(page));
    EXPECT_EQ(bar().nPos, lines - page);

    // Scrolled back to the start, the reader keeps that view while lines arrive.
    SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
    settle();
    EXPECT_EQ(bar().nPos, 0);
    form->LB1.Add("line 40");
    form->LB1.Add("line 41");
    EXPECT_EQ(top(), 0);
    EXPECT_EQ(form->LB1.Count(), lines + 2);
    EXPECT_EQ(form->LB1.Item(lines + 1), "line 41");

    form->LB1.Clear();
    settle();
    EXPECT_FALSE(barShown());
}

// Counts the paintings a control gets, however they come: from the pump or at once.
class PaintCount {
public:
    explicit PaintCount(HWND w) : w_(w)
    {
        SetPropA(w, "QuillmarkPaints", this);
        next_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~PaintCount()
    {
        SetWindowLongPtrA(w_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next_));
        RemovePropA(w_, "QuillmarkPaints");
    }
    int paints = 0;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = static_cast<PaintCount*>(GetPropA(w, "QuillmarkPaints"));
        if (msg == WM_PAINT) ++self->paints;
        return CallWindowProcA(self->next_, w, msg, wp, lp);
    }
    HWND w_;
    WNDPROC next_;
};

// A command reports items faster than the eye follows: the status, the bar and the list
// are painted a frame at a time, not once per item, and what the last frame has not
// drawn shows as soon as the command ends.
TEST_F(MainWindowTest, ItemsOfABurstAreDrawnAFrameAtATimeAndAllShowWhenTheCommandEnds)
{
    ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    form->ProcessMessages();
    const HWND list = form->LB1.Handle();
    const int page = form->LB1.VisibleLines();
    // The list's scroll bar is already there: its coming repaints the list once more.
    for (int i = 0; i <= page; ++i) form->LB1.Add("earlier line");
    form->LB1.ShowWaiting();
    const int earlier = form->LB1.Count();
    const int items = 300;
    int statusPaints = 0;
    int barPaints = 0;
    int listPaints = 0;
    DWORD took = 0;
    {
        win::BusyScope busy(*form);
        form->SetPosition(0);
        form->SetStepCount(items);
        PaintCount status(form->L1.Handle());
        PaintCount bar(form->PB1.Handle());
        PaintCount lines(list);
        const DWORD start = GetTickCount();
        for (int i = 0; i < items; ++i) {
            form->SetStatus("Writing f" + std::to_string(i) + ".dat...");
            if (i == items / 2) {
                // Within a frame the control answers with the newest text, whole or cut
                // to the asker's buffer.
                const std::string now = "Writing f" + std::to_string(i) + ".dat...";
                EXPECT_EQ(form->L1.Caption(), now);
                EXPECT_EQ(GetWindowTextLengthA(form->L1.Handle()), static_cast<int>(now.size()));
                char cut[6];
                EXPECT_EQ(SendMessageA(form->L1.Handle(), WM_GETTEXT, sizeof cut, reinterpret_cast<LPARAM>(cut)), 5);
                EXPECT_STREQ(cut, "Writi");
            }
            form->Step();
            form->AddLine("f" + std::to_string(i) + ".dat stored.");
            form->Pump();
        }
        took = GetTickCount() - start;
        statusPaints = status.paints;
        barPaints = bar.paints;
        listPaints = lines.paints;
    }
    // A frame lasts 40 ms; one more for the first item and one for the frame the end cuts short.
    const int frames = static_cast<int>(took / 40) + 2;
    EXPECT_LE(statusPaints, frames) << took << " ms";
    EXPECT_LE(barPaints, frames) << took << " ms";
    // The list also paints the first line of a frame that it shows in part at its foot.
    EXPECT_LE(listPaints, 2 * frames) << took << " ms";
    EXPECT_EQ(form->L1.Caption(), "Writing f" + std::to_string(items - 1) + ".dat...");
    // The text the platform keeps, which the screen shows and other programs read.
    WCHAR kept[64] = L"";
    InternalGetWindowText(form->L1.Handle(), kept, 64);
    EXPECT_EQ(std::wstring(kept), L"Writing f" + std::to_wstring(items - 1) + L".dat...");
    EXPECT_EQ(form->PB1.Position(), items);
    EXPECT_EQ(form->LB1.Count(), earlier + items);
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), earlier + items - page);
}

TEST_F(MainWindowTest, MenuHasEveryItemWithItsCaptionAndShortcut)
{
    // The platform draws no menu bar; the bar in the dock shows the three menus.
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    ASSERT_EQ(form->MB1.ButtonCount(), 3);
    EXPECT_EQ(form->MB1.Button(0).Caption, "&Datei");
    EXPECT_EQ(form->MB1.Button(1).Caption, "&Zubehör");
    EXPECT_EQ(form->MB1.Button(2).Caption, "&?");
    EXPECT_EQ(form->Dock1.Height(), form->MB1.BarHeight());
    HMENU bar = form->MB1.MainMenu()->Handle();
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), "&Datei");
    EXPECT_EQ(MenuText(bar, 1), "&Zubehör");
    EXPECT_EQ(MenuText(bar, 2), "&?");
    HMENU file = GetSubMenu(bar, 0);
    const char* fileItems[] = {"&Konfiguration...\tStrg+O", "Rescue-Boot-Disk &erstellen...", "&Sichern\tStrg+S",
                               "&Wiederherstellen\tStrg+R", "", "&Beenden"};
    ASSERT_EQ(GetMenuItemCount(file), 6);
    for (UINT i = 0; i < 6; ++i) EXPECT_EQ(MenuText(file, i), fileItems[i]);
    EXPECT_TRUE(GetMenuState(file, 4, MF_BYPOSITION) & MF_SEPARATOR);
    HMENU tools = GetSubMenu(bar, 1);
    EXPECT_EQ(MenuText(tools, 0), "Cookies löschen");
    EXPECT_EQ(MenuText(tools, 1), "Menü \"Dokumente\" leeren");
    EXPECT_EQ(MenuText(tools, 2), "Temp-Verzeichnis leeren");
    HMENU help = GetSubMenu(bar, 2);
    EXPECT_EQ(MenuText(help, 0), "&Inhalt...");
    EXPECT_TRUE(GetMenuState(help, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(MenuText(help, 2), "Inf&o");
}

TEST_F(MainWindowTest, BusyStateHidesTheMenuAndRunsTheSymbolUntilLeftByAnyPath)
{
    {
        win::BusyScope busy(*form);
        EXPECT_FALSE(form->MB1.Visible());
        EXPECT_TRUE(form->AS1.AutoPlay());
    }
    EXPECT_TRUE(form->MB1.Visible());
    EXPECT_FALSE(form->AS1.AutoPlay());
    try {
        win::BusyScope busy(*form);
        throw std::runtime_error("boom");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(form->MB1.Visible());
    EXPECT_FALSE(form->AS1.AutoPlay());
}

TEST_F(MainWindowTest, MissingClipStopsTheCommandBeforeItsFirstStepAndTheNextTriesAgain)
{
    form->AS1.SetAVIName("C:\\qmtest\\nowhere\\s.dll");
    const std::string expected =
        "Could not open AVI \"C:\\qmtest\\nowhere\\s.dll\"\r\rIt must be a silent AVI file/resource.";
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            win::BusyScope busy(*form);
            FAIL() << "entered without a clip";
        } catch (const std::exception& e) {
            EXPECT_EQ(e.what(), expected);
        }
        EXPECT_TRUE(form->MB1.Visible());
        EXPECT_FALSE(form->AS1.AutoPlay());
    }
}

TEST_F(MainWindowTest, DamagedSettingIsReportedAndTheWindowOpensWithDefaultsFromThere)
{
    form.reset();
    {
        auto k = win::CreateKey(HKEY_CURRENT_USER, kSettingsKey);
        win::WriteString(k.get(), "WinIniSystemIni", "1");
    }
    testenv::BoxAnswerer answer;
    form = std::make_unique<TForm1>(testenv::App(), 0);
    EXPECT_EQ(answer.Text(), "Quillmark|Ungültiger Datentyp für 'WinIniSystemIni'.");
    EXPECT_TRUE(form->Settings.MSDOSBootFiles && form->Settings.WindowsRegistry);
    EXPECT_FALSE(form->Settings.WinIniSystemIni || form->Settings.StartMenu);
    EXPECT_EQ(form->Settings.Target, "a:\\");
    EXPECT_EQ(form->Settings.BootDir, win95::kBootDir);
    EXPECT_EQ(form->L1.Caption(), "Bereit!");
}

TEST_F(MainWindowTest, DirectoryReadyChangesIntoExistingFoldersOnly)
{
    std::string dir = win95::ScratchDir("ready");
    ASSERT_TRUE(win::DirectoryReady(dir + "\\"));
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(lstrcmpiA(cwd, dir.c_str()), 0);
    EXPECT_FALSE(win::DirectoryReady("C:\\qmtest\\missing\\"));
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(lstrcmpiA(cwd, dir.c_str()), 0) << "a failed test leaves the current folder";
    EXPECT_TRUE(win::DirectoryReady("a:\\"));
    EXPECT_FALSE(win::DirectoryReady("q:\\"));
}

TEST_F(MainWindowTest, ErrorBoxIsCaptionedQuillmarkAndAlwaysAddsAFullStop)
{
    for (const char* message : {"Kann nicht nach X schreiben", "Schon mit Punkt."}) {
        testenv::BoxAnswerer answer;
        testenv::App().ShowException(std::runtime_error(message));
        EXPECT_EQ(answer.Text(), std::string("Quillmark|") + message + ".");
    }
}

// Started with an argument, the window runs for a scheduler: no prompt for a missing
// medium, no error box of the shell's copy, and an error that would show the standard
// box is a line in the list and a run that did not reach its end. Without one, the box
// is back.
TEST_F(MainWindowTest, UnattendedWindowListsErrorsInsteadOfWaitingOnBoxes)
{
    const UINT before = SetErrorMode(0);
    SetErrorMode(before);
    {
        TForm1 unattended(testenv::App(), 1);
        const UINT mode = SetErrorMode(before);
        EXPECT_EQ(mode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
                  static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
        EXPECT_TRUE(unattended.ShFileOP1.NoErrorUI);
        EXPECT_EQ(unattended.BackupExitCode(), 3);
        testenv::App().ShowException(std::runtime_error("Kann nicht nach X schreiben"));
        ASSERT_EQ(unattended.LB1.Count(), 1);
        EXPECT_EQ(unattended.LB1.Item(0), "Kann nicht nach X schreiben.");
        EXPECT_EQ(unattended.BackupExitCode(), 3);
    }
    EXPECT_FALSE(form->ShFileOP1.NoErrorUI);
    testenv::BoxAnswerer answer;
    testenv::App().ShowException(std::runtime_error("Kann nicht nach X schreiben"));
    EXPECT_EQ(answer.Text(), "Quillmark|Kann nicht nach X schreiben.");
}

TEST_F(MainWindowTest, AboutBoxBelongsToTheApplicationWindowAndShowsTheIcon)
{
    HWND owner = nullptr;
    HICON icon = nullptr;
    std::thread t([&] {
        HWND box = nullptr;
        driver::WaitUntil([&] {
            auto boxes = driver::TopWindows(GetCurrentProcessId(), "#32770");
            if (!boxes.empty()) box = boxes.front();
            return box != nullptr;
        });
        if (!box) return;
        owner = GetWindow(box, GW_OWNER);
        icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
        driver::Press(box, IDOK);
    });
    form->RunCommand(IDM_INFO);
    t.join();
    EXPECT_EQ(owner, testenv::App().Handle());
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(icon, testenv::App().Icon());
}

} // namespace
