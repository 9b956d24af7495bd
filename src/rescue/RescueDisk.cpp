#include "rescue/RescueDisk.h"

#include "rescue/TextFile.h"
#include "rescue/Unit4.h"
#include "win/ContentCheck.h"
#include "win/Files.h"
#include "win/Handles.h"

#include <optional>
#include <string>
#include <vector>

namespace rescue {

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
    for (const std::string& path : {win::ProgramFolder() + "Kelvrane.exe", bootDir + "IO.sys", bootDir + "Command.com",
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

void CreationWarning(HWND owner, const std::string& name)
{
    MessageBoxA(owner, ("File creation error. (" + name + ")").c_str(), "Warnung",
                MB_OK | MB_ICONWARNING);
}

// Writes one generated file; a failed creation or write is reported, and the close
// that follows then stops the command with its I/O error.
void WriteStartFile(HWND owner, const std::string& path, const std::string& name,
                    const std::vector<std::string>& lines)
{
    TTextFile file(path);
    for (const auto& line : lines) file.WriteLn(line);
    if (file.IOResult() != 0) CreationWarning(owner, name);
    file.Close();
}

} // namespace

void CreateRescueBootDisk(HWND form, HWND application, const TSettings& settings, TShFormat& formatter,
                          TShFileOP& copier, win::Progress& progress)
{
    // The prompt closed with its field emptied: there is no drive to work on.
    const std::optional<char> answer = TForm4(form).ShowModal();
    if (!answer) return;
    formatter.SetDriveLetter(*answer);
    const char x = formatter.DriveLetter();
    if (!formatter.Execute()) {
        MessageBoxA(nullptr, FormatErrorText(formatter.ErrorCode(), x).c_str(), "Error", MB_OK | MB_ICONERROR);
        return;
    }

    progress.ClearLines();
    const std::vector<std::string> candidates = Candidates(settings.BootDir);
    progress.SetPosition(0);
    progress.SetStepCount(static_cast<int>(candidates.size()) + 3);
    win::BusyScope busy(progress);
    progress.Pump();

    const std::string drive = std::string(1, x) + ":\\";
    copier.Destination = drive;
    int failed = 0;
    for (const auto& source : candidates) {
        copier.FilesList.clear();
        const std::string name = win::NameOf(source);
        progress.SetStatus("Writing " + name + "...");
        progress.Pump();
        progress.ShowBeforeBlocking();
        copier.FilesList.push_back(source);
        // A floppy that fills up or fails half-way would not start a machine: the copy
        // is read back rather than taken on the shell's word.
        const bool copied = copier.Execute() && !copier.AnyOperationsAborted() &&
                            win::VerifyCopy(source, drive + name).has_value();
        if (!copied) {
            progress.AddLine(name + " not stored!");
            ++failed;
        }
        progress.Step();
    }

    progress.SetStatus("Creating MSDOS.SYS...");
    progress.Pump();
    progress.ShowBeforeBlocking();
    WriteStartFile(application, drive + "Msdos.sys", "MSDOS.SYS", {});
    SetFileAttributesA((drive + "Msdos.sys").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                          FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    progress.Step();
    progress.Pump();

    progress.SetStatus("Creating AUTOEXEC.BAT...");
    progress.Pump();
    progress.ShowBeforeBlocking();
    WriteStartFile(application, drive + "Autoexec.bat", "AUTOEXEC.BAT", {drive + "KELVRANE.EXE"});
    progress.Step();
    progress.Pump();

    progress.SetStatus("Creating CONFIG.SYS...");
    progress.Pump();
    progress.ShowBeforeBlocking();
    WriteStartFile(application, drive + "Config.sys", "CONFIG.SYS", {"BUFFERS=20", "FILES=30"});
    progress.Step();

    if (failed) {
        progress.SetStatus("Ready! " + std::to_string(failed) + " item(s) failed.");
        return;
    }
    progress.AddLine("Rescue-Boot-Disk created");
    progress.SetStatus("Ready!");
}

} // namespace rescue
