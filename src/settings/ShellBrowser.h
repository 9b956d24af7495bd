// The platform's folder-browse dialog as a component. Every selection the user moves
// to is reported while the dialog is open, so a form can follow the user's choice
// live and does not depend on how the dialog was closed.
#pragma once

#include "win/Handles.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <set>
#include <string>

enum class TShellBrowserOption {
    shbBrowseForComputer,
    shbBrowseForPrinter,
    shbDontGoBelowDomain,
    shbReturnFSAncestors,
    shbReturnOnlyFSDirs,
    shbStatusText,
};
using TShellBrowserOptions = std::set<TShellBrowserOption>;

class TShellBrowser;
using TNotifyEvent = std::function<void(TShellBrowser& Sender)>;
// NewFolder is a file-system path, or the display name of a selection that has none.
using TSelChangeEvent = std::function<void(TShellBrowser& Sender, const std::string& NewFolder, bool IsDisplayName)>;

using UniqueItemList = win::UniqueTaskMem<ITEMIDLIST>;

class TShellBrowser {
public:
    // owner: the window the browse dialog is modal to; may be set later, once it exists.
    explicit TShellBrowser(HWND owner = nullptr);
    TShellBrowser(const TShellBrowser&) = delete;
    TShellBrowser& operator=(const TShellBrowser&) = delete;

    HWND Owner = nullptr;
    std::string InitialPath;
    // "mycomputer", in any case, roots the tree at My Computer.
    std::string RootPath;
    std::string Prompt;
    // Title and status line reach an open browse dialog at once, hence the setters.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(const std::string& s);
    const std::string& StatusText() const noexcept { return statusText_; }
    void SetStatusText(const std::string& s);
    TShellBrowserOptions Options;
    TNotifyEvent OnInitialize;
    TSelChangeEvent OnSelChange;

    // True when the user confirmed a folder; Folder and DisplayName are empty otherwise.
    bool Execute();
    const std::string& Folder() const noexcept { return folder_; }
    const std::string& DisplayName() const noexcept { return displayName_; }
    // The open browse dialog, or none.
    HWND DialogWindow() const noexcept { return dialogWindow_; }
    // The BROWSEINFO flags the options stand for.
    UINT Flags() const;

    static std::string PathFromItemList(LPCITEMIDLIST list);
    static std::string DisplayNameOf(LPCITEMIDLIST list);
    static UniqueItemList ItemListFromPath(const std::string& path);

private:
    static int CALLBACK Callback(HWND wnd, UINT msg, LPARAM lp, LPARAM data);
    void Initialized(HWND wnd);
    void SelChanged(LPCITEMIDLIST list);

    std::string caption_;
    std::string statusText_;
    std::string folder_;
    std::string displayName_;
    HWND dialogWindow_ = nullptr;
};
