// The real program, started as a user starts it.
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings();
    }
    void TearDown() override { win95::ClearSettings(); }
};

TEST_F(ProgramTest, OpensReadyAndEndsOnBeenden)
{
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    EXPECT_EQ(driver::Text(p.Main()), "Ardo's Quillmark ");
    EXPECT_EQ(p.Status(), "Bereit!");
    EXPECT_TRUE(p.Messages().empty());
    EXPECT_EQ(p.Progress(), 0);
    EXPECT_EQ(p.ProgressMax(), 100);
    EXPECT_TRUE(p.MenuShown());
    p.PostCommand(IDM_EXIT);
    EXPECT_EQ(p.WaitExit(), 0);
}

TEST_F(ProgramTest, CloseBoxEndsTheProgram)
{
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    p.Close();
    EXPECT_EQ(p.WaitExit(), 0);
}

TEST_F(ProgramTest, EmptyQuotesOrBlanksAreNoArgumentAndTheProgramWaits)
{
    for (const char* args : {"\"\"", "   ", "\"\" \"\""}) {
        driver::Program p(args);
        ASSERT_NE(p.Main(), nullptr) << args;
        Sleep(700);
        EXPECT_TRUE(p.Running()) << args;
        EXPECT_EQ(p.Status(), "Bereit!") << args;
        EXPECT_TRUE(p.MenuShown()) << args;
    }
}

TEST_F(ProgramTest, InfoOpensTheAboutBox)
{
    driver::Program p;
    p.PostCommand(IDM_INFO);
    HWND box = p.WaitDialog("Info über Quillmark");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(driver::FindChildByText(box, "Ardo's Quillmark"), nullptr);
    driver::Press(box, IDOK);
    EXPECT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
}

TEST_F(ProgramTest, WindowOpensWithoutTheClip)
{
    // A copy of the program in a folder of its own, with no clip beside it.
    std::string dir = win95::ScratchDir("noclip");
    ASSERT_TRUE(CopyFileA((driver::ProgramDir() + "Quillmark.exe").c_str(), (dir + "\\Quillmark.exe").c_str(), FALSE));
    driver::Program p("", dir + "\\Quillmark.exe");
    ASSERT_NE(p.Main(), nullptr);
    EXPECT_EQ(p.Status(), "Bereit!");
}

void PressCtrl(char key)
{
    INPUT in[4] = {};
    for (INPUT& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_CONTROL;
    in[1].ki.wVk = static_cast<WORD>(key);
    in[2].ki.wVk = static_cast<WORD>(key);
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = VK_CONTROL;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, in, sizeof(INPUT));
}

// The shortcuts as a user presses them on the keyboard, not as commands posted.
TEST_F(ProgramTest, ShortcutKeysOpenConfigurationRestoreAndStartABackup)
{
    win95::StoreUsualSettings("C:\\qmtest\\target\\");
    win95::MakeDirs("C:\\qmtest\\target");
    driver::Program p;
    auto press = [&](char key) {
        SetForegroundWindow(p.Main());
        ASSERT_TRUE(driver::WaitUntil([&] { return GetForegroundWindow() == p.Main(); }, 5000));
        PressCtrl(key);
    };
    press('O');
    HWND config = p.WaitDialog("Quillmark-Configuration");
    ASSERT_NE(config, nullptr);
    PostMessageA(config, WM_CLOSE, 0, 0);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));

    press('R');
    HWND open = p.WaitFileDialog();
    ASSERT_NE(open, nullptr);
    driver::Press(open, IDCANCEL);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));

    press('S');
    EXPECT_TRUE(driver::WaitUntil([&] { return p.Status() == "Ready!"; }, 60000)) << p.Status();
    EXPECT_TRUE(win95::Exists("C:\\qmtest\\target\\ABackUp.log"));
}

// A close request that arrives while a backup runs ends the program once the backup
// has finished, with its record complete.
TEST_F(ProgramTest, ClosingDuringABackupLetsItFinishThenEnds)
{
    const std::string data = win95::ScratchDir("viele");
    std::vector<std::string> files;
    for (int i = 0; i < 200; ++i) {
        files.push_back(data + "\\f" + std::to_string(1000 + i) + ".txt");
        win95::WriteFile(files.back(), std::string(2048, 'x'));
    }
    TSettings s;
    s.OtherFiles = true;
    s.Target = "C:\\qmtest\\target\\";
    win95::ClearSettings();
    SaveSettings(s, false, false, files);
    win95::MakeDirs("C:\\qmtest\\target");
    driver::Program p;
    p.PostCommand(IDM_START);
    ASSERT_TRUE(driver::WaitUntil([&] { return p.Status().rfind("Writing f10", 0) == 0; }));
    p.Close();
    EXPECT_EQ(p.WaitExit(120000), 0);
    const std::string record = win95::ReadFile("C:\\qmtest\\target\\ABackUp.log");
    EXPECT_NE(record.find("f1199.txt"), std::string::npos);
}

} // namespace
