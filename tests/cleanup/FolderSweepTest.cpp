// The folder sweep on real folders: what goes, what stays.
#include "cleanup/FolderSweep.h"

#include "Win95.h"
#include "win/Handles.h"
#include "win/WideFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using Names = std::vector<std::string>;

void WriteWithAttributes(const std::string& path, DWORD attributes)
{
    win95::WriteFile(path, "x");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
}

TEST(FolderSweep, DeletesHiddenAndSystemFilesButLeavesReadOnlyFilesFilesInUseAndSubfolders)
{
    const std::string dir = win95::ScratchDir("sweep");
    win95::WriteFile(dir + "\\plain.txt", "x");
    win95::WriteFile(dir + "\\Übersicht vom März.htm", "x");
    win95::WriteFile(dir + "\\NOEXT", "x");
    WriteWithAttributes(dir + "\\hidden.dat", FILE_ATTRIBUTE_HIDDEN);
    WriteWithAttributes(dir + "\\system.dat", FILE_ATTRIBUTE_SYSTEM);
    WriteWithAttributes(dir + "\\both.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteWithAttributes(dir + "\\readonly.txt", FILE_ATTRIBUTE_READONLY);
    win95::WriteFile(dir + "\\inuse.tmp", "x");
    win95::MakeDirs(dir + "\\Sub\\Deeper");
    win95::WriteFile(dir + "\\Sub\\inner.txt", "x");
    WriteWithAttributes(dir + "\\Sub\\hidden-inner.dat", FILE_ATTRIBUTE_HIDDEN);
    win95::WriteFile(dir + "\\Sub\\Deeper\\deep.txt", "x");
    win95::MakeDirs(dir + "\\HiddenSub");
    ASSERT_TRUE(SetFileAttributesA((dir + "\\HiddenSub").c_str(), FILE_ATTRIBUTE_HIDDEN));
    {
        // Held open without delete sharing, as a running program holds its temporary file.
        win::UniqueFile held(CreateFileA((dir + "\\inuse.tmp").c_str(), GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        cleanup::SweepFolder(dir);
    }
    EXPECT_EQ(win95::List(dir), (Names{"HiddenSub", "inuse.tmp", "readonly.txt", "Sub"}));
    EXPECT_EQ(win95::List(dir + "\\Sub"), (Names{"Deeper", "hidden-inner.dat", "inner.txt"}));
    EXPECT_EQ(win95::List(dir + "\\Sub\\Deeper"), (Names{"deep.txt"}));
    EXPECT_TRUE(win95::IsDir(dir + "\\HiddenSub"));
}

TEST(FolderSweep, FolderEndingInABackslashIsSweptWithTheDoubledBackslashAsGiven)
{
    const std::string dir = win95::ScratchDir("sweep-temp");
    for (int i = 0; i < 30; ++i) win95::WriteFile(dir + "\\~DF" + std::to_string(i) + ".tmp", "x");
    win95::MakeDirs(dir + "\\Keep");
    cleanup::SweepFolder(dir + "\\");
    EXPECT_EQ(win95::List(dir), (Names{"Keep"}));
}

// A name the code page cannot spell: the wide listing deletes it where it lies, in the
// folder; the 8-bit listing of Windows 95 spells a full-width backslash "\", and joined
// to the folder that spelling must never name a file elsewhere.
TEST(FolderSweep, NamesOutsideTheCodePageAreDeletedInTheFolderAndNowhereElse)
{
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wide calls" : "8-bit calls");
        const std::string dir = win95::ScratchDir("sweep-escape");
        win95::MakeDirs(dir + "\\Temp");
        win95::WriteFile(dir + "\\victim.txt", "keep me");
        win95::WriteFile(dir + "\\Temp\\plain.tmp", "x");
        const std::wstring folder = std::wstring(dir.begin(), dir.end()) + L"\\Temp\\";
        const std::wstring odd[] = {folder + L"..\uFF3Cvictim.txt", folder + L"\x041F\x0440\x0438\x0432\x0435\x0442.tmp"};
        for (const auto& name : odd) {
            win::UniqueFile f(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
            ASSERT_TRUE(f);
        }
        win::UseWideCalls(wide);
        cleanup::SweepFolder(dir + "\\Temp");
        win::UseWideCalls(true);
        EXPECT_EQ(win95::ReadFile(dir + "\\victim.txt"), "keep me");
        EXPECT_FALSE(win95::Exists(dir + "\\Temp\\plain.tmp"));
        if (wide)
            for (const auto& name : odd) EXPECT_EQ(GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES);
        for (const auto& name : odd) DeleteFileW(name.c_str());
    }
}

TEST(FolderSweep, MissingFolderIsLeftAloneAndNotCreated)
{
    const std::string dir = win95::ScratchDir("sweep-missing") + "\\nowhere";
    cleanup::SweepFolder(dir);
    cleanup::SweepFolder(dir + "\\");
    EXPECT_FALSE(win95::Exists(dir));
}

} // namespace
