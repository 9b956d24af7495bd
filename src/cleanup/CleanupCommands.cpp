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

} // namespace

void EmptyCookies(HWND owner, const TSettings& settings, win::Progress& progress)
{
    if (settings.CookiesDir.empty()) {
        MessageBeep(0);
        return;
    }
    if (!MayEmptyFolder(owner, settings.CookiesDir, settings)) return;
    {
        win::BusyScope busy(progress);
        // The cookie line is added to what the list shows; it is not cleared.
        progress.SetStatus("Deleting Files in Cookies-Directory...");
        progress.SetPosition(0);
        progress.SetStepCount(1);
        progress.Pump();
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
    {
        win::BusyScope busy(progress);
        progress.ClearLines();
        progress.SetStatus("Deleting recent Files...");
        progress.SetPosition(0);
        progress.SetStepCount(2);
        progress.Pump();
        SweepFolder(settings.RecentDir);
        progress.Step();
        progress.Pump();
        progress.SetStatus("Deleting Registry-Entries...");
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
    {
        win::BusyScope busy(progress);
        progress.ClearLines();
        progress.SetStatus("Deleting files in Temp-Directory...");
        progress.SetPosition(0);
        progress.SetStepCount(1);
        progress.Pump();
        SweepFolder(settings.TempDir);
        progress.Step();
        progress.Pump();
        progress.SetStatus("");
        progress.AddLine("All files in Temp-Directory deleted.");
    }
    progress.Pump();
}

} // namespace cleanup
