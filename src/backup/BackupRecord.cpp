#include "backup/BackupRecord.h"

#include "win/Error.h"
#include "win/Files.h"
#include "win/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

TBackupRecord::TBackupRecord(std::string path) : path_(std::move(path)) {}

void TBackupRecord::WriteString(const std::string& section, const std::string& key, const std::string& value) const
{
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw win::Error(win::format("Kann nicht nach %s schreiben", path_));
}

void TBackupRecord::WriteInteger(const std::string& section, const std::string& key, int value) const
{
    WriteString(section, key, std::to_string(value));
}

void TBackupRecord::WriteSection(const std::string& section, const std::vector<std::string>& lines) const
{
    std::string block;
    for (const auto& line : lines) {
        block += line;
        block += '\0';
    }
    block += '\0';
    if (!WritePrivateProfileSectionA(section.c_str(), block.c_str(), path_.c_str()))
        throw win::Error(win::format("Kann nicht nach %s schreiben", path_));
}

std::string TBackupRecord::ReadString(const std::string& section, const std::string& key,
                                      const std::string& def) const
{
    char buf[1024] = {};
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf, sizeof buf, path_.c_str());
    return std::string(buf, std::min<DWORD>(n, sizeof buf - 1));
}

bool ParseRecordInteger(const std::string& text, int& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    bool hex = text.size() >= i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X');
    if (hex) i += 2;
    if (i == text.size()) return false;
    // Accumulated wide enough to notice a value that does not fit before it wraps.
    std::uint64_t n = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFu : 0x80000000u;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        n = n * (hex ? 16 : 10) + digit;
        if (n > limit) return false;
    }
    if (!hex && !negative && n > 0x7FFFFFFFu) return false;
    // A hexadecimal value is a 32-bit pattern, as the old runtime read it.
    const auto bits = static_cast<std::uint32_t>(n);
    value = negative ? static_cast<int>(0u - bits) : static_cast<int>(bits);
    return true;
}

int TBackupRecord::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    int value = 0;
    return ParseRecordInteger(ReadString(section, key, ""), value) ? value : def;
}

TRecordEntries::TRecordEntries(const TBackupRecord& record) : record_(record)
{
    // The copies lie at Drive + name, as a reader finds them; without a Drive, beside
    // the record.
    copyFolder_ = record_.ReadString("Target", "Drive", "");
    if (copyFolder_.empty()) copyFolder_ = record_.Path().substr(0, record_.Path().find_last_of("\\:") + 1);
    // An older record's DOS spellings must not stand for this run's entries, which
    // may have none.
    for (const char* section : {kDosFilesSection, kDosDirsSection})
        WritePrivateProfileStringA(section, nullptr, nullptr, record_.Path().c_str());
    record_.WriteString("Target", kChecksMark, "1");
    Write();
}

void TRecordEntries::Add(const std::string& name, const std::string& folder, const win::ContentSummary& check)
{
    names_.push_back(name);
    folders_.push_back(folder);
    checks_.push_back(FormatCheck(check));
    // The copy lies in the copies' folder under name, its short alias where it has one:
    // where DOS reaches that folder, the name in the DOS code page is the copy's DOS
    // spelling. Asking the platform for each copy's short path cost a look-up per
    // folder level and copy.
    if (!copyFolderReachable_) {
        const std::string folderOnly = copyFolder_.size() > 3 && copyFolder_.back() == '\\'
                                           ? copyFolder_.substr(0, copyFolder_.size() - 1)
                                           : copyFolder_;
        copyFolderReachable_ = !DosSpelling(folderOnly).empty();
    }
    dosNames_.push_back(*copyFolderReachable_ ? DosName(name) : std::string());
    if (folder != lastFolder_ || dosFolders_.empty()) {
        lastFolder_ = folder;
        lastDosFolder_ = DosSpelling(folder);
    }
    dosFolders_.push_back(lastDosFolder_);
}

std::vector<std::string> TRecordEntries::Section(const std::vector<std::string>& values, bool keepEmpty) const
{
    std::vector<std::string> lines;
    lines.reserve(values.size() + 1);
    for (size_t i = 0; i < values.size(); ++i)
        if (keepEmpty || !values[i].empty()) lines.push_back(std::to_string(i) + "=" + values[i]);
    return lines;
}

void TRecordEntries::WriteIfDue()
{
    // A write costs more as the record grows; waiting 25 times as long as the last one
    // took keeps the writing at about 4 % of the run whatever its size; at ten times it
    // cost a backup of 8,000 small files 7 %.
    if (writer_.Running() && !writer_.Ended()) return;
    Collect();
    const unsigned long interval = std::max(1000ul, 25 * writeCost_);
    if (written_ == Count() || GetTickCount() - lastWrite_ < interval) return;
    Take(inWriting_);
    writer_.Start(Snapshot::Run, &inWriting_);
}

void TRecordEntries::Write()
{
    Collect();
    if (written_ == Count()) return;
    Snapshot now;
    Take(now);
    now.WriteAll();
    lastWrite_ = now.ended;
    writeCost_ = now.ended - now.started;
    if (!now.error.empty()) throw win::Error(now.error);
}

void TRecordEntries::Take(Snapshot& snapshot)
{
    snapshot.record = &record_;
    snapshot.sections.clear();
    snapshot.error.clear();
    if (!names_.empty()) {
        snapshot.sections.emplace_back("Dirs", Section(folders_));
        snapshot.sections.emplace_back(kChecksSection, Section(checks_));
        auto dosNames = Section(dosNames_, false);
        auto dosFolders = Section(dosFolders_, false);
        if (!dosNames.empty() || !dosFolders.empty()) {
            snapshot.sections.emplace_back(kDosFilesSection, std::move(dosNames));
            snapshot.sections.emplace_back(kDosDirsSection, std::move(dosFolders));
        }
    }
    std::vector<std::string> files = Section(names_);
    files.push_back("Count=" + std::to_string(Count()));
    snapshot.sections.emplace_back("Files", std::move(files));
    written_ = Count();
}

void TRecordEntries::Collect()
{
    if (!writer_.Running()) return;
    writer_.Wait();
    lastWrite_ = inWriting_.ended;
    writeCost_ = inWriting_.ended - inWriting_.started;
    if (!inWriting_.error.empty()) throw win::Error(inWriting_.error);
}

void TRecordEntries::Snapshot::WriteAll()
{
    started = GetTickCount();
    try {
        for (const auto& [name, lines] : sections) record->WriteSection(name, lines);
    } catch (const std::exception& e) {
        error = e.what();
    }
    ended = GetTickCount();
}

void TRecordEntries::Snapshot::Run(void* self) { static_cast<Snapshot*>(self)->WriteAll(); }

namespace {

// One name as DOS spells it: up to 8 characters, a dot and up to 3 more, none of those
// DOS forbids. A volume without short names answers with the long name itself.
bool IsDosName(const std::string& name)
{
    const auto dot = name.find('.');
    const size_t base = std::min(dot, name.size());
    if (base == 0 || base > 8) return false;
    if (dot != std::string::npos) {
        const size_t ext = name.size() - dot - 1;
        if (ext == 0 || ext > 3 || name.find('.', dot + 1) != std::string::npos) return false;
    }
    return name.find_first_of(" \"*+,/:;<=>?[\\]|") == std::string::npos;
}

} // namespace

std::string DosName(const std::string& name)
{
    std::string oem = name;
    CharToOemA(oem.data(), oem.data());
    return IsDosName(oem) ? oem : std::string();
}

std::string DosSpelling(const std::string& path)
{
    char buf[MAX_PATH];
    const DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) return {};
    CharToOemA(buf, buf);
    const std::string spelling = buf;
    // DOS reaches only local drives, and every part of the path must be a DOS name.
    const bool drive = spelling.size() >= 3 && spelling[1] == ':' && spelling[2] == '\\';
    if (!drive) return {};
    for (size_t pos = 3; pos < spelling.size();) {
        const size_t end = std::min(spelling.find('\\', pos), spelling.size());
        if (!IsDosName(spelling.substr(pos, end - pos))) return {};
        pos = end + 1;
    }
    return spelling;
}

std::string FormatCheck(const win::ContentSummary& check)
{
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(check.crc));
    return std::to_string(check.size) + "," + crc;
}

std::optional<win::ContentSummary> ParseCheck(const std::string& text)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos || comma == 0 || comma > 20 || text.size() != comma + 9) return std::nullopt;
    win::ContentSummary check;
    for (size_t i = 0; i < comma; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        check.size = check.size * 10 + static_cast<unsigned>(text[i] - '0');
    }
    for (size_t i = comma + 1; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else return std::nullopt;
        check.crc = (check.crc << 4) | digit;
    }
    return check;
}

std::string RecordedName(const std::string& copy, const std::string& name)
{
    // A name of plain letters that is a short name already has no other: the file
    // system is asked only for the others, which costs a copy of a small file a tenth.
    if (IsDosName(name) && std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; }))
        return name;
    WIN32_FIND_DATAA fd;
    win::UniqueFind found(FindFirstFileA(copy.c_str(), &fd));
    if (found && fd.cAlternateFileName[0]) return fd.cAlternateFileName;
    return name;
}
