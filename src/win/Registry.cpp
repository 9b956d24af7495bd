#include "win/Registry.h"

#include "win/Error.h"

namespace win {

namespace {

[[noreturn]] void ReadFailed(const std::string& name) { throw Error(format("Konnte Daten für '%s' nicht holen", name)); }
[[noreturn]] void BadType(const std::string& name) { throw Error(format("Ungültiger Datentyp für '%s'", name)); }
[[noreturn]] void WriteFailed(const std::string& name) { throw Error(format("Konnte Daten für '%s' nicht setzen", name)); }

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
    data.resize(size);
    if (auto nul = data.find('\0'); nul != std::string::npos) data.resize(nul);
    return data;
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

std::vector<std::string> ValueNames(HKEY key)
{
    std::vector<std::string> names;
    DWORD count = 0;
    DWORD longest = 0;
    if (!key || RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                                 nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::string buf(longest + 1, '\0');
    for (DWORD i = 0; i < count; ++i) {
        DWORD len = longest + 1;
        if (RegEnumValueA(key, i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.emplace_back(buf.data(), len);
    }
    return names;
}

void DeleteValue(HKEY key, const std::string& name) { RegDeleteValueA(key, name.c_str()); }

} // namespace win
