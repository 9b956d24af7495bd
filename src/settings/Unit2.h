// The configuration dialog. It keeps no settings of its own: every box and field writes
// straight into the main window's settings as it changes, so a cancelled dialog still
// leaves its changes in effect for this run; only OK stores them. The list of further
// files is the exception: it is edited as a copy and handed over on OK.
#pragma once

#include "settings/DirectoryList.h"
#include "settings/Settings.h"
#include "settings/ShellBrowser.h"
#include "win/Controls.h"
#include "win/Handles.h"
#include "win/OpenDialog.h"
#include "win/Window.h"

#include <string>
#include <vector>

class TForm2 : public win::Dialog {
public:
    // Edits settings, which belong to the owner window, in place.
    TForm2(HWND owner, TSettings& settings);

    // Runs the dialog modal to its owner; answers IDOK when the settings were stored.
    INT_PTR ShowModal();

    // Controls, valid while the dialog is open.
    HWND PageControl1 = nullptr;
    HWND Button1 = nullptr, Button2 = nullptr;
    HWND MSDOSBootfiles1 = nullptr, WindowsRegistry1 = nullptr, WininiSystemini1 = nullptr, StartMenu1 = nullptr,
         Desktop1 = nullptr, SaveInternet1 = nullptr, Otherfiles1 = nullptr;
    HWND Edit1 = nullptr, Edit2 = nullptr, Edit3 = nullptr, Edit7 = nullptr;
    HWND Button3 = nullptr, Button4 = nullptr, Button10 = nullptr, Button11 = nullptr;
    TDriveComboBox DriveComboBox1;
    TDirectoryListBox DirectoryListBox1;
    win::Label L2;
    HWND Button12 = nullptr, Edit4 = nullptr;
    win::Label Label14;
    HWND Netscape1 = nullptr, IExplorer1 = nullptr, Edit5 = nullptr, Button7 = nullptr, Edit6 = nullptr,
         Button8 = nullptr;
    HWND Button5 = nullptr, Button9 = nullptr;
    win::ListBox ListBox1;

    TShellBrowser ShellBrowser1, ShellBrowser2, ShellBrowser4, ShellBrowser5, ShellBrowser6;

    // The controls carry hints, but the dialog does not show them: only the menu bar's
    // hints are on. Switched on, they come in the program's tooltip style.
    bool ShowHint = false;
    std::string HintOf(HWND control) const;
    win::OpenDialog OpenDialog1;

    void FormActivate();
    void MSDOSBootfiles1Click();
    void WindowsRegistry1Click();
    void WininiSystemini1Click();
    void StartMenu1Click();
    void Desktop1Click();
    void SaveInternet1Click();
    void Otherfiles1Click();
    void Edit5Change();
    void Button7Click();
    void Netscape1Click();
    void IExplorer1Click();
    void DirectoryListBox1Change();
    void Button12Click();
    void Button5Click();
    void Button9Click();
    void Button1Click();
    void Button2Click();

    static std::string WithoutTrailingBackslash(const std::string& s);

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreatePages();
    void ShowPage(int index);
    void Command(int id, int code, HWND control);
    void Clicked(int id);
    void Changed(int id);
    // Setting a box or a field from code to a new value runs its handler, as a change by
    // the user does; setting the value it already has runs nothing.
    void SetChecked(HWND box, bool on);
    void SetText(HWND edit, const std::string& text);

    // A folder field with its browse button and folder picker, and the setting it edits.
    struct FolderRow {
        int button, field;
        TShellBrowser TForm2::*browser;
        std::string TSettings::*setting;
        bool prefix;  // a folder that paths are joined to: it keeps its closing backslash
    };
    static const FolderRow kFolderRows[5];
    static const FolderRow* RowOfButton(int id);
    static const FolderRow* RowOfField(int id);
    // A control of the dialog or of one of its pages.
    HWND Control(int id) const;
    // Tab runs from the tab strip through the page shown to "&Abbrechen" and "&OK". The
    // dialog manager would follow the windows' stacking instead, where the pages must
    // lie above the tab strip to be seen; so the dialog moves the focus itself.
    std::vector<HWND> TabOrder() const;
    void MoveFocus(bool backwards);
    static LRESULT CALLBACK TabFilter(int code, WPARAM wp, LPARAM lp);

    HWND owner_;
    TSettings& Settings;
    HWND pages_[5] = {};
    win::UniqueHook tabFilter_;
};
