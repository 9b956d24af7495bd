// "Rescue-Boot-Disk erstellen..." in a main window of this process, on drive A:, with
// the prompt and the format dialog answered as a user would.
#include "app/Unit1.h"

#include "AppEnv.h"
#include "Driver.h"
#include "RescueFixture.h"
#include "app/resource.h"
#include "rescue/Unit4.h"
#include "rescue/Unit4Res.h"

#include <gtest/gtest.h>

#include <optional>

#include <functional>
#include <memory>

namespace {

using rescuetest::FloppyContent;
using rescuetest::kOldContent;

const char* kFormatCaption = "Formatieren - Wechseldatenträger (A:)";
const std::string kFloppy = win95::kFloppy;

// Every text the status line is given, in order; onStatus runs before the text is set.
class StatusLog {
public:
    explicit StatusLog(HWND label) : label_(label)
    {
        current_ = this;
        old_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StatusLog::Proc)));
    }
    ~StatusLog()
    {
        SetWindowLongPtrA(label_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_));
        current_ = nullptr;
    }
    std::vector<std::string> texts;
    std::function<void(const std::string&)> onStatus;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        StatusLog* self = current_;
        if (msg == WM_SETTEXT) {
            const std::string text = reinterpret_cast<const char*>(lp);
            self->texts.push_back(text);
            if (self->onStatus) self->onStatus(text);
        }
        return CallWindowProcA(self->old_, w, msg, wp, lp);
    }
    static inline StatusLog* current_ = nullptr;
    HWND label_;
    WNDPROC old_;
};

driver::DialogScript::Step Prompt(const std::string& letter)
{
    return {"Auswahl", [letter](HWND d) {
                SetDlgItemTextA(d, IDC_FORM4_EDIT1, letter.c_str());
                driver::Press(d, IDC_FORM4_BUTTON1);
            }};
}

class RescueDiskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The build puts the real DOS program beside the tests; each test decides
        // whether one lies there, and the build's comes back afterwards.
        if (win95::Exists(kCompanion))
            MoveFileExA(kCompanion.c_str(), kBuildCompanion.c_str(), MOVEFILE_REPLACE_EXISTING);
        win95::LayOut();
        win95::StoreUsualSettings();
        rescuetest::FillFloppy();
        form = std::make_unique<TForm1>(testenv::App(), 0);
        form->LB1.Add("vorher");
    }
    void TearDown() override
    {
        form.reset();
        win95::Remove(kCompanion);
        if (win95::Exists(kBuildCompanion)) MoveFileA(kBuildCompanion.c_str(), kCompanion.c_str());
        win95::ClearSettings();
    }
    // Chooses the command as the menu does, so that an error reaches the standard error box.
    void Run() { SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDM_RESCUEDISK, 0), 0); }
    void ExpectIdle()
    {
        EXPECT_TRUE(form->MB1.Visible());
        EXPECT_FALSE(form->AS1.AutoPlay());
    }

    std::unique_ptr<TForm1> form;
    const std::string kCompanion = driver::BinDir() + "Kelvrane.exe";
    const std::string kBuildCompanion = driver::BinDir() + "Kelvrane.exe.build";
};

TEST_F(RescueDiskTest, PromptTakesOneUpperCaseLetterEnterConfirmsEscapeDoesNothing)
{
    std::string first, typed, second;
    bool openAfterEscape = false;
    RECT client{};
    driver::DialogScript script({{"Auswahl", [&](HWND d) {
                                      GetClientRect(d, &client);
                                      HWND edit = GetDlgItem(d, IDC_FORM4_EDIT1);
                                      first = driver::Text(edit);
                                      SendMessageA(edit, EM_SETSEL, 0, -1);
                                      SendMessageA(edit, WM_CHAR, 'b', 0);
                                      typed = driver::Text(edit);
                                      SendMessageA(edit, WM_CHAR, 'c', 0);
                                      second = driver::Text(edit);
                                      PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
                                      Sleep(300);
                                      openAfterEscape = IsWindowVisible(d);
                                      PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
                                  }}});
    TForm4 prompt(form->Handle());
    const std::optional<char> letter = prompt.ShowModal();
    script.Seen();
    EXPECT_EQ(client.right, win::Scale(236));
    EXPECT_EQ(client.bottom, win::Scale(98));
    EXPECT_EQ(first, "A");
    EXPECT_EQ(typed, "B");
    EXPECT_EQ(second, "B");
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(prompt.Edit1Text(), "B");
    EXPECT_EQ(letter, 'B');
}

TEST_F(RescueDiskTest, EmptyFieldKeepsThePromptOpenAndClosingItThenTouchesNothing)
{
    bool stayed = false;
    driver::DialogScript script({{"Auswahl", [&](HWND d) {
                                      SetDlgItemTextA(d, IDC_FORM4_EDIT1, "");
                                      driver::Press(d, IDC_FORM4_BUTTON1);
                                      Sleep(300);
                                      stayed = IsWindowVisible(d);
                                      PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
                                  }}});
    Run();
    script.Seen();
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(driver::TopWindows(GetCurrentProcessId(), "#32770").empty());
    EXPECT_EQ(form->LB1.Count(), 1);
    EXPECT_EQ(form->L1.Caption(), "Bereit!");
    EXPECT_EQ(FloppyContent(), kOldContent);
    ExpectIdle();
}

TEST_F(RescueDiskTest, EveryFormatFailureShowsItsTextAndTouchesNothing)
{
    const auto close = [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); };
    struct Case {
        driver::DialogScript::Step prompt;
        TFormatOption option;
        std::vector<driver::DialogScript::Step> format;
        std::string message;
    } cases[] = {
        {Prompt("1"), TFormatOption::foFull, {}, "Invalid Drive!"},
        {Prompt("F"), TFormatOption::foFull, {}, "Invalid Drive!"},
        {Prompt("Q"), TFormatOption::foFull, {}, "Invalid Drive!"},
        {Prompt("B"), TFormatOption::foFull, {}, "No Disk in Drive!"},
        // Closed with its close box, the prompt goes on with the "A" it shows.
        {{"Auswahl", close}, TFormatOption::foFull, {{kFormatCaption, driver::Pressing("Schließen")}},
         "Operation cancelled by user!"},
        {Prompt("A"), TFormatOption::foSystemOnly, {{kFormatCaption, driver::Pressing("Starten")}},
         "Drive A cannot be formatted!"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.message);
        form->ShFormat1.SetFormatOption(c.option);
        HWND owner = reinterpret_cast<HWND>(1);
        std::vector<driver::DialogScript::Step> steps{c.prompt};
        steps.insert(steps.end(), c.format.begin(), c.format.end());
        steps.push_back({"Error", [&](HWND box) {
                             owner = GetWindow(box, GW_OWNER);
                             driver::Press(box, IDOK);
                         }});
        driver::DialogScript script(steps);
        Run();
        auto seen = script.Seen();
        ASSERT_EQ(seen.size(), steps.size());
        EXPECT_EQ(seen.back(), "Error|" + c.message);
        EXPECT_EQ(owner, nullptr);
        EXPECT_EQ(form->LB1.Count(), 1);
        EXPECT_EQ(form->L1.Caption(), "Bereit!");
        EXPECT_EQ(form->PB1.Max(), 100);
        EXPECT_EQ(FloppyContent(), kOldContent);
        ExpectIdle();
    }
}

TEST_F(RescueDiskTest, FullRunLeavesTheStartSetAndTheThreeDosFiles)
{
    win95::WriteFile(driver::BinDir() + "Kelvrane.exe", "MZ Kelvrane");
    // As on a real installation, the DOS kernel is hidden, system and read-only.
    SetFileAttributesA((win95::kBootDir + "IO.sys").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    StatusLog log(form->L1.Handle());
    driver::DialogScript script({Prompt("A"), {kFormatCaption, driver::Pressing("Starten")}});
    Run();
    EXPECT_EQ(script.Seen().size(), 2u);
    EXPECT_EQ(log.texts, (std::vector<std::string>{"Writing Kelvrane.exe...", "Writing IO.sys...",
                                                   "Writing Command.com...", "Writing Drvspace.bin...",
                                                   "Creating MSDOS.SYS...", "Creating AUTOEXEC.BAT...",
                                                   "Creating CONFIG.SYS...", "Ready!"}));
    EXPECT_EQ(form->PB1.Max(), 7);
    EXPECT_EQ(form->PB1.Position(), 7);
    ASSERT_EQ(form->LB1.Count(), 1);
    EXPECT_EQ(form->LB1.Item(0), "Rescue-Boot-Disk created");
    ExpectIdle();

    EXPECT_EQ(FloppyContent(), (std::vector<std::string>{"Autoexec.bat", "Command.com", "Config.sys", "Drvspace.bin",
                                                         "IO.sys", "Kelvrane.exe", "Msdos.sys"}));
    EXPECT_EQ(win95::ReadFile(kFloppy + "Kelvrane.exe"), "MZ Kelvrane");
    for (const char* f : {"IO.sys", "Command.com", "Drvspace.bin"})
        EXPECT_EQ(win95::ReadFile(kFloppy + f), win95::ReadFile(win95::kBootDir + f)) << f;
    EXPECT_EQ(win95::ReadFile(kFloppy + "Msdos.sys"), "");
    EXPECT_EQ(GetFileAttributesA((kFloppy + "Msdos.sys").c_str()), 0x27u);
    EXPECT_EQ(win95::ReadFile(kFloppy + "Autoexec.bat"), "A:\\KELVRANE.EXE\r\n");
    EXPECT_EQ(win95::ReadFile(kFloppy + "Config.sys"), "BUFFERS=20\r\nFILES=30\r\n");
}

TEST_F(RescueDiskTest, WithoutAnyCandidateOnlyTheDosFilesAreWritten)
{
    const std::string dir = win95::ScratchDir("emptyboot") + "\\";
    win95::MakeDirs(dir + "IO.sys"); // a folder of that name is no candidate
    win95::WriteFile(dir + "ALTIO.sys", "old");
    // A boot folder typed with a wildcard must not make the search find other files.
    for (const std::string& bootDir : {dir, dir + "*"}) {
        SCOPED_TRACE(bootDir);
        form->Settings.BootDir = bootDir;
        rescuetest::FillFloppy();
        StatusLog log(form->L1.Handle());
        driver::DialogScript script({Prompt("A"), {kFormatCaption, driver::Pressing("Starten")}});
        Run();
        script.Seen();
        EXPECT_EQ(log.texts, (std::vector<std::string>{"Creating MSDOS.SYS...", "Creating AUTOEXEC.BAT...",
                                                       "Creating CONFIG.SYS...", "Ready!"}));
        EXPECT_EQ(form->PB1.Max(), 3);
        EXPECT_EQ(form->LB1.Item(0), "Rescue-Boot-Disk created");
        EXPECT_EQ(FloppyContent(), (std::vector<std::string>{"Autoexec.bat", "Config.sys", "Msdos.sys"}));
    }
}

TEST_F(RescueDiskTest, FileThatCannotBeCreatedWarnsThenStopsWithTheIoError)
{
    const std::pair<std::string, std::string> files[] = {
        {"MSDOS.SYS", "Msdos.sys"}, {"AUTOEXEC.BAT", "Autoexec.bat"}, {"CONFIG.SYS", "Config.sys"}};
    for (const auto& [shown, name] : files) {
        SCOPED_TRACE(shown);
        rescuetest::FillFloppy();
        StatusLog log(form->L1.Handle());
        // A folder standing where the file is to go, put there the moment before.
        log.onStatus = [&, name = name, shown = shown](const std::string& text) {
            if (text == "Creating " + shown + "...") CreateDirectoryA((kFloppy + name).c_str(), nullptr);
        };
        const auto ok = [](HWND box) { driver::Press(box, IDOK); };
        driver::DialogScript script(
            {Prompt("A"), {kFormatCaption, driver::Pressing("Starten")}, {"Warnung", ok}, {"Quillmark", ok}});
        Run();
        auto seen = script.Seen();
        ASSERT_EQ(seen.size(), 4u);
        EXPECT_EQ(seen[2], "Warnung|File creation error. (" + shown + ")");
        EXPECT_EQ(seen[3], "Quillmark|I/O-Fehler 103.");
        ExpectIdle();
        EXPECT_EQ(form->L1.Caption(), "Creating " + shown + "...");
        EXPECT_EQ(form->LB1.Count(), 0);
        EXPECT_NE(log.texts.back(), "Ready!");
    }
    // The last run stopped at CONFIG.SYS with the two files before it written.
    EXPECT_EQ(GetFileAttributesA((kFloppy + "Msdos.sys").c_str()), 0x27u);
    EXPECT_EQ(win95::ReadFile(kFloppy + "Autoexec.bat"), "A:\\KELVRANE.EXE\r\n");
}

} // namespace
