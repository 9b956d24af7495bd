// The main window: status line, progress bar, message list and busy symbol, the menu,
// and the dispatch of every command to its handler.
#pragma once

#include "backup/ShFileOp.h"
#include "chrome/AnimSymbol.h"
#include "chrome/FlatHint.h"
#include "chrome/GradCaption.h"
#include "menus/Dock.h"
#include "menus/MenuBar.h"
#include "menus/MenuItemBitmaps.h"
#include "menus/SystemMenu.h"
#include "rescue/ShFormat.h"
#include "settings/Settings.h"
#include "win/Controls.h"
#include "win/Handles.h"
#include "win/LibrariesAhead.h"
#include "win/OpenDialog.h"
#include "win/Progress.h"
#include "win/Window.h"

#include <memory>
#include <string>

class TApplication;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// The window shows what a running command reports (win::Progress): L1 the status, PB1
// the steps, LB1 one line per item.
class TForm1 : public menus::TForm, public win::Progress {
public:
    // argumentCount: the command-line arguments after the program name; any makes
    // the first paint run one unattended backup and close the program.
    TForm1(TApplication& app, int argumentCount);
    ~TForm1() override;

    TApplication& Application() const noexcept { return app_; }

    // The menu: its commands reach RunCommand as WM_COMMAND, from the bar's drop-downs
    // and from its shortcuts alike.
    std::unique_ptr<menus::TMainMenu> MainMenu1;
    menus::TDock Dock1;
    menus::TMenuBar MB1;
    std::unique_ptr<menus::TMenuItemBitmaps> MenuItemBitmaps1, MenuItemBitmaps2, MenuItemBitmaps3, MenuItemBitmaps4,
        MenuItemBitmaps5;
    TAnimatedSymbol AS1;
    win::StatusLine L1;
    win::ProgressBar PB1;
    win::MessageList LB1;
    HWND B1 = nullptr;
    // The separating line is painted by the window itself, not a control of its own.
    RECT Bevel1{};

    TSettings Settings;

    // Every copy of the program: undoable, overwriting and making folders unasked, no
    // progress window.
    TShFileOP ShFileOP1{this, {shAllowUndo, shNoConfirmation, shNoConfirmMkDir, shSilent}};
    win::OpenDialog OpenDialog1{.Filter = "Quillmark. Log-File (*.log)|*.log"};

    // Formats the rescue floppy; a full format is preselected.
    TShFormat ShFormat1{TFormatOption::foFull};

    TGradientCaption GradientCaption1{*this};
    TFlatHint FlatHint1;

    void FormCreate();
    void FormPaint();
    void FormClose(TCloseAction& action);
    void Exit1Click();
    void Contents1Click();
    void Info1Click();
    // The file commands hand their work to the feature that does it (backup/, rescue/,
    // cleanup/, settings/), with what it works with.
    void Configuration1Click();
    void Start1Click();
    void Start();
    void Restore1Click();
    void CreateRescueBootDisk1Click();
    void EmptyCookies1Click();
    void EmptyRecentFiles1Click();
    void EmptyTempDirectory1Click();

    bool BackupStarted() const noexcept { return backupStarted_; }
    // How the last backup ended, the exit code of an unattended run: 0 every item
    // stored, 1 target not ready, 2 some items failed, 3 the run did not reach its end
    // (an error stopped it, or the window closed before it ended).
    int BackupExitCode() const noexcept { return backupExitCode_; }
    // True while a command runs; a second command is refused then.
    bool Busy() const noexcept { return busy_; }
    // Runs a menu command unless another one is running.
    bool RunCommand(int id);

    void ProcessMessages();

    void SetStatus(const std::string& text) override;
    void SetStepCount(int steps) override;
    void SetPosition(int position) override;
    void Step() override;
    void ClearLines() override;
    void AddLine(const std::string& line) override;
    void Pump() override;
    void ShowBeforeBlocking() override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void EnterBusy() override;
    void LeaveBusy() noexcept override;
    using Handler = void (TForm1::*)();
    static Handler HandlerFor(int id);
    void FitClientArea();
    void PrepareUnattendedRun();
    void EndUnattendedRun(const std::string& error);
    void CreateMenu();
    void CreateControls();
    void Layout();

    TApplication& app_;
    int argumentCount_;
    bool backupStarted_ = false;
    int backupExitCode_ = 0;
    bool unattendedEnded_ = false;
    win::LibrariesAhead librariesAhead_;
    static constexpr DWORD kPumpMs = 10;
    DWORD pumpedAt_ = 0;
    bool pumped_ = false;
    bool busy_ = false;
    win::UniqueFont font_;
};
