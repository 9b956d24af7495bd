// Files, folders and drives as the whole program names them. Paths are 8-bit strings
// joined by plain concatenation: a folder that serves as a prefix carries its closing
// backslash, and the code that joins never inserts one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace win {

// The one place that gives a prefix folder its closing backslash.
inline std::string WithTrailingBackslash(const std::string& dir)
{
    return !dir.empty() && dir.back() != '\\' ? dir + "\\" : dir;
}

bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);

// Makes path the current directory; the test that a folder exists and its drive is
// ready. The folder stays the process's current directory.
bool DirectoryReady(const std::string& path);

// The program's own folder: its path up to and including the last backslash or colon.
std::string ProgramFolder();

// "A:\" for 'A' (or 'a').
std::string DriveRoot(char letter);
// A drive's root spelled X:\ .
bool IsDriveRoot(const std::string& path);

// The length of the part of path that names its root, with the backslash after it:
// "C:\", "\\server\share\", and behind the device prefixes "\\?\" and "\\.\" also
// "UNC\server\share\", "Volume{...}\" and "GLOBALROOT\Device\<name>\". "C:" alone is 2.
size_t RootLength(const std::string& path);
// The one full spelling of a path: made absolute, "." and ".." resolved, short names
// replaced by long ones where the path exists, runs of backslashes made one (but the
// pair that opens a network path), no closing backslash but at a root.
std::string FullPath(const std::string& path);
// The folders above a full path, nearest first, its root last; none for a root.
std::vector<std::string> FoldersAbove(const std::string& fullPath);

// What lies at a path, as far as a copy of it needs to know before it starts.
struct PathFacts {
    bool folder = false;
    std::uint64_t size = 0;
};
// None when nothing lies there (or the path holds a wildcard). One question to the file
// system where it answers attributes and size at once (not on Windows 95).
std::optional<PathFacts> FactsOf(const std::string& path);
// Whether copying it can keep the window from painting for a while: a folder, or a
// file of a megabyte or more.
bool CopyMayTakeLong(const PathFacts& facts);

// What a path names, rather than how it is spelled: the volume and the index of the
// file on it, as the opened file or folder tells them. The first Windows (95, 98, Me)
// cannot open a folder; there the full spelling in capitals stands in, which knows
// short and long names but not two roads to one folder (those systems have none).
struct FileIdentity {
    unsigned long volume = 0, indexHigh = 0, indexLow = 0;
    std::string path;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
// None when the path does not exist or cannot be asked. No medium in a drive is an
// answer too: the platform's prompt for one stays away.
std::optional<FileIdentity> IdentityOf(const std::string& path);

// How the backup names what it copies: a name is what follows the last backslash or
// colon; a folder is what stands before the last backslash, and keeps that backslash
// only when it is a root (C:\WINDOWS\Win.ini gives C:\WINDOWS, C:\Autoexec.bat C:\).
std::string NameOf(const std::string& path);
std::string FolderOf(const std::string& path);
// File names compare as the file system compares them, without regard to case: two
// names are the same when their keys are.
std::string NameKey(std::string name);

} // namespace win
