// The screen's density for the programs a test starts: the user's "LogPixels", which a
// program takes when it starts, as a user with large fonts has it. The value before
// comes back when this ends.
#pragma once

#include "win/Handles.h"

#include <windows.h>

#include <optional>

namespace testenv {

class ScreenDensity {
public:
    explicit ScreenDensity(DWORD dpi)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, key_.put(), nullptr);
        DWORD old = 0, size = sizeof old;
        if (RegQueryValueExA(key_.get(), kName, nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS)
            old_ = old;
        Set(dpi);
    }
    ScreenDensity(const ScreenDensity&) = delete;
    ScreenDensity& operator=(const ScreenDensity&) = delete;
    ~ScreenDensity()
    {
        if (old_) Set(*old_);
        else RegDeleteValueA(key_.get(), kName);
    }

private:
    static constexpr const char* kName = "LogPixels";
    void Set(DWORD dpi) { RegSetValueExA(key_.get(), kName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi); }

    win::UniqueHKey key_;
    std::optional<DWORD> old_;
};

} // namespace testenv
