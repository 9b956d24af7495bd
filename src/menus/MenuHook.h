// The message hook that gives the menu bars the keys of a menu bar: installed with
// the first drop-down window, removed when the last bar goes.
#pragma once

#include <windows.h>

namespace menus {

void InstallMenuHook();
// Removes the hook when no menu bar is left.
void ReleaseMenuHookIfUnused();
bool MenuHookInstalled();
// The application's main form: its bar's shortcuts act whichever of the program's
// windows is active.
void SetApplicationMainForm(HWND form);
HWND ApplicationMainForm();

} // namespace menus
