// "&Sichern": copies what the settings select into the target folder, flat, and
// records beside the copies where each came from.
#include "app/Unit1.h"
#include "backup/BackupRecord.h"
#include "backup/PathNames.h"
#include "win/Handles.h"

#include <windows.h>

#include <string>
#include <unordered_set>
#include <vector>

namespace {

enum BackupOutcome { kAllStored = 0, kTargetNotReady = 1, kItemsFailed = 2 };

bool IsFile(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The order of the categories fixes the indices in the record, so it is not the
// order in which the settings are shown.
std::vector<std::string> CollectWorkList(TForm1& form)
{
    const TSettings& s = form.Settings;
    std::vector<std::string> work;
    auto addFile = [&](const std::string& path, const std::string& entered) {
        if (IsFile(path)) work.push_back(entered);
    };
    if (s.MSDOSBootFiles)
        for (const char* f : {"Autoexec.bat", "Config.sys", "IO.sys", "MSDOS.sys"}) addFile(s.BootDir + f, s.BootDir + f);
    if (s.WindowsRegistry) {
        form.L1.SetCaption("Storing User-Profiles...");
        form.ProcessMessages();
        if (IsFolder(s.WinDir + "Profiles")) work.push_back(s.WinDir + "Profiles");
        work.push_back(s.WinDir + "User.dat");
        work.push_back(s.WinDir + "System.dat");
    }
    if (s.StartMenu) work.push_back(s.StartMenuDir);
    if (s.Desktop) work.push_back(s.DesktopDir);
    if (s.WinIniSystemIni) {
        for (const char* f : {"Win.ini", "System.ini", "System.cb", "ShellIconCache"}) addFile(s.WinDir + f, s.WinDir + f);
        addFile(s.WinDir + "TTfCache", s.WinDir + "Ttfcache");
        for (const char* f : {"dosstart.bat", "Protocol.ini"}) addFile(s.WinDir + f, s.WinDir + f);
    }
    if (s.SaveInternet) {
        if (s.SaveNetscape) addFile(s.NetscapeBookmarks, s.NetscapeBookmarks);
        if (s.SaveIExplorer) work.push_back(s.IEFavorites);
    }
    if (s.OtherFiles) work.insert(work.end(), s.OtherFileList.begin(), s.OtherFileList.end());
    return work;
}

// The name under which the record's reader finds the copy: its short alias in the
// target, for tools that read the backup from DOS, or its name when it has none.
std::string RecordedName(const std::string& copy, const std::string& name)
{
    WIN32_FIND_DATAA fd;
    win::UniqueFind found(FindFirstFileA(copy.c_str(), &fd));
    if (found && fd.cAlternateFileName[0]) return fd.cAlternateFileName;
    return name;
}

BackupOutcome RunBackup(TForm1& form)
{
    const std::string target = form.Settings.Target;
    if (!TForm1::DirectoryReady(target)) {
        MessageBeep(0);
        form.L1.SetCaption("Directory not exists " + target + " or drive not ready!");
        return kTargetNotReady;
    }
    TBackupRecord record(target + kRecordName);
    record.WriteString("Target", "Drive", target);
    form.PB1.SetPosition(0);
    form.ProcessMessages();

    const std::vector<std::string> work = CollectWorkList(form);
    form.ShFileOP1.Destination = target;
    form.PB1.SetMax(static_cast<int>(work.size()));
    // The target is flat: a second item of the same name, or one named like the
    // record, would overwrite the first copy, and a restore would then put the wrong
    // file into a system folder.
    std::unordered_set<std::string> names{backup::NameKey(kRecordName)};
    int recorded = 0;
    int failed = 0;
    for (const auto& entry : work) {
        form.ShFileOP1.FilesList.clear();
        const std::string name = backup::NameOf(entry);
        form.L1.SetCaption("Writing " + name + "...");
        form.ProcessMessages();

        const bool duplicate = !names.insert(backup::NameKey(name)).second;
        bool stored = false;
        // A missing source is not handed to the shell: it would answer with an error
        // box, and an unattended backup would wait for someone to close it.
        if (!duplicate && GetFileAttributesA(entry.c_str()) != INVALID_FILE_ATTRIBUTES) {
            form.ShFileOP1.FilesList.push_back(entry);
            stored = form.ShFileOP1.Execute() && !form.ShFileOP1.AnyOperationsAborted();
        }
        form.PB1.StepIt();
        if (!stored) {
            // Left out of the record, so that a restore never copies a missing or
            // partial copy over the live system.
            form.LB1.Add(name + (duplicate ? " not stored! (name already used)" : " not stored!"));
            ++failed;
            continue;
        }
        form.LB1.Add(name + " stored.");
        const std::string key = std::to_string(recorded++);
        record.WriteString("Files", key, RecordedName(target + name, name));
        record.WriteString("Dirs", key, backup::FolderOf(entry));
    }
    record.WriteInteger("Files", "Count", recorded);
    if (failed) {
        form.L1.SetCaption("Ready! " + std::to_string(failed) + " item(s) failed.");
        return kItemsFailed;
    }
    form.L1.SetCaption("Ready!");
    return kAllStored;
}

} // namespace

void TForm1::Start1Click() { Start(); }

void TForm1::Start()
{
    backupStarted_ = true;
    // A run that an error stops cannot vouch for what it copied.
    backupExitCode_ = kItemsFailed;
    {
        TBusyState busy(*this);
        LB1.Clear();
        backupExitCode_ = RunBackup(*this);
    }
    ProcessMessages();
}
