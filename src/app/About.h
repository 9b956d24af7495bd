// The About box: program name, version and what the program does.
#pragma once

#include <windows.h>

// Modal to owner (the application window), showing icon.
void ShowAbout(HWND owner, HICON icon);
