// Which folders the clean-up commands refuse, by what they are, however their path is
// spelt or whichever road leads to them.
#include "cleanup/FolderGuard.h"

#include "cleanup/FolderSweep.h"
#include "Driver.h"
#include "Win95.h"
#include "win/Files.h"
#include "win/Registry.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using cleanup::FolderVerdict;

const std::string kShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Lower(std::string s)
{
    CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::string SystemFolder()
{
    char buf[MAX_PATH] = {};
    GetSystemDirectoryA(buf, MAX_PATH);
    return buf;
}

std::string EnvironmentValue(const char* name)
{
    char buf[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA(name, buf, MAX_PATH);
    return std::string(buf, n);
}

// Whether a sweep of folder would find anything to delete there at all.
bool Listable(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind find(FindFirstFileA((folder + "\\*.*").c_str(), &fd));
    return static_cast<bool>(find);
}

class FolderGuardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        settings.WinDir = win95::kWinDir;
        settings.BootDir = win95::kBootDir;
        settings.Target = "C:\\qmtest\\Sicherung\\";
        win95::MakeDirs(win95::kWinDir + "TEMP");
    }
    FolderVerdict Judge(const std::string& folder) const { return cleanup::JudgeFolder(folder, settings); }
    TSettings settings;
};

TEST_F(FolderGuardTest, RootsAndSystemFoldersAreRefusedInEverySpelling)
{
    const std::string bin = driver::BinDir(); // ends in a backslash
    for (const std::string& folder :
         {std::string("C:\\"), std::string("C:"), std::string("c:\\\\"), std::string("C:/"), std::string("D:\\"),
          std::string("\\\\server\\share\\"), std::string("C:\\WINDOWS"), std::string("c:\\windows\\"),
          std::string("C:\\WINDOWS\\\\"), std::string("C:\\\\WINDOWS"), std::string("C:\\WINDOWS\\TEMP\\.."),
          std::string("C:\\WINDOWS\\."), std::string("C:\\WINDOWS."), SystemFolder(), Lower(SystemFolder()) + "\\",
          bin, Lower(bin.substr(0, bin.size() - 1))})
        EXPECT_EQ(Judge(folder), FolderVerdict::Protected) << folder;

    // The boot folder counts wherever the settings put it.
    const std::string boot = win95::ScratchDir("bootdir");
    EXPECT_EQ(Judge(boot), FolderVerdict::MayEmpty);
    settings.BootDir = boot + "\\";
    EXPECT_EQ(Judge(boot), FolderVerdict::Protected);
}

// The folders a user's work and the backups live in, and every folder above one of
// them: emptying C:\qmtest would take the files lying beside the backup folder.
TEST_F(FolderGuardTest, FoldersOfTheUserAndOfTheBackupsAndTheFoldersHoldingThemAreRefused)
{
    const std::string documents = "C:\\qmtest\\Eigene Dateien";
    win95::MakeDirs(documents);
    auto shell = win::CreateKey(HKEY_CURRENT_USER, kShellFolders);
    win::WriteString(shell.get(), "Personal", documents);
    char programFiles[MAX_PATH] = {};
    ASSERT_TRUE(GetEnvironmentVariableA("ProgramFiles", programFiles, MAX_PATH));
    const std::string profile = EnvironmentValue("USERPROFILE");
    ASSERT_FALSE(profile.empty());
    for (const std::string& folder : {std::string("C:\\QMSAFE1"), std::string("C:\\QMSAFE2"), std::string("C:\\DOS"),
                                      settings.Target, std::string("C:\\qmtest\\Sicherung\\Alt")})
        win95::MakeDirs(folder);

    for (const std::string& folder :
         {documents, std::string("C:\\qmtest"), settings.Target, std::string("C:\\qmsafe1\\"), std::string("C:\\QMSAFE2"),
          std::string("C:\\DOS"), std::string(programFiles), win95::kStartMenu, win95::kDesktop, win95::kFavorites,
          profile, win::FolderOf(profile), win95::kWinDir + "Profiles"})
        EXPECT_EQ(Judge(folder), FolderVerdict::Protected) << folder;
    // Below them is the user's to empty.
    EXPECT_EQ(Judge("C:\\qmtest\\Sicherung\\Alt"), FolderVerdict::MayEmpty);
    win::DeleteValue(shell.get(), "Personal");
}

// The Windows folder reached by the device namespaces, the volume's own name, the
// administrative share and a junction: whatever road a path takes, nothing in the
// Windows folder is deleted.
TEST_F(FolderGuardTest, NoRoadToTheWindowsFolderEmptiesIt)
{
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD n = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &n));
    std::vector<std::string> roads = {"\\\\?\\C:\\WINDOWS", "\\\\.\\C:\\WINDOWS\\", "\\\\?\\c:\\",
                                      "\\\\localhost\\C$\\WINDOWS", "\\\\127.0.0.1\\c$\\windows\\",
                                      std::string("\\\\") + computer + "\\C$\\WINDOWS", "\\\\localhost\\C$",
                                      "//?/C:/WINDOWS", "\\\\?\\UNC\\localhost\\C$\\WINDOWS", "C:\\WinLink",
                                      "C:\\WINLINK\\."};
    char volume[MAX_PATH] = {};
    ASSERT_TRUE(GetVolumeNameForVolumeMountPointA("C:\\", volume, MAX_PATH));
    roads.push_back(std::string(volume) + "WINDOWS");
    roads.push_back(std::string(volume) + "windows\\");
    char device[MAX_PATH] = {};
    if (QueryDosDeviceA("C:", device, MAX_PATH)) roads.push_back(std::string("\\\\?\\GLOBALROOT") + device + "\\WINDOWS");
    ASSERT_TRUE(win95::IsDir("C:\\WinLink\\system32")) << "the session's junction is missing";

    const std::string canary = win95::kWinDir + "qmcanary.tmp";
    win95::WriteFile(canary, "x");
    for (const std::string& road : roads) {
        const FolderVerdict verdict = Judge(road);
        // A road the sweep cannot list deletes nothing either; any other must be refused.
        if (Listable(road)) {
            EXPECT_NE(verdict, FolderVerdict::MayEmpty) << road;
        }
        if (verdict == FolderVerdict::MayEmpty) cleanup::SweepFolder(road);
        EXPECT_TRUE(win95::Exists(canary)) << road;
        win95::WriteFile(canary, "x");
    }
    win95::Remove(canary);
    EXPECT_EQ(Judge("C:\\WinLink\\system32"), FolderVerdict::Protected);
    EXPECT_EQ(Judge("C:\\WinLink\\Temp"), FolderVerdict::MayEmpty);
}

TEST_F(FolderGuardTest, OrdinaryFoldersBesideOrBelowProtectedOnesMayBeEmptied)
{
    const std::string bin = driver::BinDir();
    for (const std::string& folder :
         {win95::kCookies, win95::kRecent, win95::kWinDir + "TEMP\\", win95::kWinDir + "TEMP\\\\",
          std::string("C:\\WINDOWS2"), std::string("C:\\qmtest\\nowhere"), std::string("\\\\server\\share\\Temp"),
          bin + "Sub"})
        EXPECT_EQ(Judge(folder), FolderVerdict::MayEmpty) << folder;
}

} // namespace
