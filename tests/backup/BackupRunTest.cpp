// "&Sichern" through the real program on the Windows-95-style installation.
#include "BackupFixture.h"
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"
#include "win/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using backuptest::kTarget;
using backuptest::Recorded;

const std::string kData = "C:\\Daten";

// The work list of a backup with every category on, in record order: name, folder.
const std::vector<std::pair<std::string, std::string>> kEverything = {
    {"Autoexec.bat", "C:\\"},      {"Config.sys", "C:\\"},         {"IO.sys", "C:\\"},
    {"MSDOS.sys", "C:\\"},         {"Profiles", "C:\\WINDOWS"},    {"User.dat", "C:\\WINDOWS"},
    {"System.dat", "C:\\WINDOWS"}, {"Start Menu", "C:\\WINDOWS"},  {"Desktop", "C:\\WINDOWS"},
    {"Win.ini", "C:\\WINDOWS"},    {"System.ini", "C:\\WINDOWS"},  {"System.cb", "C:\\WINDOWS"},
    {"ShellIconCache", "C:\\WINDOWS"}, {"Ttfcache", "C:\\WINDOWS"}, {"dosstart.bat", "C:\\WINDOWS"},
    {"Protocol.ini", "C:\\WINDOWS"}, {"bookmark.htm", "C:\\Programme\\Netscape"},
    {"Favorites", "C:\\WINDOWS"},  {"Notizen.txt", "C:\\Daten"},
};

using backuptest::ExpectedRecord;

std::vector<std::string> Lines(const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::vector<std::string> lines;
    for (const auto& e : entries) lines.push_back(e.first + " stored.");
    return lines;
}

class BackupRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::Remove("C:\\qmtest");
        win95::MakeDirs(kTarget);
        win95::MakeDirs(kData);
        win95::WriteFile(kData + "\\Notizen.txt", "Termine");
    }
    void TearDown() override
    {
        win95::ClearSettings();
        win95::Remove(kData);
    }
    // A run long enough to be caught half-way: 300 small further files and nothing else.
    void StoreManySmallFiles()
    {
        std::vector<std::string> files;
        win95::MakeDirs(kData + "\\viele");
        for (int i = 0; i < 300; ++i) {
            files.push_back(kData + "\\viele\\f" + std::to_string(1000 + i) + ".txt");
            win95::WriteFile(files.back(), std::string(2048, 'x'));
        }
        backuptest::StoreSettings([&](TSettings& s) {
            s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = s.SaveInternet = false;
            s.OtherFileList = files;
        });
    }
    void StoreEverything() { backuptest::StoreSettings([](TSettings& s) { s.OtherFileList = {kData + "\\Notizen.txt"}; }); }
};

TEST_F(BackupRunTest, EveryCategoryLandsFlatInTheTargetWithItsRecord)
{
    StoreEverything();
    driver::Program p;
    p.Command(IDM_START);

    EXPECT_EQ(p.Status(), "Ready!");
    EXPECT_EQ(p.Messages(), Lines(kEverything));
    EXPECT_EQ(p.ProgressMax(), 19);
    EXPECT_EQ(p.Progress(), 19);
    EXPECT_TRUE(p.MenuShown());
    EXPECT_EQ(backuptest::Record(), ExpectedRecord(kEverything));

    std::vector<std::string> names{"ABackUp.log"};
    for (const auto& e : kEverything) names.push_back(e.first);
    std::sort(names.begin(), names.end(), [](auto& a, auto& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    EXPECT_EQ(win95::List(kTarget), names);
    EXPECT_EQ(win95::ReadFile(kTarget + "Win.ini"), win95::ReadFile(win95::kWinDir + "Win.ini"));
    EXPECT_EQ(win95::ReadFile(kTarget + "Start Menu\\Programs\\Zubehör\\Editor.lnk"), "link to notepad");
    EXPECT_EQ(win95::ReadFile(kTarget + "Profiles\\Anna\\User.dat"), "CREG Anna");
    // The record names a copy by the alias it has in the target, where DOS tools look.
    EXPECT_FALSE(backuptest::Alias(kTarget + "Start Menu").empty());
    EXPECT_FALSE(backuptest::Alias(kTarget + "ShellIconCache").empty());
    EXPECT_NE(backuptest::Record().find("\r\n7=" + backuptest::Alias(kTarget + "Start Menu") + "\r\n"),
              std::string::npos);
}

TEST_F(BackupRunTest, MissingConfigSysMovesLaterEntriesUp)
{
    StoreEverything();
    win95::Remove(win95::kBootDir + "Config.sys");
    auto entries = kEverything;
    entries.erase(entries.begin() + 1);
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_EQ(p.Messages(), Lines(entries));
    EXPECT_EQ(backuptest::Record(), ExpectedRecord(entries));
    EXPECT_EQ(p.Status(), "Ready!");
}

// What DOS can open: a name of at most 8 characters, a dot and at most 3 more.
bool IsShortName(const std::string& name)
{
    const auto dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && ext.size() <= 3 && ext.find('.') == std::string::npos &&
           name.find_first_of(" +,;=[]") == std::string::npos;
}

TEST_F(BackupRunTest, RecordGivesEveryEntryACopyAndFolderThatDosCanOpen)
{
    StoreEverything();
    driver::Program p;
    p.Command(IDM_START);
    ASSERT_EQ(p.Status(), "Ready!");
    const TBackupRecord record(kTarget + "ABackUp.log");
    for (size_t i = 0; i < kEverything.size(); ++i) {
        const std::string key = std::to_string(i);
        const std::string name = record.ReadString(kDosFilesSection, key, "");
        const std::string folder = record.ReadString(kDosDirsSection, key, "");
        SCOPED_TRACE(kEverything[i].first + " -> " + name + " in " + folder);
        EXPECT_TRUE(IsShortName(name));
        EXPECT_NE(GetFileAttributesA((kTarget + name).c_str()), INVALID_FILE_ATTRIBUTES);
        ASSERT_GE(folder.size(), 3u);
        EXPECT_EQ(folder.substr(0, 3), kEverything[i].second.substr(0, 3));
        for (size_t pos = 3; pos < folder.size();) {
            const size_t end = std::min(folder.find('\\', pos), folder.size());
            EXPECT_TRUE(IsShortName(folder.substr(pos, end - pos)));
            pos = end + 1;
        }
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
    // "Programme" has nine letters: only its short spelling reaches the bookmarks.
    EXPECT_NE(record.ReadString(kDosDirsSection, "16", ""), "C:\\Programme\\Netscape");
}

TEST_F(BackupRunTest, AllCategoriesOffRecordsOnlyTargetAndCount)
{
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = false;
        s.SaveInternet = s.OtherFiles = false;
    });
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_EQ(backuptest::Record(), "[Target]\r\nDrive=" + kTarget + "\r\nChecks=1\r\n[Files]\r\nCount=0\r\n");
    EXPECT_TRUE(p.Messages().empty());
    EXPECT_EQ(p.ProgressMax(), 0);
    EXPECT_EQ(p.Status(), "Ready!");
}

TEST_F(BackupRunTest, MissingSourcesAreReportedLeftOutOfTheRecordAndNeverShownToTheShell)
{
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WinIniSystemIni = s.StartMenu = s.Desktop = s.SaveInternet = false;
        s.OtherFileList = {kData + "\\fehlt.txt", kData + "\\Notizen.txt"};
    });
    win95::Remove(win95::kWinDir + "System.dat");
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_TRUE(p.NoDialog());
    EXPECT_EQ(p.Messages(), (std::vector<std::string>{"Profiles stored.", "User.dat stored.", "System.dat not stored!",
                                                      "fehlt.txt not stored!", "Notizen.txt stored."}));
    EXPECT_EQ(p.Status(), "Ready! 2 item(s) failed.");
    EXPECT_EQ(backuptest::Record(),
              ExpectedRecord({{"Profiles", "C:\\WINDOWS"}, {"User.dat", "C:\\WINDOWS"}, {"Notizen.txt", "C:\\Daten"}}));
    EXPECT_FALSE(win95::Exists(kTarget + "System.dat"));
}

TEST_F(BackupRunTest, LaterItemOfAUsedNameIsNotCopiedOverTheFirst)
{
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.StartMenu = s.Desktop = s.SaveInternet = false;
        s.OtherFileList = {kData + "\\SYSTEM.INI", kData + "\\abackup.LOG", kData + "\\Notizen.txt"};
    });
    win95::WriteFile(kData + "\\SYSTEM.INI", "[boot]\r\nshell=fremd.exe\r\n");
    win95::WriteFile(kData + "\\abackup.LOG", "not a record");
    driver::Program p;
    p.Command(IDM_START);
    auto lines = p.Messages();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[7], "SYSTEM.INI not stored! (name already used)");
    EXPECT_EQ(lines[8], "abackup.LOG not stored! (name already used)");
    EXPECT_EQ(lines[9], "Notizen.txt stored.");
    EXPECT_EQ(p.Status(), "Ready! 2 item(s) failed.");
    EXPECT_EQ(win95::ReadFile(kTarget + "System.ini"), win95::ReadFile(win95::kWinDir + "System.ini"));
    const std::string record = backuptest::Record();
    EXPECT_NE(record.find("\r\n7=" + Recorded("Notizen.txt") + "\r\nCount=8\r\n"), std::string::npos) << record;
    EXPECT_EQ(record.find("fremd"), std::string::npos);
}

TEST_F(BackupRunTest, TargetNotReadyIsReportedInTheStatusLineAndNothingIsWritten)
{
    StoreEverything();
    win95::Remove(kTarget);
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_EQ(p.Status(), "Directory not exists " + kTarget + " or drive not ready!");
    EXPECT_TRUE(p.Messages().empty());
    EXPECT_EQ(p.ProgressMax(), 100);
    EXPECT_TRUE(p.MenuShown());
    EXPECT_FALSE(win95::Exists(kTarget));
}

TEST_F(BackupRunTest, UnattendedRunStoresOnceAndEndsWithZero)
{
    StoreEverything();
    driver::Program p("/auto");
    EXPECT_EQ(p.WaitExit(), 0);
    EXPECT_EQ(backuptest::Record(), ExpectedRecord(kEverything));
}

TEST_F(BackupRunTest, UnattendedRunIntoAMissingTargetWritesNothingAndEndsWithOne)
{
    StoreEverything();
    win95::Remove(kTarget);
    driver::Program p("jetzt");
    EXPECT_EQ(p.WaitExit(), 1);
    EXPECT_FALSE(win95::Exists(kTarget));
}

TEST_F(BackupRunTest, UnattendedRunWithFailedItemsEndsWithTwoAndNoBoxWaits)
{
    backuptest::StoreSettings([](TSettings& s) { s.OtherFileList = {kData + "\\fehlt.txt", kData + "\\Notizen.txt"}; });
    driver::Program p("/auto");
    EXPECT_EQ(p.WaitExit(), 2);
    EXPECT_NE(backuptest::Record().find("18=" + Recorded("Notizen.txt") + "\r\nCount=19\r\n"), std::string::npos);
}

// A scheduled run has nobody to close a box: whatever would have shown the standard
// error box ends the run, and the exit code says it did not reach its end.
TEST_F(BackupRunTest, UnattendedRunThatAnErrorStopsClosesWithThreeAndNoBoxWaits)
{
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::string untouched;  // where nothing may have been written
    } cases[] = {
        // A folder where the record belongs: the target is ready, the record is not writable.
        {"record cannot be written", [this] { StoreEverything(); win95::MakeDirs(kTarget + "ABackUp.log"); },
         kTarget + "Win.ini"},
        // Settings that stop loading would send the run to the default target, the floppy.
        {"damaged settings",
         [this] {
             StoreEverything();
             auto k = win::CreateKey(HKEY_CURRENT_USER, kSettingsKey);
             const DWORD number = 7;
             RegSetValueExA(k.get(), "Target", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
         },
         win95::kFloppy + "ABackUp.log"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        win95::Remove(win95::kFloppy + "ABackUp.log");
        c.arrange();
        driver::Program p("/auto");
        EXPECT_EQ(p.WaitExit(), 3);
        EXPECT_FALSE(win95::Exists(c.untouched));
        win95::Remove(kTarget + "ABackUp.log");
    }
}

// Closed while the run goes on, the scheduler must not read the run as done.
TEST_F(BackupRunTest, UnattendedRunClosedBeforeItsEndEndsWithThree)
{
    StoreManySmallFiles();
    driver::Program p("/auto");
    ASSERT_TRUE(driver::WaitUntil([&] { return p.Status().rfind("Writing f10", 0) == 0; }));
    p.Close();
    EXPECT_EQ(p.WaitExit(120000), 3);
}

TEST_F(BackupRunTest, WithoutTheClipTheFirstBackupStopsWithTheErrorAndTheMenuReturns)
{
    StoreEverything();
    std::string dir = win95::ScratchDir("noclip");
    ASSERT_TRUE(CopyFileA((driver::ProgramDir() + "Quillmark.exe").c_str(), (dir + "\\Quillmark.exe").c_str(), FALSE));
    const std::string clipError =
        "Could not open AVI \"" + dir + "\\s.dll\"\r\rIt must be a silent AVI file/resource..";
    {
        driver::Program p("", dir + "\\Quillmark.exe");
        p.PostCommand(IDM_START);
        HWND box = p.WaitDialog("Quillmark");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(driver::MessageText(box), clipError);
        driver::Press(box, IDOK);
        ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
        EXPECT_TRUE(p.MenuShown());
        EXPECT_FALSE(win95::Exists(kTarget + "ABackUp.log"));
    }
    {
        // Unattended, nobody would close the box: the run ends with the error listed.
        driver::Program p("/auto", dir + "\\Quillmark.exe");
        EXPECT_EQ(p.WaitExit(), 3);
        EXPECT_FALSE(win95::Exists(kTarget + "ABackUp.log"));
    }
}

TEST_F(BackupRunTest, StartArrivingDuringARunStartsNoSecondOne)
{
    StoreManySmallFiles();
    driver::Program p;
    p.PostCommand(IDM_START);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.Status().rfind("Writing f10", 0) == 0; }));
    // As the shortcut arrives: a command notification from an accelerator.
    PostMessageA(p.Main(), WM_COMMAND, MAKEWPARAM(IDM_START, 1), 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.Status() == "Ready!"; }, 120000));
    const std::string record = backuptest::Record();
    Sleep(1500);
    EXPECT_EQ(p.Status(), "Ready!");
    EXPECT_EQ(p.Messages().size(), 300u);
    EXPECT_EQ(backuptest::Record(), record);
    EXPECT_NE(record.find("Count=300\r\n"), std::string::npos);
}

// Held open without any sharing by this test, as another program can hold a file.
win::UniqueFile HoldLocked(const std::string& path)
{
    return win::UniqueFile(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

// A copy the shell reports as made but that does not hold the source's bytes is a
// failed item: listed as such, left out of the record, and the unattended run says so.
struct CopyFault {
    const char* what;
    std::string target;
    // Lays the case out; the handles it answers stay open while the program runs.
    std::function<std::vector<win::UniqueFile>()> arrange;
    std::string failedLine;
};

TEST_F(BackupRunTest, CopiesTheShellCalledDoneButThatDifferAreFailedItems)
{
    const char* small = getenv("QUILLMARK_SMALL_DRIVE");
    const std::string full = small ? std::string(small) + ":\\" : "";
    const std::vector<CopyFault> faults = {
        {"full target", full,
         [&] {
             for (const auto& name : win95::List(full)) win95::Remove(full + name);
             win95::WriteFile(kData + "\\Big.dat", std::string(400 * 1024, 'B'));
             return std::vector<win::UniqueFile>{};
         },
         "Big.dat not stored!"},
        {"locked older copy in the target", kTarget,
         [&] {
             win95::WriteFile(kData + "\\Big.dat", "neuer Inhalt");
             win95::WriteFile(kTarget + "Big.dat", "alter Inhalt");
             std::vector<win::UniqueFile> held;
             held.push_back(HoldLocked(kTarget + "Big.dat"));
             return held;
         },
         "Big.dat not stored!"},
        {"folder with an unreadable file", kTarget,
         [&] {
             win95::MakeDirs(kData + "\\Big.dat\\Unter");
             win95::WriteFile(kData + "\\Big.dat\\lesbar.txt", "a");
             win95::WriteFile(kData + "\\Big.dat\\Unter\\gesperrt.txt", "b");
             std::vector<win::UniqueFile> held;
             held.push_back(HoldLocked(kData + "\\Big.dat\\Unter\\gesperrt.txt"));
             return held;
         },
         "Big.dat not stored!"},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.what);
        if (fault.target.empty()) {
            ADD_FAILURE() << "no small drive in this session (mounting needs root): full target not tried";
            continue;
        }
        win95::Remove(kData + "\\Big.dat");
        backuptest::StoreSettings([&](TSettings& s) {
            s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = s.SaveInternet = false;
            s.OtherFileList = {kData + "\\Notizen.txt", kData + "\\Big.dat"};
            s.Target = fault.target;
        });
        {
            win95::Remove(fault.target + "Big.dat");
            const auto held = fault.arrange();
            for (const auto& h : held) ASSERT_TRUE(h);
            driver::Program unattended("/auto");
            EXPECT_EQ(unattended.WaitExit(), 2);
            EXPECT_EQ(win95::ReadFile(fault.target + "ABackUp.log"),
                      ExpectedRecord({{"Notizen.txt", kData}}, fault.target));
        }
        {
            win95::Remove(fault.target + "Big.dat");
            const auto held = fault.arrange();
            driver::Program p;
            p.Command(IDM_START);
            EXPECT_EQ(p.Messages(), (std::vector<std::string>{"Notizen.txt stored.", fault.failedLine}));
            EXPECT_EQ(p.Status(), "Ready! 1 item(s) failed.");
        }
    }
}

TEST_F(BackupRunTest, NameWithASemicolonIsOneSource)
{
    win95::WriteFile(kData + "\\Brief;Entwurf.txt", "ein Brief");
    win95::WriteFile(kData + "\\Brief", "nicht gemeint");
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = s.SaveInternet = false;
        s.OtherFileList = {kData + "\\Brief;Entwurf.txt"};
    });
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_EQ(p.Messages(), std::vector<std::string>{"Brief;Entwurf.txt stored."});
    EXPECT_EQ(win95::ReadFile(kTarget + "Brief;Entwurf.txt"), "ein Brief");
    EXPECT_FALSE(win95::Exists(kTarget + "Brief"));
}

// The error box stands for the whole program: nothing behind it takes input, and a
// shortcut that still arrives starts nothing.
TEST_F(BackupRunTest, NoCommandStartsBehindTheErrorBox)
{
    StoreEverything();
    win95::MakeDirs(kTarget + "ABackUp.log");
    driver::Program p;
    p.PostCommand(IDM_START);
    HWND box = p.WaitDialog("Quillmark");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindowEnabled(p.Main()));
    PostMessageA(p.Main(), WM_COMMAND, MAKEWPARAM(IDM_START, 1), 0);
    Sleep(1000);
    EXPECT_EQ(driver::TopWindows(p.Pid(), "#32770").size(), 1u);
    driver::Press(box, IDOK);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    EXPECT_TRUE(driver::WaitUntil([&] { return IsWindowEnabled(p.Main()) != FALSE; }));
    Sleep(500);
    EXPECT_TRUE(p.NoDialog());
}

// The flat folder holds one file per name as the file system resolves it: one source
// listed twice, or spelled by its alias or with a closing dot, is one file, stored each
// time; another file reaching that name is not stored over it.
TEST_F(BackupRunTest, NamesCountAsTheFileTheyReachNotAsTheyAreSpelled)
{
    const std::string plan = kData + "\\Terminplanung.txt";
    const std::string other = "C:\\Andere\\Terminplanung.txt";
    win95::WriteFile(plan, "Plan");
    win95::MakeDirs("C:\\Andere");
    win95::WriteFile(other, "fremd");
    const std::string alias = backuptest::Alias(plan), otherAlias = backuptest::Alias(other);
    ASSERT_FALSE(alias.empty());
    backuptest::StoreSettings([&](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = s.SaveInternet = false;
        s.OtherFileList = {plan, plan, kData + "\\" + alias, plan + ".", "C:\\Andere\\TERMINPLANUNG.TXT",
                           "C:\\Andere\\" + otherAlias};
    });
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_EQ(p.Messages(), (std::vector<std::string>{"Terminplanung.txt stored.", "Terminplanung.txt stored.",
                                                      alias + " stored.", "Terminplanung.txt. stored.",
                                                      "TERMINPLANUNG.TXT not stored! (name already used)",
                                                      otherAlias + " not stored! (name already used)"}));
    EXPECT_EQ(p.Status(), "Ready! 2 item(s) failed.");
    EXPECT_EQ(win95::ReadFile(kTarget + "Terminplanung.txt"), "Plan");
    EXPECT_EQ(win95::List(kTarget), (std::vector<std::string>{"ABackUp.log", "Terminplanung.txt"}));
    const std::pair<std::string, std::string> stored{"Terminplanung.txt", kData};
    EXPECT_EQ(backuptest::Record(), ExpectedRecord({stored, stored, stored, stored}));
    win95::Remove("C:\\Andere");
}

// Target C:\WINDOWS\ with Win.ini listed: the copy would be the source itself, and its
// check would pass without a copy ever made.
TEST_F(BackupRunTest, SourceLyingInTheBackupFolderIsRefused)
{
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = s.SaveInternet = false;
        s.OtherFileList = {win95::kWinDir + "Win.ini", kData + "\\Notizen.txt"};
        s.Target = win95::kWinDir;
    });
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_EQ(p.Messages(), (std::vector<std::string>{"Win.ini not stored! (lies in the backup folder)",
                                                      "Notizen.txt stored."}));
    EXPECT_EQ(p.Status(), "Ready! 1 item(s) failed.");
    EXPECT_EQ(win95::ReadFile(win95::kWinDir + "ABackUp.log"), ExpectedRecord({{"Notizen.txt", kData}}, win95::kWinDir));
    win95::Remove(win95::kWinDir + "ABackUp.log");
    win95::Remove(win95::kWinDir + "Notizen.txt");
}

// A file is read back while the next entry is copied; a folder's copy may merge into a
// folder of the backup that holds the file still being read back, so it waits for that.
TEST_F(BackupRunTest, FolderMergingOverTheSourceOfTheFileBeforeItLeavesThatFileStored)
{
    win95::MakeDirs(kTarget + "Sub");
    win95::WriteFile(kTarget + "Sub\\x.txt", std::string(64 * 1024, 'a'));
    win95::MakeDirs(kData + "\\Sub");
    win95::WriteFile(kData + "\\Sub\\x.txt", std::string(64 * 1024, 'n'));
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.StartMenu = s.Desktop = s.SaveInternet = false;
        s.OtherFileList = {kTarget + "Sub\\x.txt", kData + "\\Sub"};
    });
    driver::Program p;
    p.Command(IDM_START);
    EXPECT_EQ(p.Messages(), (std::vector<std::string>{"x.txt stored.", "Sub stored."}));
    EXPECT_EQ(p.Status(), "Ready!");
    EXPECT_EQ(win95::ReadFile(kTarget + "x.txt"), std::string(64 * 1024, 'a'));
    EXPECT_EQ(backuptest::Record(), ExpectedRecord({{"x.txt", kTarget + "Sub"}, {"Sub", kData}}));
}

// Set by hand in the registry: the copies go into the folder and are checked there;
// only the record lands beside it under the joined name.
TEST_F(BackupRunTest, TargetWithoutItsClosingBackslashStoresIntoTheFolder)
{
    const std::string bare = kTarget.substr(0, kTarget.size() - 1);
    backuptest::StoreSettings([&](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.StartMenu = s.Desktop = s.SaveInternet = false;
        s.OtherFileList = {kData + "\\Notizen.txt"};
        s.Target = bare;
    });
    auto entries = kEverything;
    entries.erase(entries.begin(), entries.begin() + 9);
    entries.erase(entries.end() - 3, entries.end() - 1);
    driver::Program p("/auto");
    EXPECT_EQ(p.WaitExit(), 0);
    EXPECT_EQ(win95::ReadFile(bare + "ABackUp.log"), ExpectedRecord(entries));
    EXPECT_EQ(win95::ReadFile(kTarget + "Win.ini"), win95::ReadFile(win95::kWinDir + "Win.ini"));
    EXPECT_FALSE(win95::Exists(kTarget + "ABackUp.log"));
    win95::Remove(bare + "ABackUp.log");
}

// A ticked category whose folder is empty, an empty line among the further files:
// nothing to copy and nothing a restore could put back, and no failure either.
TEST_F(BackupRunTest, EmptyEntriesAreSkippedAndAreNoFailure)
{
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.Desktop = s.SaveInternet = false;
        s.StartMenuDir = "";
        s.OtherFileList = {"", kData + "\\Notizen.txt"};
    });
    {
        driver::Program p;
        p.Command(IDM_START);
        EXPECT_EQ(p.Messages(), (std::vector<std::string>{"Empty entry skipped.", "Empty entry skipped.",
                                                          "Notizen.txt stored."}));
        EXPECT_EQ(p.Status(), "Ready!");
        EXPECT_EQ(p.Progress(), 3);
        EXPECT_EQ(backuptest::Record(), ExpectedRecord({{"Notizen.txt", kData}}));
    }
    driver::Program unattended("/auto");
    EXPECT_EQ(unattended.WaitExit(), 0);
}

// A Start-menu entry named in a script the system code page cannot spell is copied by
// the shell like any other; the read-back check must find it under its own name.
TEST_F(BackupRunTest, NamesOutsideTheCodePageAreStoredAndChecked)
{
    const std::wstring menu(win95::kStartMenu.begin(), win95::kStartMenu.end());
    const std::vector<std::wstring> names = {menu + L"\\\x041F\x0440\x0438\x0432\x0435\x0442.lnk",
                                             menu + L"\\Programs\\\x8BB0\x4E8B\x672C.lnk"};
    for (const auto& name : names) {
        win::UniqueFile f(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f);
        DWORD written = 0;
        WriteFile(f.get(), "link", 4, &written, nullptr);
    }
    backuptest::StoreSettings([](TSettings& s) {
        s.MSDOSBootFiles = s.WindowsRegistry = s.WinIniSystemIni = s.Desktop = s.SaveInternet = s.OtherFiles = false;
    });
    {
        driver::Program p;
        p.Command(IDM_START);
        EXPECT_EQ(p.Messages(), std::vector<std::string>{"Start Menu stored."});
        EXPECT_EQ(backuptest::Record(), ExpectedRecord({{"Start Menu", "C:\\WINDOWS"}}));
    }
    for (const auto& name : names) DeleteFileW(name.c_str());
}

} // namespace
