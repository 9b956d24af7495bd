// "&Wiederherstellen": copies every item of a chosen backup record back into the
// folder it came from. What is restored is what the record lists, whatever the
// settings say now.
#include "app/Unit1.h"
#include "backup/BackupRecord.h"
#include "backup/PathNames.h"
#include "win/Handles.h"
#include "win/Path.h"

#include <windows.h>

#include <algorithm>
#include <string>

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

// One past the highest numbered entry the record holds, at most its Count: a damaged
// or foreign Count must not send the run over millions of absent entries.
int EntriesToRead(const TBackupRecord& record, int count)
{
    int highest = -1;
    for (const char* section : {"Files", "Dirs"}) {
        const auto keys = record.NumberedKeys(section);
        if (!keys.empty()) highest = std::max(highest, keys.back());
    }
    return std::min(count, highest + 1);
}

} // namespace

void TForm1::Restore1Click()
{
    if (!OpenDialog1.Execute(Handle())) return;
    TBackupRecord record(OpenDialog1.FileName);
    // The copies are taken from where the backup was made, not from where the record lies.
    const std::string drive = record.ReadString("Target", "Drive", "");
    if (drive.empty()) return;
    const int count = record.ReadInteger("Files", "Count", 0);
    if (count <= 0) return;
    const int entries = EntriesToRead(record, count);

    LB1.Clear();
    PB1.SetMax(entries);
    PB1.SetPosition(0);
    TBusyState busy(*this);
    ProcessMessages();
    int failed = 0;
    for (int i = 0; i < entries; ++i) {
        ShFileOP1.FilesList.clear();
        const std::string index = std::to_string(i);
        const std::string name = record.ReadString("Files", index, "");
        const std::string folder = win::WithTrailingBackslash(record.ReadString("Dirs", index, ""));
        const std::string full = folder + name;
        const std::string shown = backup::NameOf(full);
        // Without a name the source would be the whole backup folder; without a folder
        // the copy would land wherever the process happens to stand.
        if (name.empty() || folder.empty() || shown.empty()) {
            PB1.StepIt();
            LB1.Add("Entry " + index + " skipped (incomplete record).");
            ++failed;
            ProcessMessages();
            continue;
        }
        L1.SetCaption("Writing " + full + "...");
        ShFileOP1.Destination = folder;
        const std::string source = LongNameInBackup(drive, shown);
        bool restored = false;
        if (!source.empty()) {
            ShFileOP1.FilesList.push_back(drive + source);
            restored = ShFileOP1.Execute() && !ShFileOP1.AnyOperationsAborted();
        }
        PB1.StepIt();
        LB1.Add(shown + (restored ? " restored." : " not restored!"));
        if (!restored) ++failed;
        ProcessMessages();
    }
    L1.SetCaption(failed ? "Ready! " + std::to_string(failed) + " item(s) failed." : "Ready!");
}
