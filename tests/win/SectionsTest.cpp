// Sections read whole against the platform's own profile reading: what the one pass
// finds must be what GetPrivateProfileStringA finds key by key, and the numbered-key
// rule that the record and the settings' list share.
#include "win/Sections.h"

#include "Win95.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SectionsTest : public ::testing::Test {
protected:
    void SetUp() override { dir = win95::ScratchDir("sections"); }
    void TearDown() override { win95::Remove(dir); }

    std::string With(const std::string& content)
    {
        win95::WriteFile(dir + "\\r.ini", content);
        return dir + "\\r.ini";
    }
    static std::string Platform(const std::string& path, const char* section, const char* key)
    {
        char buf[1024] = {};
        GetPrivateProfileStringA(section, key, "(none)", buf, sizeof buf, path.c_str());
        return buf;
    }
    static std::string Ours(const win::ProfileSection& s, const char* key) { return s.Find(key).value_or("(none)"); }

    std::string dir;
};

TEST_F(SectionsTest, OnePassFindsWhatThePlatformFindsKeyByKey)
{
    const std::vector<std::string> contents = {
        "[Target]\r\nDrive=C:\\B\\\r\n[Files]\r\n0=A\r\nCount=1\r\n",
        "x=before any section\r\n[files]\r\n  0  =  spaced value  \r\n\r\n[FILES]\r\n1=second header\r\n",
        "[Files]\r\n0=first\r\n0=second\r\n1=\"quoted\"\r\n2='single'\r\n3=\"half\r\n4\r\n",
        "[Files]\n0=lf only\n[Dirs]\r1=cr only\r",
        "\xEF\xBB\xBF[Files]\r\n0=after a byte-order mark\r\n",
        "[ Files ]\r\n0=blanks in the header\r\n[Dirs\r\n0=unclosed header\r\n",
        "[Files]\r\n0=a=b=c\r\n1=Zubeh\xF6r\r\n",
    };
    for (const auto& content : contents) {
        const std::string path = With(content);
        const auto sections = win::ReadProfileSections(path, {"Files", "Dirs"});
        ASSERT_EQ(sections.size(), 2u);
        for (const char* key : {"0", "1", "2", "3", "4", "x"}) {
            EXPECT_EQ(Ours(sections[0], key), Platform(path, "Files", key)) << content << " key " << key;
            EXPECT_EQ(Ours(sections[1], key), Platform(path, "Dirs", key)) << content << " key " << key;
        }
    }
}

TEST_F(SectionsTest, MissingFileReadsAsEmptyAndAnEndlessLineKeepsItsBeginning)
{
    EXPECT_TRUE(win::ReadProfileSections(dir + "\\nothing.ini", {"Files"})[0].keys.empty());
    std::string junk;
    for (int i = 0; i < 300000; ++i) junk += static_cast<char>('a' + i % 26);
    const auto sections = win::ReadProfileSections(With("[Files]\r\n0=" + junk + "\r\n1=next\r\n"), {"Files"});
    ASSERT_EQ(sections[0].keys.size(), 2u);
    EXPECT_EQ(sections[0].values[0].size(), 64u * 1024 - 2);
    EXPECT_EQ(sections[0].values[1], "next");
}

TEST_F(SectionsTest, OnlyTheWritersSpellingNumbersAnEntry)
{
    const std::vector<std::pair<std::string, std::optional<int>>> cases = {
        {"0", 0},        {"7", 7},         {"123456789", 123456789}, {"1234567890", std::nullopt},
        {"01", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt}, {"1 ", std::nullopt},
        {"", std::nullopt},   {"0x1", std::nullopt}, {"Count", std::nullopt}, {"1e3", std::nullopt},
    };
    for (const auto& [key, number] : cases) EXPECT_EQ(win::KeyNumber(key), number) << key;

    const std::vector<std::string> names = {"Count", "5", "3", "01", "3", "0", "99", "4"};
    const auto keys = win::NumberedKeys(names, 10);
    std::vector<std::pair<int, size_t>> got;
    for (const auto& k : keys) got.emplace_back(k.number, k.position);
    // In number order, the first of a number spelled twice, nothing from the limit up.
    EXPECT_EQ(got, (std::vector<std::pair<int, size_t>>{{0, 5}, {3, 2}, {4, 7}, {5, 1}}));
    EXPECT_TRUE(win::NumberedKeys(names, 0).empty());
}

} // namespace
