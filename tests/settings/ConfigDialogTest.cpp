// The configuration dialog, opened through the main window's command and worked from a
// second thread the way a user works it: tabs, boxes, fields, the shell's folder
// browser, the file-open dialog and the message boxes are the real ones.
#include "app/Unit1.h"

#include "AppEnv.h"
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"
#include "settings/ShellBrowser.h"
#include "settings/Unit2.h"
#include "settings/Unit2Res.h"
#include "win/Registry.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace {

const char* kCaption = "Quillmark-Configuration";
const char* kOwn = "Software\\ZUNT\\Pelmora";
const char* kList = "Software\\ZUNT\\Pelmora\\OtherFiles";

HWND FindTop(DWORD pid, const std::function<bool(HWND)>& match, DWORD timeoutMs = 10000)
{
    HWND found = nullptr;
    driver::WaitUntil(
        [&] {
            for (HWND w : driver::TopWindows(pid, "#32770"))
                if (match(w)) found = w;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

// The configuration dialog as a user sees it: controls on its pages, found by their ids.
struct Dlg {
    HWND w;
    DWORD pid = GetCurrentProcessId();

    HWND operator[](int id) const
    {
        struct Ctx {
            int id;
            HWND found;
        } ctx{id, nullptr};
        EnumChildWindows(
            w,
            [](HWND c, LPARAM lp) -> BOOL {
                auto* x = reinterpret_cast<Ctx*>(lp);
                if (GetDlgCtrlID(c) != x->id) return TRUE;
                x->found = c;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&ctx));
        return ctx.found;
    }
    // A click on a tab, where the user clicks.
    void Tab(int index) const
    {
        HWND tab = (*this)[IDC_PAGECONTROL1];
        RECT r{};
        SendMessageA(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(tab, WM_LBUTTONUP, 0, at);
    }
    void Click(int id) const { SendMessageA((*this)[id], BM_CLICK, 0, 0); }
    // For buttons that open a window of their own: the click must not wait for it.
    void PostClick(int id) const { PostMessageA((*this)[id], BM_CLICK, 0, 0); }
    bool Checked(int id) const { return SendMessageA((*this)[id], BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled((*this)[id]) != FALSE; }
    bool Shown(int id) const { return IsWindowVisible((*this)[id]) != FALSE; }
    std::string Text(int id) const { return driver::Text((*this)[id]); }
    void Type(int id, const std::string& s) const
    {
        SendMessageA((*this)[id], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
    // Another dialog of ours over this one: a message box, the browser, the file dialog.
    HWND Other(const char* caption = nullptr) const
    {
        return FindTop(pid, [&](HWND d) { return d != w && (!caption || driver::Text(d) == caption); });
    }
    bool OtherGone() const
    {
        return driver::WaitUntil([&] {
            for (HWND d : driver::TopWindows(pid, "#32770"))
                if (d != w) return false;
            return true;
        });
    }
    // Answers the next message box with OK; what it said, as caption "|" text.
    std::string Answer() const
    {
        HWND box = Other();
        if (!box) return "no box";
        std::string said = driver::Text(box) + "|" + driver::MessageText(box);
        driver::Press(box, IDOK);
        OtherGone();
        return said;
    }
    bool Gone() const
    {
        return driver::WaitUntil([&] { return !IsWindow(w); });
    }
};

std::string StoredString(const char* key, const char* name)
{
    auto k = win::OpenKey(HKEY_CURRENT_USER, key);
    return win::ValueExists(k.get(), name) ? win::ReadString(k.get(), name) : "<absent>";
}

// Types a file name into the file-open dialog and confirms it.
void ChooseFile(HWND open, const std::string& path)
{
    SetDlgItemTextA(open, GetDlgItem(open, cmb13) ? cmb13 : edt1, path.c_str());
    driver::Press(open, IDOK);
}

bool StoredFlag(const char* name)
{
    auto k = win::OpenKey(HKEY_CURRENT_USER, kOwn);
    return win::ValueExists(k.get(), name) && win::ReadBool(k.get(), name);
}

class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings(target_);
        Restart();
    }
    void TearDown() override
    {
        form.reset();
        SetCurrentDirectoryA("C:\\");
        win95::ClearSettings();
    }
    // A new main window loads the settings anew, as a new start of the program does.
    void Restart()
    {
        form.reset();
        form = std::make_unique<TForm1>(testenv::App(), 0);
    }
    // Chooses "Konfiguration..." and works the dialog with script from another thread;
    // returns once the dialog has closed. Whatever the script leaves open is cancelled.
    void Configure(const std::function<void(const Dlg&)>& script)
    {
        std::thread user([&] {
            HWND w = FindTop(GetCurrentProcessId(), [](HWND d) { return driver::Text(d) == kCaption; });
            if (!w) return;
            Dlg d{w};
            script(d);
            for (HWND other : driver::TopWindows(d.pid, "#32770"))
                if (other != w) PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
            d.OtherGone();
            if (IsWindow(w)) PostMessageA(w, WM_CLOSE, 0, 0);
        });
        EXPECT_TRUE(form->RunCommand(IDM_CONFIGURATION));
        user.join();
    }

    std::string target_ = "C:\\qmtest\\ziel\\";
    std::unique_ptr<TForm1> form;
};

// The dialog opens on what is stored: every box and field, the browser choice, the
// target and the list; with its German texts and the tab order of its first page.
TEST_F(ConfigDialogTest, OpensOnTheStoredSettingsWithItsTextsAndTabOrder)
{
    win95::MakeDirs(target_);
    TSettings stored;
    stored.MSDOSBootFiles = stored.WinIniSystemIni = stored.Desktop = stored.SaveInternet = true;
    stored.SaveIExplorer = true;
    stored.BootDir = "C:\\";
    stored.WinDir = "C:\\WINDOWS\\";
    stored.StartMenuDir = "C:\\WINDOWS\\Start Menu";
    stored.DesktopDir = "C:\\WINDOWS\\Desktop";
    stored.NetscapeBookmarks = "C:\\Programme\\Netscape\\bookmark.htm";
    stored.IEFavorites = "C:\\WINDOWS\\Favorites";
    stored.Target = target_;
    win95::ClearSettings();
    SaveSettings(stored, true, true, {"C:\\a.txt", "C:\\b.txt"});
    Restart();
    Configure([&](const Dlg& d) {
        const std::pair<int, bool> boxes[] = {
            {IDC_MSDOSBOOTFILES1, true}, {IDC_WINDOWSREGISTRY1, false}, {IDC_WININISYSTEMINI1, true},
            {IDC_STARTMENU1, false},     {IDC_DESKTOP1, true},          {IDC_SAVEINTERNET1, true},
            {IDC_OTHERFILES1, false},    {IDC_NETSCAPE1, false},        {IDC_IEXPLORER1, true}};
        for (auto [id, on] : boxes) EXPECT_EQ(d.Checked(id), on) << id;
        const std::pair<int, std::string> fields[] = {
            {IDC_EDIT1, stored.BootDir},           {IDC_EDIT2, stored.WinDir},
            {IDC_EDIT3, stored.StartMenuDir},      {IDC_EDIT7, stored.DesktopDir},
            {IDC_EDIT5, stored.NetscapeBookmarks}, {IDC_EDIT6, stored.IEFavorites},
            {IDC_L2, target_}};
        for (const auto& [id, text] : fields) EXPECT_EQ(d.Text(id), text) << id;
        EXPECT_TRUE(d.Enabled(IDC_EDIT6) && d.Enabled(IDC_BUTTON8));
        EXPECT_FALSE(d.Enabled(IDC_EDIT5) || d.Enabled(IDC_BUTTON7));
        ASSERT_EQ(SendMessageA(d[IDC_LISTBOX1], LB_GETCOUNT, 0, 0), 2);

        EXPECT_EQ(driver::Text(d.w), kCaption);
        EXPECT_EQ(d.Text(IDC_BUTTON1), "&OK");
        EXPECT_EQ(d.Text(IDC_BUTTON2), "&Abbrechen");
        const char* tabs[] = {"Allgemein", "Verzeichnisse", "Ziel", "Internet", "Weitere Dateien"};
        for (int i = 0; i < 5; ++i) {
            char text[64] = {};
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(d[IDC_PAGECONTROL1], TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            EXPECT_STREQ(text, tabs[i]);
        }

        // Tab from the tab strip: the first page's boxes, then "&Abbrechen", then "&OK",
        // and round again.
        const DWORD thread = GetWindowThreadProcessId(d.w, nullptr);
        auto focus = [&] {
            GUITHREADINFO info{sizeof info};
            GetGUIThreadInfo(thread, &info);
            return info.hwndFocus;
        };
        auto tab = [&] {
            HWND from = focus();
            PostMessageA(from, WM_KEYDOWN, VK_TAB, 0);
            driver::WaitUntil([&] { return focus() != from; }, 2000);
        };
        std::vector<int> order{GetDlgCtrlID(focus())};
        for (int i = 0; i < 10; ++i) {
            tab();
            order.push_back(GetDlgCtrlID(focus()));
        }
        EXPECT_EQ(order, (std::vector<int>{IDC_PAGECONTROL1, IDC_MSDOSBOOTFILES1, IDC_WINDOWSREGISTRY1,
                                           IDC_WININISYSTEMINI1, IDC_STARTMENU1, IDC_DESKTOP1, IDC_SAVEINTERNET1,
                                           IDC_OTHERFILES1, IDC_BUTTON2, IDC_BUTTON1, IDC_PAGECONTROL1}));
    });
}

TEST_F(ConfigDialogTest, FurtherFilesChangeOnlyWithOk)
{
    const std::string file = win95::ScratchDir("weitere") + "\\Adressen.txt";
    win95::WriteFile(file, "Anna");
    auto add = [&](const Dlg& d) {
        d.Tab(4);
        const LRESULT before = SendMessageA(d[IDC_LISTBOX1], LB_GETCOUNT, 0, 0);
        d.PostClick(IDC_BUTTON5);
        HWND open = d.Other();
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(SendDlgItemMessageA(open, cmb1, CB_GETCURSEL, 0, 0), 1) << "All Files preselected";
        ChooseFile(open, file);
        EXPECT_TRUE(d.OtherGone());
        ASSERT_EQ(SendMessageA(d[IDC_LISTBOX1], LB_GETCOUNT, 0, 0), before + 1);
    };
    Configure([&](const Dlg& d) {
        add(d);
        d.Click(IDC_BUTTON2);
        EXPECT_TRUE(d.Gone());
    });
    EXPECT_TRUE(form->Settings.OtherFileList.empty());
    EXPECT_EQ(StoredString(kList, "Count"), "<absent>");

    Configure([&](const Dlg& d) {
        d.Tab(4);
        EXPECT_EQ(SendMessageA(d[IDC_LISTBOX1], LB_GETCOUNT, 0, 0), 0) << "the cancelled file is gone";
        add(d);
        add(d);
        // Löschen without a selection deletes nothing; with one, that entry.
        SendMessageA(d[IDC_LISTBOX1], LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        d.Click(IDC_BUTTON9);
        EXPECT_EQ(SendMessageA(d[IDC_LISTBOX1], LB_GETCOUNT, 0, 0), 2);
        SendMessageA(d[IDC_LISTBOX1], LB_SETCURSEL, 1, 0);
        d.Click(IDC_BUTTON9);
        EXPECT_EQ(SendMessageA(d[IDC_LISTBOX1], LB_GETCOUNT, 0, 0), 1);
        d.Click(IDC_BUTTON1);
        EXPECT_TRUE(d.Gone());
    });
    EXPECT_EQ(form->Settings.OtherFileList, std::vector<std::string>{file});
    EXPECT_EQ(StoredString(kList, "0"), file);
    auto k = win::OpenKey(HKEY_CURRENT_USER, kList);
    EXPECT_EQ(win::ReadInteger(k.get(), "Count"), 1);
}

TEST_F(ConfigDialogTest, BrowsersActAsRadioButtonsThatCanBeSwitchedOff)
{
    {
        auto k = win::CreateKey(HKEY_CURRENT_USER, kOwn);
        win::WriteBool(k.get(), "SaveNetscape", true);
        win::WriteBool(k.get(), "SaveIExplorer", true);
    }
    Restart();
    Configure([&](const Dlg& d) {
        d.Tab(3);
        EXPECT_TRUE(d.Checked(IDC_NETSCAPE1));
        EXPECT_FALSE(d.Checked(IDC_IEXPLORER1)) << "both stored true: Netscape wins";
        EXPECT_FALSE(form->Settings.SaveIExplorer);
        EXPECT_TRUE(d.Enabled(IDC_EDIT5) && d.Enabled(IDC_BUTTON7));
        EXPECT_FALSE(d.Enabled(IDC_EDIT6) || d.Enabled(IDC_BUTTON8));

        d.Click(IDC_IEXPLORER1);
        EXPECT_FALSE(d.Checked(IDC_NETSCAPE1));
        EXPECT_TRUE(form->Settings.SaveIExplorer);
        EXPECT_FALSE(form->Settings.SaveNetscape);
        EXPECT_TRUE(d.Enabled(IDC_EDIT6) && d.Enabled(IDC_BUTTON8));
        EXPECT_FALSE(d.Enabled(IDC_EDIT5) || d.Enabled(IDC_BUTTON7));

        // Unticking the chosen browser changes neither the flags nor the fields.
        d.Click(IDC_IEXPLORER1);
        EXPECT_FALSE(d.Checked(IDC_IEXPLORER1));
        EXPECT_TRUE(form->Settings.SaveIExplorer);
        EXPECT_FALSE(form->Settings.SaveNetscape);
        EXPECT_TRUE(d.Enabled(IDC_EDIT6));
        EXPECT_FALSE(d.Enabled(IDC_EDIT5));
        d.Click(IDC_BUTTON2);
    });
}

TEST_F(ConfigDialogTest, PathForTheUntickedBrowserStaysInMemoryOnly)
{
    {
        auto k = win::CreateKey(HKEY_CURRENT_USER, kOwn);
        win::WriteString(k.get(), "IEFavorites", "C:\\Alt\\Favoriten");
    }
    Restart();
    Configure([&](const Dlg& d) {
        d.Tab(3);
        for (int id : {IDC_EDIT5, IDC_BUTTON7, IDC_EDIT6, IDC_BUTTON8}) EXPECT_TRUE(d.Enabled(id)) << id;
        d.Type(IDC_EDIT6, win95::kFavorites);
        EXPECT_EQ(form->Settings.IEFavorites, win95::kFavorites);
        d.Click(IDC_NETSCAPE1);
        d.Click(IDC_BUTTON1);
        EXPECT_TRUE(d.Gone());
    });
    EXPECT_EQ(form->Settings.IEFavorites, win95::kFavorites);
    EXPECT_EQ(StoredString(kOwn, "IEFavorites"), "C:\\Alt\\Favoriten");
    EXPECT_TRUE(StoredFlag("SaveNetscape"));
    Restart();
    EXPECT_EQ(form->Settings.IEFavorites, "C:\\Alt\\Favoriten");
}

TEST_F(ConfigDialogTest, PickedFoldersFollowTheSelectionAndOnlyPrefixesGetABackslash)
{
    const std::string picked = win95::ScratchDir("Gewaehlt");
    // Moves the real browse dialog to a folder and closes it with its cancel button.
    auto pick = [&](const Dlg& d, int button, const std::function<void(HWND)>& select) {
        d.PostClick(button);
        HWND browser = d.Other();
        ASSERT_NE(browser, nullptr);
        select(browser);
        PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(d.OtherGone());
    };
    // A browse dialog still setting itself up may pass over a selection: it is asked
    // again until its field reports the folder.
    auto path = [&](const Dlg& d, int field) {
        return [&d, &picked, field](HWND browser) {
            driver::WaitUntil([&] {
                SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(picked.c_str()));
                Sleep(100);
                return d.Text(field).rfind(picked, 0) == 0;
            });
        };
    };
    Configure([&](const Dlg& d) {
        d.Tab(1);
        pick(d, IDC_BUTTON3, path(d, IDC_EDIT1));
        EXPECT_EQ(d.Text(IDC_EDIT1), picked + "\\");
        EXPECT_EQ(form->Settings.BootDir, picked + "\\");
        pick(d, IDC_BUTTON10, path(d, IDC_EDIT3));
        EXPECT_EQ(d.Text(IDC_EDIT3), picked);
        EXPECT_EQ(form->Settings.StartMenuDir, picked);

        // My Computer has no path: its display name is taken as it is.
        UniqueItemList computer;
        ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, computer.put()), S_OK);
        SHFILEINFOA info{};
        SHGetFileInfoA(reinterpret_cast<const char*>(computer.get()), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME);
        ASSERT_STRNE(info.szDisplayName, "");
        pick(d, IDC_BUTTON11, [&](HWND browser) {
            SendMessageA(browser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer.get()));
        });
        EXPECT_EQ(d.Text(IDC_EDIT7), info.szDisplayName);
        EXPECT_EQ(form->Settings.DesktopDir, info.szDisplayName);
        d.Click(IDC_BUTTON2);
    });
    EXPECT_EQ(form->Settings.BootDir, picked + "\\") << "kept for this run after Abbrechen";
}

TEST_F(ConfigDialogTest, ShellBrowserAnswersTheConfirmedFolderOrNothing)
{
    const std::string root = win95::ScratchDir("Wurzel");
    win95::MakeDirs(root + "\\Innen");
    TShellBrowser browser;
    browser.InitialPath = root + "\\Innen";
    browser.SetCaption("Ordner");
    std::vector<std::string> reported;
    std::atomic<int> shown{0};
    browser.OnSelChange = [&](TShellBrowser&, const std::string& f, bool isName) {
        if (!isName) reported.push_back(f);
        ++shown;
    };
    EXPECT_EQ(browser.Flags(), 0x0009u);
    for (int button : {IDOK, IDCANCEL}) {
        reported.clear();
        shown = 0;
        std::string title;
        std::thread user([&] {
            HWND w = FindTop(GetCurrentProcessId(), [](HWND) { return true; });
            if (!w) return;
            // The user moves to the inner folder and answers once it shows as selected.
            const std::string inner = root + "\\Innen";
            SendMessageA(w, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(inner.c_str()));
            driver::WaitUntil([&] { return shown > 0; }, 5000);
            title = driver::Text(w);
            PostMessageA(w, WM_COMMAND, button, 0);
        });
        bool confirmed = browser.Execute();
        user.join();
        EXPECT_EQ(title, "Ordner");
        EXPECT_EQ(browser.DialogWindow(), nullptr);
        ASSERT_FALSE(reported.empty());
        EXPECT_EQ(reported.back(), root + "\\Innen");
        EXPECT_EQ(confirmed, button == IDOK);
        EXPECT_EQ(browser.Folder(), button == IDOK ? root + "\\Innen" : "");
        EXPECT_EQ(browser.DisplayName(), button == IDOK ? "Innen" : "");
    }
}

TEST_F(ConfigDialogTest, DestinationFollowsTheDirectoryPair)
{
    win95::ScratchDir("ziel");
    win95::Remove("A:\\Sicherung");
    Configure([&](const Dlg& d) {
        d.Tab(2);
        EXPECT_EQ(form->Settings.Target, target_) << "the stored destination is entered unchanged";
        EXPECT_EQ(d.Text(IDC_L2), target_);
        HWND list = d[IDC_DIRECTORYLISTBOX1];

        // A new folder: two steps, the list stays where it is, the destination with it.
        EXPECT_FALSE(d.Shown(IDC_EDIT4));
        d.Click(IDC_BUTTON12);
        EXPECT_EQ(d.Text(IDC_BUTTON12), "OK");
        EXPECT_TRUE(d.Shown(IDC_EDIT4) && d.Shown(IDC_LABEL14));
        d.Type(IDC_EDIT4, "Neu");
        d.PostClick(IDC_BUTTON12);
        EXPECT_EQ(d.Answer(), "Information|New directory created");
        EXPECT_TRUE(win95::IsDir(target_ + "Neu"));
        EXPECT_EQ(d.Text(IDC_BUTTON12), "New Directory");
        EXPECT_FALSE(d.Shown(IDC_EDIT4) || d.Shown(IDC_LABEL14));
        EXPECT_EQ(form->Settings.Target, target_);
        EXPECT_NE(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Neu")),
                  LB_ERR);

        // An empty name names the current folder itself, which exists.
        d.Click(IDC_BUTTON12);
        EXPECT_EQ(d.Text(IDC_EDIT4), "");
        d.PostClick(IDC_BUTTON12);
        EXPECT_EQ(d.Answer(), "Warnung|Cannot create directory");
        EXPECT_EQ(d.Text(IDC_BUTTON12), "New Directory");

        // Another drive moves the destination at once, to that drive's current folder.
        HWND drives = d[IDC_DRIVECOMBOBOX1];
        LRESULT a = SendMessageA(drives, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("a:"));
        ASSERT_NE(a, CB_ERR);
        SendMessageA(drives, CB_SETCURSEL, static_cast<WPARAM>(a), 0);
        SendMessageA(GetParent(drives), WM_COMMAND, MAKEWPARAM(IDC_DRIVECOMBOBOX1, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(drives));
        EXPECT_EQ(lstrcmpiA(form->Settings.Target.c_str(), "a:\\"), 0) << form->Settings.Target;
        EXPECT_EQ(d.Text(IDC_L2), form->Settings.Target);

        // Opening a folder of the list makes it the destination, with its backslash.
        d.Click(IDC_BUTTON12);
        d.Type(IDC_EDIT4, "Sicherung");
        d.PostClick(IDC_BUTTON12);
        EXPECT_EQ(d.Answer(), "Information|New directory created");
        LRESULT i = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>("Sicherung"));
        ASSERT_NE(i, LB_ERR);
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_DIRECTORYLISTBOX1, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
        EXPECT_EQ(lstrcmpiA(form->Settings.Target.c_str(), "a:\\Sicherung\\"), 0) << form->Settings.Target;
        d.Click(IDC_BUTTON2);
    });
    // The list made the folder the current directory, which holds it.
    SetCurrentDirectoryA("C:\\");
    win95::Remove("A:\\Sicherung");
}

TEST_F(ConfigDialogTest, UnreachableDestinationIsKeptWhileThePairShowsTheCurrentFolder)
{
    // Drive A: without its disk: the drive's folder is out of the way for this test.
    char floppy[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("QUILLMARK_FLOPPY", floppy, MAX_PATH), 0u);
    std::string unixFolder = std::string("Z:") + floppy;
    for (char& c : unixFolder)
        if (c == '/') c = '\\';
    ASSERT_TRUE(MoveFileA(unixFolder.c_str(), (unixFolder + ".out").c_str()));
    struct Back {
        std::string from, to;
        ~Back() { MoveFileA(from.c_str(), to.c_str()); }
    } back{unixFolder + ".out", unixFolder};
    win95::StoreUsualSettings("a:\\");
    Restart();
    const std::string here = win95::ScratchDir("hier");
    ASSERT_TRUE(SetCurrentDirectoryA(here.c_str()));
    Configure([&](const Dlg& d) {
        d.Tab(2);
        EXPECT_EQ(form->Settings.Target, "a:\\");
        EXPECT_EQ(d.Text(IDC_L2), here);
        HWND list = d[IDC_DIRECTORYLISTBOX1];
        LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
        char name[MAX_PATH] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(name));
        EXPECT_STREQ(name, "hier");
        d.Click(IDC_BUTTON2);
    });
    EXPECT_EQ(form->Settings.Target, "a:\\");
}

TEST_F(ConfigDialogTest, FailedSaveIsReportedAndTheDialogStaysOpen)
{
    // A volatile parent key refuses the lasting settings key beneath it.
    win95::ClearSettings();
    Restart();
    HKEY zunt = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ZUNT", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &zunt, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(zunt);
    Configure([&](const Dlg& d) {
        d.Tab(4);
        d.PostClick(IDC_BUTTON5);
        HWND open = d.Other();
        ASSERT_NE(open, nullptr);
        ChooseFile(open, win95::kBookmarks);
        d.OtherGone();
        d.PostClick(IDC_BUTTON1);
        EXPECT_EQ(d.Answer(), "Quillmark|Konnte Daten für 'MSDOSBootFiles' nicht setzen.");
        EXPECT_TRUE(IsWindow(d.w));
        d.Click(IDC_BUTTON2);
    });
    EXPECT_TRUE(form->Settings.OtherFileList.empty());
}

// The whole program: a choice cancelled in the dialog lasts for the run, not beyond it.
TEST(ConfigProgramTest, CancelledChoiceLastsOnlyForTheRun)
{
    win95::LayOut();
    win95::ClearSettings();
    auto openDialog = [](driver::Program& p) {
        p.PostCommand(IDM_CONFIGURATION);
        HWND w = p.WaitDialog(kCaption);
        return Dlg{w, p.Pid()};
    };
    {
        driver::Program p;
        Dlg d = openDialog(p);
        ASSERT_NE(d.w, nullptr);
        EXPECT_FALSE(d.Checked(IDC_STARTMENU1));
        d.Click(IDC_STARTMENU1);
        d.Click(IDC_BUTTON2);
        EXPECT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
        EXPECT_EQ(StoredString(kOwn, "StartMenu"), "<absent>");
        EXPECT_FALSE(StoredFlag("StartMenu"));
        d = openDialog(p);
        ASSERT_NE(d.w, nullptr);
        EXPECT_TRUE(d.Checked(IDC_STARTMENU1)) << "in effect for the rest of the run";
        PostMessageA(d.w, WM_CLOSE, 0, 0);
        EXPECT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
        EXPECT_FALSE(StoredFlag("StartMenu"));
    }
    driver::Program p;
    Dlg d = openDialog(p);
    ASSERT_NE(d.w, nullptr);
    EXPECT_FALSE(d.Checked(IDC_STARTMENU1)) << "not stored, so gone after a restart";
    d.Click(IDC_STARTMENU1);
    d.Click(IDC_BUTTON1);
    EXPECT_TRUE(driver::WaitUntil([&] { return p.NoDialog(); }));
    EXPECT_TRUE(StoredFlag("StartMenu"));
    win95::ClearSettings();
}

// The controls have hints, but only the menu bar's are on: hovering the OK button shows
// nothing, unless the dialog's hints are switched on, and then in the program's look.
TEST_F(ConfigDialogTest, HintsShowOnlyWhenSwitchedOn)
{
    for (bool on : {false, true}) {
        SCOPED_TRACE(on ? "on" : "off");
        TForm2 dialog(form->Handle(), form->Settings);
        dialog.ShowHint = on;
        bool shown = false;
        std::string text;
        std::thread user([&] {
            HWND w = FindTop(GetCurrentProcessId(), [](HWND d) { return driver::Text(d) == kCaption; });
            if (!w) return;
            RECT r;
            GetWindowRect(Dlg{w}[IDC_BUTTON1], &r);
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dx = MulDiv((r.left + r.right) / 2, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
            in.mi.dy = MulDiv((r.top + r.bottom) / 2, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
            in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &in, sizeof in);
            HWND tip = nullptr;
            shown = driver::WaitUntil(
                [&] {
                    tip = FindWindowA("TFlatHintWindow", nullptr);
                    return tip && IsWindowVisible(tip);
                },
                // Four times the pause where none may come; where one comes, as long as a
                // loaded machine may take to bring it.
                on ? 10000 : 2000);
            if (shown) text = driver::Text(tip);
            PostMessageA(w, WM_CLOSE, 0, 0);
        });
        dialog.ShowModal();
        user.join();
        // The mouse goes back where a new session has it, for the tests after this one.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
        EXPECT_EQ(shown, on);
        EXPECT_EQ(text, on ? "Klicken Sie hier um die Einstellungen zu speichern" : "");
    }
}

} // namespace
