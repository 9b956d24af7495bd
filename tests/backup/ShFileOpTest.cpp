// The file-operation component against the real shell copy engine.
#include "backup/ShFileOp.h"

#include "AppEnv.h"
#include "Win95.h"
#include "app/Unit1.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

class ShFileOpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        src = win95::ScratchDir("shop\\src");
        dst = win95::ScratchDir("shop\\dst") + "\\";
        win95::WriteFile(src + "\\a.txt", "alpha");
        win95::WriteFile(src + "\\b.txt", "beta");
        win95::WriteFile(src + "\\c.txt", "gamma");
        win95::MakeDirs(src + "\\Folder\\Deep");
        win95::WriteFile(src + "\\Folder\\Deep\\d.txt", "delta");
        op.Options = TShFlag{shAllowUndo, shNoConfirmation, shNoConfirmMkDir, shSilent};
    }
    void TearDown() override { win95::Remove("C:\\qmtest\\shop"); }

    std::string S(const char* name) const { return src + "\\" + name; }

    std::string src, dst;
    TShFileOP op;
};

TEST_F(ShFileOpTest, OptionSetIsOneByteAndMapsToThePlatformFlags)
{
    static_assert(sizeof(TShFlag) == 1);
    EXPECT_EQ(TShFlag{shSilent}.Bits(), 1 << 5);
    EXPECT_EQ(TShFileOP::PlatformFlags({}), 0);
    EXPECT_EQ(TShFileOP::PlatformFlags({shAllowUndo, shNoConfirmation, shNoConfirmMkDir, shSilent}), 0x254);
    EXPECT_EQ(TShFileOP::PlatformFlags({shAllowUndo, shFilesOnly, shNoConfirmation, shNoConfirmMkDir,
                                        shRenameOnCollision, shSilent, shSimpleProgress}),
              0x3DC);
}

TEST_F(ShFileOpTest, MainWindowsComponentCopiesUnaskedUnderTheWindow)
{
    TForm1 form(testenv::App(), 0);
    EXPECT_EQ(form.ShFileOP1.Operation, shCopy);
    EXPECT_EQ(TShFileOP::PlatformFlags(form.ShFileOP1.Options), 0x254);
    EXPECT_FALSE(form.ShFileOP1.KeepFilesList);
    EXPECT_TRUE(form.ShFileOP1.Title.empty());
    EXPECT_EQ(form.ShFileOP1.OwnerWindow(), form.Handle());
}

TEST_F(ShFileOpTest, CopiesFileAndWholeFolderIntoANewDestinationOverwritingWithoutAsking)
{
    op.Destination = dst + "made\\";
    op.FilesList = {S("a.txt")};
    ASSERT_TRUE(op.Execute());
    EXPECT_TRUE(op.FilesList.empty());
    win95::WriteFile(S("a.txt"), "alpha, changed");
    op.FilesList = {S("a.txt")};
    ASSERT_TRUE(op.Execute());
    op.FilesList = {S("Folder")};
    ASSERT_TRUE(op.Execute());
    EXPECT_FALSE(op.AnyOperationsAborted());

    EXPECT_EQ(win95::ReadFile(dst + "made\\a.txt"), "alpha, changed");
    EXPECT_EQ(win95::ReadFile(dst + "made\\Folder\\Deep\\d.txt"), "delta");
    EXPECT_TRUE(win95::Exists(S("a.txt")));
}

TEST_F(ShFileOpTest, NothingToDoIsSuccessAndLeavesTheListAlone)
{
    op.Destination = dst;
    EXPECT_TRUE(op.Execute());
    op.FilesList = {"", ""};
    EXPECT_TRUE(op.Execute());
    EXPECT_EQ(op.FilesList, (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(win95::List(dst).empty());
}

TEST_F(ShFileOpTest, SemicolonsSplitSourcesAndTwoInARowEndTheList)
{
    op.Destination = dst;
    op.FilesList = {S("a.txt") + ";" + S("b.txt"), "", S("c.txt") + ";"};
    ASSERT_TRUE(op.Execute());
    EXPECT_EQ(win95::List(dst), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));

    win95::Remove(dst);
    op.FilesList = {S("a.txt") + ";", S("b.txt")};
    op.Execute();
    EXPECT_EQ(win95::List(dst), (std::vector<std::string>{"a.txt"}));

    win95::Remove(dst);
    op.FilesList = {S("a.txt"), ";" + S("b.txt")};
    op.Execute();
    EXPECT_EQ(win95::List(dst), (std::vector<std::string>{"a.txt"}));
}

TEST_F(ShFileOpTest, FailureAnswersFalseAndStillEmptiesTheList)
{
    op.Destination = dst;
    op.FilesList = {S("missing.txt")};
    EXPECT_FALSE(op.Execute());
    EXPECT_TRUE(op.FilesList.empty());
}

TEST_F(ShFileOpTest, KeptListCanBeRunAgain)
{
    op.KeepFilesList = true;
    op.Destination = dst + "one\\";
    op.FilesList = {S("a.txt")};
    ASSERT_TRUE(op.Execute());
    EXPECT_EQ(op.FilesList, std::vector<std::string>{S("a.txt")});
    op.Destination = dst + "two\\";
    ASSERT_TRUE(op.Execute());
    EXPECT_TRUE(win95::Exists(dst + "one\\a.txt"));
    EXPECT_TRUE(win95::Exists(dst + "two\\a.txt"));
}

TEST_F(ShFileOpTest, EmptyDestinationMeansTheCurrentFolder)
{
    std::string here = win95::ScratchDir("shop\\here");
    char old[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryA(here.c_str()));
    op.FilesList = {S("a.txt")};
    bool ok = op.Execute();
    SetCurrentDirectoryA(old);
    EXPECT_TRUE(ok);
    EXPECT_EQ(win95::ReadFile(here + "\\a.txt"), "alpha");
}

TEST_F(ShFileOpTest, MoveDeleteAndRenameReachTheirPlatformOperations)
{
    op.Operation = shMove;
    op.Destination = dst;
    op.FilesList = {S("a.txt")};
    ASSERT_TRUE(op.Execute());
    EXPECT_FALSE(win95::Exists(S("a.txt")));
    EXPECT_EQ(win95::ReadFile(dst + "a.txt"), "alpha");

    op.Operation = shRename;
    op.Destination = S("renamed.txt");
    op.FilesList = {S("b.txt")};
    ASSERT_TRUE(op.Execute());
    EXPECT_FALSE(win95::Exists(S("b.txt")));
    EXPECT_EQ(win95::ReadFile(S("renamed.txt")), "beta");

    op.Operation = shDelete;
    op.Options = TShFlag{shNoConfirmation, shSilent};
    op.Destination.clear();
    op.FilesList = {S("Folder")};
    ASSERT_TRUE(op.Execute());
    EXPECT_FALSE(win95::Exists(S("Folder")));
}

} // namespace
