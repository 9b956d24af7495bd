// Wine carries SHFormatDrive only as a stub that answers "cannot format" and shows
// nothing. Where the program runs on Wine, this dialog of its own takes the call's
// place: same arguments, same answers, and a removable medium left empty as a
// freshly formatted one would be.
#pragma once

#include <windows.h>

// True when the platform is Wine (its ntdll exports wine_get_version).
bool RunningOnWine();

// Shows the format dialog for drive index drive (0 is A:) modal to parent, with the
// mode of options preselected, and answers as SHFormatDrive does: SHFMT_CANCEL when
// closed without starting, SHFMT_NOFORMAT for a drive that is not removable or for
// "system files only", SHFMT_ERROR when the medium could not be emptied, else the
// format id.
DWORD WINAPI StandInFormatDrive(HWND parent, UINT drive, UINT fmtId, UINT options);

// Deletes every file and folder in the root of a removable drive, whatever their
// attributes. Refuses any other kind of drive; false when anything is left.
bool EmptyRemovableRoot(UINT drive);
