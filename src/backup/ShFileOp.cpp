#include "backup/ShFileOp.h"

#include "win/LaterCalls.h"

#include <shellapi.h>

#include <algorithm>

TShFileOP::TShFileOP(const win::Window* owner) : owner_(owner) {}

TShFileOP::TShFileOP(const win::Window* owner, TShFlag options) : Options(options), owner_(owner) {}

HWND TShFileOP::OwnerWindow() const noexcept { return owner_ ? owner_->Handle() : nullptr; }

UINT TShFileOP::PlatformFunction(TShOp op) noexcept
{
    switch (op) {
    case shDelete: return FO_DELETE;
    case shMove: return FO_MOVE;
    case shRename: return FO_RENAME;
    case shCopy:
    default: return FO_COPY;
    }
}

FILEOP_FLAGS TShFileOP::PlatformFlags(TShFlag options) noexcept
{
    // No FOF_NOERRORUI among the options: a failure is the platform's to tell, in its
    // own words, unless nobody is there to read them (NoErrorUI).
    static constexpr FILEOP_FLAGS kFlag[] = {FOF_ALLOWUNDO,        FOF_FILESONLY, FOF_NOCONFIRMATION,
                                             FOF_NOCONFIRMMKDIR,   FOF_RENAMEONCOLLISION,
                                             FOF_SILENT,           FOF_SIMPLEPROGRESS};
    FILEOP_FLAGS flags = 0;
    for (int f = shAllowUndo; f <= shSimpleProgress; ++f)
        if (options.Contains(static_cast<TShFlags>(f))) flags |= kFlag[f];
    return flags;
}

bool TShFileOP::Execute()
{
    // NULs separate the sources and, doubled at the end, close the list.
    std::string from;
    for (const auto& line : FilesList) {
        if (line.empty()) continue;
        from += line;
        from += '\0';
    }
    if (from.empty()) return true;
    if (!OneSourcePerLine) std::replace(from.begin(), from.end(), ';', '\0');
    // The destination is read as a list too; a second NUL keeps the platform from
    // reading past a single name.
    std::string to = Destination;
    to += '\0';
    // Callers name a destination folder by its closing backslash. The shell takes a
    // single missing one for the new name of the copy and fails on the backslash, so
    // the folder is made first, as the option to make folders unasked promises.
    if ((Operation == shCopy || Operation == shMove) && Options.Contains(shNoConfirmMkDir) &&
        Destination.size() > 1 && Destination.back() == '\\' &&
        GetFileAttributesA(Destination.c_str()) == INVALID_FILE_ATTRIBUTES)
        win::CreateFolderPath(Destination.c_str());

    SHFILEOPSTRUCTA op{};
    op.hwnd = OwnerWindow();
    op.wFunc = PlatformFunction(Operation);
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = static_cast<FILEOP_FLAGS>(PlatformFlags(Options) | (NoErrorUI ? FOF_NOERRORUI : 0));
    op.fAnyOperationsAborted = FALSE;
    op.hNameMappings = nullptr;
    op.lpszProgressTitle = Title.c_str();
    const bool ok = SHFileOperationA(&op) == 0;
    anyOperationsAborted_ = op.fAnyOperationsAborted != FALSE;
    if (!KeepFilesList) FilesList.clear();
    return ok;
}
