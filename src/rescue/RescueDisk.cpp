// "Rescue-Boot-Disk erstellen...": formats a floppy through the shell, copies the start
// set onto it and writes the three DOS start files.
#include "app/Unit1.h"

#include "app/Application.h"
#include "backup/PathNames.h"
#include "rescue/TextFile.h"
#include "rescue/Unit4.h"

#include <string>
#include <vector>

namespace {

// A file that stands there now: folders do not count, hidden and system files do, and
// so does only a file whose time the old runtime could turn into a DOS date. A
// wildcard would make the search find, and the shell copy, some other file.
bool FileExists(const std::string& path)
{
    if (path.find_first_of("*?") != std::string::npos) return false;
    WIN32_FIND_DATAA fd;
    win::UniqueFind find(FindFirstFileA(path.c_str(), &fd));
    if (!find || (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    FILETIME local;
    WORD date, time;
    return FileTimeToLocalFileTime(&fd.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time);
}

std::vector<std::string> Candidates(const std::string& bootDir)
{
    std::vector<std::string> list;
    for (const std::string& path : {ProgramFolder() + "Kelvrane.exe", bootDir + "IO.sys", bootDir + "Command.com",
                                    bootDir + "Drvspace.bin"})
        if (FileExists(path)) list.push_back(path);
    return list;
}

std::string FormatErrorText(std::uint8_t code, char drive)
{
    switch (code) {
    case TShFormat::FormatError: return "Error during format operation!";
    case TShFormat::Cancelled: return "Operation cancelled by user!";
    case TShFormat::CannotFormat: return "Drive " + std::string(1, drive) + " cannot be formatted!";
    case TShFormat::InvalidDrive: return "Invalid Drive!";
    default: return "No Disk in Drive!";
    }
}

void CreationWarning(const std::string& name)
{
    MessageBoxA(TApplication::Instance().Handle(), ("File creation error. (" + name + ")").c_str(), "Warnung",
                MB_OK | MB_ICONWARNING);
}

// Writes one generated file; a failed creation or write is reported, and the close
// that follows then stops the command with its I/O error.
void WriteStartFile(const std::string& path, const std::string& name, const std::vector<std::string>& lines)
{
    TTextFile file(path);
    for (const auto& line : lines) file.WriteLn(line);
    if (file.IOResult() != 0) CreationWarning(name);
    file.Close();
}

} // namespace

void TForm1::CreateRescueBootDisk1Click()
{
    std::string answer;
    {
        TForm4 Form4(*this);
        Form4.ShowModal();
        answer = Form4.Edit1Text();
    }
    // The prompt closed with its field emptied: there is no drive to work on.
    if (answer.empty()) return;
    ShFormat1.SetDriveLetter(answer[0]);
    const char x = ShFormat1.DriveLetter();
    if (!ShFormat1.Execute()) {
        MessageBoxA(nullptr, FormatErrorText(ShFormat1.ErrorCode(), x).c_str(), "Error", MB_OK | MB_ICONERROR);
        return;
    }

    LB1.Clear();
    const std::vector<std::string> candidates = Candidates(Settings.BootDir);
    PB1.SetPosition(0);
    PB1.SetMax(static_cast<int>(candidates.size()) + 3);
    TBusyState busy(*this);
    ProcessMessages();

    const std::string drive = std::string(1, x) + ":\\";
    ShFileOP1.Destination = drive;
    for (const auto& source : candidates) {
        ShFileOP1.FilesList.clear();
        L1.SetCaption("Writing " + backup::NameOf(source) + "...");
        ProcessMessages();
        ShFileOP1.FilesList.push_back(source);
        ShFileOP1.Execute();
        PB1.StepIt();
    }

    L1.SetCaption("Creating MSDOS.SYS...");
    ProcessMessages();
    WriteStartFile(drive + "Msdos.sys", "MSDOS.SYS", {});
    SetFileAttributesA((drive + "Msdos.sys").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    PB1.StepIt();
    ProcessMessages();

    L1.SetCaption("Creating AUTOEXEC.BAT...");
    ProcessMessages();
    WriteStartFile(drive + "Autoexec.bat", "AUTOEXEC.BAT", {drive + "KELVRANE.EXE"});
    PB1.StepIt();
    ProcessMessages();

    L1.SetCaption("Creating CONFIG.SYS...");
    ProcessMessages();
    WriteStartFile(drive + "Config.sys", "CONFIG.SYS", {"BUFFERS=20", "FILES=30"});
    PB1.StepIt();

    LB1.Add("Rescue-Boot-Disk created");
    L1.SetCaption("Ready!");
}
