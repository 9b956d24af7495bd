// The record as a restore reads it: the path rules for names and folders, and many
// thousands of records mutated from one the backup's writer made, none of which may
// let through an entry that is not a full, clean path.
#include "backup/RecordReader.h"

#include "Win95.h"
#include "backup/BackupRecord.h"
#include "win/ContentCheck.h"
#include "win/Handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace {

using backup::EntryState;

// The spellings a restore meets through the program are in its own test; these are
// the borders of the rules.
TEST(RecordReaderTest, FolderMustBeAFullCleanLocalPath)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"C:\\", true},
        {"c:\\WINDOWS", true},
        {"C:\\WINDOWS\\", true},
        {"C:\\WINDOWS\\Start Menu\\Programs\\Zubeh\xF6r", true},
        {"\\\\server\\share", true},
        {"\\\\server\\share\\Daten", true},
        {"C:\\PROGRA~1\\x.y", true},
        {"", false},
        {"C:", false},
        {"1:\\WINDOWS", false},
        {"\\\\server", false},
        {"\\\\server\\", false},
        {"\\\\.\\PhysicalDrive0", false},
        {"C:\\WINDOWS\\\\x", false},
        {"C:\\WINDOWS\\\\", false},
        {"C:\\WIN*", false},
        {"C:\\WINDOWS:stream", false},
        {"C:\\WINDOWS ", false},
        {"C:\\a\\nul", false},
        {"C:\\a\\Com1.txt", false},
        {"C:\\a\\lpt9", false},
        {"C:\\a\\com0", true},
        {"C:\\" + std::string(256, 'a'), false},
    };
    for (const auto& [path, clean] : cases) EXPECT_EQ(backup::IsFullLocalFolder(path), clean) << path;

    const std::vector<std::pair<std::string, bool>> names = {
        {"Win.ini", true}, {"STARTM~1", true}, {"a;b.txt", true}, {"", false},          {".", false},
        {"..", false},     {"..\\x", false},   {"C:x", false},    {"a/b", false},       {"CON", false},
        {"aux.dat", false}, {"x.", false},     {"x ", false},     {"a\"b", false},      {"con2", true},
    };
    for (const auto& [name, plain] : names) EXPECT_EQ(backup::IsPlainName(name), plain) << name;
}

// The independent view of a clean destination: the platform's own normalisation leaves
// it as it is, it starts at a drive or a share, and holds nothing a name cannot hold.
void ExpectCleanDestination(const backup::RecordEntry& e, const std::string& context)
{
    const std::string full = e.folder + e.name;
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetFullPathNameA(full.c_str(), sizeof buf, buf, nullptr);
    EXPECT_EQ(std::string(buf, n), full) << context;
    EXPECT_LT(full.size(), static_cast<size_t>(MAX_PATH)) << context;
    EXPECT_EQ(e.name.find_first_of("\\/:"), std::string::npos) << context;
    const bool drive = full.size() >= 3 && std::isalpha(static_cast<unsigned char>(full[0])) && full[1] == ':' &&
                       full[2] == '\\';
    const bool share = full.rfind("\\\\", 0) == 0 && full.size() > 2 && full[2] != '.' && full[2] != '?' &&
                       full[2] != '\\';
    EXPECT_TRUE(drive || share) << context;
    EXPECT_EQ(full.find_first_of(":", drive ? 2 : 0), std::string::npos) << context;
    EXPECT_EQ(full.find("\\.\\"), std::string::npos) << context;
    EXPECT_EQ(full.find("\\..\\"), std::string::npos) << context;
    for (const char c : full)
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && std::string("*?\"<>|/").find(c) == std::string::npos)
            << context;
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    std::string Mutate(std::string text)
    {
        const int steps = Pick(1, 4);
        for (int i = 0; i < steps; ++i) text = Step(std::move(text));
        return text;
    }

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    static size_t LineStart(const std::string& text, size_t at)
    {
        const size_t cut = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
        return cut == std::string::npos ? 0 : cut + 1;
    }

    // The start and end of a random line's value (after "="), or of the whole line.
    std::pair<size_t, size_t> RandomValue(const std::string& text)
    {
        if (text.empty()) return {0, 0};
        size_t start = text.rfind('\n', Pick(0, static_cast<int>(text.size()) - 1));
        start = start == std::string::npos ? 0 : start + 1;
        size_t end = text.find('\r', start);
        if (end == std::string::npos) end = text.size();
        const size_t eq = text.find('=', start);
        if (eq != std::string::npos && eq < end) start = eq + 1;
        return {start, end};
    }

    std::string Step(std::string text)
    {
        static const std::vector<std::string> numbers = {"99999999999", "-1", "-2147483648", "0x7FFFFFFF", "2147483648",
                                                         "0x", "1e9", "0", "4294967296", "0xFFFFFFFF", "+5", " 3 "};
        static const std::vector<std::string> hostile = {
            "..\\..\\x", "C:WINDOWS", "\\WINDOWS", "\\\\.\\C:\\x", "\\\\?\\C:\\x", "C:\\a\\..\\b", "C:\\.\\b",
            "C:\\a\\\\b", "C:/a", "C:\\a|b", "C:\\a\x01" "b", "C:\\con", "\\\\", "\\\\\\x", "C:\\a.", "C:\\a ",
            "C:", "x:\\", "\\\\srv\\share\\..", "C:\\a:b", "\"C:\\q\"", "'\\\\.\\x'", "STARTM~1", "..", "."};
        auto [start, end] = RandomValue(text);
        switch (Pick(0, 7)) {
        case 0: {  // a line lost
            const size_t lineStart = LineStart(text, start);
            const size_t next = text.find('\n', start);
            text.erase(lineStart, next == std::string::npos ? std::string::npos : next + 1 - lineStart);
            break;
        }
        case 1:  // cut short
            text.resize(Pick(0, static_cast<int>(text.size())));
            break;
        case 2: {  // junk bytes
            std::string junk(Pick(1, 40), '\0');
            for (char& c : junk) c = static_cast<char>(Pick(0, 255));
            if (Pick(0, 3) == 0) junk += "\r\n[Files]\r\n=\r\n[";
            text.insert(Pick(0, static_cast<int>(text.size())), junk);
            break;
        }
        case 3:
            text.replace(start, end - start, numbers[Pick(0, static_cast<int>(numbers.size()) - 1)]);
            break;
        case 4:
            text.replace(start, end - start, std::string(Pick(0, 9) == 0 ? 70000 : Pick(200, 2000), 'w'));
            break;
        case 5:
            text.replace(start, end - start, hostile[Pick(0, static_cast<int>(hostile.size()) - 1)]);
            break;
        case 6: {  // a line or a whole stretch repeated
            const size_t from = text.empty() ? 0 : Pick(0, static_cast<int>(text.size()) - 1);
            text.insert(Pick(0, static_cast<int>(text.size())), text.substr(from, Pick(1, 400)));
            break;
        }
        default:  // another key
            if (start > 0 && text[start - 1] == '=') {
                const size_t lineStart = LineStart(text, start);
                const std::string key = Pick(0, 1) ? std::to_string(Pick(0, 40)) : numbers[Pick(0, 11)];
                text.replace(lineStart, start - 1 - lineStart, key);
            }
        }
        return text;
    }

    std::mt19937 rng_;
};

void Rewrite(HANDLE file, const std::string& text)
{
    DWORD written = 0;
    ASSERT_NE(SetFilePointer(file, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    ASSERT_TRUE(WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                written == text.size());
    ASSERT_TRUE(SetEndOfFile(file));
}

TEST(RecordReaderTest, MutatedRecordsNeverLetThroughAnUncleanDestination)
{
    const std::string dir = win95::ScratchDir("fuzz");
    const std::string path = dir + "\\ABackUp.log";
    {
        // A record as a backup of the usual installation writes it.
        TBackupRecord record(path);
        record.WriteString("Target", "Drive", "C:\\qmtest\\target\\");
        TRecordEntries entries(record);
        const std::vector<std::pair<std::string, std::string>> items = {
            {"AUTOEXEC.BAT", "C:\\"}, {"CONFIG.SYS", "C:\\"}, {"Profiles", "C:\\WINDOWS"}, {"USER.DAT", "C:\\WINDOWS"},
            {"SYSTEM.DAT", "C:\\WINDOWS"}, {"STARTM~1", "C:\\WINDOWS"}, {"Desktop", "C:\\WINDOWS"},
            {"WIN.INI", "C:\\WINDOWS"}, {"SYSTEM.INI", "C:\\WINDOWS"}, {"SHELLI~1", "C:\\WINDOWS"},
            {"BOOKMARK.HTM", "C:\\Programme\\Netscape"}, {"FAVORI~1", "C:\\WINDOWS"},
            {"NOTIZEN.TXT", "\\\\srv\\daten\\Anna"}};
        for (size_t i = 0; i < items.size(); ++i) {
            const auto crc = static_cast<std::uint32_t>(0x9E3779B9u * (i + 1));
            entries.Add(items[i].first, items[i].second, {1000 + i * 37, crc});
        }
        entries.Write();
    }
    const std::string real = win95::ReadFile(path);
    const auto original = backup::ReadRecord(path);
    ASSERT_EQ(original.entries.size(), 13u);
    for (const auto& e : original.entries) ASSERT_EQ(e.state, EntryState::Ready) << e.name;

    // Rewritten in place through one handle: creating the file anew each round would
    // cost the test most of its time under Wine.
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    Mutator mutator(20261209);
    int lettedThrough = 0;
    for (int round = 0; round < 3000; ++round) {
        const std::string text = mutator.Mutate(real);
        Rewrite(file.get(), text);
        const auto record = backup::ReadRecord(path);
        const std::string context = "round " + std::to_string(round);
        // What is kept is bounded by what the file holds, never by its Count.
        EXPECT_LE(record.entries.size(), static_cast<size_t>(std::count(text.begin(), text.end(), '='))) << context;
        int last = -1;
        char mark[8] = {};
        GetPrivateProfileStringA("Target", "Checks", "", mark, sizeof mark, path.c_str());
        const bool marked = std::string(mark) == "1";
        for (const auto& e : record.entries) {
            EXPECT_GT(e.index, last) << context;
            EXPECT_LT(e.index, record.count) << context;
            last = e.index;
            if (e.state != EntryState::Ready) continue;
            ++lettedThrough;
            ExpectCleanDestination(e, context);
            EXPECT_TRUE(backup::IsFullLocalFolder(record.drive)) << context;
            if (marked) {
                EXPECT_TRUE(e.check.has_value()) << context;
            }
        }
        if (HasFailure()) {
            ADD_FAILURE() << "record:\n" << text.substr(0, 2000);
            break;
        }
    }
    // The mutations leave most entries whole: the property is tested on many, not none.
    EXPECT_GT(lettedThrough, 3000);
    file.reset();
    win95::Remove(dir);
}

} // namespace
