// "&Wiederherstellen" through the real program: the record is chosen in the platform's
// file-open dialog, and every recorded item goes back into its folder.
#include "BackupFixture.h"
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"
#include "backup/RestoreRun.h"
#include "backup/ShFileOp.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using backuptest::kTarget;
using backuptest::Recorded;

const std::string kSafe1 = "C:\\QMSAFE1";
const std::string kSafe2 = "C:\\QMSAFE2";

std::string UndoLine(const std::string& safe)
{
    return "Former state kept in " + safe + "\\. To undo, restore " + safe + "\\ABackUp.log.";
}

class RestoreRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::Remove("C:\\qmtest");
        win95::MakeDirs(kTarget);
        for (const auto& folder : {kSafe1, kSafe2}) win95::Remove(folder);
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
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], Recorded("Autoexec.bat") + " restored.");
    EXPECT_EQ(lines[7], startMenuAlias + " restored.");
    EXPECT_EQ(lines[18], UndoLine(kSafe1));
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
    ASSERT_EQ(lines.size(), 19u);
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
                                      ".. not restored! (entry damaged)", "Notiz.txt restored."};
    for (int i = 6; i <= 12; ++i) expected.push_back("Entry " + std::to_string(i) + " skipped (incomplete record).");
    expected.push_back("2147483634 more entries skipped (incomplete record).");
    expected.push_back(UndoLine(kSafe1));
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
    const auto lines = p.Messages();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[9], "Entry 9 skipped (incomplete record).");
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
    ASSERT_EQ(lines.size(), 19u);
    // A file held open cannot even be read for its safety copy: it is not touched.
    EXPECT_EQ(lines[9], winIni + " not restored! (no safety copy)");
    EXPECT_EQ(lines[10], systemIni + " not restored! (copy damaged)");
    EXPECT_EQ(p.Status(), "Ready! 2 item(s) failed.");
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "System.ini"), "live system.ini");
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "Win.ini"), "live win.ini");
}

TEST_F(RestoreRunTest, RestoreThenUndoGivesBackTheEarlierFileAndFolder)
{
    driver::Program p;
    p.Command(IDM_START);
    ASSERT_EQ(p.Status(), "Ready!");
    const std::string winIni = win95::kWinDir + "Win.ini";
    const std::string editor = win95::kStartMenu + "\\Programs\\Zubehör\\Editor.lnk";
    const std::string backedUp = win95::ReadFile(winIni);
    win95::WriteFile(winIni, "[windows]\r\nload=spaeter.exe\r\n");
    win95::WriteFile(editor, "changed link");
    win95::WriteFile(win95::kStartMenu + "\\Neu.lnk", "new link");

    Restore(p, kTarget + "ABackUp.log");
    EXPECT_EQ(p.Status(), "Ready!");
    EXPECT_EQ(win95::ReadFile(winIni), backedUp);
    EXPECT_EQ(win95::ReadFile(editor), "link to notepad");
    EXPECT_EQ(p.Messages().back(), UndoLine(kSafe1));
    const std::string safety = win95::ReadFile(kSafe1 + "\\ABackUp.log");
    EXPECT_EQ(safety.rfind("[Target]\r\nDrive=C:\\QMSAFE1\\\r\nChecks=1\r\n", 0), 0u) << safety;

    Restore(p, kSafe1 + "\\ABackUp.log");
    EXPECT_EQ(p.Status(), "Ready!");
    EXPECT_EQ(win95::ReadFile(winIni), "[windows]\r\nload=spaeter.exe\r\n");
    EXPECT_EQ(win95::ReadFile(editor), "changed link");
    EXPECT_EQ(win95::ReadFile(win95::kStartMenu + "\\Neu.lnk"), "new link");
    EXPECT_EQ(p.Messages().back(), UndoLine(kSafe2));
}

// The two folders take turns by age, but a restore never writes the one it reads from:
// undoing an undo works, and the state each undo replaced stays one step away.
TEST_F(RestoreRunTest, RestoringASafetyRecordIsUndoneThroughTheOtherFolder)
{
    driver::Program p;
    p.Command(IDM_START);
    const std::string winIni = win95::kWinDir + "Win.ini";
    const std::string backedUp = win95::ReadFile(winIni);
    win95::WriteFile(winIni, "eins");
    Restore(p, kTarget + "ABackUp.log");
    Restore(p, kSafe1 + "\\ABackUp.log");
    ASSERT_EQ(win95::ReadFile(winIni), "eins");
    ASSERT_EQ(p.Messages().back(), UndoLine(kSafe2));

    // QMSAFE1 holds the older record, yet it is the one read: QMSAFE2 takes the state.
    win95::WriteFile(winIni, "zwei");
    Restore(p, kSafe1 + "\\ABackUp.log");
    EXPECT_EQ(win95::ReadFile(winIni), "eins");
    EXPECT_EQ(p.Messages().back(), UndoLine(kSafe2));

    Restore(p, kSafe2 + "\\ABackUp.log");
    EXPECT_EQ(win95::ReadFile(winIni), "zwei");
    EXPECT_EQ(p.Messages().back(), UndoLine(kSafe1));
    Restore(p, kSafe1 + "\\ABackUp.log");
    EXPECT_EQ(win95::ReadFile(winIni), "eins");
    EXPECT_NE(backedUp, "eins");
}

// Nothing is overwritten without a way back: a folder with a file nobody may read, and
// a second item of a name the flat safety folder already holds, stay as they are.
TEST_F(RestoreRunTest, ItemWhoseSafetyCopyFailsIsLeftAsItWas)
{
    win95::WriteFile(kTarget + "Notiz.txt", "aus der Sicherung");
    win95::MakeDirs(kTarget + "Ordner");
    win95::WriteFile(kTarget + "Ordner\\x.txt", "x aus der Sicherung");
    for (const char* dir : {"C:\\qmtest\\a", "C:\\qmtest\\b", "C:\\qmtest\\live\\Ordner"}) win95::MakeDirs(dir);
    win95::WriteFile("C:\\qmtest\\a\\Notiz.txt", "a live");
    win95::WriteFile("C:\\qmtest\\b\\Notiz.txt", "b live");
    win95::WriteFile("C:\\qmtest\\live\\Ordner\\x.txt", "x live");
    win95::WriteFile("C:\\qmtest\\live\\Ordner\\gesperrt.txt", "gesperrt");
    const std::string dir = win95::ScratchDir("records");
    WriteRecord(dir + "\\r.log", "[Files]\r\n0=Notiz.txt\r\n1=Notiz.txt\r\n2=Ordner\r\nCount=3\r\n"
                                 "[Dirs]\r\n0=C:\\qmtest\\a\r\n1=C:\\qmtest\\b\r\n2=C:\\qmtest\\live\r\n");
    driver::Program p;
    {
        win::UniqueFile held(CreateFileA("C:\\qmtest\\live\\Ordner\\gesperrt.txt", GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        Restore(p, dir + "\\r.log");
    }
    EXPECT_EQ(p.Messages(), (std::vector<std::string>{"Notiz.txt restored.", "Notiz.txt not restored! (no safety copy)",
                                                      "Ordner not restored! (no safety copy)", UndoLine(kSafe1)}));
    EXPECT_EQ(p.Status(), "Ready! 2 item(s) failed.");
    EXPECT_EQ(win95::ReadFile("C:\\qmtest\\a\\Notiz.txt"), "aus der Sicherung");
    EXPECT_EQ(win95::ReadFile("C:\\qmtest\\b\\Notiz.txt"), "b live");
    EXPECT_EQ(win95::ReadFile("C:\\qmtest\\live\\Ordner\\x.txt"), "x live");
    // The safety record lists only what its folder holds.
    TBackupRecord safety(kSafe1 + "\\ABackUp.log");
    EXPECT_EQ(safety.ReadInteger("Files", "Count", -1), 1);
    EXPECT_EQ(safety.ReadString("Dirs", "0", ""), "C:\\qmtest\\a");
    EXPECT_EQ(win95::ReadFile(kSafe1 + "\\" + safety.ReadString("Files", "0", "")), "a live");
}

// Each spelling that is no full, clean local folder makes its entry damaged; the copy
// lands nowhere, and the clean entry beside them still runs.
TEST_F(RestoreRunTest, HostileFolderSpellingsWriteNothingAnywhere)
{
    win95::WriteFile(kTarget + "Notiz.txt", "Notiz");
    const std::vector<std::string> hostile = {
        "qmrel1",                        // relative
        "C:qmrel2",                      // drive-relative
        "\\qmrel3",                      // rooted without a drive
        "\\\\.\\C:\\qmrel4",             // device spelling
        "\\\\?\\C:\\qmrel5",             // raw spelling
        "C:\\qmtest\\x\\..\\qmrel6",     // parent component
        "C:\\qmtest\\.\\qmrel7",         // current component
        "C:\\qmtest\\qm|rel8",           // character no name may hold
        "C:\\qmtest\\qmrel9\tx",         // control character
        "C:/qmtest/qmrel10",             // other separator
        "C:\\qmtest\\qmrel11.",          // a dot the platform would drop
        "C:\\qmtest\\CON",               // a device as a folder
        "C:\\qmtest\\\\qmrel13",         // empty component
        "\\\\\\qmrel14",                 // UNC without a server
    };
    std::string files, dirs;
    for (size_t i = 0; i < hostile.size(); ++i) {
        files += std::to_string(i) + "=Notiz.txt\r\n";
        dirs += std::to_string(i) + "=" + hostile[i] + "\r\n";
    }
    const size_t n = hostile.size();
    files += std::to_string(n) + "=Notiz.txt\r\n" + std::to_string(n + 1) + "=..\\Notiz.txt\r\n" +
             std::to_string(n + 2) + "=C:Notiz.txt\r\nCount=" + std::to_string(n + 3) + "\r\n";
    dirs += std::to_string(n) + "=C:\\qmtest\\gut\r\n" + std::to_string(n + 1) + "=C:\\qmtest\\gut\\sub\r\n" +
            std::to_string(n + 2) + "=C:\\qmtest\\gut2\r\n";
    const std::string dir = win95::ScratchDir("records");
    WriteRecord(dir + "\\hostile.log", "[Files]\r\n" + files + "[Dirs]\r\n" + dirs);
    driver::Program p;
    Restore(p, dir + "\\hostile.log");

    const auto lines = p.Messages();
    ASSERT_EQ(lines.size(), n + 4);
    for (size_t i = 0; i < n; ++i) EXPECT_EQ(lines[i], "Notiz.txt not restored! (entry damaged)") << hostile[i];
    EXPECT_EQ(lines[n], "Notiz.txt restored.");
    EXPECT_EQ(lines[n + 1], "Notiz.txt not restored! (entry damaged)");
    EXPECT_EQ(lines[n + 2], "Notiz.txt not restored! (entry damaged)");
    EXPECT_EQ(p.Status(), "Ready! " + std::to_string(n + 2) + " item(s) failed.");
    EXPECT_EQ(win95::ReadFile("C:\\qmtest\\gut\\Notiz.txt"), "Notiz");
    EXPECT_FALSE(win95::Exists("C:\\qmtest\\gut2"));
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    for (const std::string& place : {std::string("C:\\"), std::string("C:\\qmtest"), std::string(cwd), driver::ProgramDir()})
        for (const auto& name : win95::List(place))
            EXPECT_NE(name.rfind("qmrel", 0), 0u) << place << "\\" << name;
    EXPECT_EQ(win95::List("C:\\qmtest"), (std::vector<std::string>{"gut", "records", "target"}));
}

// A cut or edited record of a backup that wrote checks: the entry without one is not
// restored unchecked.
TEST_F(RestoreRunTest, MarkedRecordRestoresNothingWithoutItsCheck)
{
    win95::WriteFile(kTarget + "Notiz.txt", "aus der Sicherung");
    const std::string check = FormatCheck(*win::Summarize(kTarget + "Notiz.txt"));
    const std::string dir = win95::ScratchDir("records");
    const std::string entries = "[Files]\r\n0=Notiz.txt\r\n1=Notiz.txt\r\nCount=2\r\n"
                                "[Dirs]\r\n0=C:\\qmtest\\eins\r\n1=C:\\qmtest\\zwei\r\n";
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"Checks=1\r\n" + entries + "[Checks]\r\n0=" + check + "\r\n",
         {"Notiz.txt restored.", "Notiz.txt not restored! (entry damaged)", UndoLine(kSafe1)}},
        {"Checks=1\r\n" + entries, {"Notiz.txt not restored! (entry damaged)", "Notiz.txt not restored! (entry damaged)"}},
        {"Checks=1\r\n" + entries + "[Checks]\r\n0=" + check + "\r\n1=12,nocheck\r\n",
         {"Notiz.txt restored.", "Notiz.txt not restored! (entry damaged)", UndoLine(kSafe2)}},
    };
    driver::Program p;
    for (const auto& [body, expected] : cases) {
        for (const char* live : {"C:\\qmtest\\eins", "C:\\qmtest\\zwei"}) {
            win95::MakeDirs(live);
            win95::WriteFile(std::string(live) + "\\Notiz.txt", "live");
        }
        WriteRecord(dir + "\\marked.log", body);
        Restore(p, dir + "\\marked.log");
        EXPECT_EQ(p.Messages(), expected) << body;
        EXPECT_EQ(win95::ReadFile("C:\\qmtest\\zwei\\Notiz.txt"), "live") << body;
    }
}

// The restore stops before it touches anything when the Windows drive cannot hold what
// it would have to keep (here a sparse file of a terabyte).
TEST_F(RestoreRunTest, TooLittleRoomForTheSafetyCopiesTouchesNothing)
{
    win95::WriteFile(kTarget + "Riesig.dat", "klein");
    win95::MakeDirs("C:\\qmtest\\gross");
    const std::string big = "C:\\qmtest\\gross\\Riesig.dat";
    {
        win::UniqueFile f(CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
        LARGE_INTEGER size;
        size.QuadPart = 1LL << 40;
        ASSERT_TRUE(SetFilePointerEx(f.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(f.get()));
    }
    win95::MakeDirs(kSafe1);
    win95::WriteFile(kSafe1 + "\\ABackUp.log", "[Target]\r\nDrive=C:\\QMSAFE1\\\r\n");
    win95::WriteFile(kSafe1 + "\\Frueher.txt", "earlier safety copy");
    const std::string dir = win95::ScratchDir("records");
    WriteRecord(dir + "\\big.log", "[Files]\r\n0=Riesig.dat\r\nCount=1\r\n[Dirs]\r\n0=C:\\qmtest\\gross\r\n");

    driver::Program p;
    p.PostCommand(IDM_RESTORE);
    HWND dialog = p.WaitFileDialog();
    ASSERT_NE(dialog, nullptr);
    driver::ChooseFile(dialog, dir + "\\big.log");
    HWND box = p.WaitDialog("Warnung");
    ASSERT_NE(box, nullptr);
    const std::string text = driver::MessageText(box);
    EXPECT_EQ(text.rfind("Auf Laufwerk C:\\ ist zu wenig Platz, um den jetzigen Stand vor dem Wiederherstellen in "
                         "C:\\QMSAFE2 zu sichern (nötig: ", 0),
              0u)
        << text;
    EXPECT_TRUE(text.ends_with(" KB). Es wurde nichts wiederhergestellt.")) << text;
    driver::Press(box, IDOK);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    EXPECT_EQ(p.Status(), "Bereit!");
    EXPECT_TRUE(p.Messages().empty());
    EXPECT_EQ(win95::ReadFile(kSafe1 + "\\Frueher.txt"), "earlier safety copy");
    EXPECT_FALSE(win95::Exists(kSafe2));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(big.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 256u);
    win95::Remove(big);
}

// A window that repaints during a restore lets anything happen between the check of a
// copy and the copy itself: what arrives is compared with the record, and a copy that
// changed in between does not stay in place of the live file.
class ChangingCopy final : public win::Progress {
public:
    explicit ChangingCopy(std::string copy) : copy_(std::move(copy)) {}
    std::vector<std::string> lines;
    bool changed = false;

    void SetStatus(const std::string& text) override { status_ = text; }
    void SetStepCount(int) override {}
    void SetPosition(int) override {}
    void Step() override {}
    void ClearLines() override { lines.clear(); }
    void AddLine(const std::string& line) override { lines.push_back(line); }
    void Pump() override
    {
        if (changed || status_.rfind("Writing ", 0) != 0) return;
        std::string content = win95::ReadFile(copy_);
        content[0] ^= 1;
        win95::WriteFile(copy_, content);
        changed = true;
    }
    void ShowBeforeBlocking() override {}

private:
    void EnterBusy() override {}
    void LeaveBusy() noexcept override {}
    std::string copy_;
    std::string status_;
};

TEST_F(RestoreRunTest, CopyChangedAfterItsCheckIsRefusedAndTheLiveFileStays)
{
    win95::WriteFile(kTarget + "Notiz.txt", "aus der Sicherung");
    const std::string check = FormatCheck(*win::Summarize(kTarget + "Notiz.txt"));
    win95::MakeDirs("C:\\qmtest\\neu");
    win95::WriteFile("C:\\qmtest\\neu\\Notiz.txt", "live");
    const std::string dir = win95::ScratchDir("records");
    WriteRecord(dir + "\\r.log", "Checks=1\r\n[Files]\r\n0=Notiz.txt\r\nCount=1\r\n[Dirs]\r\n0=C:\\qmtest\\neu\r\n"
                                 "[Checks]\r\n0=" + check + "\r\n");
    TShFileOP copier(nullptr, {shNoConfirmation, shNoConfirmMkDir, shSilent});
    copier.OneSourcePerLine = true;
    ChangingCopy progress(kTarget + "Notiz.txt");
    backup::RestoreFromRecord(dir + "\\r.log", copier, progress);
    EXPECT_TRUE(progress.changed);
    EXPECT_EQ(progress.lines, (std::vector<std::string>{"Notiz.txt not restored! (copy damaged)", UndoLine(kSafe1)}));
    EXPECT_EQ(win95::ReadFile("C:\\qmtest\\neu\\Notiz.txt"), "live");
}

} // namespace
