// Registry access with the program's own error messages. A key that cannot be opened
// is an empty handle, and every value of it then reads as absent.
#pragma once

#include "win/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace win {

// Opened for reading unless more is asked: the machine's setup values are readable by
// every user but writable only by an administrator.
UniqueHKey OpenKey(HKEY root, const std::string& path, REGSAM access = KEY_READ);
// Creates the key if needed; an empty handle when that fails, so that the first
// write reports the failure with the name of the value it could not set.
UniqueHKey CreateKey(HKEY root, const std::string& path);

bool ValueExists(HKEY key, const std::string& name);
// Flags and counts are read into four bytes.
int ReadInteger(HKEY key, const std::string& name);
bool ReadBool(HKEY key, const std::string& name);
// Plain and expandable strings alike, never expanded; the text ends at its data size
// or at its first NUL.
std::string ReadString(HKEY key, const std::string& name);

void WriteInteger(HKEY key, const std::string& name, int value);
void WriteBool(HKEY key, const std::string& name, bool value);
// Written without the terminating NUL.
void WriteString(HKEY key, const std::string& name, const std::string& value);

// A value as the key held it when it was listed.
struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::string data;
};
// Every value of key with its data, one look-up each: under Wine each look-up is a
// call to the server, and a list of a thousand files is read at every start.
std::vector<Value> Values(HKEY key);
std::vector<std::string> ValueNames(HKEY key);
// A listed value as ReadString reads it.
std::string Text(const Value& value);
void DeleteValue(HKEY key, const std::string& name);

} // namespace win
