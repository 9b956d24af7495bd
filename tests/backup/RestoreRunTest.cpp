// "&Wiederherstellen" through the real program: the record is chosen in the platform's
// file-open dialog, and every recorded item goes back into its folder.
#include "BackupFixture.h"
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using backuptest::kTarget;
using backuptest::Recorded;

class RestoreRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::Remove("C:\\qmtest");
        win95::MakeDirs(kTarget);
        backuptest::StoreSettings([](TSettings& s) { s.OtherFiles = false; });
    }
    void TearDown() override { win95::ClearSettings(); }

    // Chooses file in the restore's dialog and waits until the run has ended.
    void Restore(driver::Program& p, const std::string& file)
    {
        p.PostCommand(IDM_RESTORE);
        HWND dialog = p.WaitFileDialog();
        ASSERT_NE(dialog, nullptr);
        driver::ChooseFile(dialog, file);
        ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog() && p.Status().rfind("Ready!", 0) == 0; }));
        ASSERT_TRUE(driver::WaitUntil([&] { return p.MenuShown(); }));
    }

    void WriteRecord(const std::string& path, const std::string& body)
    {
        win95::WriteFile(path, "[Target]\r\nDrive=" + kTarget + "\r\n" + body);
    }
};

TEST_F(RestoreRunTest, BackupComesBackIntoAChangedSystemUnderItsOwnNames)
{
    driver::Program p;
    p.Command(IDM_START);
    ASSERT_EQ(p.Status(), "Ready!");
    const std::string startMenuAlias = Recorded("Start Menu");
    ASSERT_NE(startMenuAlias, "Start Menu");

    const std::string winIni = win95::ReadFile(win95::kWinDir + "Win.ini");
    win95::WriteFile(win95::kWinDir + "Win.ini", "[windows]\r\nrun=virus.exe\r\n");
    win95::Remove(win95::kStartMenu);
    win95::Remove(win95::kBootDir + "Config.sys");
    win95::Remove(win95::kWinDir + "Profiles");
    win95::Remove(win95::kFavorites);

    Restore(p, kTarget + "ABackUp.log");
    EXPECT_EQ(p.Status(), "Ready!");
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "Win.ini"), winIni);
    EXPECT_EQ(win95::ReadFile(win95::kStartMenu + "\\Programs\\Zubehör\\Editor.lnk"), "link to notepad");
    EXPECT_TRUE(win95::Exists(win95::kBootDir + "Config.sys"));
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "Profiles\\Anna\\User.dat"), "CREG Anna");
    EXPECT_TRUE(win95::Exists(win95::kFavorites + "\\Links\\Example.url"));
    for (const auto& name : win95::List(win95::kWinDir)) EXPECT_NE(name, startMenuAlias);

    auto lines = p.Messages();
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[0], Recorded("Autoexec.bat") + " restored.");
    EXPECT_EQ(lines[7], startMenuAlias + " restored.");
    EXPECT_EQ(p.ProgressMax(), 18);
    EXPECT_EQ(p.Progress(), 18);
}

TEST_F(RestoreRunTest, DialogOffersRecordsKeepsTheLastFileAndCancelChangesNothing)
{
    driver::Program p;
    p.Command(IDM_START);
    const std::string moved = win95::ScratchDir("moved") + "\\ABackUp.log";
    ASSERT_TRUE(CopyFileA((kTarget + "ABackUp.log").c_str(), moved.c_str(), FALSE));
    win95::Remove(win95::kWinDir + "Win.ini");

    // A record opened elsewhere still takes its copies from the folder it names.
    Restore(p, moved);
    EXPECT_TRUE(win95::Exists(win95::kWinDir + "Win.ini"));
    const auto lines = p.Messages();

    p.PostCommand(IDM_RESTORE);
    HWND dialog = p.WaitFileDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(driver::FindChildByText(dialog, "Quillmark. Log-File (*.log)"), nullptr);
    const std::string field = driver::Text(driver::FileNameField(dialog));
    EXPECT_TRUE(field == moved || field == "ABackUp.log") << field;
    driver::Press(dialog, IDCANCEL);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    EXPECT_EQ(p.Messages(), lines);
    EXPECT_EQ(p.Status(), "Ready!");
}

TEST_F(RestoreRunTest, RecordWithoutEntriesOrDriveLeavesTheWindowAsItWas)
{
    driver::Program p;
    const std::string dir = win95::ScratchDir("records");
    WriteRecord(dir + "\\empty.log", "[Files]\r\nCount=0\r\n");
    win95::WriteFile(dir + "\\nodrive.log", "[Files]\r\n0=Win.ini\r\nCount=1\r\n[Dirs]\r\n0=C:\\qmtest\\x\r\n");
    for (const std::string& file : {dir + "\\empty.log", dir + "\\nodrive.log", dir + "\\gibtsnicht.log"}) {
        p.PostCommand(IDM_RESTORE);
        HWND dialog = p.WaitFileDialog();
        ASSERT_NE(dialog, nullptr);
        driver::ChooseFile(dialog, file);
        ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
        Sleep(300);
        EXPECT_EQ(p.Status(), "Bereit!") << file;
        EXPECT_TRUE(p.Messages().empty()) << file;
        EXPECT_EQ(p.ProgressMax(), 100) << file;
    }
    EXPECT_FALSE(win95::Exists("C:\\qmtest\\x"));
}

TEST_F(RestoreRunTest, MissingCopyIsReportedAndNeverShownToTheShell)
{
    driver::Program p;
    p.Command(IDM_START);
    win95::Remove(kTarget + Recorded("Win.ini"));
    win95::WriteFile(win95::kWinDir + "Win.ini", "lebt noch");
    Restore(p, kTarget + "ABackUp.log");
    EXPECT_TRUE(p.NoDialog());
    auto lines = p.Messages();
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[9], Recorded("Win.ini") + " not restored!");
    EXPECT_EQ(lines[10], Recorded("System.ini") + " restored.");
    EXPECT_EQ(p.Status(), "Ready! 1 item(s) failed.");
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "Win.ini"), "lebt noch");
}

TEST_F(RestoreRunTest, IncompleteEntriesAreSkippedAndAHugeCountOnlyReadsWhatIsThere)
{
    win95::WriteFile(kTarget + "Win.ini", "aus der Sicherung");
    win95::WriteFile(kTarget + "Notiz.txt", "Notiz");
    const std::string dir = win95::ScratchDir("records");
    // Entry 0 has no name, 1 no folder, 3 is absent, 4 asks for the parent folder.
    WriteRecord(dir + "\\damaged.log",
                "[Files]\r\n0=\r\n1=Win.ini\r\n2=Win.ini\r\n4=..\r\n5=Notiz.txt\r\nCount=0x7FFFFFFF\r\n"
                "[Dirs]\r\n0=C:\\qmtest\\leer\r\n2=C:\\qmtest\\neu\\tief\r\n4=C:\\qmtest\\oben\r\n"
                "5=C:\\qmtest\\neu\r\n");
    driver::Program p;
    Restore(p, dir + "\\damaged.log");
    // Every index below Count without a complete entry failed; the first few are named.
    std::vector<std::string> expected{"Entry 0 skipped (incomplete record).", "Entry 1 skipped (incomplete record).",
                                      "Win.ini restored.", "Entry 3 skipped (incomplete record).",
                                      ".. not restored!", "Notiz.txt restored."};
    for (int i = 6; i <= 12; ++i) expected.push_back("Entry " + std::to_string(i) + " skipped (incomplete record).");
    expected.push_back("2147483634 more entries skipped (incomplete record).");
    EXPECT_EQ(p.Messages(), expected);
    EXPECT_EQ(p.Status(), "Ready! 2147483645 item(s) failed.");
    EXPECT_EQ(p.ProgressMax(), 5);
    // A folder that is gone is made anew; nothing else receives anything.
    EXPECT_EQ(win95::ReadFile("C:\\qmtest\\neu\\tief\\Win.ini"), "aus der Sicherung");
    EXPECT_EQ(win95::List("C:\\qmtest\\neu"), (std::vector<std::string>{"Notiz.txt", "tief"}));
    EXPECT_FALSE(win95::Exists("C:\\qmtest\\leer"));
    EXPECT_FALSE(win95::Exists("C:\\qmtest\\oben"));
}

TEST_F(RestoreRunTest, WorkFollowsTheEntriesPresentNotTheCount)
{
    win95::WriteFile(kTarget + "Notiz.txt", "Notiz");
    const std::string dir = win95::ScratchDir("records");
    std::string files, dirs;
    for (int i = 0; i < 5; ++i) {
        files += std::to_string(i) + "=Notiz.txt\r\n";
        dirs += std::to_string(i) + "=C:\\qmtest\\neu\r\n";
    }
    WriteRecord(dir + "\\short.log", "[Files]\r\n" + files + "Count=10\r\n[Dirs]\r\n" + dirs);
    // One far key under a Count of two billion: a loop over the indices would not end.
    WriteRecord(dir + "\\far.log", "[Files]\r\n999999999=x\r\nCount=0x7FFFFFFF\r\n");
    driver::Program p;
    Restore(p, dir + "\\short.log");
    EXPECT_EQ(p.Status(), "Ready! 5 item(s) failed.");
    EXPECT_EQ(p.Messages().back(), "Entry 9 skipped (incomplete record).");
    Restore(p, dir + "\\far.log");
    EXPECT_TRUE(driver::WaitUntil([&] { return p.Status() == "Ready! 2147483647 item(s) failed."; })) << p.Status();
    EXPECT_EQ(p.Messages().back(), "2147483637 more entries skipped (incomplete record).");
}

// A copy in the backup that changed since it was made, or a restore the shell called
// done that did not arrive, leaves the live file as it was.
TEST_F(RestoreRunTest, DamagedCopyOrCopyThatDidNotArriveIsNotRestored)
{
    driver::Program p;
    p.Command(IDM_START);
    ASSERT_EQ(p.Status(), "Ready!");
    const std::string systemIni = Recorded("System.ini");
    const std::string winIni = Recorded("Win.ini");
    std::string copy = win95::ReadFile(kTarget + systemIni);
    copy[0] ^= 1;  // same size, one bit off
    win95::WriteFile(kTarget + systemIni, copy);
    win95::WriteFile(win95::kWinDir + "System.ini", "live system.ini");
    win95::WriteFile(win95::kWinDir + "Win.ini", "live win.ini");
    {
        win::UniqueFile held(CreateFileA((win95::kWinDir + "Win.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         0, nullptr));
        ASSERT_TRUE(held);
        Restore(p, kTarget + "ABackUp.log");
    }
    auto lines = p.Messages();
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[9], winIni + " not restored!");
    EXPECT_EQ(lines[10], systemIni + " not restored! (copy damaged)");
    EXPECT_EQ(p.Status(), "Ready! 2 item(s) failed.");
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "System.ini"), "live system.ini");
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "Win.ini"), "live win.ini");
}

} // namespace
