// Where a restore keeps what it overwrites: \QMSAFE1 and \QMSAFE2 on the Windows drive,
// short names that a DOS program reaches too. A restore writes one of them, with a
// record of the backup's format beside the copies, so that restoring that record undoes
// it; the two take turns, so that undoing can itself be undone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace backup {

// Both folders, without closing backslash; none when the Windows drive is unknown.
std::vector<std::string> SafetyFolders();

// The folder a restore that reads from readFrom (the record's folder and its backup
// folder) writes: one without a record first, QMSAFE1 before QMSAFE2; else the one whose
// record is older; never one it reads from. None when neither may be written.
std::optional<std::string> ChooseSafetyFolder(const std::vector<std::string>& readFrom);

// Makes folder an empty folder: creates it, or deletes what it holds. Refuses any path
// but one of SafetyFolders(), and a folder that is a link to another place. False when
// it is not empty afterwards.
bool EmptySafetyFolder(const std::string& folder);

// The room the files at path (a file or a whole folder) take on a drive of this
// cluster size; 0 when nothing is there.
std::uint64_t RoomTaken(const std::string& path, std::uint64_t cluster);
// The room a file of this size takes.
std::uint64_t RoomForFile(std::uint64_t size, std::uint64_t cluster);
// The cluster size of the drive of root; 4 KB when the drive does not tell.
std::uint64_t ClusterSize(const std::string& root);

// Whether two paths name the same folder, by their full and their short spelling.
bool SameFolder(const std::string& a, const std::string& b);

} // namespace backup
