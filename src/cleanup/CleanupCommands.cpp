// The three commands of "&Zubehör": cookies, recent documents and the Temp folder.
// None asks before deleting and none reports a file it could not delete.
#include "app/Unit1.h"
#include "cleanup/FolderGuard.h"
#include "cleanup/FolderSweep.h"
#include "win/Registry.h"

namespace {

constexpr const char* kRecentDocsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

// Every value of the key goes, the key and its subkeys stay. The names are all
// collected first: deleting while listing by index would shift the indexes and skip
// every second value. A missing key is not created.
void DeleteRecentDocsValues()
{
    auto key = win::OpenKey(HKEY_CURRENT_USER, kRecentDocsKey);
    for (const auto& name : win::ValueNames(key.get())) win::DeleteValue(key.get(), name);
}

} // namespace

void TForm1::EmptyCookies1Click()
{
    if (Settings.CookiesDir.empty()) {
        MessageBeep(0);
        return;
    }
    if (!cleanup::MayEmptyFolder(Handle(), Settings.CookiesDir, Settings)) return;
    {
        TBusyState busy(*this);
        // The cookie line is added to what the list shows; it is not cleared.
        L1.SetCaption("Deleting Files in Cookies-Directory...");
        PB1.SetPosition(0);
        PB1.SetMax(1);
        ProcessMessages();
        cleanup::SweepFolder(Settings.CookiesDir);
        PB1.StepIt();
        L1.SetCaption("");
        LB1.Add("All Cookies deleted.");
    }
    ProcessMessages();
}

void TForm1::EmptyRecentFiles1Click()
{
    if (Settings.RecentDir.empty()) return;
    if (!cleanup::MayEmptyFolder(Handle(), Settings.RecentDir, Settings)) return;
    {
        TBusyState busy(*this);
        LB1.Clear();
        L1.SetCaption("Deleting recent Files...");
        PB1.SetPosition(0);
        PB1.SetMax(2);
        ProcessMessages();
        cleanup::SweepFolder(Settings.RecentDir);
        PB1.StepIt();
        ProcessMessages();
        L1.SetCaption("Deleting Registry-Entries...");
        DeleteRecentDocsValues();
        PB1.StepIt();
        L1.SetCaption("");
        LB1.Add("All recent files deleted.");
    }
    ProcessMessages();
}

void TForm1::EmptyTempDirectory1Click()
{
    if (Settings.TempDir.empty()) return;
    if (!cleanup::MayEmptyFolder(Handle(), Settings.TempDir, Settings)) return;
    {
        TBusyState busy(*this);
        LB1.Clear();
        L1.SetCaption("Deleting files in Temp-Directory...");
        PB1.SetPosition(0);
        PB1.SetMax(1);
        ProcessMessages();
        cleanup::SweepFolder(Settings.TempDir);
        PB1.StepIt();
        ProcessMessages();
        L1.SetCaption("");
        LB1.Add("All files in Temp-Directory deleted.");
    }
    ProcessMessages();
}
