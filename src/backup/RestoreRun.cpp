#include "backup/RestoreRun.h"

#include "backup/BackupRecord.h"
#include "win/ContentCheck.h"
#include "win/Files.h"
#include "win/Handles.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace backup {

namespace {

// The record names a copy by its short alias, but the shell gives a copy the name it
// was handed: the copy goes back under its long name, or a lost Start menu would come
// back as a folder called STARTM~1. Empty when the backup folder has no such item.
std::string LongNameInBackup(const std::string& drive, const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find_first_of("*?") != std::string::npos) return {};
    WIN32_FIND_DATAA fd;
    win::UniqueFind found(FindFirstFileA((drive + name).c_str(), &fd));
    return found ? std::string(fd.cFileName) : std::string();
}

// Incomplete entries are listed one by one only this far; a damaged record could hold
// millions of them, and one line then says how many more there were.
constexpr int kSkippedLinesShown = 10;

// Restores the entries the record holds below count; answers how many items failed.
// Every index below count without a complete entry is a failed item.
long long RestoreEntries(const TBackupRecord& record, const std::string& drive, int count,
                         const std::vector<int>& present, TShFileOP& copier, win::Progress& progress)
{
    long long failed = 0;
    long long skipped = 0;
    long long next = 0;
    long long unlisted = 0;
    auto skipRange = [&](long long from, long long to) {
        for (long long i = from; i < to; ++i) {
            if (skipped < kSkippedLinesShown) {
                progress.AddLine("Entry " + std::to_string(i) + " skipped (incomplete record).");
                ++skipped;
            } else {
                unlisted += to - i;
                break;
            }
        }
        failed += to - from;
    };
    for (const int i : present) {
        skipRange(next, i);
        next = i + 1;
        copier.FilesList.clear();
        const std::string index = std::to_string(i);
        const std::string name = record.ReadString("Files", index, "");
        const std::string folder = win::WithTrailingBackslash(record.ReadString("Dirs", index, ""));
        const std::string full = folder + name;
        const std::string shown = win::NameOf(full);
        // Without a name the source would be the whole backup folder; without a folder
        // the copy would land wherever the process happens to stand.
        if (name.empty() || folder.empty() || shown.empty()) {
            progress.Step();
            skipRange(i, i + 1);
            progress.Pump();
            continue;
        }
        progress.SetStatus("Writing " + full + "...");
        progress.ShowBeforeBlocking();
        copier.Destination = folder;
        const std::string source = LongNameInBackup(drive, shown);
        const std::string checkText = record.ReadString(kChecksSection, index, "");
        bool restored = false;
        bool damaged = false;
        if (!source.empty()) {
            // A record from before copies were checked has nothing to compare with; one
            // that has must find the copy as it was made, or the live file stays.
            if (!checkText.empty()) {
                const auto expected = ParseCheck(checkText);
                damaged = !expected || win::Summarize(drive + source) != expected;
            }
            if (!damaged) {
                copier.FilesList.push_back(drive + source);
                restored = copier.Execute() && !copier.AnyOperationsAborted() &&
                           win::VerifyCopy(drive + source, folder + source).has_value();
            }
        }
        progress.Step();
        progress.AddLine(shown + (restored ? " restored." : damaged ? " not restored! (copy damaged)" : " not restored!"));
        if (!restored) ++failed;
        progress.Pump();
    }
    skipRange(next, count);
    if (unlisted) progress.AddLine(std::to_string(unlisted) + " more entries skipped (incomplete record).");
    return failed;
}

} // namespace

void RestoreFromRecord(const std::string& recordPath, TShFileOP& copier, win::Progress& progress)
{
    TBackupRecord record(recordPath);
    // The copies are taken from where the backup was made, not from where the record lies.
    const std::string drive = record.ReadString("Target", "Drive", "");
    if (drive.empty()) return;
    const int count = record.ReadInteger("Files", "Count", 0);
    if (count <= 0) return;
    // The work follows the entries the record holds, never its Count alone: a damaged
    // or foreign Count must not send the run over billions of absent entries.
    std::vector<int> present = record.NumberedKeys("Files");
    present.erase(std::lower_bound(present.begin(), present.end(), count), present.end());

    progress.ClearLines();
    progress.SetStepCount(static_cast<int>(present.size()));
    progress.SetPosition(0);
    long long failed;
    {
        win::BusyScope busy(progress);
        progress.Pump();
        failed = RestoreEntries(record, drive, count, present, copier, progress);
    }
    progress.SetStatus(failed ? "Ready! " + std::to_string(failed) + " item(s) failed." : "Ready!");
}

} // namespace backup
