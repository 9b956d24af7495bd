// The real program, started as a user starts it.
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"

#include <gtest/gtest.h>

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

} // namespace
