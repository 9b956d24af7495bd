// What a copy knows of its source before it starts: whether it is there, and whether
// copying it may keep the window from painting.
#include "win/Files.h"

#include "Win95.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FilesTest, FactsTellFolderAndSizeAndOnlyALargeFileOrAFolderTakesLong)
{
    const std::string dir = win95::ScratchDir("facts");
    win95::WriteFile(dir + "\\small.txt", std::string(1024 * 1024 - 1, 's'));
    win95::WriteFile(dir + "\\large.bin", std::string(1024 * 1024, 'l'));
    const auto folder = win::FactsOf(dir);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->folder);
    EXPECT_TRUE(win::CopyMayTakeLong(*folder));
    const auto small = win::FactsOf(dir + "\\small.txt");
    ASSERT_TRUE(small);
    EXPECT_FALSE(small->folder);
    EXPECT_EQ(small->size, 1024u * 1024u - 1);
    EXPECT_FALSE(win::CopyMayTakeLong(*small));
    const auto large = win::FactsOf(dir + "\\large.bin");
    ASSERT_TRUE(large);
    EXPECT_TRUE(win::CopyMayTakeLong(*large));
    for (const std::string& missing : {dir + "\\none.txt", dir + "\\*.txt", dir + "\\small.tx?"})
        EXPECT_FALSE(win::FactsOf(missing)) << missing;
}

} // namespace
