#include "cleanup/CleanupCommands.h"

#include "cleanup/FolderGuard.h"
#include "cleanup/FolderSweep.h"
#include "win/Registry.h"

namespace cleanup {

namespace {

constexpr const char* kRecentDocsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

// Every value of the key goes, the key and its subkeys stay. The names are all
// collected first: deleting while listing by index would shift the indexes and skip
// every second value. A missing key is not created.
void DeleteRecentDocsValues()
{
    auto key = win::OpenKey(HKEY_CURRENT_USER, kRecentDocsKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    for (const auto& name : win::ValueNames(key.get())) win::DeleteValue(key.get(), name);
}

// The window shows the command before the busy state is entered: a clip that cannot
// be opened then stops the command with its own status and bar on screen, not with
// what the command before it left there.
void ShowStart(win::Progress& progress, const char* status, int steps)
{
    progress.SetStatus(status);
    progress.SetPosition(0);
    progress.SetStepCount(steps);
}

} // namespace

void EmptyCookies(HWND owner, const TSettings& settings, win::Progress& progress)
{
    if (settings.CookiesDir.empty()) {
        MessageBeep(0);
        return;
    }
    if (!MayEmptyFolder(owner, settings.CookiesDir, settings)) return;
    // The cookie line is added to what the list shows; it is not cleared.
    ShowStart(progress, "Deleting Files in Cookies-Directory...", 1);
    {
        win::BusyScope busy(progress);
        progress.Pump();
        progress.ShowBeforeBlocking();
        SweepFolder(settings.CookiesDir);
        progress.Step();
        progress.SetStatus("");
        progress.AddLine("All Cookies deleted.");
    }
    progress.Pump();
}

void EmptyRecentFiles(HWND owner, const TSettings& settings, win::Progress& progress)
{
    if (settings.RecentDir.empty()) return;
    if (!MayEmptyFolder(owner, settings.RecentDir, settings)) return;
    progress.ClearLines();
    ShowStart(progress, "Deleting recent Files...", 2);
    {
        win::BusyScope busy(progress);
        progress.Pump();
        progress.ShowBeforeBlocking();
        SweepFolder(settings.RecentDir);
        progress.Step();
        progress.Pump();
        progress.SetStatus("Deleting Registry-Entries...");
        progress.ShowBeforeBlocking();
        DeleteRecentDocsValues();
        progress.Step();
        progress.SetStatus("");
        progress.AddLine("All recent files deleted.");
    }
    progress.Pump();
}

void EmptyTempDirectory(HWND owner, const TSettings& settings, win::Progress& progress)
{
    if (settings.TempDir.empty()) return;
    if (!MayEmptyFolder(owner, settings.TempDir, settings)) return;
    progress.ClearLines();
    ShowStart(progress, "Deleting files in Temp-Directory...", 1);
    {
        win::BusyScope busy(progress);
        progress.Pump();
        progress.ShowBeforeBlocking();
        SweepFolder(settings.TempDir);
        progress.Step();
        progress.Pump();
        progress.SetStatus("");
        progress.AddLine("All files in Temp-Directory deleted.");
    }
    progress.Pump();
}

} // namespace cleanup
