// Files, folders and drives as the whole program names them. Paths are 8-bit strings
// joined by plain concatenation: a folder that serves as a prefix carries its closing
// backslash, and the code that joins never inserts one.
#pragma once

#include <string>

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

// How the backup names what it copies: a name is what follows the last backslash or
// colon; a folder is what stands before the last backslash, and keeps that backslash
// only when it is a root (C:\WINDOWS\Win.ini gives C:\WINDOWS, C:\Autoexec.bat C:\).
std::string NameOf(const std::string& path);
std::string FolderOf(const std::string& path);
// File names compare as the file system compares them, without regard to case: two
// names are the same when their keys are.
std::string NameKey(std::string name);

} // namespace win
