// A DOS text file written the way the old runtime wrote one: creating it and writing
// to it only leave an I/O status for the caller to test, the lines wait in a buffer
// that goes out when the file is closed, and it is the close that raises an I/O error.
#pragma once

#include "win/Handles.h"

#include <string>

class TTextFile {
public:
    // Creates or replaces path for writing (share mode read, normal attributes).
    explicit TTextFile(const std::string& path);
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;

    // Appends the line and CR LF.
    void WriteLn(const std::string& line);
    // The first error of the creation and the writes since the last call (0 for none);
    // the status is cleared.
    int IOResult();
    // Writes out the buffer and closes; raises win::Error when the file is not open or
    // its data cannot be written.
    void Close();

    // The message of an I/O error number, as the standard error box shows it.
    static std::string ErrorMessage(int code);

private:
    win::UniqueFile file_;
    std::string buffer_;
    int status_ = 0;
};
