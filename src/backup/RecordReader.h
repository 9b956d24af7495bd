// The backup record as a restore reads it: input, not orders. Every section is read
// once, whole, and every entry is checked before anything is copied: a copy's name must
// be one plain name in the backup folder, its folder a full local path, and in a record
// that carries checks each entry must have its own.
#pragma once

#include "win/ContentCheck.h"

#include <optional>
#include <string>
#include <vector>

namespace backup {

enum class EntryState {
    Ready,
    Incomplete,  // no name or no folder: the record was cut
    Damaged,     // a name, folder or check that no backup writes
};

struct RecordEntry {
    int index = 0;
    EntryState state = EntryState::Ready;
    std::string name;
    std::string folder;  // with its closing backslash
    // What the copy held when it was made; none in a record from before copies were
    // checked. checkUnreadable: a value is there but is no check.
    std::optional<win::ContentSummary> check;
    bool checkUnreadable = false;
};

struct RecordContents {
    std::string drive;  // the backup folder with its closing backslash; empty: no record
    bool driveClean = false;
    long long count = 0;
    // The entries present below Count, in index order: the work follows what the record
    // holds, never its Count alone.
    std::vector<RecordEntry> entries;
};

RecordContents ReadRecord(const std::string& recordPath);

// One name as a folder holds it: not empty, no "\", "/", ":" or other character that
// file names cannot hold, not "." or "..", no device name such as CON or LPT1, and
// not ending in a dot or a blank (the platform would drop them and mean another name).
bool IsPlainName(const std::string& name);

// A full local path to a folder: a drive letter, ":\" and plain names separated by
// single backslashes, or \\server\share\... ; one closing backslash is allowed. No
// relative, drive-relative (C:WINDOWS) or driveless (\WINDOWS) path, no device or raw
// spelling (\\.\, \\?\), no "." or "..".
bool IsFullLocalFolder(const std::string& path);

} // namespace backup
