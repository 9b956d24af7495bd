#include "rescue/FormatStandIn.h"

#include "win/Files.h"

#include "rescue/FormatStandInRes.h"
#include "rescue/ShFormat.h"
#include "win/Handles.h"
#include "win/Window.h"

#include <string>

namespace {

std::string Root(UINT drive) { return win::DriveRoot(static_cast<char>('A' + drive)); }

bool Removable(UINT drive) { return drive < 26 && GetDriveTypeA(Root(drive).c_str()) == DRIVE_REMOVABLE; }

// Clears a folder's content; the folder itself stays. Goes on past a failure so that
// as much as possible is gone, and says whether everything is.
bool EmptyFolder(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind find(FindFirstFileA((dir + "*").c_str(), &fd));
    if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_NO_MORE_FILES;
    bool all = true;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = dir + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A junction is removed as a link: what it points at lies outside the medium.
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) all = EmptyFolder(path + "\\") && all;
            all = RemoveDirectoryA(path.c_str()) && all;
        } else {
            all = DeleteFileA(path.c_str()) && all;
        }
    } while (FindNextFileA(find.get(), &fd));
    return all;
}

class TFormatDialog : public win::Dialog {
public:
    TFormatDialog(UINT drive, UINT options) : drive_(drive), options_(options) {}

    DWORD Result() const noexcept { return result_; }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM) override
    {
        switch (msg) {
        case WM_INITDIALOG: {
            const std::string drive = std::string(1, static_cast<char>('A' + drive_)) + ":";
            SetWindowTextA(Handle(), ("Formatieren - Wechseldatenträger (" + drive + ")").c_str());
            SetItemText(IDC_FORMAT_DRIVE, "Laufwerk " + drive);
            int mode = IDC_FORMAT_QUICK;
            if (options_ & kShFmtOptSysOnly) mode = IDC_FORMAT_SYSONLY;
            else if (options_ & kShFmtOptFull) mode = IDC_FORMAT_FULL;
            CheckRadioButton(Handle(), IDC_FORMAT_QUICK, IDC_FORMAT_SYSONLY, mode);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) Start();
            else if (LOWORD(wp) == IDCANCEL) EndDialog(Handle(), IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    }

private:
    void Start()
    {
        // Copying system files needs the DOS system this platform does not have.
        if (Checked(IDC_FORMAT_SYSONLY)) {
            result_ = kShFmtNoFormat;
        } else if (EmptyRemovableRoot(drive_)) {
            result_ = kShFmtIdDefault;
        } else {
            // The shell's dialog tells of its own failures before it returns.
            MessageBoxA(Handle(), "Der Datenträger konnte nicht vollständig gelöscht werden.", "Formatieren",
                        MB_OK | MB_ICONERROR);
            result_ = kShFmtError;
        }
        EndDialog(Handle(), IDOK);
    }

    UINT drive_;
    UINT options_;
    DWORD result_ = kShFmtCancel;
};

} // namespace

bool RunningOnWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool EmptyRemovableRoot(UINT drive)
{
    if (!Removable(drive)) return false;
    return EmptyFolder(Root(drive));
}

DWORD WINAPI StandInFormatDrive(HWND parent, UINT drive, UINT /*fmtId*/, UINT options)
{
    if (!Removable(drive)) return kShFmtNoFormat;
    TFormatDialog dialog(drive, options);
    if (dialog.ShowModal(parent, IDD_FORMAT) <= 0) return kShFmtError;
    return dialog.Result();
}
