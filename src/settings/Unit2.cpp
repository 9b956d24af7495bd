#include "settings/Unit2.h"

#include "settings/Unit2Res.h"
#include "win/Error.h"
#include "win/Files.h"
#include "win/Hint.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

constexpr int kPages[] = {IDD_TABSHEET1, IDD_TABSHEET2, IDD_TABSHEET3, IDD_TABSHEET4, IDD_TABSHEET5};
constexpr const char* kTabs[] = {"Allgemein", "Verzeichnisse", "Ziel", "Internet", "Weitere Dateien"};

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The dialog stands in pixels of the 120-dpi design, as the form was drawn, not in
// dialog units: those follow the dialog font, and MS Sans Serif on Windows and the face
// Wine puts in its place differ by a seventh in width, which the whole dialog would
// follow. The template's units keep the proportions: its client area stands for the
// design's 396 by 411, and every control takes its share of that.
class DesignLayout {
public:
    // dialog: made from its template, still sized by the units.
    explicit DesignLayout(HWND dialog)
    {
        RECT client;
        GetClientRect(dialog, &client);
        const Units units(dialog);
        wide_ = std::max(1, units.X(client.right));
        high_ = std::max(1, units.Y(client.bottom));
    }

    // Gives the dialog its design size, about the same centre.
    void Fit(HWND dialog) const
    {
        RECT window, client;
        GetWindowRect(dialog, &window);
        GetClientRect(dialog, &client);
        const int dw = X(wide_) - client.right;
        const int dh = Y(high_) - client.bottom;
        SetWindowPos(dialog, nullptr, window.left - dw / 2, window.top - dh / 2, window.right - window.left + dw,
                     window.bottom - window.top + dh, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // Moves the controls of dialog (the form or one of its pages) to their design bounds.
    void Place(HWND dialog) const
    {
        const Units units(dialog);
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            // A combo box's height in its template is that of its dropped list.
            char cls[16] = {};
            GetClassNameA(c, cls, sizeof cls);
            if (lstrcmpiA(cls, "ComboBox") == 0) {
                RECT dropped{};
                SendMessageA(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
                r.bottom = r.top + (dropped.bottom - dropped.top);
            }
            const int left = units.X(r.left), top = units.Y(r.top);
            const int right = left + units.X(r.right - r.left), bottom = top + units.Y(r.bottom - r.top);
            MoveWindow(c, X(left), Y(top), X(right) - X(left), Y(bottom) - Y(top), FALSE);
        }
    }

private:
    // A dialog's units from its pixels. Pixels are the finer of the two, so the units
    // the template gave come back exactly.
    struct Units {
        explicit Units(HWND dialog)
        {
            RECT base{0, 0, 4, 8};
            MapDialogRect(dialog, &base);
            x = std::max(1L, base.right);
            y = std::max(1L, base.bottom);
        }
        int X(int pixels) const { return MulDiv(pixels, 4, x); }
        int Y(int pixels) const { return MulDiv(pixels, 8, y); }
        int x, y;
    };
    int X(int units) const { return win::Scale(units * 396 / wide_); }
    int Y(int units) const { return win::Scale(units * 411 / high_); }

    int wide_ = 1;
    int high_ = 1;
};

// The one configuration dialog open; its tab filter is a hook of the thread.
TForm2* g_open = nullptr;

// The pages are dialogs of their own only for layout and keyboard navigation; what their
// controls report belongs to the form.
INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        SetWindowLongPtrA(page, DWLP_MSGRESULT, SendMessageA(GetParent(page), msg, wp, lp));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

const TForm2::FolderRow TForm2::kFolderRows[5] = {
    {IDC_BUTTON3, IDC_EDIT1, &TForm2::ShellBrowser1, &TSettings::BootDir, true},
    {IDC_BUTTON4, IDC_EDIT2, &TForm2::ShellBrowser2, &TSettings::WinDir, true},
    {IDC_BUTTON10, IDC_EDIT3, &TForm2::ShellBrowser5, &TSettings::StartMenuDir, false},
    {IDC_BUTTON11, IDC_EDIT7, &TForm2::ShellBrowser6, &TSettings::DesktopDir, false},
    {IDC_BUTTON8, IDC_EDIT6, &TForm2::ShellBrowser4, &TSettings::IEFavorites, false},
};

const TForm2::FolderRow* TForm2::RowOfButton(int id)
{
    for (const FolderRow& row : kFolderRows)
        if (row.button == id) return &row;
    return nullptr;
}

const TForm2::FolderRow* TForm2::RowOfField(int id)
{
    for (const FolderRow& row : kFolderRows)
        if (row.field == id) return &row;
    return nullptr;
}

HWND TForm2::Control(int id) const
{
    for (HWND page : pages_)
        if (HWND w = GetDlgItem(page, id)) return w;
    return GetDlgItem(Handle(), id);
}

std::vector<HWND> TForm2::TabOrder() const
{
    std::vector<HWND> order{PageControl1};
    const auto shown = SendMessageA(PageControl1, TCM_GETCURSEL, 0, 0);
    if (shown >= 0 && shown < 5)
        for (HWND c = GetWindow(pages_[shown], GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if ((GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(c) && IsWindowEnabled(c))
                order.push_back(c);
    order.push_back(Button2);
    order.push_back(Button1);
    return order;
}

void TForm2::MoveFocus(bool backwards)
{
    const std::vector<HWND> order = TabOrder();
    const HWND focus = GetFocus();
    const auto at = std::find_if(order.begin(), order.end(), [&](HWND w) { return w == focus || IsChild(w, focus); });
    const size_t n = order.size();
    size_t next = 0;
    if (at != order.end()) {
        const size_t i = static_cast<size_t>(at - order.begin());
        next = backwards ? (i + n - 1) % n : (i + 1) % n;
    }
    HWND target = order[next];
    // As the dialog manager does: a field entered by Tab has its text selected.
    if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(target, EM_SETSEL, 0, -1);
    SetFocus(target);
}

LRESULT CALLBACK TForm2::TabFilter(int code, WPARAM wp, LPARAM lp)
{
    const auto* msg = reinterpret_cast<const MSG*>(lp);
    if (code == MSGF_DIALOGBOX && g_open && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0 &&
        (msg->hwnd == g_open->Handle() || IsChild(g_open->Handle(), msg->hwnd))) {
        g_open->MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

TForm2::TForm2(HWND owner, TSettings& settings) : owner_(owner), Settings(settings)
{
    OpenDialog1.Filter = "Bookmark-File (*.htm)|*.htm|All Files|*.*";
    // Each picker reports every selection into its field while it is open; how it was
    // closed does not matter. The boot and Windows folders are prefixes.
    for (const FolderRow& row : kFolderRows)
        (this->*row.browser).OnSelChange = [this, &row](TShellBrowser&, const std::string& folder, bool) {
            SetText(Control(row.field), row.prefix ? win::WithTrailingBackslash(folder) : folder);
        };
    DirectoryListBox1.OnChange = [this] { DirectoryListBox1Change(); };
}

INT_PTR TForm2::ShowModal()
{
    INT_PTR result = Dialog::ShowModal(owner_, IDD_FORM2);
    // A set-up that failed has been reported already; one the platform refused has not.
    if (result == -1) throw win::Error("Konfigurationsdialog nicht erzeugt");
    return result;
}

INT_PTR TForm2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == win::HintQueryMessage()) {
        if (!ShowHint) return FALSE;
        auto* query = reinterpret_cast<win::HintQuery*>(lp);
        POINT at = query->point;
        ClientToScreen(Handle(), &at);
        for (HWND w = WindowFromPoint(at); w && w != Handle(); w = GetParent(w)) {
            query->text = HintOf(w);
            if (query->text.empty()) continue;
            GetWindowRect(w, &query->area);
            MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&query->area), 2);
            SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    }
    switch (msg) {
    case WM_INITDIALOG: {
        const DesignLayout layout(Handle());
        layout.Fit(Handle());
        layout.Place(Handle());
        CreatePages();
        for (HWND page : pages_) layout.Place(page);
        g_open = this;
        tabFilter_.reset(SetWindowsHookExA(WH_MSGFILTER, TabFilter, nullptr, GetCurrentThreadId()));
        FormActivate();
        // The page control takes the focus first, as the tab order begins with it.
        SetFocus(PageControl1);
        return FALSE;
    }
    case WM_COMMAND:
        Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return TRUE;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->hwndFrom == PageControl1 && hdr->code == TCN_SELCHANGE)
            ShowPage(static_cast<int>(SendMessageA(PageControl1, TCM_GETCURSEL, 0, 0)));
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (dis->hwndItem == DirectoryListBox1.Handle()) DirectoryListBox1.Draw(*dis);
        return TRUE;
    }
    case WM_CLOSE:
        // The close box is "Abbrechen": nothing is stored.
        Button2Click();
        return TRUE;
    case WM_DESTROY:
        tabFilter_.reset();
        if (g_open == this) g_open = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void TForm2::CreatePages()
{
    HWND self = Handle();
    HINSTANCE inst = GetModuleHandleA(nullptr);
    PageControl1 = Item(IDC_PAGECONTROL1);
    Button1 = Item(IDC_BUTTON1);
    Button2 = Item(IDC_BUTTON2);
    for (int i = 0; i < 5; ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(kTabs[i]);
        SendMessageA(PageControl1, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    }
    RECT area;
    GetClientRect(PageControl1, &area);
    SendMessageA(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    MapWindowPoints(PageControl1, self, reinterpret_cast<POINT*>(&area), 2);
    // Each page lies over the page control and before the buttons in the tab order; it
    // stays above the page control so that the control's background never covers it.
    HWND after = HWND_TOP;
    for (int i = 0; i < 5; ++i) {
        pages_[i] = CreateDialogParamA(inst, MAKEINTRESOURCEA(kPages[i]), self, PageProc, 0);
        if (!pages_[i]) throw win::Error("Konfigurationsdialog nicht erzeugt");
        SetWindowPos(pages_[i], after, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
        after = pages_[i];
    }
    auto find = [this](int id) { return Control(id); };
    MSDOSBootfiles1 = find(IDC_MSDOSBOOTFILES1);
    WindowsRegistry1 = find(IDC_WINDOWSREGISTRY1);
    WininiSystemini1 = find(IDC_WININISYSTEMINI1);
    StartMenu1 = find(IDC_STARTMENU1);
    Desktop1 = find(IDC_DESKTOP1);
    SaveInternet1 = find(IDC_SAVEINTERNET1);
    Otherfiles1 = find(IDC_OTHERFILES1);
    Edit1 = find(IDC_EDIT1);
    Edit2 = find(IDC_EDIT2);
    Edit3 = find(IDC_EDIT3);
    Edit7 = find(IDC_EDIT7);
    Button3 = find(IDC_BUTTON3);
    Button4 = find(IDC_BUTTON4);
    Button10 = find(IDC_BUTTON10);
    Button11 = find(IDC_BUTTON11);
    DirectoryListBox1.Attach(find(IDC_DIRECTORYLISTBOX1));
    DriveComboBox1.Attach(find(IDC_DRIVECOMBOBOX1), &DirectoryListBox1);
    L2.Attach(find(IDC_L2));
    L2.SetCaption(DirectoryListBox1.Directory());
    Button12 = find(IDC_BUTTON12);
    Label14.Attach(find(IDC_LABEL14));
    Edit4 = find(IDC_EDIT4);
    Netscape1 = find(IDC_NETSCAPE1);
    IExplorer1 = find(IDC_IEXPLORER1);
    Edit5 = find(IDC_EDIT5);
    Button7 = find(IDC_BUTTON7);
    Edit6 = find(IDC_EDIT6);
    Button8 = find(IDC_BUTTON8);
    Button5 = find(IDC_BUTTON5);
    Button9 = find(IDC_BUTTON9);
    ListBox1.Attach(find(IDC_LISTBOX1));

    for (TShellBrowser* b : {&ShellBrowser1, &ShellBrowser2, &ShellBrowser4, &ShellBrowser5, &ShellBrowser6})
        b->Owner = self;
}

std::string TForm2::HintOf(HWND control) const
{
    const char* const folderButton = "Klicken Sie hier um ein anderes Verzeichnis auszuwählen";
    const std::pair<HWND, const char*> hints[] = {
        {Button1, "Klicken Sie hier um die Einstellungen zu speichern"},
        {Edit1, "In diesem Verzeichnis befinden sich die DOS-Systemdateien"},
        {Edit2, "In diesem Verzeichnis befinden sich die Windows-Registrierung und\randeren Windows-Systemdateien"},
        {Button3, folderButton},
        {Button4, folderButton},
        {Button10, folderButton},
        {Button11, folderButton},
        {Button12, "Klicken Sie hier um einen neuen Unterordner zu erstellen"},
        {Edit4, "Geben Sie hier den Namen des neuen Ordners ein"},
        {Button7, "Click here to browse to the bookmark-file"},
        {Button8, "Click here to browse to the favorites-directory"},
        {Button5, "Add a new file to the list"},
        {Button9, "Delete the selected file from the list"},
        {ListBox1.Handle(), "All these files will be saved to the destination directory too."},
    };
    for (const auto& [c, text] : hints)
        if (c && c == control) return text;
    return {};
}

void TForm2::ShowPage(int index)
{
    for (int i = 0; i < 5; ++i) ShowWindow(pages_[i], i == index ? SW_SHOW : SW_HIDE);
}

void TForm2::Command(int id, int code, HWND control)
{
    switch (code) {
    case BN_CLICKED:
        // Enter and Escape arrive as IDOK and IDCANCEL: neither button is the default or
        // the cancel button, but Enter on the directory list opens the folder chosen.
        if (!control) {
            if (id == IDOK && GetFocus() == DirectoryListBox1.Handle()) DirectoryListBox1.OpenSelected();
            return;
        }
        Clicked(id);
        return;
    case EN_CHANGE: Changed(id); return;
    case CBN_SELCHANGE:
        if (id == IDC_DRIVECOMBOBOX1) DriveComboBox1.SelectionChanged();
        return;
    case LBN_DBLCLK:
        if (id == IDC_DIRECTORYLISTBOX1) DirectoryListBox1.OpenSelected();
        return;
    default: return;
    }
}

void TForm2::Clicked(int id)
{
    if (const FolderRow* row = RowOfButton(id)) {
        (this->*row->browser).Execute();
        return;
    }
    switch (id) {
    case IDC_MSDOSBOOTFILES1: MSDOSBootfiles1Click(); break;
    case IDC_WINDOWSREGISTRY1: WindowsRegistry1Click(); break;
    case IDC_WININISYSTEMINI1: WininiSystemini1Click(); break;
    case IDC_STARTMENU1: StartMenu1Click(); break;
    case IDC_DESKTOP1: Desktop1Click(); break;
    case IDC_SAVEINTERNET1: SaveInternet1Click(); break;
    case IDC_OTHERFILES1: Otherfiles1Click(); break;
    case IDC_BUTTON7: Button7Click(); break;
    case IDC_NETSCAPE1: Netscape1Click(); break;
    case IDC_IEXPLORER1: IExplorer1Click(); break;
    case IDC_BUTTON12: Button12Click(); break;
    case IDC_BUTTON5: Button5Click(); break;
    case IDC_BUTTON9: Button9Click(); break;
    case IDC_BUTTON1: Button1Click(); break;
    case IDC_BUTTON2: Button2Click(); break;
    default: break;
    }
}

void TForm2::Changed(int id)
{
    if (const FolderRow* row = RowOfField(id)) Settings.*row->setting = win::WindowText(Control(id));
    else if (id == IDC_EDIT5) Edit5Change();
}

void TForm2::SetChecked(HWND box, bool on)
{
    if (IsChecked(box) == on) return;
    SendMessageA(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Clicked(GetDlgCtrlID(box));
}

void TForm2::SetText(HWND edit, const std::string& text)
{
    // The field reports the change itself (EN_CHANGE), which runs its handler.
    if (win::WindowText(edit) != text) SetWindowTextA(edit, text.c_str());
}

std::string TForm2::WithoutTrailingBackslash(const std::string& s)
{
    return s.size() > 3 && s.back() == '\\' ? s.substr(0, s.size() - 1) : s;
}

void TForm2::FormActivate()
{
    SendMessageA(PageControl1, TCM_SETCURSEL, 0, 0);
    ShowPage(0);

    SetChecked(MSDOSBootfiles1, Settings.MSDOSBootFiles);
    SetChecked(WindowsRegistry1, Settings.WindowsRegistry);
    SetChecked(WininiSystemini1, Settings.WinIniSystemIni);
    SetChecked(StartMenu1, Settings.StartMenu);
    SetChecked(Desktop1, Settings.Desktop);
    SetChecked(SaveInternet1, Settings.SaveInternet);
    SetChecked(Otherfiles1, Settings.OtherFiles);

    SetText(Edit1, Settings.BootDir);
    SetText(Edit2, Settings.WinDir);
    SetText(Edit3, Settings.StartMenuDir);

    // A destination that cannot be entered (no disk in the drive) is kept as it is until
    // the user picks another; the pair goes on showing where the process stands. The
    // list reads its folders at once, so nothing has to be pumped before L2 is set.
    const std::string destination = WithoutTrailingBackslash(Settings.Target);
    if (win::DirectoryReady(destination)) {
        DriveComboBox1.SetDrive(Settings.Target[0]);
        DirectoryListBox1.SetDirectory(destination);
        L2.SetCaption(Settings.Target);
    }

    SetText(Edit5, Settings.NetscapeBookmarks);
    SetText(Edit6, Settings.IEFavorites);
    SetText(Edit7, Settings.DesktopDir);

    if (Settings.SaveNetscape) {
        SetChecked(Netscape1, true);
        EnableWindow(Edit5, TRUE);
        EnableWindow(Button7, TRUE);
    }
    // With both stored true the Netscape tick has just cleared this one: Netscape wins.
    if (Settings.SaveIExplorer) {
        SetChecked(IExplorer1, true);
        EnableWindow(Edit6, TRUE);
        EnableWindow(Button8, TRUE);
    }

    ListBox1.Clear();
    for (const std::string& file : Settings.OtherFileList) ListBox1.Add(file);
}

void TForm2::MSDOSBootfiles1Click() { Settings.MSDOSBootFiles = IsChecked(MSDOSBootfiles1); }
void TForm2::WindowsRegistry1Click() { Settings.WindowsRegistry = IsChecked(WindowsRegistry1); }
void TForm2::WininiSystemini1Click() { Settings.WinIniSystemIni = IsChecked(WininiSystemini1); }
void TForm2::StartMenu1Click() { Settings.StartMenu = IsChecked(StartMenu1); }
void TForm2::Desktop1Click() { Settings.Desktop = IsChecked(Desktop1); }
void TForm2::SaveInternet1Click() { Settings.SaveInternet = IsChecked(SaveInternet1); }
void TForm2::Otherfiles1Click() { Settings.OtherFiles = IsChecked(Otherfiles1); }

void TForm2::Edit5Change() { Settings.NetscapeBookmarks = win::WindowText(Edit5); }

void TForm2::Button7Click()
{
    if (OpenDialog1.Execute(Handle())) SetText(Edit5, OpenDialog1.FileName);
}

// The two boxes act as radio buttons that can be switched off: unticking one changes
// nothing, only ticking the other moves the choice.
void TForm2::Netscape1Click()
{
    if (!IsChecked(Netscape1)) return;
    SetChecked(IExplorer1, false);
    EnableWindow(Edit5, TRUE);
    EnableWindow(Button7, TRUE);
    EnableWindow(Edit6, FALSE);
    EnableWindow(Button8, FALSE);
    Settings.SaveNetscape = true;
    Settings.SaveIExplorer = false;
}

void TForm2::IExplorer1Click()
{
    if (!IsChecked(IExplorer1)) return;
    SetChecked(Netscape1, false);
    EnableWindow(Edit6, TRUE);
    EnableWindow(Button8, TRUE);
    EnableWindow(Edit5, FALSE);
    EnableWindow(Button7, FALSE);
    Settings.SaveIExplorer = true;
    Settings.SaveNetscape = false;
}

void TForm2::DirectoryListBox1Change()
{
    Settings.Target = win::WithTrailingBackslash(DirectoryListBox1.Directory());
    L2.SetCaption(Settings.Target);
}

void TForm2::Button12Click()
{
    // Visible as a control of its own, whichever page is showing.
    if (!(GetWindowLongA(Edit4, GWL_STYLE) & WS_VISIBLE)) {
        SetWindowTextA(Button12, "OK");
        ShowWindow(Label14.Handle(), SW_SHOW);
        ShowWindow(Edit4, SW_SHOW);
        SetWindowTextA(Edit4, "");
        return;
    }
    SetWindowTextA(Button12, "New Directory");
    ShowWindow(Label14.Handle(), SW_HIDE);
    ShowWindow(Edit4, SW_HIDE);
    const std::string path = win::WithTrailingBackslash(DirectoryListBox1.Directory()) + win::WindowText(Edit4);
    SECURITY_ATTRIBUTES sa{};
    sa.nLength = sizeof sa;
    sa.lpSecurityDescriptor = nullptr;
    sa.bInheritHandle = FALSE;
    if (CreateDirectoryA(path.c_str(), &sa))
        MessageBoxA(Handle(), "New directory created", "Information", MB_OK | MB_ICONINFORMATION);
    else
        MessageBoxA(Handle(), "Cannot create directory", "Warnung", MB_OK | MB_ICONWARNING);
    DirectoryListBox1.Update();
}

void TForm2::Button5Click()
{
    OpenDialog1.FilterIndex = 2;
    if (OpenDialog1.Execute(Handle())) ListBox1.Add(OpenDialog1.FileName);
    OpenDialog1.FilterIndex = 1;
}

void TForm2::Button9Click()
{
    LRESULT selected = SendMessageA(ListBox1.Handle(), LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) SendMessageA(ListBox1.Handle(), LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
}

void TForm2::Button1Click()
{
    std::vector<std::string> files;
    for (int i = 0; i < ListBox1.Count(); ++i) files.push_back(ListBox1.Item(i));
    // A failure leaves the dialog open: the error box reports it at the dialog's boundary.
    SaveSettings(Settings, IsChecked(Netscape1), IsChecked(IExplorer1), files);
    EndDialog(Handle(), IDOK);
}

void TForm2::Button2Click() { EndDialog(Handle(), IDCANCEL); }
