// One application per test process, created on first use, as the program has one.
#pragma once

#include "app/Application.h"

#include <windows.h>

#include <string>
#include <thread>

namespace testenv {

TApplication& App();

// Answers the next message box of this process from another thread, so that a test
// can call code that shows one; Text() is what it said (caption "|" text).
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button = IDOK);
    ~BoxAnswerer();
    std::string Text();
    // What else the box showed: its owner, its icon and how many buttons it offered.
    HWND Owner();
    HICON Icon();
    int Buttons();

private:
    std::thread thread_;
    std::string text_;
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    int buttons_ = 0;
    int button_;
};

} // namespace testenv
