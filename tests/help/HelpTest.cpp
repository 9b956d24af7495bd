// The help as a user meets it: "&Inhalt..." of the real program opens the system's
// help viewer on the contents, and every context number of Pelmora.hlp leads to its
// topic.
#include "Driver.h"
#include "Win95.h"
#include "app/resource.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The viewer's main window, of the class under which the system's help viewer takes
// its requests.
HWND ViewerWindow()
{
    HWND w = FindWindowA("MS_WINHELP", nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
}

// The text the viewer shows: the rich-edit control that holds the topic, which opens
// with the topic's title.
std::string ShownTopic(HWND viewer)
{
    std::string text;
    EnumChildWindows(
        viewer,
        [](HWND w, LPARAM lp) -> BOOL {
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls).rfind("RichEdit", 0) != 0) return TRUE;
            *reinterpret_cast<std::string*>(lp) += driver::Text(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

// True when the first line of a shown topic is title.
bool OpensWith(const std::string& shown, const std::string& title)
{
    return shown.rfind(title, 0) == 0 && shown.size() > title.size() &&
           (shown[title.size()] == '\r' || shown[title.size()] == '\n');
}

// Ends the viewer, which outlives the program that called it, and its process with it,
// so that the next test starts without one.
void CloseViewer(HWND viewer)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(viewer, &pid);
    win::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    driver::WaitUntil([&] { return !IsWindow(viewer); }, 5000);
    if (process && WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 0);
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win95::LayOut();
        win95::StoreUsualSettings();
        // The program is started from a folder other than its own, as a shortcut with
        // another start-in folder does: it must find its help all the same.
        GetCurrentDirectoryA(MAX_PATH, saved_);
        SetCurrentDirectoryA(win95::ScratchDir("startin").c_str());
    }
    void TearDown() override
    {
        if (viewer_) CloseViewer(viewer_);
        SetCurrentDirectoryA(saved_);
        win95::ClearSettings();
    }
    char saved_[MAX_PATH] = {};
    HWND viewer_ = nullptr;
};

TEST_F(HelpTest, InhaltOpensTheViewerOnTheContents)
{
    driver::Program p;
    ASSERT_NE(p.Main(), nullptr);
    p.PostCommand(IDM_CONTENTS);
    ASSERT_TRUE(driver::WaitUntil([&] { return (viewer_ = ViewerWindow()) != nullptr; }, 20000))
        << "no window of the help viewer";
    EXPECT_TRUE(driver::WaitUntil([&] {
        const std::string shown = ShownTopic(viewer_);
        return OpensWith(shown, "Quillmark-Hilfe") && shown.find("Die Themen dieser Hilfe") != std::string::npos;
    })) << ShownTopic(viewer_);
    // The viewer's caption is the help's title, which names the program.
    EXPECT_EQ(driver::Text(viewer_), "Quillmark-Hilfe");
    EXPECT_TRUE(p.Running());
}

TEST_F(HelpTest, EveryContextNumberOpensItsTopic)
{
    // The numbers the build gives the topics, and the title each topic opens with.
    const std::vector<std::pair<int, std::string>> topics = {
        {1, "Quillmark-Hilfe"},
        {2, "Sichern"},
        {3, "Wiederherstellen"},
        {4, "Rescue-Boot-Disk erstellen"},
        {5, "Konfiguration"},
        {6, "Cookies löschen"},
        {7, "Menü „Dokumente“ leeren"},
        {8, "Temp-Verzeichnis leeren"},
        {9, "Hilfe, Info und Beenden"},
        {10, "Unbeaufsichtigte Sicherung"},
        {11, "Wiederherstellen nach einem fehlgeschlagenen Start"},
    };
    const std::string file = driver::BinDir() + "Pelmora.hlp";
    for (const auto& [number, title] : topics) {
        // A request made while the viewer is still starting can go unanswered.
        ASSERT_TRUE(driver::WaitUntil([&, number = number] {
            return WinHelpA(nullptr, file.c_str(), HELP_CONTEXT, number) != FALSE;
        })) << "context " << number << " not taken";
        const bool shown = driver::WaitUntil([&, &title = title] {
            if (!viewer_) viewer_ = ViewerWindow();
            if (!viewer_) return false;
            const std::string shown = ShownTopic(viewer_);
            return OpensWith(shown, title);
        }, 10000);
        EXPECT_TRUE(shown) << "context " << number << " shows: " << (viewer_ ? ShownTopic(viewer_) : "(no viewer)");
    }
}

} // namespace
