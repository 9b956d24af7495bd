// Folders that serve as prefixes carry their closing backslash, and the code that
// joins paths never inserts one: this is the one place that adds it.
#pragma once

#include <string>

namespace win {

inline std::string WithTrailingBackslash(const std::string& dir)
{
    return !dir.empty() && dir.back() != '\\' ? dir + "\\" : dir;
}

} // namespace win
