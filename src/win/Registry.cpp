#include "win/Registry.h"

#include "win/Error.h"

#include <algorithm>

namespace win {

namespace {

[[noreturn]] void ReadFailed(const std::string& name) { throw Error(format("Konnte Daten für '%s' nicht holen", name)); }
[[noreturn]] void BadType(const std::string& name) { throw Error(format("Ungültiger Datentyp für '%s'", name)); }
[[noreturn]] void WriteFailed(const std::string& name) { throw Error(format("Konnte Daten für '%s' nicht setzen", name)); }

// Data of a text value: up to its size or its first NUL.
std::string TextOf(const char* data, DWORD size)
{
    std::string text(data, size);
    if (auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

void Write(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size)
{
    if (!key || RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        WriteFailed(name);
}

} // namespace

UniqueHKey OpenKey(HKEY root, const std::string& path, REGSAM access)
{
    UniqueHKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

UniqueHKey CreateKey(HKEY root, const std::string& path)
{
    UniqueHKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        key.release();
    return key;
}

bool ValueExists(HKEY key, const std::string& name)
{
    return key && RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

int ReadInteger(HKEY key, const std::string& name)
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!key || RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                    ERROR_SUCCESS)
        ReadFailed(name);
    if (type != REG_DWORD) BadType(name);
    return static_cast<int>(value);
}

bool ReadBool(HKEY key, const std::string& name) { return ReadInteger(key, name) != 0; }

std::string ReadString(HKEY key, const std::string& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (!key || RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        ReadFailed(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ) BadType(name);
    // The value may grow between the two calls; ask again until the buffer holds it.
    std::string data;
    LONG rc;
    do {
        data.assign(size, '\0');
        rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    } while (rc == ERROR_MORE_DATA);
    if (rc != ERROR_SUCCESS) ReadFailed(name);
    return TextOf(data.data(), size);
}

std::string Text(const Value& value)
{
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) BadType(value.name);
    return TextOf(value.data.data(), static_cast<DWORD>(value.data.size()));
}

void WriteInteger(HKEY key, const std::string& name, int value)
{
    DWORD v = static_cast<DWORD>(value);
    Write(key, name, REG_DWORD, &v, sizeof v);
}

void WriteBool(HKEY key, const std::string& name, bool value) { WriteInteger(key, name, value ? 1 : 0); }

void WriteString(HKEY key, const std::string& name, const std::string& value)
{
    Write(key, name, REG_SZ, value.data(), static_cast<DWORD>(value.size()));
}

std::vector<Value> Values(HKEY key)
{
    std::vector<Value> values;
    DWORD count = 0, longestName = 0, longestData = 0;
    if (!key || RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                                 &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    values.reserve(count);
    std::string name(longestName + 1, '\0'), data(longestData + 1, '\0');
    for (DWORD i = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        const LONG rc = RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA) {
            // Written to since the key was measured: the same place once more, with room.
            name.resize(name.size() * 2 + MAX_PATH);
            data.resize(std::max<size_t>(data.size() * 2, size + 1));
            continue;
        }
        if (rc == ERROR_SUCCESS) {
            values.push_back({std::string(name.data(), nameLength), type, data.substr(0, size)});
        } else if (i >= count) {
            // A value that cannot be read is passed over, but a key that answers every
            // place with an error ends the listing.
            break;
        }
        ++i;
    }
    return values;
}

std::vector<std::string> ValueNames(HKEY key)
{
    std::vector<std::string> names;
    for (auto& value : Values(key)) names.push_back(std::move(value.name));
    return names;
}

void DeleteValue(HKEY key, const std::string& name) { RegDeleteValueA(key, name.c_str()); }

} // namespace win
