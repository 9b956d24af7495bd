#include "backup/RestoreRun.h"

#include "backup/BackupRecord.h"
#include "backup/RecordReader.h"
#include "backup/SafetyFolder.h"
#include "win/BackgroundJob.h"
#include "win/ContentCheck.h"
#include "win/Files.h"
#include "win/Handles.h"
#include "win/LaterCalls.h"

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace backup {

namespace {

// The entries of one folder by long name and by short alias, listed once: the platform
// answers a lookup by a name it does not hold in that spelling by reading the whole
// folder, and a record of many entries in one folder would pay that for each.
class FolderListing {
public:
    struct Found {
        std::string name;  // the long name
        bool folder = false;
        std::uint64_t size = 0;
    };

    // An empty folder lists nothing.
    explicit FolderListing(const std::string& folder)
    {
        if (folder.empty()) return;
        WIN32_FIND_DATAA fd;
        win::UniqueFind find(FindFirstFileA((folder + "*").c_str(), &fd));
        if (!find) return;
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const auto at = found_.size();
            found_.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                              (std::uint64_t{fd.nFileSizeHigh} << 32) | fd.nFileSizeLow});
            byName_.emplace(win::NameKey(name), at);
            if (fd.cAlternateFileName[0]) byName_.emplace(win::NameKey(fd.cAlternateFileName), at);
        } while (FindNextFileA(find.get(), &fd));
    }
    const Found* Find(const std::string& name) const
    {
        const auto it = byName_.find(win::NameKey(name));
        return it == byName_.end() ? nullptr : &found_[it->second];
    }

private:
    std::vector<Found> found_;
    std::unordered_map<std::string, std::size_t> byName_;
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether path is folder or lies below it.
bool Within(const std::string& path, const std::string& folder)
{
    return win::NameKey(win::WithTrailingBackslash(path)).starts_with(win::NameKey(win::WithTrailingBackslash(folder)));
}

std::string Kilobytes(std::uint64_t bytes) { return std::to_string((bytes + 1023) / 1024); }

void Warn(const TShFileOP& copier, const std::string& text)
{
    MessageBeep(0);
    MessageBoxA(copier.OwnerWindow(), text.c_str(), "Warnung", MB_OK | MB_ICONEXCLAMATION);
}

// An entry the record lets through, the name of its copy in the backup folder (empty
// when the copy is missing), and whether copying it blocks the window for long.
struct Item {
    const RecordEntry* entry;
    std::string source;
    bool takesLong = false;
    std::string Destination() const { return entry->folder + source; }
};

const TBackupRecord& WithDrive(const TBackupRecord& record, const std::string& drive)
{
    record.WriteString("Target", "Drive", drive);
    return record;
}

// The safety folder of one restore: each destination's state before it is overwritten,
// copied and checked as a backup copies, under a record of the backup's format.
class SafetySet {
public:
    explicit SafetySet(const std::string& folder)
        : folder_(folder), record_(folder + "\\" + kRecordName), entries_(WithDrive(record_, folder + "\\"))
    {
        // The record's own name is taken: a destination of that name cannot be kept.
        kept_.emplace(win::NameKey(kRecordName), std::string());
    }
    SafetySet(const SafetySet&) = delete;
    SafetySet& operator=(const SafetySet&) = delete;
    // Whatever ends the restore, the record lists what the folder holds.
    ~SafetySet()
    {
        try {
            entries_.Write();
        } catch (...) {
        }
    }

    const std::string& Folder() const { return folder_; }

    // Copies what lies at path into the folder; true when the copy is there and holds
    // what path holds, or when path's earlier state is there already. The folder is
    // flat: a second path of the same name cannot be kept.
    bool Keep(const std::string& path, TShFileOP& copier)
    {
        // What this restore created had no earlier state to keep.
        if (created_.count(win::NameKey(path))) return true;
        const std::string name = win::NameOf(path);
        const auto kept = kept_.find(win::NameKey(name));
        if (kept != kept_.end()) return kept->second == win::NameKey(path);
        copier.FilesList.clear();
        copier.Destination = folder_ + "\\";
        copier.FilesList.push_back(path);
        const std::string copy = folder_ + "\\" + name;
        // A folder's own files are read while the shell copies it, as in a backup, so
        // that the check reads only the copy. Declared before the thread, which is
        // waited for before it goes.
        win::PrintJob inCopy{path, {}};
        win::BackgroundJob printer;
        if (win::IsFolder(path)) printer.Start(win::PrintJob::Run, &inCopy);
        const bool copied = copier.Execute() && !copier.AnyOperationsAborted();
        printer.Wait();
        const auto check = copied ? win::VerifyCopy(path, copy, &inCopy.print) : std::nullopt;
        if (!check) return false;
        kept_.emplace(win::NameKey(name), win::NameKey(path));
        entries_.Add(RecordedName(copy, name), win::FolderOf(path), *check);
        entries_.WriteIfDue();
        return true;
    }

    // Puts the kept state of path back after a restore that failed half-way; nothing
    // when the folder holds no state of path.
    void PutBack(const std::string& path, TShFileOP& copier)
    {
        const auto kept = kept_.find(win::NameKey(win::NameOf(path)));
        if (kept == kept_.end() || kept->second != win::NameKey(path)) return;
        copier.FilesList.clear();
        copier.Destination = win::WithTrailingBackslash(win::FolderOf(path));
        copier.FilesList.push_back(folder_ + "\\" + win::NameOf(path));
        copier.Execute();
    }

    void Created(const std::string& path) { created_.insert(win::NameKey(path)); }

    void Write() { entries_.Write(); }

private:
    std::string folder_;
    TBackupRecord record_;
    TRecordEntries entries_;
    std::map<std::string, std::string> kept_;  // name in the folder -> path it came from
    std::set<std::string> created_;
};

// Incomplete entries are listed one by one only this far; a damaged record could hold
// millions of them, and one line then says how many more there were.
constexpr int kSkippedLinesShown = 10;

class SkippedLines {
public:
    explicit SkippedLines(win::Progress& progress) : progress_(progress) {}
    // Every index in [from, to) is an entry the record does not hold whole.
    long long Skip(long long from, long long to)
    {
        for (long long i = from; i < to; ++i) {
            if (shown_ == kSkippedLinesShown) {
                unlisted_ += to - i;
                break;
            }
            progress_.AddLine("Entry " + std::to_string(i) + " skipped (incomplete record).");
            ++shown_;
        }
        return to > from ? to - from : 0;
    }
    void Finish()
    {
        if (unlisted_) progress_.AddLine(std::to_string(unlisted_) + " more entries skipped (incomplete record).");
    }

private:
    win::Progress& progress_;
    int shown_ = 0;
    long long unlisted_ = 0;
};

enum class Outcome { Restored, Failed, Damaged, EntryDamaged, NoSafetyCopy };

const char* LineEnd(Outcome o)
{
    switch (o) {
    case Outcome::Restored: return " restored.";
    case Outcome::Damaged: return " not restored! (copy damaged)";
    case Outcome::EntryDamaged: return " not restored! (entry damaged)";
    case Outcome::NoSafetyCopy: return " not restored! (no safety copy)";
    case Outcome::Failed: break;
    }
    return " not restored!";
}

Outcome RestoreItem(const Item& item, const std::string& drive, SafetySet& safety, TShFileOP& copier,
                    win::Progress& progress)
{
    const RecordEntry& e = *item.entry;
    if (item.source.empty()) return Outcome::Failed;
    const std::string copy = drive + item.source;
    // A large item blocks the window while it is checked, kept and copied: it shows
    // what it restores first; a small one's line comes with the next frame.
    if (item.takesLong) progress.ShowBeforeBlocking();
    // A record from before copies were checked has nothing to compare with; one that
    // has must find the copy as it was made, or the live item stays.
    if (e.checkUnreadable || (e.check && win::Summarize(copy) != e.check)) return Outcome::Damaged;
    const std::string destination = item.Destination();
    if (Within(destination, safety.Folder()) || Within(safety.Folder(), destination)) return Outcome::NoSafetyCopy;
    const bool existed = Exists(destination);
    if (existed && !safety.Keep(destination, copier)) return Outcome::NoSafetyCopy;
    // Keeping a large folder takes a while: the window repaints before the copy.
    progress.Pump();
    if (item.takesLong) progress.ShowBeforeBlocking();

    copier.FilesList.clear();
    copier.Destination = e.folder;
    copier.FilesList.push_back(copy);
    const bool copied = copier.Execute() && !copier.AnyOperationsAborted();
    // What arrived is compared with what the backup made, not with the copy, which may
    // have changed since it was checked.
    const bool arrived = copied && (e.check ? win::SummarizeLike(destination, copy) == e.check
                                            : win::VerifyCopy(copy, destination).has_value());
    if (arrived) {
        if (!existed) safety.Created(destination);
        return Outcome::Restored;
    }
    if (existed) safety.PutBack(destination, copier);
    return copied ? Outcome::Damaged : Outcome::Failed;
}

// Room for keeping the destinations that exist, with a little for the record.
std::uint64_t RoomNeeded(const std::vector<Item>& items, std::uint64_t cluster)
{
    std::uint64_t room = 4 * cluster;
    std::unordered_map<std::string, FolderListing> listings;
    for (const Item& item : items) {
        if (item.source.empty()) continue;
        const FolderListing& listing =
            listings.try_emplace(win::NameKey(item.entry->folder), item.entry->folder).first->second;
        const FolderListing::Found* found = listing.Find(item.source);
        if (!found) continue;
        room += found->folder ? RoomTaken(item.Destination(), cluster) : RoomForFile(found->size, cluster);
    }
    return room;
}

// Chooses, checks and empties the safety folder; none, with the user told why, when the
// restore must not start.
std::optional<std::string> PrepareSafety(const std::string& recordPath, const std::string& drive,
                                         const std::vector<Item>& items, const TShFileOP& copier)
{
    const auto folder = ChooseSafetyFolder({win::FolderOf(recordPath), drive});
    if (!folder) {
        Warn(copier, "Es gibt keinen Sicherheitsordner, in den die Wiederherstellung den jetzigen Stand "
                     "sichern kann. Es wurde nichts wiederhergestellt.");
        return std::nullopt;
    }
    const std::string root = folder->substr(0, 3);
    const std::uint64_t cluster = ClusterSize(root);
    const std::uint64_t needed = RoomNeeded(items, cluster);
    // What the folder holds now is deleted first, so its room counts as free.
    const std::uint64_t free = win::DiskFreeBytes(root.c_str()).value_or(0) + RoomTaken(*folder, cluster);
    if (needed > free) {
        Warn(copier, "Auf Laufwerk " + root + " ist zu wenig Platz, um den jetzigen Stand vor dem Wiederherstellen in " +
                         *folder + " zu sichern (nötig: " + Kilobytes(needed) + " KB, frei: " + Kilobytes(free) +
                         " KB). Es wurde nichts wiederhergestellt.");
        return std::nullopt;
    }
    if (!EmptySafetyFolder(*folder)) {
        Warn(copier, "Der Sicherheitsordner " + *folder + " kann nicht geleert werden. Es wurde nichts wiederhergestellt.");
        return std::nullopt;
    }
    return folder;
}

} // namespace

void RestoreFromRecord(const std::string& recordPath, TShFileOP& copier, win::Progress& progress)
{
    const RecordContents record = ReadRecord(recordPath);
    if (record.drive.empty() || record.count <= 0) return;

    // The record names a copy by its short alias, but the shell gives a copy the name it
    // was handed: the copy goes back under its long name, or a lost Start menu would come
    // back as a folder called STARTM~1.
    const FolderListing backup(record.driveClean ? record.drive : std::string());
    std::vector<Item> items;
    for (const RecordEntry& e : record.entries) {
        if (e.state != EntryState::Ready) continue;
        const FolderListing::Found* copy = backup.Find(e.name);
        items.push_back({&e, copy ? copy->name : std::string(), copy && win::CopyMayTakeLong({copy->folder, copy->size})});
    }
    // Nothing to restore, nothing to keep: the older safety folder stays as it is.
    std::optional<SafetySet> safety;
    if (!items.empty()) {
        const auto folder = PrepareSafety(recordPath, record.drive, items, copier);
        if (!folder) return;
        safety.emplace(*folder);
    }

    progress.ClearLines();
    progress.SetStepCount(static_cast<int>(record.entries.size()));
    progress.SetPosition(0);
    long long failed = 0;
    {
        win::BusyScope busy(progress);
        progress.Pump();
        SkippedLines skipped(progress);
        long long next = 0;
        auto item = items.begin();
        for (const RecordEntry& e : record.entries) {
            failed += skipped.Skip(next, e.index);
            next = e.index + 1L;
            if (e.state == EntryState::Incomplete) {
                progress.Step();
                failed += skipped.Skip(e.index, e.index + 1L);
                progress.Pump();
                continue;
            }
            const std::string full = e.folder + e.name;
            Outcome outcome = Outcome::EntryDamaged;
            if (e.state == EntryState::Ready) {
                progress.SetStatus("Writing " + full + "...");
                outcome = RestoreItem(*item++, record.drive, *safety, copier, progress);
            }
            progress.Step();
            progress.AddLine(win::NameOf(full) + LineEnd(outcome));
            if (outcome != Outcome::Restored) ++failed;
            progress.Pump();
        }
        failed += skipped.Skip(next, record.count);
        skipped.Finish();
        if (safety) {
            safety->Write();
            progress.AddLine("Former state kept in " + safety->Folder() + "\\. To undo, restore " + safety->Folder() +
                             "\\" + kRecordName + ".");
        }
    }
    progress.SetStatus(failed ? "Ready! " + std::to_string(failed) + " item(s) failed." : "Ready!");
}

} // namespace backup
