// The drive format component: makes sure a letter names a removable drive with a
// medium in it, then lets the platform's format dialog do the work and boils its
// answer down to one small error code.
#pragma once

#include <windows.h>

#include <cstdint>

enum class TFormatOption : std::uint8_t { foQuick, foFull, foSystemOnly };

// The codes SHFormatDrive answers, as the shell headers define them.
inline constexpr DWORD kShFmtError = 0xFFFFFFFFul;   // SHFMT_ERROR (-1)
inline constexpr DWORD kShFmtCancel = 0xFFFFFFFEul;  // SHFMT_CANCEL (-2)
inline constexpr DWORD kShFmtNoFormat = 0xFFFFFFFDul; // SHFMT_NOFORMAT (-3)
inline constexpr UINT kShFmtIdDefault = 0xFFFF;       // SHFMT_ID_DEFAULT
inline constexpr UINT kShFmtOptFull = 0x0001;
inline constexpr UINT kShFmtOptSysOnly = 0x0002;

class TShFormat {
public:
    enum : std::uint8_t { Success, FormatError, Cancelled, CannotFormat, InvalidDrive, NoDisk };

    TShFormat() = default;
    // With the option an owning form stores for it.
    explicit TShFormat(TFormatOption formatOption) noexcept : formatOption_(formatOption) {}

    // The window that owns the platform's format dialog.
    HWND Owner() const noexcept { return owner_; }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    char DriveLetter() const noexcept { return driveLetter_; }
    void SetDriveLetter(char v) noexcept { driveLetter_ = v; }
    TFormatOption FormatOption() const noexcept { return formatOption_; }
    void SetFormatOption(TFormatOption v) noexcept { formatOption_ = v; }
    // Outcome of the last Execute; 0 is success.
    std::uint8_t ErrorCode() const noexcept { return errorCode_; }

    // Checks the drive and runs the format dialog; true exactly when ErrorCode ends 0.
    bool Execute();
    // True when letter + ":\" is a removable drive.
    static bool CheckDrive(char letter);
    // True when the drive of DriveLetter has a readable medium.
    bool DiskInDrive() const;

private:
    HWND owner_ = nullptr;
    char driveLetter_ = 'A';
    TFormatOption formatOption_ = TFormatOption::foQuick;
    std::uint8_t errorCode_ = 0;
};
