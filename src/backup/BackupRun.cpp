#include "backup/BackupRun.h"

#include "backup/BackupRecord.h"
#include "win/BackgroundJob.h"
#include "win/ContentCheck.h"
#include "win/Files.h"
#include "win/Handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace backup {

namespace {

// The order of the categories fixes the indices in the record, so it is not the
// order in which the settings are shown.
std::vector<std::string> CollectWorkList(const TSettings& s, win::Progress& progress)
{
    std::vector<std::string> work;
    auto addFile = [&](const std::string& path, const std::string& entered) {
        if (win::IsFile(path)) work.push_back(entered);
    };
    if (s.MSDOSBootFiles)
        for (const char* f : {"Autoexec.bat", "Config.sys", "IO.sys", "MSDOS.sys"}) addFile(s.BootDir + f, s.BootDir + f);
    if (s.WindowsRegistry) {
        progress.SetStatus("Storing User-Profiles...");
        progress.Pump();
        if (win::IsFolder(s.WinDir + "Profiles")) work.push_back(s.WinDir + "Profiles");
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

struct BackupResult {
    BackupOutcome outcome = kItemsFailed;
    std::string status;
};

// The file system takes a name without its closing dots and blanks, and without regard
// to case.
std::string Key(std::string name)
{
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return win::NameKey(std::move(name));
}

bool SameName(const std::string& a, const std::string& b) { return Key(a) == Key(b); }

// What was copied into the flat backup folder so far. A name the folder resolves to an
// earlier copy (the same name in other letters, its short alias, a spelling with a
// closing dot or blank) lands on that copy. That is no harm when the source is the same
// file too, listed twice: the later copy overwrites the earlier, and both entries refer
// to it. Another file under that name would overwrite the first copy, and a restore
// would then put the wrong file into a system folder. What a name is, is asked of the
// file system only where names meet: opening every copy and source would cost more
// than many a copy does.
class FolderContents {
public:
    FolderContents(const std::string& folder, const std::string& record) : folderId_(win::IdentityOf(folder))
    {
        // The record counts as a copy of nothing: no source may land on it.
        if (win::WithTrailingBackslash(win::FolderOf(record)) == folder) {
            Take(win::NameOf(record), std::string());
            Take(RecordedName(record, win::NameOf(record)), std::string());
        }
    }
    // Why the source may not be copied into the folder; empty when it may.
    std::string Refusal(const std::string& source)
    {
        if (InBackupFolder(source)) return "lies in the backup folder";
        const auto made = copies_.find(Key(win::NameOf(source)));
        if (made == copies_.end()) return {};
        const auto earlier = made->second.empty() ? std::nullopt : win::IdentityOf(made->second);
        return earlier && earlier == win::IdentityOf(source) ? "" : "name already used";
    }
    // recorded: the name the copy has in the record, its short alias where it has one.
    void Add(const std::string& source, const std::string& recorded)
    {
        Take(win::NameOf(source), source);
        Take(recorded, source);
    }

private:
    void Take(const std::string& name, const std::string& source) { copies_.emplace(Key(name), source); }
    // A source in the backup folder would be copied onto itself. Sources share their
    // folders, so each folder is asked once.
    bool InBackupFolder(const std::string& source)
    {
        if (!folderId_) return false;
        const std::string folder = win::FolderOf(source);
        auto [known, added] = sameFolder_.emplace(win::NameKey(folder), false);
        if (added) known->second = win::IdentityOf(folder) == folderId_;
        return known->second;
    }

    std::optional<win::FileIdentity> folderId_;
    std::unordered_map<std::string, std::string> copies_;  // name key: the source copied under it
    std::unordered_map<std::string, bool> sameFolder_;
};

// A copy whose read-back runs on the background thread while the next copy is made.
struct CopyInCheck {
    std::string entry, name, recorded, copy;
    std::optional<win::ContentSummary> check;

    static void Run(void* self)
    {
        auto& me = *static_cast<CopyInCheck*>(self);
        try {
            me.check = win::VerifyCopy(me.entry, me.copy);
        } catch (...) {
            // A check that cannot run to its end vouches for nothing.
            me.check.reset();
        }
    }
};

BackupResult Copy(const TSettings& settings, TShFileOP& copier, win::Progress& progress)
{
    const std::string target = settings.Target;
    if (!win::DirectoryReady(target)) {
        MessageBeep(0);
        return {kTargetNotReady, "Directory not exists " + target + " or drive not ready!"};
    }
    // A target without its closing backslash still names the folder the copies go into;
    // only the record's path runs the two together and lands beside the folder.
    const std::string folder = win::WithTrailingBackslash(target);
    TBackupRecord record(target + kRecordName);
    record.WriteString("Target", "Drive", folder);
    TRecordEntries entries(record);
    progress.SetPosition(0);
    progress.Pump();

    const std::vector<std::string> work = CollectWorkList(settings, progress);
    copier.Destination = target;
    progress.SetStepCount(static_cast<int>(work.size()));
    FolderContents contents(folder, record.Path());
    int failed = 0;
    auto report = [&](const std::string& entry, const std::string& name, const std::string& refusal,
                      const std::optional<win::ContentSummary>& check, const std::string& recorded) {
        if (!check) {
            // Left out of the record, so that a restore never copies a missing or
            // partial copy over the live system.
            progress.AddLine(name + (refusal.empty() ? " not stored!" : " not stored! (" + refusal + ")"));
            ++failed;
            return;
        }
        contents.Add(entry, recorded);
        progress.AddLine(name + " stored.");
        entries.Add(recorded, win::FolderOf(entry), *check);
        entries.WriteIfDue();
    };
    // Reading a small file's copy back costs under Wine a third of making it, so a
    // file's check runs beside the next copy. Its outcome is told and recorded before
    // anything of the next entry, so the lines and the record keep the list's order.
    // A folder's print is taken on the same thread. Both are declared before the
    // thread, which is waited for before it goes.
    std::optional<CopyInCheck> inCheck;
    win::PrintJob inCopy;
    win::BackgroundJob checker;
    auto settle = [&] {
        if (!inCheck) return;
        checker.Wait();
        report(inCheck->entry, inCheck->name, "", inCheck->check, inCheck->recorded);
        inCheck.reset();
    };
    for (const auto& entry : work) {
        copier.FilesList.clear();
        const std::string name = win::NameOf(entry);
        progress.SetStatus("Writing " + name + "...");
        progress.Pump();

        // Nothing to copy, and nothing a restore could put back: recorded, it would
        // copy the whole backup folder over the live system.
        if (entry.empty()) {
            settle();
            progress.Step();
            progress.AddLine("Empty entry skipped.");
            continue;
        }
        // Whether the name is free depends on how the copy in check turns out.
        if (inCheck && (SameName(name, inCheck->name) || SameName(name, inCheck->recorded))) settle();
        const std::string copy = folder + name;
        const std::string refusal = contents.Refusal(entry);
        // A missing source is not handed to the shell: it would answer with an error
        // box, and an unattended backup would wait for someone to close it.
        const auto source = refusal.empty() ? win::FactsOf(entry) : std::nullopt;
        bool copied = false;
        if (source) {
            // A folder's copy may merge into a folder of the backup that holds the
            // file in check.
            if (source->folder) {
                settle();
                inCopy = {entry, {}};
                checker.Start(win::PrintJob::Run, &inCopy);
            }
            // A copy that blocks the window for long shows what it copies first; the
            // painting costs more than copying a small file, whose line the next frame
            // brings.
            if (win::CopyMayTakeLong(*source)) progress.ShowBeforeBlocking();
            copier.FilesList.push_back(entry);
            copied = copier.Execute() && !copier.AnyOperationsAborted();
            if (source->folder) checker.Wait();
        }
        progress.Step();
        settle();
        // The shell's success is not taken on trust: the copy is read back.
        if (!copied) {
            report(entry, name, refusal, std::nullopt, "");
        } else if (source->folder) {
            report(entry, name, "", win::VerifyCopy(entry, copy, &inCopy.print), RecordedName(copy, name));
            inCopy.print = {};
        } else {
            inCheck = CopyInCheck{entry, name, RecordedName(copy, name), copy, std::nullopt};
            checker.Start(CopyInCheck::Run, &*inCheck);
        }
    }
    settle();
    entries.Write();
    if (failed) return {kItemsFailed, "Ready! " + std::to_string(failed) + " item(s) failed."};
    return {kAllStored, "Ready!"};
}

} // namespace

BackupOutcome RunBackup(const TSettings& settings, TShFileOP& copier, win::Progress& progress)
{
    BackupResult result;
    try {
        win::BusyScope busy(progress);
        progress.ClearLines();
        result = Copy(settings, copier, progress);
    } catch (...) {
        // The window catches up once the symbol has stopped, also when an error ends the run.
        progress.Pump();
        throw;
    }
    progress.SetStatus(result.status);
    progress.Pump();
    return result.outcome;
}

} // namespace backup
