// The platform's file-open dialog as a component: it keeps the last chosen file name
// and filter between uses, the way a form's dialog component does.
#pragma once

#include <windows.h>

#include <string>

namespace win {

class OpenDialog {
public:
    // Pairs separated by "|": "description|pattern|description|pattern".
    std::string Filter;
    // 1-based, as the platform counts.
    int FilterIndex = 1;
    // Full path of the last chosen file; preselected at the next use.
    std::string FileName;
    std::string InitialDir;
    std::string Title;
    // OFN_* flags beyond the ones every use needs.
    DWORD Options = 0;

    // Shows the dialog modal to owner; true when the user confirmed a file.
    bool Execute(HWND owner);
};

} // namespace win
