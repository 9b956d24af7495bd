#include "app/Unit1.h"

#include "app/About.h"
#include "app/Application.h"
#include "app/resource.h"
#include "backup/BackupRun.h"
#include "backup/RestoreRun.h"
#include "cleanup/CleanupCommands.h"
#include "rescue/RescueDisk.h"
#include "settings/Unit2.h"
#include "win/Error.h"
#include "win/Files.h"

#include <commctrl.h>

#include <algorithm>


namespace {

constexpr const char* kClassName = "TForm1";
constexpr int kClientWidth = 512;
constexpr int kClientHeight = 215;
constexpr int kDockHeight = 12;
constexpr int kListHeight = 69;

} // namespace

TForm1::TForm1(TApplication& app, int argumentCount) : app_(app), argumentCount_(argumentCount)
{
    // An unattended run copies as soon as the window shows, with the busy symbol
    // playing its clip: the shell and the clip's player load beside the window's start.
    if (argumentCount_) librariesAhead_.Load({"shell32.dll", "msvfw32.dll"});
    // Every copy of the program names exactly one file or folder.
    ShFileOP1.OneSourcePerLine = true;
    ShFormat1.SetOwner(app.Handle());
    GradientCaption1.CompanyText.SetCaption("Ardo's");
    GradientCaption1.CompanyText.SetFontKind(TFontKind::fkSystemBI);
    GradientCaption1.AppNameText.SetCaption("Quillmark");
    GradientCaption1.AppNameText.SetFontKind(TFontKind::fkSystemB);
    GradientCaption1.SetColorLeftActive(win::clMaroon);
    FlatHint1.SetHintStyle(THintStyle::hsOffice97);
    RegisterClassOnce(kClassName, app.Icon(), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), app.SmallIcon());
    RECT r{0, 0, win::Scale(kClientWidth), win::Scale(kClientHeight)};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    // No button on the taskbar: the application window carries it, under the program's title.
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    // The menu bar is a control in the client area, not the platform's: counting one in
    // would make the window too tall, and FitClientArea would size it a second time (2 ms).
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    Create(exStyle, kClassName, "Ardo's Quillmark ", style, 197, 165, r.right - r.left, r.bottom - r.top,
           app.Handle(), nullptr);
    GradientCaption1.Loaded();
    CreateControls();
    if (argumentCount_) PrepareUnattendedRun();
    FormCreate();
    Loaded();
    app.SetMainForm(Handle());
}

TForm1::~TForm1()
{
    if (argumentCount_) app_.ReportErrorsTo(nullptr);
    GradientCaption1.FormDestroying();
    if (app_.MainForm() == Handle()) app_.SetMainForm(nullptr);
    Destroy();
}

void TForm1::CreateControls()
{
    font_.reset(CreateFontA(-win::Scale(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                            "MS Sans Serif"));
    HWND self = Handle();

    CreateMenu();
    // The menu bar makes its dock taller than the design's: the controls above the
    // separating line move down by the difference, so that the dock covers none of
    // them. The client area, the line and the list stay as designed.
    const int shift = std::max(0, Dock1.Height() - win::Scale(kDockHeight));

    AS1.SetAutoPlay(false);
    AS1.CreateWnd(self, IDC_AS1, 16, 16, 281, 49);

    L1.Attach(win::CreateChild(self, IDC_L1, "STATIC", "Bereit!", SS_LEFT | SS_NOPREFIX, 16, 81, 281, 16));
    PB1.Attach(win::CreateChild(self, IDC_PB1, PROGRESS_CLASSA, "", 0, 15, 100, 380, 16));
    PB1.SetMax(100);
    SendMessageA(PB1.Handle(), PBM_SETSTEP, 1, 0);
    B1 = win::CreateChild(self, IDC_B1, "BUTTON", "&Abbrechen", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_DISABLED, 404, 94,
                          101, 28);
    Bevel1 = {win::Scale(1), win::Scale(140), win::Scale(1 + 510), win::Scale(140 + 2)};
    // Without WS_VSCROLL: the message list keeps its scroll bar itself (win::MessageList).
    LB1.Attach(win::CreateChild(self, IDC_LB1, "LISTBOX", "", WS_TABSTOP | LBS_NOINTEGRALHEIGHT,
                                0, 0, kClientWidth, kListHeight, WS_EX_CLIENTEDGE));
    for (HWND w : {L1.Handle(), PB1.Handle(), B1, LB1.Handle()}) win::SetFont(w, font_.get());
    SendMessageA(LB1.Handle(), LB_SETITEMHEIGHT, 0, win::Scale(16));
    AS1.MoveBy(0, shift);
    for (HWND w : {L1.Handle(), PB1.Handle(), B1}) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, self, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(w, nullptr, r.left, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitClientArea();
    Layout();
}

void TForm1::CreateMenu()
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    HWND self = Handle();
    HMENU menu = LoadMenuA(inst, MAKEINTRESOURCEA(IDR_MAINMENU));
    if (!menu) throw win::Error("Menü nicht gefunden");
    MainMenu1 = std::make_unique<menus::TMainMenu>(menu);
    auto& items = MainMenu1->Items();
    const char* topNames[] = {"File1", "Utilities1", "N2"};
    for (size_t i = 0; i < items.Items.size() && i < 3; ++i) items.Items[i]->Name = topNames[i];
    static const std::pair<int, const char*> names[] = {
        {IDM_CONFIGURATION, "Configuration1"}, {IDM_RESCUEDISK, "CreateRescueBootDisk1"}, {IDM_START, "Start1"},
        {IDM_RESTORE, "Restore1"}, {IDM_EXIT, "Exit1"}, {IDM_EMPTYCOOKIES, "EmptyCookies1"},
        {IDM_EMPTYRECENT, "EmptyRecentFiles1"}, {IDM_EMPTYTEMP, "EmptyTempDirectory1"}, {IDM_CONTENTS, "Contents1"},
        {IDM_INFO, "Info1"}};
    for (const auto& [id, name] : names)
        if (menus::TMenuItem* item = items.FindCommand(static_cast<UINT>(id))) item->Name = name;

    Dock1.CreateWnd(self, IDC_DOCK1, win::Scale(kDockHeight));
    MB1.OpenAnimation = menus::TAnimation::anUnfold;
    MB1.ShowHint = true;
    MB1.StatusBarIndex = 0;
    MB1.Font = font_.get();
    MB1.CreateWnd(Dock1.Handle(), self);
    MB1.SetMainMenu(MainMenu1.get());
    Dock1.AdjustSize();

    // One image each, the same in both states of the item.
    auto image = [&](int id, const char* resource) {
        auto b = std::make_unique<menus::TMenuItemBitmaps>(self);
        b->SetSingleBitmap(true);
        b->SetUncheckedBmpResource(resource);
        b->SetMenuItem(items.FindCommand(static_cast<UINT>(id)));
        return b;
    };
    MenuItemBitmaps1 = image(IDM_EMPTYRECENT, "MENURECENT");
    MenuItemBitmaps2 = image(IDM_EMPTYCOOKIES, "MENUCOOKIES");
    MenuItemBitmaps3 = image(IDM_RESCUEDISK, "MENURESCUE");
    MenuItemBitmaps4 = image(IDM_START, "MENUBACKUP");
    MenuItemBitmaps5 = image(IDM_RESTORE, "MENURESTORE");
}

// The frame the platform draws may differ from what AdjustWindowRectEx predicts; the
// client area is what the design fixes.
void TForm1::FitClientArea()
{
    RECT client, window;
    GetClientRect(Handle(), &client);
    GetWindowRect(Handle(), &window);
    const int dw = win::Scale(kClientWidth) - client.right;
    const int dh = win::Scale(kClientHeight) - client.bottom;
    if (dw || dh)
        SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The message list sits on the bottom edge at full width, whether or not the menu
// bar takes room above the client area.
void TForm1::Layout()
{
    RECT r;
    GetClientRect(Handle(), &r);
    const int h = win::Scale(kListHeight);
    MoveWindow(LB1.Handle(), 0, r.bottom - h, r.right, h, TRUE);
}

void TForm1::FormCreate()
{
    // The old runtime released one reference to OleAut32 here; no result is looked at.
    if (HMODULE ole = GetModuleHandleA("OleAut32")) FreeLibrary(ole);
    backupStarted_ = false;
    AS1.SetAVIName(win::ProgramFolder() + "s.dll");
    LoadSettings(Settings);
}

// A scheduled backup has nobody to press a button: no prompt for a missing medium, no
// error box of the shell's copy and none of the program's own. What went wrong is the
// list line and the exit code.
void TForm1::PrepareUnattendedRun()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    ShFileOP1.NoErrorUI = true;
    // Until a run has ended, a close is a run that did not reach its end.
    backupExitCode_ = backup::kNotEnded;
    app_.ReportErrorsTo([this](const std::string& error) { EndUnattendedRun(error); });
}

// An error that would have shown the standard error box ends the unattended run: it is
// listed, and the program closes instead of waiting for the box to be closed.
void TForm1::EndUnattendedRun(const std::string& error)
{
    try {
        LB1.Add(error);
    } catch (...) {
        // The list is only where the error is told; the exit code tells it anyway.
    }
    backupExitCode_ = backup::kNotEnded;
    unattendedEnded_ = true;
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TForm1::FormPaint()
{
    if (argumentCount_ == 0 || backupStarted_ || unattendedEnded_) return;
    MessageBeep(0);
    MB1.Hide();
    if (RunCommand(IDM_START)) Exit1Click();
}

void TForm1::FormClose(TCloseAction& action)
{
    // The settings, the list of further files with them, live as long as this window:
    // a command still running when the close arrives reads them to its end.
    action = TCloseAction::caFree;
}

void TForm1::Exit1Click() { SendMessageA(Handle(), WM_CLOSE, 0, 0); }

void TForm1::Contents1Click() { WinHelpA(Handle(), app_.HelpFile.c_str(), HELP_CONTEXT, 1); }

void TForm1::Info1Click() { ShowAbout(app_.Handle(), app_.Icon()); }

void TForm1::ProcessMessages() { app_.ProcessMessages(); }

void TForm1::Configuration1Click()
{
    // A new dialog each time, released when it closes. Nothing is reloaded afterwards:
    // the dialog has worked on the settings in memory, whichever button closed it.
    TForm2 Form2(Handle(), Settings);
    Form2.ShowModal();
}

void TForm1::Start1Click() { Start(); }

void TForm1::Start()
{
    backupStarted_ = true;
    // A run that an error stops, or a close request arriving before its end, cannot
    // vouch for what it copied.
    backupExitCode_ = backup::kNotEnded;
    backupExitCode_ = backup::RunBackup(Settings, ShFileOP1, *this);
}

void TForm1::Restore1Click()
{
    if (OpenDialog1.Execute(Handle())) backup::RestoreFromRecord(OpenDialog1.FileName, ShFileOP1, *this);
}

void TForm1::CreateRescueBootDisk1Click()
{
    rescue::CreateRescueBootDisk(Handle(), app_.Handle(), Settings, ShFormat1, ShFileOP1, *this);
}

void TForm1::EmptyCookies1Click() { cleanup::EmptyCookies(Handle(), Settings, *this); }
void TForm1::EmptyRecentFiles1Click() { cleanup::EmptyRecentFiles(Handle(), Settings, *this); }
void TForm1::EmptyTempDirectory1Click() { cleanup::EmptyTempDirectory(Handle(), Settings, *this); }

void TForm1::SetStatus(const std::string& text) { L1.SetCaption(text); }
void TForm1::SetStepCount(int steps) { PB1.SetMax(steps); }
void TForm1::SetPosition(int position) { PB1.SetPosition(position); }
void TForm1::Step() { PB1.StepIt(); }
void TForm1::ClearLines() { LB1.Clear(); }
void TForm1::AddLine(const std::string& line) { LB1.Add(line); }
void TForm1::Pump()
{
    // Under Wine a look into the queue costs a tenth of a small file's copy, and a
    // command pumps for every file: a hundred looks a second serve the frames' timers
    // and the user's input in time.
    const DWORD now = GetTickCount();
    if (pumped_ && now - pumpedAt_ < kPumpMs) return;
    pumped_ = true;
    pumpedAt_ = now;
    ProcessMessages();
}

void TForm1::ShowBeforeBlocking()
{
    L1.ShowWaiting();
    PB1.ShowWaiting();
}

TForm1::Handler TForm1::HandlerFor(int id)
{
    switch (id) {
    case IDM_CONFIGURATION: return &TForm1::Configuration1Click;
    case IDM_EXIT: return &TForm1::Exit1Click;
    case IDM_CONTENTS: return &TForm1::Contents1Click;
    case IDM_INFO: return &TForm1::Info1Click;
    case IDM_START: return &TForm1::Start1Click;
    case IDM_RESTORE: return &TForm1::Restore1Click;
    case IDM_RESCUEDISK: return &TForm1::CreateRescueBootDisk1Click;
    case IDM_EMPTYCOOKIES: return &TForm1::EmptyCookies1Click;
    case IDM_EMPTYRECENT: return &TForm1::EmptyRecentFiles1Click;
    case IDM_EMPTYTEMP: return &TForm1::EmptyTempDirectory1Click;
    default: return nullptr;
    }
}

bool TForm1::RunCommand(int id)
{
    Handler h = HandlerFor(id);
    if (!h) return false;
    if (busy_ || app_.ShowingError()) {
        // A shortcut that arrives while a command runs, or behind the error box, is
        // refused, never queued.
        MessageBeep(0xFFFFFFFF);
        return false;
    }
    busy_ = true;
    struct Reset {
        bool& b;
        ~Reset() { b = false; }
    } reset{busy_};
    (this->*h)();
    return true;
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
        if (lp == 0) {
            RunCommand(LOWORD(wp));
            return 0;
        }
        if (AS1.HandleAllocated() && reinterpret_cast<HWND>(lp) == AS1.Handle()) AS1.Notification(HIWORD(wp));
        return 0;
    case WM_PAINT: {
        {
            win::PaintScope paint(Handle());
            RECT line = Bevel1;
            DrawEdge(paint.dc(), &line, EDGE_ETCHED, BF_TOP);
        }
        FormPaint();
        return 0;
    }
    case WM_SIZE:
        if (LB1.Handle()) Layout();
        return 0;
    case WM_GETFONT:
        // The font of its controls, for whatever asks the window for its font.
        return reinterpret_cast<LRESULT>(font_.get());
    case WM_CLOSE: {
        TCloseAction action = TCloseAction::caHide;
        FormClose(action);
        // A scheduler that started an unattended backup learns how it went.
        if (action != TCloseAction::caNone) app_.Terminate(argumentCount_ ? backupExitCode_ : 0);
        return 0;
    }
    default:
        return TForm::HandleMessage(msg, wp, lp);
    }
}

void TForm1::EnterBusy()
{
    try {
        AS1.SetAutoPlay(true);
    } catch (...) {
        // A clip that cannot be opened stops the command before its first step; the
        // symbol must be off again so that the next command tries the clip anew.
        win::Guarded([this] { AS1.SetAutoPlay(false); });
        // The unattended mode hid the menu bar before the command began.
        MB1.Show();
        throw;
    }
    MB1.Hide();
}

void TForm1::LeaveBusy() noexcept
{
    // What the command reported last shows at once, not a frame later.
    win::Guarded([this] {
        PB1.ShowWaiting();
        L1.ShowWaiting();
        LB1.ShowWaiting();
    });
    // Leaving must not fail: closing a clip cannot raise, but recreating the control might.
    win::Guarded([this] { AS1.SetAutoPlay(false); });
    MB1.Show();
}
