// The real program, with its Temp folder taken from the environment as a user's is.
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// The program inherits TEMP and TMP from this process; both are put back afterwards.
class TempVariables {
public:
    explicit TempVariables(const std::string& folder)
    {
        for (const char* name : {"TMP", "TEMP"}) {
            char buf[MAX_PATH] = {};
            DWORD n = GetEnvironmentVariableA(name, buf, MAX_PATH);
            saved_.emplace_back(name, n ? std::string(buf, n) : std::string());
            SetEnvironmentVariableA(name, folder.c_str());
        }
    }
    ~TempVariables()
    {
        for (const auto& [name, value] : saved_) SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
    }

private:
    std::vector<std::pair<const char*, std::string>> saved_;
};

class CleanupProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings();
    }
    void TearDown() override { win95::ClearSettings(); }
};

TEST_F(CleanupProgramTest, TheThreeCommandsEmptyTheirFoldersAsAUserChoosesThem)
{
    const std::string temp = win95::ScratchDir("program-temp");
    win95::WriteFile(temp + "\\~DF1234.tmp", "x");
    win95::WriteFile(win95::kCookies + "\\anna@werbung.txt", "x");
    TempVariables env(temp);
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);

    p.Command(IDM_EMPTYTEMP);
    EXPECT_TRUE(win95::List(temp).empty());
    EXPECT_EQ(p.Messages(), (Names{"All files in Temp-Directory deleted."}));
    EXPECT_EQ(p.Progress(), 1);
    EXPECT_EQ(p.ProgressMax(), 1);

    p.Command(IDM_EMPTYCOOKIES);
    EXPECT_TRUE(win95::List(win95::kCookies).empty());
    EXPECT_EQ(p.Messages(), (Names{"All files in Temp-Directory deleted.", "All Cookies deleted."}));

    p.Command(IDM_EMPTYRECENT);
    EXPECT_TRUE(win95::List(win95::kRecent).empty());
    EXPECT_EQ(p.Messages(), (Names{"All recent files deleted."}));
    EXPECT_EQ(p.Progress(), 2);
    EXPECT_EQ(p.ProgressMax(), 2);
    EXPECT_EQ(p.Status(), "");
    EXPECT_TRUE(p.MenuShown());
}

TEST_F(CleanupProgramTest, ATempFolderOnTheDriveRootIsRefusedAndTheBootFilesStay)
{
    TempVariables env("C:\\");
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    p.PostCommand(IDM_EMPTYTEMP);
    HWND box = p.WaitDialog("Warnung");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::MessageText(box), "Der Ordner C:\\ ist ein Systemordner und wird nicht geleert.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), p.Main());
    driver::Press(box, IDOK);
    EXPECT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    for (const char* file : {"Command.com", "Autoexec.bat", "Config.sys", "IO.sys", "MSDOS.sys", "Drvspace.bin"})
        EXPECT_TRUE(win95::Exists(win95::kBootDir + file)) << file;
    EXPECT_EQ(p.Status(), "Bereit!");
    EXPECT_TRUE(p.Messages().empty());
    EXPECT_EQ(p.ProgressMax(), 100);
    EXPECT_TRUE(p.MenuShown());
}

// The 32-bit program on 64-bit Windows is shown the 32-bit system folder as the system
// folder; the real one it reaches as Sysnative, and that one is no Temp folder either.
TEST_F(CleanupProgramTest, TheRealSystemFolderKeepsItsFilesWhateverTheProgramsBitness)
{
    char system[MAX_PATH] = {};
    ASSERT_TRUE(GetSystemDirectoryA(system, MAX_PATH)); // this test runs as a 64-bit program
    const std::string canary = std::string(system) + "\\qmcanary.tmp";
    win95::WriteFile(canary, "x");
    TempVariables env(win95::kWinDir + "Sysnative");
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    p.PostCommand(IDM_EMPTYTEMP);
    HWND box = nullptr;
    ASSERT_TRUE(driver::WaitUntil([&] {
        box = FindWindowA("#32770", "Warnung");
        return box || !p.Messages().empty();
    }));
    if (box) {
        EXPECT_EQ(driver::MessageText(box), "Der Ordner " + win95::kWinDir + "Sysnative ist ein Systemordner und wird nicht geleert.");
        driver::Press(box, IDOK);
    }
    EXPECT_TRUE(win95::Exists(canary));
    win95::Remove(canary);
}

} // namespace
