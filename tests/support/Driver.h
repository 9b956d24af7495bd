// Drives the real program from a test: starts Quillmark.exe in the same Wine session,
// reads its status line and message list, chooses menu commands, and finds and answers
// its dialogs, the way a user would.
#pragma once

#include "win/Handles.h"

#include <windows.h>

#include <functional>
#include <source_location>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace driver {

// Dispatches this thread's messages for ms milliseconds, so that its windows paint and
// their timers run.
void Pump(DWORD ms = 60);
// Polls until pred holds or the time is up; answers pred's last result.
bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs = 15000);
// The folder of the running test program, which also holds Quillmark.exe and s.dll.
std::string BinDir();
// The folder of the program that Program starts: QUILLMARK_PROGRAM_DIR when set (the
// 32-bit build, driven by the same tests), else BinDir().
std::string ProgramDir();

std::string Text(HWND w);
// The visible top-level windows of a process with the given class ("#32770" for dialogs).
std::vector<HWND> TopWindows(DWORD pid, const char* cls = nullptr);
HWND FindChildByText(HWND parent, const std::string& text, const char* cls = nullptr);
// The text of a message box, without its caption.
std::string MessageText(HWND box);
// Presses a button of a dialog by its id or its caption.
void Press(HWND dialog, int id);
void PressButton(HWND dialog, const std::string& caption);
// The file-name field of a file-open dialog, and typing a name there and confirming it.
HWND FileNameField(HWND dialog);
void ChooseFile(HWND dialog, const std::string& path);

// Acts on the dialogs of a process in turn, from a thread of its own, so that a test can
// run code that shows them: each step waits for a dialog with its caption, does what the
// test asks, and leaves it to close. A step whose dialog never comes ends the script.
// A step whose dialog does not come fails the test at the line that made the script,
// and closes the dialogs the process has open instead, so that a test waiting in a
// modal loop goes on rather than stalling the run.
class DialogScript {
public:
    using Step = std::pair<std::string, std::function<void(HWND)>>;
    explicit DialogScript(std::vector<Step> steps, DWORD pid = GetCurrentProcessId(),
                          std::source_location caller = std::source_location::current());
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;
    ~DialogScript();
    // Caption "|" message text of every dialog met, once the script has ended.
    std::vector<std::string> Seen();

private:
    void Finish();

    std::vector<std::string> seen_;
    std::string missing_;
    std::source_location caller_;
    bool reported_ = false;
    std::thread thread_;
};
// A step that presses the button with this caption.
std::function<void(HWND)> Pressing(const std::string& caption);

class Program {
public:
    // Starts the program with the given command-line tail (may be empty).
    explicit Program(const std::string& arguments = "", const std::string& exe = "Quillmark.exe");
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // Ends the program if a test left it running.
    ~Program();

    DWORD Pid() const noexcept { return pid_; }
    HWND Main() const noexcept { return main_; }
    bool Running() const;
    // Waits for the process to end; answers its exit code, or -1 on time-out.
    int WaitExit(DWORD timeoutMs = 30000);

    std::string Status() const;
    std::vector<std::string> Messages() const;
    int Progress() const;
    int ProgressMax() const;
    bool MenuShown() const;

    // Chooses a menu command and returns once its handler has returned.
    void Command(int id) const;
    // Chooses a menu command without waiting (for commands that open dialogs).
    void PostCommand(int id) const;
    // Waits for a dialog of this program with the given caption.
    HWND WaitDialog(const std::string& caption, DWORD timeoutMs = 15000) const;
    // Waits for the platform's file-open dialog of this program, whatever its caption.
    HWND WaitFileDialog(DWORD timeoutMs = 15000) const;
    // True when no dialog of this program is open.
    bool NoDialog() const;
    // Sends a close request, as the close box does.
    void Close() const;

private:
    win::UniqueHandle process_;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

} // namespace driver
