#include "win/Sections.h"

#include "win/Handles.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace win {

namespace {

constexpr std::size_t kLineLimit = 64 * 1024;
constexpr DWORD kBlock = 64 * 1024;

bool SameText(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

class SectionParser {
public:
    explicit SectionParser(const std::vector<std::string>& names)
        : names_(names), sections_(names.size()), seen_(names.size())
    {
    }

    void Line(std::string_view line)
    {
        line = Trim(line);
        if (line.empty()) return;
        if (line.front() == '[') {
            current_ = nullptr;
            const auto close = line.find(']');
            if (close == std::string_view::npos) return;
            const std::string_view name = Trim(line.substr(1, close - 1));
            // The platform looks in the first section of a name only.
            for (std::size_t i = 0; i < names_.size(); ++i)
                if (SameText(name, names_[i]) && !seen_[i]) {
                    current_ = &sections_[i];
                    seen_[i] = true;
                }
            return;
        }
        // A line without "=" holds no value the platform would find.
        const auto eq = line.find('=');
        if (!current_ || eq == std::string_view::npos) return;
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        current_->keys.emplace_back(Trim(line.substr(0, eq)));
        current_->values.emplace_back(value);
    }

    std::vector<ProfileSection> Result() && { return std::move(sections_); }

private:
    const std::vector<std::string>& names_;
    std::vector<ProfileSection> sections_;
    std::vector<bool> seen_;
    ProfileSection* current_ = nullptr;
};

} // namespace

std::optional<std::string> ProfileSection::Find(std::string_view key) const
{
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (SameText(keys[i], key)) return values[i];
    return std::nullopt;
}

std::vector<ProfileSection> ReadProfileSections(const std::string& path, const std::vector<std::string>& names)
{
    SectionParser parser(names);
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::move(parser).Result();
    auto block = std::make_unique_for_overwrite<char[]>(kBlock);
    std::string pending;  // a line that runs on into the next block
    bool overlong = false;
    bool first = true;
    DWORD got = 0;
    while (ReadFile(file.get(), block.get(), kBlock, &got, nullptr) && got > 0) {
        std::string_view data(block.get(), got);
        // A byte-order mark from an editor that saved the record as UTF-8.
        if (first && data.starts_with("\xEF\xBB\xBF")) data.remove_prefix(3);
        first = false;
        for (;;) {
            const auto end = data.find_first_of("\r\n");
            const std::string_view part = data.substr(0, end);
            if (!overlong) {
                pending.append(part.substr(0, kLineLimit - std::min(kLineLimit, pending.size())));
                overlong = pending.size() >= kLineLimit;
            }
            if (end == std::string_view::npos) break;
            parser.Line(pending);
            pending.clear();
            overlong = false;
            data.remove_prefix(end + 1);
        }
    }
    parser.Line(pending);
    return std::move(parser).Result();
}

std::optional<int> KeyNumber(std::string_view key)
{
    if (key.empty() || key.size() > 9 || (key.size() > 1 && key[0] == '0')) return std::nullopt;
    int n = 0;
    for (const char c : key) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::vector<NumberedKey> NumberedKeys(const std::vector<std::string>& names, long long limit)
{
    std::vector<NumberedKey> keys;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (const auto n = KeyNumber(names[i]); n && *n < limit) keys.push_back({*n, i});
    std::stable_sort(keys.begin(), keys.end(),
                     [](const NumberedKey& a, const NumberedKey& b) { return a.number < b.number; });
    keys.erase(std::unique(keys.begin(), keys.end(),
                           [](const NumberedKey& a, const NumberedKey& b) { return a.number == b.number; }),
               keys.end());
    return keys;
}

} // namespace win
