#include "settings/DirectoryList.h"

#include "win/Files.h"
#include "win/Handles.h"
#include "win/Window.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {


// The part of a path that names its drive or share, with the backslash after it.
size_t RootLength(const std::string& path)
{
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
    if (path.rfind("\\\\", 0) == 0) {
        size_t server = path.find('\\', 2);
        if (server == std::string::npos) return path.size();
        size_t share = path.find('\\', server + 1);
        return share == std::string::npos ? path.size() : share + 1;
    }
    return 0;
}

std::string FullPath(const std::string& path)
{
    char buffer[MAX_PATH * 4] = {};
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(sizeof buffer), buffer, nullptr);
    if (n == 0 || n >= sizeof buffer) return path;
    std::string full(buffer, n);
    if (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH * 4] = {};
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(sizeof buffer), buffer);
    return FullPath(n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string("C:\\"));
}

std::vector<std::string> Subfolders(const std::string& dir)
{
    std::vector<std::string> names;
    std::string pattern = dir + (dir.back() == '\\' ? "*" : "\\*");
    WIN32_FIND_DATAA fd;
    win::UniqueFind find(FindFirstFileA(pattern.c_str(), &fd));
    if (!find) return names;
    do {
        std::string name = fd.cFileName;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) ||
            name == "." || name == "..")
            continue;
        names.push_back(name);
    } while (FindNextFileA(find.get(), &fd));
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

} // namespace

void TDirectoryListBox::Attach(HWND list)
{
    w_ = list;
    // The item height follows the dialog's font, as a plain list's would.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(w_, WM_GETFONT, 0, 0));
    win::WindowDC dc(w_);
    win::SelectObj keep(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    SendMessageA(w_, LB_SETITEMHEIGHT, 0, tm.tmHeight + 2);
    directory_ = CurrentDirectory();
    Fill();
}

bool TDirectoryListBox::SetDirectory(const std::string& path)
{
    if (path.empty() || !win::DirectoryReady(path)) return false;
    std::string before = directory_;
    directory_ = FullPath(path);
    Fill();
    if (directory_ != before) {
        if (driveCombo_) driveCombo_->Follow();
        if (OnChange) OnChange();
    }
    return true;
}

bool TDirectoryListBox::SetDrive(char letter)
{
    const char drive[] = {letter, ':', '\0'};
    return SetDirectory(FullPath(drive));
}

char TDirectoryListBox::Drive() const
{
    return RootLength(directory_) == 3 ? static_cast<char>(std::toupper(static_cast<unsigned char>(directory_[0])))
                                       : '\0';
}

void TDirectoryListBox::Update() { Fill(); }

void TDirectoryListBox::Fill()
{
    entries_.clear();
    const size_t root = RootLength(directory_);
    int level = 0;
    if (root > 0) entries_.push_back({directory_.substr(0, root), directory_.substr(0, root), level++});
    size_t start = root;
    while (start < directory_.size()) {
        size_t end = directory_.find('\\', start);
        if (end == std::string::npos) end = directory_.size();
        entries_.push_back({directory_.substr(0, end), directory_.substr(start, end - start), level++});
        start = end + 1;
    }
    const int current = static_cast<int>(entries_.size()) - 1;
    for (const std::string& name : Subfolders(directory_))
        entries_.push_back({(win::IsDriveRoot(directory_) ? directory_ : directory_ + "\\") + name, name, level});

    win::RedrawOff quiet(w_);
    SendMessageA(w_, LB_RESETCONTENT, 0, 0);
    for (const Entry& e : entries_) SendMessageA(w_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.name.c_str()));
    SendMessageA(w_, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
}

std::string TDirectoryListBox::ItemPath(int index) const
{
    return index >= 0 && index < static_cast<int>(entries_.size()) ? entries_[static_cast<size_t>(index)].path
                                                                    : std::string();
}

void TDirectoryListBox::OpenSelected()
{
    std::string path = ItemPath(static_cast<int>(SendMessageA(w_, LB_GETCURSEL, 0, 0)));
    if (path.empty()) return;
    // A folder removed behind our back: say so and show what is there now.
    if (!SetDirectory(path)) {
        MessageBeep(MB_ICONWARNING);
        Fill();
    }
}

void TDirectoryListBox::Draw(const DRAWITEMSTRUCT& dis) const
{
    if (dis.itemID == static_cast<UINT>(-1) || dis.itemID >= entries_.size()) return;
    const Entry& e = entries_[dis.itemID];
    const bool selected = dis.itemState & ODS_SELECTED;
    RECT r = dis.rcItem;
    FillRect(dis.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(dis.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(dis.hDC, TRANSPARENT);
    const int indent = (r.bottom - r.top) * 3 / 4;
    r.left += 2 + e.level * indent;
    DrawTextA(dis.hDC, e.name.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &dis.rcItem);
}

void TDriveComboBox::Attach(HWND combo, TDirectoryListBox* dirList)
{
    w_ = combo;
    dirList_ = dirList;
    dirList_->driveCombo_ = this;
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        const char letter = static_cast<char>('a' + i);
        const std::string text = std::string(1, letter) + ":";
        LRESULT index = SendMessageA(w_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageA(w_, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(letter - 'a' + 'A'));
    }
    Follow();
}

int TDriveComboBox::IndexOf(char letter) const
{
    const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    int count = static_cast<int>(SendMessageA(w_, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (static_cast<char>(SendMessageA(w_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == wanted) return i;
    return -1;
}

char TDriveComboBox::Drive() const
{
    LRESULT sel = SendMessageA(w_, CB_GETCURSEL, 0, 0);
    return sel == CB_ERR ? '\0' : static_cast<char>(SendMessageA(w_, CB_GETITEMDATA, static_cast<WPARAM>(sel), 0));
}

void TDriveComboBox::SetDrive(char letter)
{
    int index = IndexOf(letter);
    if (index < 0 || index == SendMessageA(w_, CB_GETCURSEL, 0, 0)) return;
    SendMessageA(w_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SelectionChanged();
}

void TDriveComboBox::SelectionChanged()
{
    const char letter = Drive();
    if (!letter || !dirList_ || letter == dirList_->Drive()) return;
    // A drive that cannot be entered (no disk in it) leaves everything where it was.
    if (!dirList_->SetDrive(letter)) {
        MessageBeep(MB_ICONWARNING);
        Follow();
    }
}

void TDriveComboBox::Follow()
{
    if (dirList_) SendMessageA(w_, CB_SETCURSEL, static_cast<WPARAM>(IndexOf(dirList_->Drive())), 0);
}
