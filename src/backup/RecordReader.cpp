#include "backup/RecordReader.h"

#include "backup/BackupRecord.h"
#include "win/Files.h"
#include "win/Sections.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace backup {

namespace {

bool IsDeviceName(std::string_view name)
{
    // The platform takes a device name with any extension as the device itself.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    if (base.size() < 3 || base.size() > 7) return false;
    char upper[8] = {};
    for (std::size_t i = 0; i < base.size(); ++i)
        upper[i] = base[i] >= 'a' && base[i] <= 'z' ? static_cast<char>(base[i] - 'a' + 'A') : base[i];
    const std::string_view key(upper, base.size());
    static constexpr std::array<std::string_view, 7> kDevices{"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
    if (std::find(kDevices.begin(), kDevices.end(), key) != kDevices.end()) return true;
    return key.size() == 4 && (key.starts_with("COM") || key.starts_with("LPT")) && key[3] >= '1' && key[3] <= '9';
}

bool IsPlain(std::string_view name)
{
    if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return !IsDeviceName(name);
}

// The value of each numbered key of a section below count, by number; of a number
// spelled twice, the first, as the platform would find it.
class Numbered {
public:
    Numbered(const win::ProfileSection& section, long long count)
        : section_(section), keys_(win::NumberedKeys(section.keys, count))
    {
    }
    // Numbers are asked in rising order: one pass over the sorted keys.
    const std::string* Next(int number)
    {
        while (at_ < keys_.size() && keys_[at_].number < number) ++at_;
        if (at_ < keys_.size() && keys_[at_].number == number) return &section_.values[keys_[at_].position];
        return nullptr;
    }
    const std::vector<win::NumberedKey>& Keys() const { return keys_; }

private:
    const win::ProfileSection& section_;
    std::vector<win::NumberedKey> keys_;
    std::size_t at_ = 0;
};

} // namespace

bool IsPlainName(const std::string& name) { return IsPlain(name); }

bool IsFullLocalFolder(const std::string& path)
{
    std::string_view rest;
    int needed = 0;  // names that must follow the start
    const auto letter = path.empty() ? '\0' : path[0];
    if (path.size() >= 3 && ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z')) && path[1] == ':' &&
        path[2] == '\\') {
        rest = std::string_view(path).substr(3);
    } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
        rest = std::string_view(path).substr(2);
        needed = 2;
    } else {
        return false;
    }
    if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
    if (rest.empty()) return needed == 0;
    int names = 0;
    for (std::size_t pos = 0;;) {
        const auto end = rest.find('\\', pos);
        if (!IsPlain(rest.substr(pos, end - pos))) return false;
        ++names;
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return names >= needed;
}

RecordContents ReadRecord(const std::string& recordPath)
{
    RecordContents record;
    const auto sections = win::ReadProfileSections(recordPath, {"Target", "Files", "Dirs", kChecksSection});
    const win::ProfileSection& target = sections[0];
    const win::ProfileSection& files = sections[1];
    record.drive = target.Find("Drive").value_or("");
    if (record.drive.empty()) return record;
    int count = 0;
    if (!ParseRecordInteger(files.Find("Count").value_or(""), count) || count <= 0) return record;
    record.count = count;
    // The copies are taken from where the backup was made, not from where the record lies.
    record.driveClean = IsFullLocalFolder(record.drive) && record.drive.size() < MAX_PATH;
    record.drive = win::WithTrailingBackslash(record.drive);
    const bool marked = target.Find(kChecksMark).value_or("") == "1";

    Numbered names(files, count), dirs(sections[2], count), checks(sections[3], count);
    record.entries.reserve(names.Keys().size());
    for (const auto& key : names.Keys()) {
        RecordEntry e;
        e.index = key.number;
        e.name = files.values[key.position];
        const std::string* dir = dirs.Next(key.number);
        e.folder = win::WithTrailingBackslash(dir ? *dir : "");
        if (const std::string* check = checks.Next(key.number)) {
            e.check = ParseCheck(*check);
            e.checkUnreadable = !e.check;
        }
        if (e.name.empty() || e.folder.empty())
            e.state = EntryState::Incomplete;
        else if (!record.driveClean || !IsPlainName(e.name) || !IsFullLocalFolder(e.folder) ||
                 e.folder.size() + e.name.size() >= MAX_PATH || record.drive.size() + e.name.size() >= MAX_PATH ||
                 (marked && !e.check))
            e.state = EntryState::Damaged;
        record.entries.push_back(std::move(e));
    }
    return record;
}

} // namespace backup
