#include "rescue/ShFormat.h"

#include "rescue/FormatStandIn.h"
#include "win/Files.h"
#include "win/Handles.h"
#include "win/LaterCalls.h"

#include <string>

namespace {

using FormatDriveProc = DWORD(WINAPI*)(HWND parent, UINT drive, UINT fmtId, UINT options);

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Wine's SHFormatDrive answers "cannot format" without a word; there the program's own
// dialog stands in, so that a user gets the same dialog and the same answers.
DWORD FormatDrive(HWND parent, UINT drive, UINT fmtId, UINT options)
{
    if (RunningOnWine()) return StandInFormatDrive(parent, drive, fmtId, options);
    // Looked up by name: the import libraries of some tool chains do not carry it. The
    // shell may not be loaded yet (it is loaded late to start faster), so load it.
    win::UniqueModule shell(LoadLibraryA("shell32.dll"));
    auto proc = shell ? reinterpret_cast<FormatDriveProc>(
                            reinterpret_cast<void*>(GetProcAddress(shell.get(), "SHFormatDrive")))
                      : nullptr;
    if (!proc) return kShFmtNoFormat;
    return proc(parent, drive, fmtId, options);
}

} // namespace

bool TShFormat::CheckDrive(char letter) { return GetDriveTypeA(win::DriveRoot(letter).c_str()) == DRIVE_REMOVABLE; }

bool TShFormat::DiskInDrive() const
{
    // An empty drive must not bring up the system's own "drive not ready" box.
    win::ErrorModeScope quiet(SEM_FAILCRITICALERRORS);
    return win::DiskFreeSpaceKnown(win::DriveRoot(driveLetter_).c_str());
}

bool TShFormat::Execute()
{
    const int index = static_cast<unsigned char>(Upper(driveLetter_)) - 'A';
    if (index < 0 || !CheckDrive(driveLetter_)) {
        errorCode_ = InvalidDrive;
        return false;
    }
    if (!DiskInDrive()) {
        errorCode_ = NoDisk;
        return false;
    }
    DWORD result;
    {
        win::ErrorModeScope quiet(SEM_FAILCRITICALERRORS);
        result = FormatDrive(owner_, static_cast<UINT>(index), kShFmtIdDefault,
                             static_cast<UINT>(formatOption_));
    }
    switch (result) {
    case kShFmtNoFormat: errorCode_ = CannotFormat; break;
    case kShFmtCancel: errorCode_ = Cancelled; break;
    case kShFmtError: errorCode_ = FormatError; break;
    default: errorCode_ = Success; break;
    }
    return errorCode_ == Success;
}
