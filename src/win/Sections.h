// Named values read whole: the sections of an initialisation file in one pass, and the
// rule by which the backup record and the settings' list of further files number their
// entries. The platform's profile calls scan the whole file for every value asked, so a
// record read key by key costs the square of its length.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win {

// One section's keys and values in file order, as the profile calls read them: blanks
// around key and value dropped, a value's enclosing pair of quotes removed.
struct ProfileSection {
    std::vector<std::string> keys;
    std::vector<std::string> values;
    // The first value of key (compared without regard to case); none when absent.
    std::optional<std::string> Find(std::string_view key) const;
};

// Reads the sections named, in that order, from an initialisation file; a missing file
// or section reads as empty; of a section that appears twice, the first counts. Lines
// longer than 64 KB keep their beginning only: no path or count is that long, and a
// file of junk without line ends must not be taken into memory whole.
std::vector<ProfileSection> ReadProfileSections(const std::string& path, const std::vector<std::string>& names);

// The number of a key as the writers spell entry numbers: decimal, no sign, no leading
// zero, at most nine digits. Any other spelling is no entry: the platform would not
// find it under the number either.
std::optional<int> KeyNumber(std::string_view key);

struct NumberedKey {
    int number;
    std::size_t position;  // of the key in the list it came from
};
// The numbered keys among names that lie below limit, in number order; of a number
// spelled twice, the first.
std::vector<NumberedKey> NumberedKeys(const std::vector<std::string>& names, long long limit);

} // namespace win
