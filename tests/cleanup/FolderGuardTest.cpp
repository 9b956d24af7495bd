// Which folders the clean-up commands refuse, however their path is spelt.
#include "cleanup/FolderGuard.h"

#include "Driver.h"
#include "Win95.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

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

class FolderGuardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        settings.WinDir = win95::kWinDir;
        settings.BootDir = win95::kBootDir;
        win95::MakeDirs(win95::kWinDir + "TEMP");
    }
    TSettings settings;
};

TEST_F(FolderGuardTest, RootsAndSystemFoldersAreRefusedInEverySpelling)
{
    const std::string bin = driver::BinDir(); // ends in a backslash
    for (const std::string& folder :
         {std::string("C:\\"), std::string("C:"), std::string("c:\\\\"), std::string("C:/"), std::string("D:\\"),
          std::string("\\\\server\\share\\"), std::string("C:\\WINDOWS"), std::string("c:\\windows\\"),
          std::string("C:\\WINDOWS\\\\"), std::string("C:\\\\WINDOWS"), std::string("C:\\WINDOWS\\TEMP\\.."),
          std::string("C:\\WINDOWS\\."), SystemFolder(), Lower(SystemFolder()) + "\\", bin,
          Lower(bin.substr(0, bin.size() - 1))})
        EXPECT_TRUE(cleanup::IsProtectedFolder(folder, settings)) << folder;

    // The boot folder counts wherever the settings put it.
    const std::string boot = win95::ScratchDir("bootdir");
    EXPECT_FALSE(cleanup::IsProtectedFolder(boot, settings));
    settings.BootDir = boot + "\\";
    EXPECT_TRUE(cleanup::IsProtectedFolder(boot, settings));
}

// The same folders reached by the device namespaces, the administrative share and a
// junction: refused by what they are, not by how they are written.
TEST_F(FolderGuardTest, OtherRoadsToTheWindowsFolderAreRefusedToo)
{
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD n = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &n));
    for (const std::string& folder :
         {std::string("\\\\?\\C:\\WINDOWS"), std::string("\\\\.\\C:\\WINDOWS\\"), std::string("\\\\?\\c:\\"),
          std::string("\\\\localhost\\C$\\WINDOWS"), std::string("\\\\127.0.0.1\\c$\\windows\\"),
          std::string("\\\\") + computer + "\\C$\\WINDOWS", std::string("\\\\localhost\\C$"),
          std::string("//?/C:/WINDOWS"), std::string("\\\\?\\UNC\\localhost\\C$\\WINDOWS")})
        EXPECT_TRUE(cleanup::IsProtectedFolder(folder, settings)) << folder;

    // The session links C:\WinLink to the Windows folder, as a junction shows under Wine.
    const std::string link = "C:\\WinLink";
    ASSERT_TRUE(win95::IsDir(link + "\\system32")) << "the session's junction is missing";
    EXPECT_TRUE(cleanup::IsProtectedFolder(link, settings));
    EXPECT_TRUE(cleanup::IsProtectedFolder(link + "\\system32", settings));
    EXPECT_FALSE(cleanup::IsProtectedFolder(link + "\\Temp", settings));
}

TEST_F(FolderGuardTest, OrdinaryFoldersBesideOrBelowProtectedOnesMayBeEmptied)
{
    const std::string bin = driver::BinDir();
    for (const std::string& folder :
         {win95::kCookies, win95::kRecent, win95::kWinDir + "TEMP\\", win95::kWinDir + "TEMP\\\\",
          std::string("C:\\WINDOWS2"), std::string("C:\\qmtest\\nowhere"), std::string("\\\\server\\share\\Temp"),
          bin + "Sub"})
        EXPECT_FALSE(cleanup::IsProtectedFolder(folder, settings)) << folder;
}

} // namespace
