#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, CountsArgumentsAfterTheProgramName)
{
    EXPECT_EQ(ArgumentCount("Quillmark.exe"), 0);
    EXPECT_EQ(ArgumentCount("\"C:\\Program Files\\Quillmark.exe\""), 0);
    EXPECT_EQ(ArgumentCount("\"C:\\Program Files\\Quillmark.exe\" /auto"), 1);
    EXPECT_EQ(ArgumentCount("Quillmark.exe a b\tc"), 3);
    EXPECT_EQ(ArgumentCount("Quillmark.exe \"a b\""), 1);
}

TEST(CommandLine, EmptyQuotesAndBlanksAreNoArgument)
{
    EXPECT_EQ(ArgumentCount("Quillmark.exe \"\""), 0);
    EXPECT_EQ(ArgumentCount("Quillmark.exe    \t  "), 0);
    EXPECT_EQ(ArgumentCount("Quillmark.exe \"\" \"\"  x"), 1);
    EXPECT_EQ(ArgumentCount("Quillmark.exe \x01\x02"), 0);
    EXPECT_EQ(SplitCommandLine("q.exe a\"b c\"d"), (std::vector<std::string>{"q.exe", "ab cd"}));
}
