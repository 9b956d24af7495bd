// The three clean-up commands run in the main window of this process, on real folders
// and the real registry.
#include "app/Unit1.h"

#include "AppEnv.h"
#include "Win95.h"
#include "app/resource.h"
#include "win/Registry.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Names = std::vector<std::string>;

const std::string kRecentDocs = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

// What the window showed at the command's first message pump: a message posted before
// the command starts is dispatched there.
struct Glimpse {
    std::string status;
    int position = -1;
    int max = -1;
    int lines = -1;
    bool symbolOn = false;
    bool menuShown = true;
};

class Probe {
public:
    explicit Probe(TForm1& form) : form_(form)
    {
        static const ATOM cls = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "CleanupProbe";
            return RegisterClassA(&wc);
        }();
        window_.reset(CreateWindowExA(0, MAKEINTATOM(cls), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
        SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        PostMessageA(window_.get(), WM_APP, 0, 0);
    }
    const Glimpse& Seen() const { return seen_; }
    bool Fired() const { return fired_; }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_APP) {
            auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrA(w, GWLP_USERDATA));
            TForm1& f = self->form_;
            self->seen_ = {f.L1.Caption(), f.PB1.Position(), f.PB1.Max(), f.LB1.Count(), f.AS1.AutoPlay(),
                           f.MB1.Visible()};
            self->fired_ = true;
            return 0;
        }
        return DefWindowProcA(w, msg, wp, lp);
    }

    TForm1& form_;
    win::UniqueWindow window_;
    Glimpse seen_;
    bool fired_ = false;
};

class CleanupCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings("C:\\qmtest\\target\\");
        RegDeleteTreeA(HKEY_CURRENT_USER, kRecentDocs.c_str());
        temp = win95::ScratchDir("temp");
        form = std::make_unique<TForm1>(testenv::App(), 0);
        form->Settings.TempDir = temp + "\\";
    }
    void TearDown() override
    {
        form.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, kRecentDocs.c_str());
        win95::ClearSettings();
    }

    Names Lines() const
    {
        Names lines;
        for (int i = 0; i < form->LB1.Count(); ++i) lines.push_back(form->LB1.Item(i));
        return lines;
    }
    void ExpectIdleWithFullBar(int max) const
    {
        EXPECT_EQ(form->L1.Caption(), "");
        EXPECT_EQ(form->PB1.Max(), max);
        EXPECT_EQ(form->PB1.Position(), max);
        EXPECT_FALSE(form->AS1.AutoPlay());
        EXPECT_TRUE(form->MB1.Visible());
    }
    // The window as a command that stopped before entering must leave it.
    void ExpectUntouched(const Names& lines) const
    {
        EXPECT_EQ(form->L1.Caption(), "Bereit!");
        EXPECT_EQ(form->PB1.Position(), 0);
        EXPECT_EQ(form->PB1.Max(), 100);
        EXPECT_EQ(Lines(), lines);
        EXPECT_FALSE(form->AS1.AutoPlay());
        EXPECT_TRUE(form->MB1.Visible());
    }
    void FillRecentDocs() const
    {
        auto key = win::CreateKey(HKEY_CURRENT_USER, kRecentDocs);
        ASSERT_TRUE(key);
        const BYTE item[] = {'B', 0, 'r', 0, 0, 0};
        for (int i = 0; i < 12; ++i)
            RegSetValueExA(key.get(), std::string(1, static_cast<char>('a' + i)).c_str(), 0, REG_BINARY, item,
                           sizeof item);
        win::WriteString(key.get(), "MRUList", "abcdefghijkl");
        win::WriteInteger(key.get(), "Zähler", 7);
        win::WriteString(key.get(), "", "unnamed");
        auto sub = win::CreateKey(HKEY_CURRENT_USER, kRecentDocs + "\\.txt");
        ASSERT_TRUE(sub);
        win::WriteString(sub.get(), "MRUList", "a");
        RegSetValueExA(sub.get(), "a", 0, REG_BINARY, item, sizeof item);
    }
    // Posts a probe, runs the command and answers what the window showed at its first pump.
    Glimpse Run(int id) const
    {
        Probe probe(*form);
        EXPECT_TRUE(form->RunCommand(id));
        EXPECT_TRUE(probe.Fired());
        return probe.Seen();
    }

    std::string temp;
    std::unique_ptr<TForm1> form;
};

TEST_F(CleanupCommandsTest, TempEmptiesItsFolderAndLeavesExactlyOneLine)
{
    win95::WriteFile(temp + "\\~WRS0001.tmp", "x");
    win95::WriteFile(temp + "\\setup.log", "x");
    win95::MakeDirs(temp + "\\Setup");
    win95::WriteFile(temp + "\\Setup\\data.cab", "x");
    form->LB1.Add("line of an earlier command");

    Glimpse seen = Run(IDM_EMPTYTEMP);
    EXPECT_EQ(seen.status, "Deleting files in Temp-Directory...");
    EXPECT_EQ(seen.position, 0);
    EXPECT_EQ(seen.max, 1);
    EXPECT_EQ(seen.lines, 0);
    EXPECT_TRUE(seen.symbolOn);
    EXPECT_FALSE(seen.menuShown);

    EXPECT_EQ(win95::List(temp), (Names{"Setup"}));
    EXPECT_EQ(win95::List(temp + "\\Setup"), (Names{"data.cab"}));
    EXPECT_EQ(Lines(), (Names{"All files in Temp-Directory deleted."}));
    ExpectIdleWithFullBar(1);
}

TEST_F(CleanupCommandsTest, CookiesAppendsItsLineToWhatAnotherCommandLeft)
{
    win95::WriteFile(win95::kCookies + "\\anna@werbung.txt", "x");
    win95::WriteFile(win95::kCookies + "\\index.dat", "x");
    SetFileAttributesA((win95::kCookies + "\\index.dat").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(form->RunCommand(IDM_EMPTYTEMP));

    Glimpse seen = Run(IDM_EMPTYCOOKIES);
    EXPECT_EQ(seen.status, "Deleting Files in Cookies-Directory...");
    EXPECT_EQ(seen.position, 0);
    EXPECT_EQ(seen.max, 1);
    EXPECT_EQ(seen.lines, 1) << "the list is not cleared";
    EXPECT_TRUE(seen.symbolOn);
    EXPECT_FALSE(seen.menuShown);

    EXPECT_TRUE(win95::List(win95::kCookies).empty());
    EXPECT_EQ(Lines(), (Names{"All files in Temp-Directory deleted.", "All Cookies deleted."}));
    ExpectIdleWithFullBar(1);
    ASSERT_TRUE(form->RunCommand(IDM_EMPTYCOOKIES));
    EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(CleanupCommandsTest, RecentEmptiesItsFolderAndTheValuesOfTheKeyButNotItsSubkeys)
{
    FillRecentDocs();
    win95::WriteFile(win95::kRecent + "\\Rechnung.doc.lnk", "x");
    win95::MakeDirs(win95::kRecent + "\\Ordner");
    form->LB1.Add("line of an earlier command");
    form->LB1.Add("and another");

    Glimpse seen = Run(IDM_EMPTYRECENT);
    EXPECT_EQ(seen.status, "Deleting recent Files...");
    EXPECT_EQ(seen.position, 0);
    EXPECT_EQ(seen.max, 2);
    EXPECT_EQ(seen.lines, 0);
    EXPECT_TRUE(seen.symbolOn);
    EXPECT_FALSE(seen.menuShown);

    EXPECT_EQ(win95::List(win95::kRecent), (Names{"Ordner"}));
    auto key = win::OpenKey(HKEY_CURRENT_USER, kRecentDocs);
    ASSERT_TRUE(key) << "the key itself stays";
    EXPECT_TRUE(win::ValueNames(key.get()).empty());
    auto sub = win::OpenKey(HKEY_CURRENT_USER, kRecentDocs + "\\.txt");
    ASSERT_TRUE(sub);
    EXPECT_EQ(win::ValueNames(sub.get()).size(), 2u);
    EXPECT_EQ(win::ReadString(sub.get(), "MRUList"), "a");
    EXPECT_EQ(Lines(), (Names{"All recent files deleted."}));
    ExpectIdleWithFullBar(2);
}

TEST_F(CleanupCommandsTest, RecentWithoutTheKeyCreatesNothingAndStillEndsWithItsLine)
{
    win95::WriteFile(win95::kRecent + "\\Brief.lnk", "x");
    ASSERT_TRUE(form->RunCommand(IDM_EMPTYRECENT));
    EXPECT_FALSE(win::OpenKey(HKEY_CURRENT_USER, kRecentDocs));
    EXPECT_TRUE(win95::List(win95::kRecent).empty());
    EXPECT_EQ(Lines(), (Names{"All recent files deleted."}));
    ExpectIdleWithFullBar(2);
}

TEST_F(CleanupCommandsTest, MissingFoldersStillEndWithTheCompletionLine)
{
    form->Settings.CookiesDir = "C:\\qmtest\\nowhere\\Cookies";
    form->Settings.TempDir = "C:\\qmtest\\nowhere\\Temp\\";
    ASSERT_TRUE(form->RunCommand(IDM_EMPTYTEMP));
    ASSERT_TRUE(form->RunCommand(IDM_EMPTYCOOKIES));
    EXPECT_EQ(Lines(), (Names{"All files in Temp-Directory deleted.", "All Cookies deleted."}));
    EXPECT_FALSE(win95::Exists("C:\\qmtest\\nowhere"));
}

TEST_F(CleanupCommandsTest, AnEmptyFolderPathDoesNothingAtAll)
{
    FillRecentDocs();
    win95::WriteFile(temp + "\\keep.tmp", "x");
    form->LB1.Add("line of an earlier command");
    form->Settings.CookiesDir.clear();
    form->Settings.RecentDir.clear();
    form->Settings.TempDir.clear();
    for (int id : {IDM_EMPTYCOOKIES, IDM_EMPTYRECENT, IDM_EMPTYTEMP}) {
        SCOPED_TRACE(id);
        Probe probe(*form);
        ASSERT_TRUE(form->RunCommand(id));
        EXPECT_FALSE(probe.Fired()) << "no message is pumped";
        ExpectUntouched({"line of an earlier command"});
    }
    EXPECT_EQ(win95::List(temp), (Names{"keep.tmp"}));
    EXPECT_EQ(win95::List(win95::kCookies), (Names{"anna@example.txt"}));
    EXPECT_EQ(win::ValueNames(win::OpenKey(HKEY_CURRENT_USER, kRecentDocs).get()).size(), 15u);
}

// The list, the status and the bar are set before the busy state is entered: a clip
// that cannot be opened stops the command with the command's own start on screen.
TEST_F(CleanupCommandsTest, MissingClipStopsTheCommandWithItsOwnStartOnScreen)
{
    win95::WriteFile(temp + "\\keep.tmp", "x");
    form->AS1.SetAVIName("C:\\qmtest\\nowhere\\s.dll");
    struct Case {
        int id;
        const char* status;
        int max;
        bool listCleared;
    };
    for (const Case& c : {Case{IDM_EMPTYCOOKIES, "Deleting Files in Cookies-Directory...", 1, false},
                          Case{IDM_EMPTYRECENT, "Deleting recent Files...", 2, true},
                          Case{IDM_EMPTYTEMP, "Deleting files in Temp-Directory...", 1, true}}) {
        SCOPED_TRACE(c.status);
        form->LB1.Clear();
        form->LB1.Add("line of an earlier command");
        form->SetStatus("Ready!");
        form->PB1.SetMax(5);
        form->PB1.SetPosition(5);
        EXPECT_THROW(form->RunCommand(c.id), std::exception);
        EXPECT_EQ(form->L1.Caption(), c.status);
        EXPECT_EQ(form->PB1.Position(), 0);
        EXPECT_EQ(form->PB1.Max(), c.max);
        EXPECT_EQ(Lines(), c.listCleared ? Names{} : Names{"line of an earlier command"});
        EXPECT_FALSE(form->AS1.AutoPlay());
        EXPECT_TRUE(form->MB1.Visible());
    }
    EXPECT_EQ(win95::List(temp), (Names{"keep.tmp"})) << "nothing is deleted";
}

TEST_F(CleanupCommandsTest, SystemFoldersAreRefusedWithAWarningAndNothingIsDeleted)
{
    FillRecentDocs();
    form->LB1.Add("line of an earlier command");
    struct Case {
        int id;
        std::string TSettings::*field;
        std::string folder;
    };
    for (const Case& c : {Case{IDM_EMPTYCOOKIES, &TSettings::CookiesDir, "C:\\"},
                          Case{IDM_EMPTYRECENT, &TSettings::RecentDir, "C:\\WINDOWS"},
                          Case{IDM_EMPTYTEMP, &TSettings::TempDir, "C:\\WINDOWS\\\\"}}) {
        SCOPED_TRACE(c.folder);
        form->Settings.*c.field = c.folder;
        testenv::BoxAnswerer answer;
        ASSERT_TRUE(form->RunCommand(c.id));
        EXPECT_EQ(answer.Text(), "Warnung|Der Ordner " + c.folder + " ist ein Systemordner und wird nicht geleert.");
        EXPECT_EQ(answer.Owner(), form->Handle());
        EXPECT_EQ(answer.Icon(), LoadIconA(nullptr, IDI_EXCLAMATION));
        EXPECT_EQ(answer.Buttons(), 1);
        ExpectUntouched({"line of an earlier command"});
    }
    for (const char* file : {"Command.com", "Autoexec.bat", "Config.sys", "IO.sys", "MSDOS.sys"})
        EXPECT_TRUE(win95::Exists(win95::kBootDir + file)) << file;
    for (const char* file : {"Win.ini", "System.ini", "User.dat", "System.dat"})
        EXPECT_TRUE(win95::Exists(win95::kWinDir + file)) << file;
    EXPECT_EQ(win::ValueNames(win::OpenKey(HKEY_CURRENT_USER, kRecentDocs).get()).size(), 15u)
        << "a refused recent-documents command leaves the registry list too";
}

} // namespace
