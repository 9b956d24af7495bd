// The shell's file operation as a component: every copy the program makes goes through
// one of these, so the platform's copy engine (whole folders, overwrite, creating the
// destination, its own error messages) does the work.
#pragma once

#include "win/Window.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// The ordinals differ from the platform's codes (shMove is FO_MOVE, 1).
enum TShOp : std::uint8_t { shCopy, shDelete, shMove, shRename };

enum TShFlags : std::uint8_t {
    shAllowUndo,
    shFilesOnly,
    shNoConfirmation,
    shNoConfirmMkDir,
    shRenameOnCollision,
    shSilent,
    shSimpleProgress
};

// A set of TShFlags in one byte, element n in bit n, as a stored form holds it.
class TShFlag {
public:
    constexpr TShFlag() noexcept = default;
    constexpr TShFlag(std::initializer_list<TShFlags> flags) noexcept
    {
        for (TShFlags f : flags) Include(f);
    }
    constexpr bool Contains(TShFlags f) const noexcept { return bits_ & Bit(f); }
    constexpr void Include(TShFlags f) noexcept { bits_ = static_cast<std::uint8_t>(bits_ | Bit(f)); }
    constexpr void Exclude(TShFlags f) noexcept { bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(f)); }
    constexpr std::uint8_t Bits() const noexcept { return bits_; }
    friend constexpr bool operator==(TShFlag, TShFlag) noexcept = default;

private:
    static constexpr std::uint8_t Bit(TShFlags f) noexcept { return static_cast<std::uint8_t>(1u << f); }
    std::uint8_t bits_ = 0;
};

class TShFileOP {
public:
    // The owner's window parents the platform's own dialogs; it may not exist yet when
    // the component is made along with its form, so it is looked up at each Execute.
    explicit TShFileOP(const win::Window* owner = nullptr);
    // With the options an owning form stores for it.
    TShFileOP(const win::Window* owner, TShFlag options);

    TShOp Operation = shCopy;
    // Source paths; a line may hold several, separated by ";".
    std::vector<std::string> FilesList;
    std::string Destination;
    // Shown by the platform only with shSimpleProgress.
    std::string Title;
    TShFlag Options{shAllowUndo};
    bool KeepFilesList = false;
    // Each line of FilesList is one path, ";" included: a file may be named "a;b.txt",
    // and split it would become two sources, neither of them the one meant.
    bool OneSourcePerLine = false;
    // The platform keeps its own error boxes to itself: an unattended run has nobody to
    // close one, and learns of a failure from Execute's answer and the read-back.
    bool NoErrorUI = false;

    bool AnyOperationsAborted() const noexcept { return anyOperationsAborted_; }
    HWND OwnerWindow() const noexcept;

    // Runs the operation on FilesList; true when the platform reported success or there
    // was nothing to do. Raises nothing: the platform tells the user what went wrong.
    bool Execute();

    // The platform's codes for an operation and an option set.
    static UINT PlatformFunction(TShOp op) noexcept;
    static FILEOP_FLAGS PlatformFlags(TShFlag options) noexcept;

private:
    const win::Window* owner_;
    bool anyOperationsAborted_ = false;
};
