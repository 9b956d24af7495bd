// The program's one error type. Its message is shown to the user as it stands
// (plus a full stop) by the error box at the window-procedure boundary.
#pragma once

#include <stdexcept>
#include <string>

namespace win {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fills the single %s of a message template, the way the program's German
// messages name the value or file they are about.
inline std::string format(const std::string& templ, const std::string& arg)
{
    std::string out = templ;
    auto pos = out.find("%s");
    if (pos != std::string::npos) out.replace(pos, 2, arg);
    return out;
}

} // namespace win
