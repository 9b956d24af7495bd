#include "settings/ShellBrowser.h"

#include "win/Window.h"

#include <cstring>
#include <vector>

namespace {

using UniqueShellFolder = win::UniqueCom<IShellFolder>;

UniqueShellFolder DesktopFolder()
{
    UniqueShellFolder desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) desktop.reset();
    return desktop;
}

std::string Narrow(const wchar_t* w)
{
    int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

} // namespace

TShellBrowser::TShellBrowser(HWND owner)
    : Owner(owner),
      Options{TShellBrowserOption::shbReturnFSAncestors, TShellBrowserOption::shbReturnOnlyFSDirs}
{
}

void TShellBrowser::SetCaption(const std::string& s)
{
    caption_ = s;
    if (dialogWindow_) SendMessageA(dialogWindow_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
}

void TShellBrowser::SetStatusText(const std::string& s)
{
    statusText_ = s;
    if (dialogWindow_)
        SendMessageA(dialogWindow_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(statusText_.c_str()));
}

UINT TShellBrowser::Flags() const
{
    UINT flags = 0;
    for (TShellBrowserOption o : Options) {
        switch (o) {
        case TShellBrowserOption::shbBrowseForComputer: flags |= BIF_BROWSEFORCOMPUTER; break;
        case TShellBrowserOption::shbBrowseForPrinter: flags |= BIF_BROWSEFORPRINTER; break;
        case TShellBrowserOption::shbDontGoBelowDomain: flags |= BIF_DONTGOBELOWDOMAIN; break;
        case TShellBrowserOption::shbReturnFSAncestors: flags |= BIF_RETURNFSANCESTORS; break;
        case TShellBrowserOption::shbReturnOnlyFSDirs: flags |= BIF_RETURNONLYFSDIRS; break;
        case TShellBrowserOption::shbStatusText: flags |= BIF_STATUSTEXT; break;
        }
    }
    return flags;
}

namespace {

// The shell's browse dialog needs COM on the calling thread: joined once, on the
// user-interface thread that shows every picker, and left when the program ends.
void JoinComApartment()
{
    static const struct Apartment {
        bool joined = SUCCEEDED(CoInitialize(nullptr));
        ~Apartment()
        {
            if (joined) CoUninitialize();
        }
    } apartment;
}

} // namespace

bool TShellBrowser::Execute()
{
    JoinComApartment();
    HWND owner = Owner && IsWindow(Owner) ? Owner : nullptr;
    UniqueItemList root;
    if (lstrcmpiA(RootPath.c_str(), "mycomputer") == 0) {
        if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, root.put()))) root.reset();
    } else if (!RootPath.empty()) {
        root = ItemListFromPath(RootPath);
    }

    char displayBuffer[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = owner;
    bi.pidlRoot = root.get();
    bi.pszDisplayName = displayBuffer;
    bi.lpszTitle = Prompt.empty() ? nullptr : Prompt.c_str();
    bi.ulFlags = Flags();
    bi.lpfn = Callback;
    bi.lParam = reinterpret_cast<LPARAM>(this);

    UniqueItemList chosen(SHBrowseForFolderA(&bi));
    dialogWindow_ = nullptr;
    if (!chosen) {
        folder_.clear();
        displayName_.clear();
        return false;
    }
    folder_ = PathFromItemList(chosen.get());
    displayName_ = DisplayNameOf(chosen.get());
    return true;
}

int CALLBACK TShellBrowser::Callback(HWND wnd, UINT msg, LPARAM lp, LPARAM data)
{
    auto* self = reinterpret_cast<TShellBrowser*>(data);
    // The shell calls us from inside its own dialog; nothing may unwind through it.
    win::Guarded([&] {
        if (msg == BFFM_INITIALIZED)
            self->Initialized(wnd);
        else if (msg == BFFM_SELCHANGED)
            self->SelChanged(reinterpret_cast<LPCITEMIDLIST>(lp));
    });
    return 0;
}

void TShellBrowser::Initialized(HWND wnd)
{
    dialogWindow_ = wnd;
    if (!InitialPath.empty())
        SendMessageA(wnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(InitialPath.c_str()));
    if (!statusText_.empty())
        SendMessageA(wnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(statusText_.c_str()));
    if (!caption_.empty()) SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
    if (OnInitialize) OnInitialize(*this);
}

void TShellBrowser::SelChanged(LPCITEMIDLIST list)
{
    // The tree reports its first selection while it is being built, before the
    // dialog is ready; only what the user sees counts.
    if (!dialogWindow_ || !OnSelChange) return;
    std::string path = PathFromItemList(list);
    if (!path.empty())
        OnSelChange(*this, path, false);
    else
        OnSelChange(*this, DisplayNameOf(list), true);
}

std::string TShellBrowser::PathFromItemList(LPCITEMIDLIST list)
{
    char buffer[264] = {};
    if (!list || !SHGetPathFromIDListA(list, buffer)) return {};
    return std::string(buffer, strnlen(buffer, 261));
}

std::string TShellBrowser::DisplayNameOf(LPCITEMIDLIST list)
{
    UniqueShellFolder desktop = DesktopFolder();
    if (!desktop || !list) return {};
    STRRET name{};
    if (FAILED(desktop.get()->GetDisplayNameOf(list, SHGDN_NORMAL, &name))) return {};
    switch (name.uType) {
    case STRRET_WSTR: {
        // The wide text is ours to free.
        win::UniqueTaskMem<wchar_t> text(name.pOleStr);
        return text ? Narrow(text.get()) : std::string();
    }
    case STRRET_OFFSET: {
        const char* text = reinterpret_cast<const char*>(list) + name.uOffset;
        return text;
    }
    case STRRET_CSTR:
        return std::string(name.cStr, strnlen(name.cStr, 260));
    default:
        return {};
    }
}

UniqueItemList TShellBrowser::ItemListFromPath(const std::string& path)
{
    UniqueItemList list;
    UniqueShellFolder desktop = DesktopFolder();
    if (!desktop) return list;
    wchar_t wide[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path.c_str(), -1, wide, MAX_PATH) == 0) return list;
    if (FAILED(desktop.get()->ParseDisplayName(nullptr, nullptr, wide, nullptr, list.put(), nullptr))) list.reset();
    return list;
}
