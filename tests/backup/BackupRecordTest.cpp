// The backup record through the platform's profile-file calls: what a run writes,
// and what the reader makes of damaged or foreign files.
#include "backup/BackupRecord.h"

#include "Win95.h"
#include "win/Error.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class BackupRecordTest : public ::testing::Test {
protected:
    void SetUp() override { dir = win95::ScratchDir("record"); }
    void TearDown() override { win95::Remove(dir); }

    TBackupRecord With(const std::string& content)
    {
        win95::WriteFile(dir + "\\ABackUp.log", content);
        return TBackupRecord(dir + "\\ABackUp.log");
    }

    std::string dir;
};

TEST_F(BackupRecordTest, SecondRunUpdatesInPlaceAndLeavesHigherKeys)
{
    TBackupRecord r(dir + "\\ABackUp.log");
    r.WriteString("Target", "Drive", "D:\\Old\\");
    for (int i = 0; i < 3; ++i) {
        r.WriteString("Files", std::to_string(i), "F" + std::to_string(i));
        r.WriteString("Dirs", std::to_string(i), "C:\\D" + std::to_string(i));
    }
    r.WriteInteger("Files", "Count", 3);
    r.WriteString("Target", "Drive", "C:\\New\\");
    r.WriteString("Files", "0", "G0");
    r.WriteString("Dirs", "0", "C:\\");
    r.WriteInteger("Files", "Count", 1);

    EXPECT_EQ(win95::ReadFile(r.Path()), "[Target]\r\nDrive=C:\\New\\\r\n"
                                         "[Files]\r\n0=G0\r\n1=F1\r\n2=F2\r\nCount=1\r\n"
                                         "[Dirs]\r\n0=C:\\\r\n1=C:\\D1\r\n2=C:\\D2\r\n");
    EXPECT_EQ(r.ReadInteger("Files", "Count", -1), 1);
}

TEST_F(BackupRecordTest, RefusedWriteNamesTheRecord)
{
    TBackupRecord r(dir + "\\missing\\ABackUp.log");
    try {
        r.WriteString("Target", "Drive", "x");
        FAIL() << "no error";
    } catch (const win::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Kann nicht nach " + dir + "\\missing\\ABackUp.log schreiben");
    }
}

// The writes during a run go on beside it: what one wrote is in the record once the
// run asks again, and one the platform refused ends the run at the next ask.
TEST_F(BackupRecordTest, WritesDuringTheRunLandAndARefusedOneIsRaisedAtTheNextAsk)
{
    const std::string path = dir + "\\ABackUp.log";
    TBackupRecord r(path);
    r.WriteString("Target", "Drive", dir + "\\");
    TRecordEntries entries(r);
    entries.Add("A.TXT", "C:\\Daten", {1, 0x12345678});
    Sleep(1100);  // the least time between two writes
    entries.WriteIfDue();
    entries.Write();  // nothing new: only waits for the write that runs
    EXPECT_EQ(r.ReadString("Files", "0", ""), "A.TXT");
    EXPECT_EQ(r.ReadInteger("Files", "Count", -1), 1);
    EXPECT_EQ(r.ReadString("Checks", "0", ""), "1,12345678");

    entries.Add("B.TXT", "C:\\Daten", {2, 1});
    Sleep(1100);
    {
        // Held open by another, unshared: the platform cannot write it.
        win::UniqueFile held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        try {
            entries.WriteIfDue();
            entries.Write();
            ADD_FAILURE() << "no error";
        } catch (const win::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Kann nicht nach " + path + " schreiben");
        }
    }
    EXPECT_EQ(r.ReadInteger("Files", "Count", -1), 1);
}

TEST_F(BackupRecordTest, MissingFileSectionsAndKeysReadAsDefaults)
{
    TBackupRecord none(dir + "\\nothing.log");
    EXPECT_EQ(none.ReadString("Target", "Drive", "def"), "def");
    EXPECT_EQ(none.ReadInteger("Files", "Count", 7), 7);

    auto r = With("[Files]\r\n0=a\r\n");
    EXPECT_EQ(r.ReadString("Target", "Drive", ""), "");
    EXPECT_EQ(r.ReadInteger("Files", "Count", 0), 0);
    EXPECT_EQ(r.ReadString("files", "0", ""), "a");
}

TEST_F(BackupRecordTest, CountIsDecimalOrHexadecimalElseTheDefault)
{
    const std::vector<std::pair<std::string, int>> cases = {
        {"12", 12},     {"0x10", 16}, {"0X1f", 31},    {"-3", -3},          {"2147483647", 2147483647},
        {"abc", -1},    {"12abc", -1}, {"0x", -1},     {"", -1},            {"2147483648", -1},
        {"0x80000000", -2147483647 - 1}, {"0x1FFFFFFFF", -1}, {"1.5", -1}, {"  9  ", 9},
    };
    for (const auto& [text, expected] : cases) {
        auto r = With("[Files]\r\nCount=" + text + "\r\n");
        EXPECT_EQ(r.ReadInteger("Files", "Count", -1), expected) << text;
    }
}

TEST_F(BackupRecordTest, LongValuesAreCutTo1023Characters)
{
    const std::string longName(5000, 'n');
    auto r = With("[Files]\r\n0=" + longName + "\r\n");
    EXPECT_EQ(r.ReadString("Files", "0", ""), std::string(1023, 'n'));
}

TEST_F(BackupRecordTest, BinaryJunkReadsAsNoRecord)
{
    std::string junk;
    for (int i = 0; i < 70000; ++i) junk += static_cast<char>((i * 7919) % 256);
    auto r = With(junk);
    EXPECT_EQ(r.ReadString("Target", "Drive", ""), "");
    EXPECT_EQ(r.ReadInteger("Files", "Count", 0), 0);
}

} // namespace
