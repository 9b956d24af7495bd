// Loading and saving the settings against the real (Wine) registry.
#include "settings/Settings.h"

#include "Win95.h"
#include "win/Handles.h"
#include "win/Registry.h"
#include "win/Window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

std::vector<std::string> g_errors;
void Capture(const std::exception& e) { g_errors.push_back(e.what()); }

const char* kOwn = "Software\\ZUNT\\Pelmora";
const char* kList = "Software\\ZUNT\\Pelmora\\OtherFiles";
const char* kSetup = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";

void Raw(const char* key, const char* name, DWORD type, const void* data, DWORD size)
{
    auto k = win::CreateKey(HKEY_CURRENT_USER, key);
    ASSERT_EQ(RegSetValueExA(k.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}
void Dword(const char* key, const char* name, DWORD v) { Raw(key, name, REG_DWORD, &v, sizeof v); }
void Sz(const char* key, const char* name, const std::string& v, DWORD type = REG_SZ)
{
    Raw(key, name, type, v.c_str(), static_cast<DWORD>(v.size() + 1));
}

bool Has(const char* key, const char* name)
{
    auto k = win::OpenKey(HKEY_CURRENT_USER, key);
    return win::ValueExists(k.get(), name);
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::ClearSettings();
        g_errors.clear();
        win::SetExceptionReporter(Capture);
    }
    void TearDown() override
    {
        win::SetExceptionReporter(nullptr);
        win95::ClearSettings();
    }
    TSettings Load()
    {
        TSettings s;
        s.OtherFileList = {"stale"};
        LoadSettings(s);
        return s;
    }
};

TEST_F(SettingsTest, FirstStartTakesTheWindowsInstallation)
{
    TSettings s = Load();
    EXPECT_EQ(s.BootDir, "C:\\");
    EXPECT_EQ(s.WinDir, "C:\\WINDOWS\\");
    EXPECT_EQ(s.StartMenuDir, win95::kStartMenu);
    EXPECT_EQ(s.DesktopDir, win95::kDesktop);
    EXPECT_EQ(s.CookiesDir, win95::kCookies);
    EXPECT_EQ(s.RecentDir, win95::kRecent);
    EXPECT_EQ(s.Target, "a:\\");
    EXPECT_EQ(s.NetscapeBookmarks, "");
    EXPECT_EQ(s.IEFavorites, "");
    for (bool f : {s.MSDOSBootFiles, s.WindowsRegistry, s.WinIniSystemIni, s.StartMenu, s.Desktop, s.SaveInternet,
                   s.OtherFiles, s.SaveNetscape, s.SaveIExplorer})
        EXPECT_FALSE(f);
    EXPECT_TRUE(s.OtherFileList.empty());
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(s.TempDir, temp);
    EXPECT_EQ(s.TempDir.back(), '\\');
    EXPECT_TRUE(g_errors.empty());
}

// The machine's setup values are readable by every user but writable only by an
// administrator: a key that grants reading alone still gives the folders.
TEST_F(SettingsTest, ReadOnlySetupKeyStillGivesTheFolders)
{
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSetup, 0, READ_CONTROL | WRITE_DAC, &raw), ERROR_SUCCESS);
    win::UniqueHKey key(raw);
    DWORD size = 0;
    RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> saved(size);
    ASSERT_EQ(RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, saved.data(), &size), ERROR_SUCCESS);

    // Everyone may read; nobody may write.
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    std::vector<BYTE> aclBuf(256);
    auto* acl = reinterpret_cast<ACL*>(aclBuf.data());
    ASSERT_TRUE(InitializeAcl(acl, static_cast<DWORD>(aclBuf.size()), ACL_REVISION));
    ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone));
    SECURITY_DESCRIPTOR sd;
    ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE));
    ASSERT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    FreeSid(everyone);

    HKEY probe = nullptr;
    const bool enforced = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSetup, 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);
    const TSettings s = Load();
    RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, reinterpret_cast<PSECURITY_DESCRIPTOR>(saved.data()));
    if (!enforced) GTEST_SKIP() << "the registry here grants full access whatever the key's rights say";
    EXPECT_EQ(s.BootDir, "C:\\");
    EXPECT_EQ(s.WinDir, "C:\\WINDOWS\\");
    EXPECT_TRUE(g_errors.empty());
}

TEST_F(SettingsTest, WindowsKeysAbsentLeaveFoldersEmpty)
{
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSetup, "BootDir");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSetup, "WinDir");
    RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    TSettings s = Load();
    EXPECT_EQ(s.BootDir, "");
    EXPECT_EQ(s.WinDir, "");
    EXPECT_EQ(s.StartMenuDir, "");
    EXPECT_EQ(s.CookiesDir, "");
    EXPECT_EQ(s.RecentDir, "");
    EXPECT_TRUE(g_errors.empty());
    win95::LayOut();
}

TEST_F(SettingsTest, StoredValuesWinAndOnlyPrefixFoldersGetABackslash)
{
    Sz(kOwn, "BootDir", "D:\\DOS");
    Sz(kOwn, "WinDir", "");
    Sz(kOwn, "StartMenuDir", "D:\\Menu\\");
    Sz(kOwn, "DesktopDir", "D:\\Desk");
    Sz(kOwn, "Target", "E:\\Sicherung");
    // Never taken from the own key, even when something put them there.
    Sz(kOwn, "CookiesDir", "X:\\");
    TSettings s = Load();
    EXPECT_EQ(s.BootDir, "D:\\DOS\\");
    EXPECT_EQ(s.WinDir, "") << "a present empty value is taken, no fallback, no backslash";
    EXPECT_EQ(s.StartMenuDir, "D:\\Menu\\");
    EXPECT_EQ(s.DesktopDir, "D:\\Desk");
    EXPECT_EQ(s.Target, "E:\\Sicherung") << "the target is used as stored";
    EXPECT_EQ(s.CookiesDir, win95::kCookies);
}

TEST_F(SettingsTest, FlagsReadNonZeroAsTrueAndSaveBackAsOne)
{
    Dword(kOwn, "StartMenu", 2);
    Dword(kOwn, "Desktop", 0);
    Dword(kOwn, "SaveIExplorer", 0xFFFFFFFF);
    TSettings s = Load();
    EXPECT_TRUE(s.StartMenu);
    EXPECT_FALSE(s.Desktop);
    EXPECT_TRUE(s.SaveIExplorer);
    SaveSettings(s, false, false, {});
    auto k = win::OpenKey(HKEY_CURRENT_USER, kOwn);
    EXPECT_EQ(win::ReadInteger(k.get(), "StartMenu"), 1);
}

TEST_F(SettingsTest, ExpandableTextIsTakenLiterally)
{
    Sz(kOwn, "DesktopDir", "%windir%\\Desktop", REG_EXPAND_SZ);
    EXPECT_EQ(Load().DesktopDir, "%windir%\\Desktop");
}

TEST_F(SettingsTest, TextEndsAtItsSizeOrFirstNul)
{
    Raw(kOwn, "NetscapeBookmarks", REG_SZ, "C:\\a.htm\0junk", 13);
    Raw(kOwn, "IEFavorites", REG_SZ, "C:\\Fav", 6);
    // The list's entries are read with the list, the same way.
    Dword(kList, "Count", 4);
    Raw(kList, "0", REG_SZ, "C:\\a.htm\0junk", 13);
    Raw(kList, "1", REG_EXPAND_SZ, "C:\\Fav", 6);
    Raw(kList, "2", REG_SZ, "", 0);
    const std::string longest = "C:\\" + std::string(5000, 'x');
    Sz(kList, "3", longest);
    TSettings s = Load();
    EXPECT_EQ(s.NetscapeBookmarks, "C:\\a.htm");
    EXPECT_EQ(s.IEFavorites, "C:\\Fav");
    EXPECT_EQ(s.OtherFileList, (std::vector<std::string>{"C:\\a.htm", "C:\\Fav", "", longest}));
}

TEST_F(SettingsTest, ListKeepsItsGapsUpToTheHighestNumberPresentBelowCount)
{
    // A damaged Count of two billion reads only what is there, as fast as a sane one.
    for (DWORD count : {3u, 0x7FFFFFFFu}) {
        Dword(kList, "Count", count);
        Sz(kList, "2", "C:\\c.txt");
        Sz(kList, "0", "C:\\a.txt");
        Sz(kList, "10", "C:\\k.txt");
        Sz(kList, "007", "C:\\not-a-number.txt");
        // No list reaches this far: it follows without its gap.
        Sz(kList, "999999999", "C:\\z.txt");
        std::vector<std::string> expected{"C:\\a.txt", "", "C:\\c.txt"};
        if (count > 3) {
            expected.resize(10);
            expected.insert(expected.end(), {"C:\\k.txt", "C:\\z.txt"});
        }
        EXPECT_EQ(Load().OtherFileList, expected) << count;
    }
}

TEST_F(SettingsTest, ZeroOrNegativeCountGivesAnEmptyList)
{
    for (DWORD count : {0u, 0xFFFFFFFFu, 0x80000000u}) {
        Dword(kList, "Count", count);
        Sz(kList, "0", "C:\\a.txt");
        EXPECT_TRUE(Load().OtherFileList.empty()) << count;
    }
}

TEST_F(SettingsTest, WrongTypeStopsLoadingAndLeavesEveryLaterFieldAtItsDefault)
{
    const TSettings first = Load();
    Dword(kOwn, "MSDOSBootFiles", 1);
    Sz(kOwn, "StartMenu", "1");
    Sz(kOwn, "BootDir", "D:\\");
    Sz(kOwn, "Target", "E:\\");
    Dword(kList, "Count", 1);
    Sz(kList, "0", "C:\\a.txt");
    TSettings s = Load();
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0], "Ungültiger Datentyp für 'StartMenu'");
    EXPECT_TRUE(s.MSDOSBootFiles) << "what came before the error stays loaded";
    EXPECT_FALSE(s.StartMenu);
    // The clean-up commands and the backup still find the installation's folders.
    for (auto field : {&TSettings::BootDir, &TSettings::WinDir, &TSettings::StartMenuDir, &TSettings::DesktopDir,
                       &TSettings::CookiesDir, &TSettings::RecentDir, &TSettings::TempDir, &TSettings::Target})
        EXPECT_EQ(s.*field, first.*field);
    EXPECT_FALSE(first.TempDir.empty());
    EXPECT_TRUE(s.OtherFileList.empty());

    // An entry of the list that is no text leaves the whole list at its default.
    win95::ClearSettings();
    g_errors.clear();
    Dword(kOwn, "Desktop", 1);
    Dword(kList, "Count", 2);
    Sz(kList, "0", "C:\\a.txt");
    Dword(kList, "1", 7);
    s = Load();
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0], "Ungültiger Datentyp für '1'");
    EXPECT_TRUE(s.Desktop);
    EXPECT_TRUE(s.OtherFileList.empty());
}

TEST_F(SettingsTest, OversizedFlagAndMistypedTextAreRegistryErrors)
{
    unsigned long long big = 1;
    Raw(kOwn, "Desktop", REG_QWORD, &big, sizeof big);
    Load();
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0], "Konnte Daten für 'Desktop' nicht holen");

    win95::ClearSettings();
    g_errors.clear();
    Dword(kOwn, "DesktopDir", 5);
    Load();
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0], "Ungültiger Datentyp für 'DesktopDir'");

    win95::ClearSettings();
    g_errors.clear();
    Raw(kList, "Count", REG_BINARY, "\x01\x00\x00\x00", 4);
    EXPECT_TRUE(Load().OtherFileList.empty());
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0], "Ungültiger Datentyp für 'Count'");
}

TEST_F(SettingsTest, SaveWritesEveryStoredFieldAndLoadsBackEqual)
{
    TSettings s = Load();
    s.MSDOSBootFiles = s.Desktop = s.OtherFiles = true;
    s.Target = "C:\\Backup\\";
    s.StartMenuDir = "C:\\Menu";
    s.SaveInternet = s.SaveNetscape = true;
    s.NetscapeBookmarks = "C:\\book.htm";
    s.CookiesDir = "C:\\Elsewhere";
    SaveSettings(s, true, false, {"C:\\x.txt", "", "C:\\x.txt"});
    EXPECT_EQ(s.OtherFileList, (std::vector<std::string>{"C:\\x.txt", "", "C:\\x.txt"}));

    TSettings again = Load();
    EXPECT_TRUE(again.MSDOSBootFiles && again.Desktop && again.OtherFiles && again.SaveInternet && again.SaveNetscape);
    EXPECT_FALSE(again.WindowsRegistry || again.StartMenu || again.SaveIExplorer);
    EXPECT_EQ(again.Target, "C:\\Backup\\");
    EXPECT_EQ(again.StartMenuDir, "C:\\Menu");
    EXPECT_EQ(again.NetscapeBookmarks, "C:\\book.htm");
    EXPECT_EQ(again.OtherFileList, s.OtherFileList);
    EXPECT_EQ(again.CookiesDir, win95::kCookies);
    for (const char* never : {"CookiesDir", "RecentDir", "TempDir"}) EXPECT_FALSE(Has(kOwn, never)) << never;

    // Texts go in without their terminating NUL.
    auto k = win::OpenKey(HKEY_CURRENT_USER, kOwn);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueExW(k.get(), L"Target", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 11u * sizeof(wchar_t));
}

TEST_F(SettingsTest, SavedListReplacesTheStoredOneExactly)
{
    Dword(kList, "Count", 5);
    for (const char* n : {"0", "1", "2", "3", "4", "stray"}) Sz(kList, n, "old");
    TSettings s = Load();
    SaveSettings(s, false, false, {"C:\\a", "C:\\b"});
    auto k = win::OpenKey(HKEY_CURRENT_USER, kList);
    auto names = win::ValueNames(k.get());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"0", "1", "Count"}));
    EXPECT_EQ(win::ReadInteger(k.get(), "Count"), 2);
    EXPECT_EQ(win::ReadString(k.get(), "1"), "C:\\b");
}

TEST_F(SettingsTest, BrowserValuesAreWrittenOnlyForTheTickedBrowser)
{
    Dword(kOwn, "SaveNetscape", 1);
    Dword(kOwn, "SaveIExplorer", 0);
    Sz(kOwn, "NetscapeBookmarks", "C:\\old.htm");
    Sz(kOwn, "IEFavorites", "C:\\OldFav");
    TSettings s = Load();
    s.SaveNetscape = false;
    s.NetscapeBookmarks = "C:\\new.htm";
    s.IEFavorites = "C:\\NewFav";
    SaveSettings(s, false, false, {});
    TSettings kept = Load();
    EXPECT_TRUE(kept.SaveNetscape);
    EXPECT_EQ(kept.NetscapeBookmarks, "C:\\old.htm");
    EXPECT_EQ(kept.IEFavorites, "C:\\OldFav");

    // A favourites folder typed while no box was ticked, then Netscape ticked.
    s.SaveNetscape = true;
    SaveSettings(s, true, false, {});
    TSettings after = Load();
    EXPECT_EQ(after.NetscapeBookmarks, "C:\\new.htm");
    EXPECT_EQ(after.IEFavorites, "C:\\OldFav");
    EXPECT_TRUE(after.SaveNetscape);
    EXPECT_FALSE(after.SaveIExplorer);

    s.SaveNetscape = false;
    s.SaveIExplorer = true;
    SaveSettings(s, false, true, {});
    TSettings ie = Load();
    EXPECT_EQ(ie.IEFavorites, "C:\\NewFav");
    EXPECT_FALSE(ie.SaveNetscape);
    EXPECT_TRUE(ie.SaveIExplorer);
}

// A non-volatile key cannot be made below a volatile one: that is how a registry
// that refuses a write is produced here.
void MakeVolatile(const char* path)
{
    win::UniqueHKey k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              k.put(), nullptr),
              ERROR_SUCCESS);
}

TEST_F(SettingsTest, UncreatableKeyFailsAtTheFirstValue)
{
    MakeVolatile("Software\\ZUNT");
    TSettings s = Load();
    try {
        SaveSettings(s, false, false, {"C:\\a"});
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Konnte Daten für 'MSDOSBootFiles' nicht setzen");
    }
    EXPECT_TRUE(s.OtherFileList.empty());
}

TEST_F(SettingsTest, FailedListWriteKeepsWhatWasWrittenAndTheOldList)
{
    MakeVolatile("Software\\ZUNT");
    MakeVolatile(kOwn);
    TSettings s = Load();
    s.OtherFileList = {"C:\\kept"};
    s.Desktop = true;
    try {
        SaveSettings(s, false, false, {"C:\\a"});
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Konnte Daten für '0' nicht setzen");
    }
    EXPECT_EQ(s.OtherFileList, std::vector<std::string>{"C:\\kept"});
    auto k = win::OpenKey(HKEY_CURRENT_USER, kOwn);
    EXPECT_TRUE(win::ReadBool(k.get(), "Desktop"));
    EXPECT_TRUE(win::ValueExists(k.get(), "SaveInternet"));
}

} // namespace
