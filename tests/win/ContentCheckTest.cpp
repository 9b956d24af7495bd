// The read-back check of a copy: every byte counts, across the read blocks and after a
// small file has left the check with small buffers, and a folder sums to what the same
// folder sums to when a restore looks at it again.
#include "win/ContentCheck.h"
#include "win/Crc32.h"

#include "Win95.h"
#include "win/Handles.h"
#include "win/WideFiles.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

constexpr size_t kBlock = 256 * 1024;

std::string Pattern(size_t size, char seed)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>(seed + i * 7 + i / 251);
    return s;
}

TEST(ContentCheckTest, CrcIsTheOneOfZipAndContinuesAcrossPieces)
{
    EXPECT_EQ(win::UpdateCrc32(0, "123456789", 9), 0xCBF43926u);
    EXPECT_EQ(win::UpdateCrc32(win::UpdateCrc32(0, "1234", 4), "56789", 5), 0xCBF43926u);
    EXPECT_EQ(win::UpdateCrc32(0, "", 0), 0u);
    // Eight bytes a step and one byte a step agree, whatever the tail: the records of
    // earlier backups hold values made one way and are checked the other.
    const std::string data = Pattern(1003, 'q');
    std::uint32_t bytewise = 0;
    for (char c : data) bytewise = win::UpdateCrc32(bytewise, &c, 1);
    EXPECT_EQ(win::UpdateCrc32(0, data.data(), data.size()), bytewise);
}

// The CRC folds large pieces many bytes at a time: at every start within its 16-byte
// lanes, at every length around where folding starts and the tail it leaves to the
// table, and continued from any earlier value, it equals zlib's.
TEST(ContentCheckTest, FastCrcEqualsZlibsAtEveryStartAndLength)
{
    const std::string data = Pattern((size_t{1} << 18) + 64, 'f');
    const auto* bytes = reinterpret_cast<const Bytef*>(data.data());
    for (size_t start = 0; start < 17; ++start) {
        for (const size_t n : {size_t{0}, size_t{63}, size_t{64}, size_t{255}, size_t{256}, size_t{257}, size_t{271},
                               size_t{272}, size_t{1003}, size_t{4096}, size_t{65536 + 15}, size_t{1} << 18}) {
            SCOPED_TRACE(testing::Message() << "start " << start << ", length " << n);
            for (const std::uint32_t from : {0u, 0xCBF43926u, 0xFFFFFFFFu}) {
                EXPECT_EQ(win::UpdateCrc32(from, bytes + start, n), crc32_z(from, bytes + start, n));
            }
        }
    }
}

TEST(ContentCheckTest, CopyPassesOnlyWithEveryByteWhateverItsSizeBesideTheReadBlock)
{
    const std::string src = win95::ScratchDir("check-src");
    const std::string dst = win95::ScratchDir("check-dst");
    // In name order, the order of the check: small first, so the buffers must grow.
    const struct {
        const char* name;
        size_t size;
    } files[] = {{"a-small.txt", 10},       {"b-block.bin", kBlock}, {"c-beyond.bin", kBlock + 1},
                 {"d-three.bin", 3 * kBlock - 5}, {"e-empty.txt", 0}};
    std::uint64_t total = 0;
    for (const auto& f : files) {
        win95::WriteFile(src + "\\" + f.name, Pattern(f.size, f.name[0]));
        win95::WriteFile(dst + "\\" + f.name, Pattern(f.size, f.name[0]));
        total += f.size;
    }
    const auto whole = win::VerifyCopy(src, dst);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->size, total);
    EXPECT_EQ(whole, win::Summarize(dst));

    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const std::string source = src + "\\" + f.name;
        const std::string copy = dst + "\\" + f.name;
        EXPECT_EQ(win::VerifyCopy(source, copy), win::Summarize(source));
        if (f.size == 0) continue;
        // The last byte lies in the last block read, after the first ones matched.
        std::string changed = Pattern(f.size, f.name[0]);
        changed.back() ^= 1;
        win95::WriteFile(copy, changed);
        EXPECT_FALSE(win::VerifyCopy(source, copy));
        EXPECT_FALSE(win::VerifyCopy(src, dst));
        EXPECT_NE(win::Summarize(copy), win::Summarize(source));
        win95::WriteFile(copy, Pattern(f.size, f.name[0]));
    }
}

// A large file is read in two parts at once: the parts' CRCs must join to the one of the
// whole, and a change in either part must fail the check.
TEST(ContentCheckTest, LargeFileReadInTwoPartsSumsAsOneAndEveryPartCounts)
{
    const std::string dir = win95::ScratchDir("check-large");
    for (const size_t size : {size_t{8} << 20, (size_t{8} << 20) + 3}) {
        SCOPED_TRACE(size);
        const std::string data = Pattern(size, 'L');
        const std::string source = dir + "\\large.bin", copy = dir + "\\copy.bin";
        win95::WriteFile(source, data);
        win95::WriteFile(copy, data);
        const win::ContentSummary whole{size, win::UpdateCrc32(0, data.data(), data.size())};
        EXPECT_EQ(win::Summarize(source), whole);
        EXPECT_EQ(win::VerifyCopy(source, copy), whole);
        for (const size_t at : {size_t{0}, size / 2 - 1, size / 2 + 1, size - 1}) {
            SCOPED_TRACE(at);
            std::string changed = data;
            changed[at] ^= 0x20;
            win95::WriteFile(copy, changed);
            EXPECT_FALSE(win::VerifyCopy(source, copy));
            EXPECT_NE(win::Summarize(copy), whole);
        }
    }
    win95::Remove(dir);
}

TEST(ContentCheckTest, CopyOfAnotherKindOrMissingNeverPasses)
{
    const std::string dir = win95::ScratchDir("check-kinds");
    win95::WriteFile(dir + "\\file", "x");
    CreateDirectoryA((dir + "\\folder").c_str(), nullptr);
    win95::WriteFile(dir + "\\folder\\file", "x");
    const struct {
        const char* source;
        const char* copy;
    } cases[] = {{"file", "folder"}, {"folder", "file"}, {"file", "missing"},
                 {"missing", "file"}, {"missing", "missing"}, {"folder", "missing"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " copied as " + c.copy);
        EXPECT_FALSE(win::VerifyCopy(dir + "\\" + c.source, dir + "\\" + c.copy));
    }
    EXPECT_TRUE(win::VerifyCopy(dir + "\\folder", dir + "\\folder"));
}

void WriteWide(const std::wstring& path, const std::string& content)
{
    win::UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(f);
    DWORD written = 0;
    WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

// Names the code page cannot spell (Cyrillic and Chinese on a Western system): two of
// them spell alike in the code page, so only their wide names tell them apart.
TEST(ContentCheckTest, FolderWithNamesOutsideTheCodePageIsCheckedByTheirOwnNames)
{
    const std::string src = win95::ScratchDir("check-wide-src");
    const std::string dst = win95::ScratchDir("check-wide-dst");
    const std::wstring names[] = {L"\x041F\x0440\x0438\x0432\x0435\x0442.lnk", L"\x041C\x0438\x0440\x0443\x0448\x043A.lnk",
                                  L"\x8BB0\x4E8B\x672C.lnk", L"plain.lnk"};
    for (const std::string& side : {src, dst}) {
        const std::wstring folder = win::Widen(side) + L"\\";
        for (size_t i = 0; i < std::size(names); ++i) WriteWide(folder + names[i], "Inhalt " + std::to_string(i));
    }
    const auto wide = win::VerifyCopy(src, dst);
    ASSERT_TRUE(wide);
    EXPECT_EQ(win::Summarize(dst), wide);

    // A swapped content between the two names the code page spells alike is found.
    EXPECT_EQ(win::Narrow(names[0]), win::Narrow(names[1]));
    WriteWide(win::Widen(dst) + L"\\" + names[0], "Inhalt 1");
    WriteWide(win::Widen(dst) + L"\\" + names[1], "Inhalt 0");
    EXPECT_FALSE(win::VerifyCopy(src, dst));

    // Windows 95 has no wide calls; there every name is in the code page, and such a
    // folder checks as it always has.
    win::UseWideCalls(false);
    const std::string plain = win95::ScratchDir("check-ansi");
    win95::WriteFile(plain + "\\Übersicht.txt", "ä");
    const auto narrow = win::Summarize(plain);
    win::UseWideCalls(true);
    EXPECT_TRUE(narrow);
    EXPECT_EQ(win::Summarize(plain), narrow);
}

// A restore merges a folder into one that may hold more: what it put there is summed
// over the copy's own files, and matches the summary made at backup time exactly when
// each of them arrived whole.
TEST(ContentCheckTest, SummaryLikeACopyCountsOnlyTheCopysFiles)
{
    const std::string copy = win95::ScratchDir("like-copy");
    const std::string live = win95::ScratchDir("like-live");
    for (const std::string& dir : {copy, live}) {
        win95::MakeDirs(dir + "\\sub");
        win95::WriteFile(dir + "\\a.txt", "alpha");
        win95::WriteFile(dir + "\\sub\\b.txt", "beta");
    }
    win95::WriteFile(live + "\\extra.txt", "only live");
    win95::WriteFile(live + "\\sub\\extra2.txt", "only live too");
    const auto made = win::Summarize(copy);
    ASSERT_TRUE(made);
    EXPECT_EQ(win::SummarizeLike(live, copy), made);
    EXPECT_NE(win::Summarize(live), made);
    EXPECT_EQ(win::SummarizeLike(live + "\\a.txt", copy + "\\a.txt"), win::Summarize(copy + "\\a.txt"));

    win95::WriteFile(live + "\\sub\\b.txt", "betA");
    EXPECT_NE(win::SummarizeLike(live, copy), made);
    win95::Remove(live + "\\sub\\b.txt");
    EXPECT_FALSE(win::SummarizeLike(live, copy));
    EXPECT_FALSE(win::SummarizeLike(live + "\\a.txt", copy));
    EXPECT_FALSE(win::SummarizeLike(live + "\\gone", copy));
}

// A print of the source, taken while the shell copies a folder, stands in for reading the
// source again. A copy passes with it when it holds what the source held as printed, or
// else what the source holds now; a print that lacks a file or is stale costs only time.
TEST(ContentCheckTest, FolderCopyPassesWithAPrintWhenItHoldsThePrintedOrThePresentSource)
{
    const std::string src = win95::ScratchDir("print-src");
    const std::string dst = win95::ScratchDir("print-dst");
    const std::string large = Pattern((size_t{8} << 20) + 5, 'P');  // read unsplit for the print
    auto layOut = [&](const std::string& dir) {
        win95::MakeDirs(dir + "\\sub");
        win95::WriteFile(dir + "\\a.txt", "alpha");
        win95::WriteFile(dir + "\\sub\\b.txt", "beta");
        win95::WriteFile(dir + "\\sub\\large.bin", large);
    };
    const struct {
        const char* what;
        const char* file;            // below both folders
        const char* sourceAfter;     // the source's content after the print; none: unchanged
        const char* copyAfter;       // the copy's content after the print; none: unchanged
        bool passes;                 // without the print
        bool passesWithPrint;
    } cases[] = {
        {"copy as printed", nullptr, nullptr, nullptr, true, true},
        {"copy changed", "sub\\b.txt", nullptr, "betA", false, false},
        {"copy cut short", "a.txt", nullptr, "alph", false, false},
        {"source changed, copied again", "sub\\b.txt", "BETA", "BETA", true, true},
        {"source changed after its copy", "a.txt", "ALPHA", nullptr, false, true},
        {"source and copy changed apart", "a.txt", "ALPHA", "alphA", false, false},
        {"file the print lacks", "c.txt", "gamma", "gamma", true, true},
        {"file the print lacks, copy differs", "c.txt", "gamma", "gammA", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        win95::Remove(src);
        win95::Remove(dst);
        layOut(src);
        layOut(dst);
        const win::SourcePrint print = win::PrintOf(src);
        if (c.sourceAfter) win95::WriteFile(src + "\\" + c.file, c.sourceAfter);
        if (c.copyAfter) win95::WriteFile(dst + "\\" + c.file, c.copyAfter);
        EXPECT_EQ(win::VerifyCopy(src, dst).has_value(), c.passes);
        const auto printed = win::VerifyCopy(src, dst, &print);
        EXPECT_EQ(printed.has_value(), c.passesWithPrint);
        if (printed) {
            EXPECT_EQ(win::Summarize(dst), printed);
        }
    }
    EXPECT_EQ(win::PrintOf(src + "\\missing").files.size(), 0u);
    win95::Remove(src);
    win95::Remove(dst);
}

} // namespace
