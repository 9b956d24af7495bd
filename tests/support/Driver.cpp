#include "Driver.h"

#include "app/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace driver {

bool WaitUntil(const std::function<bool()>& pred, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (pred()) return true;
        if (GetTickCount64() > end) return pred();
        Sleep(20);
    }
}

void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

std::string BinDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1);
}

std::string ProgramDir()
{
    char dir[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA("QUILLMARK_PROGRAM_DIR", dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return BinDir();
    std::string s = dir;
    return s.back() == '\\' ? s : s + '\\';
}

std::string Text(HWND w)
{
    char buf[4096] = {};
    // Cross-process window text is marshalled for standard controls.
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 5000, nullptr);
    return buf;
}

std::vector<HWND> TopWindows(DWORD pid, const char* cls)
{
    struct Ctx {
        DWORD pid;
        const char* cls;
        std::vector<HWND> found;
    } ctx{pid, cls, {}};
    EnumWindows(
        [](HWND w, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD p = 0;
            GetWindowThreadProcessId(w, &p);
            if (p != c->pid || !IsWindowVisible(w)) return TRUE;
            char name[64] = {};
            GetClassNameA(w, name, sizeof name);
            if (!c->cls || lstrcmpiA(name, c->cls) == 0) c->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND FindChildByText(HWND parent, const std::string& text, const char* cls)
{
    struct Ctx {
        const std::string& text;
        const char* cls;
        HWND found;
    } ctx{text, cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            char name[64] = {};
            GetClassNameA(w, name, sizeof name);
            if (c->cls && lstrcmpiA(name, c->cls) != 0) return TRUE;
            if (Text(w) == c->text) {
                c->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

std::string MessageText(HWND box)
{
    // The message text of a message box is the static control with id 0xFFFF.
    return Text(GetDlgItem(box, 0xFFFF));
}

void Press(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (!button) throw std::runtime_error("no button " + std::to_string(id));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PressButton(HWND dialog, const std::string& caption)
{
    HWND button = FindChildByText(dialog, caption, "Button");
    if (!button) throw std::runtime_error("no button " + caption);
    Press(dialog, GetDlgCtrlID(button));
}

DialogScript::DialogScript(std::vector<Step> steps, DWORD pid, std::source_location caller) : caller_(caller)
{
    thread_ = std::thread([this, steps = std::move(steps), pid] {
        // A dialog already handled may still be closing when the next step looks.
        std::vector<HWND> handled;
        for (const auto& [caption, act] : steps) {
            HWND found = nullptr;
            WaitUntil([&] {
                for (HWND w : TopWindows(pid, "#32770"))
                    if (Text(w) == caption && std::find(handled.begin(), handled.end(), w) == handled.end()) found = w;
                return found != nullptr;
            });
            if (!found) {
                seen_.push_back("(no dialog " + caption + ")");
                missing_ = caption;
                for (HWND w : TopWindows(pid, "#32770")) seen_.push_back("(open: " + Text(w) + "|" + MessageText(w) + ")");
                // Whatever stands in the way is closed, as a user would give up on it.
                WaitUntil(
                    [&] {
                        const auto open = TopWindows(pid, "#32770");
                        for (HWND w : open) {
                            PostMessageA(w, WM_CLOSE, 0, 0);
                            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
                        }
                        Sleep(200);
                        return TopWindows(pid, "#32770").empty();
                    },
                    5000);
                return;
            }
            handled.push_back(found);
            seen_.push_back(Text(found) + "|" + MessageText(found));
            act(found);
        }
    });
}

void DialogScript::Finish()
{
    if (thread_.joinable()) thread_.join();
    if (!missing_.empty() && !reported_) {
        reported_ = true;
        std::string seen;
        for (const auto& line : seen_) seen += "\n  " + line;
        ADD_FAILURE_AT(caller_.file_name(), static_cast<int>(caller_.line()))
            << "the dialog \"" << missing_ << "\" did not come; seen:" << seen;
    }
}

DialogScript::~DialogScript() { Finish(); }

std::vector<std::string> DialogScript::Seen()
{
    Finish();
    return seen_;
}

std::function<void(HWND)> Pressing(const std::string& caption)
{
    return [caption](HWND dialog) { PressButton(dialog, caption); };
}

HWND FileNameField(HWND dialog)
{
    // The explorer-style dialog has a combo box (cmb13), the older one an edit (edt1).
    HWND field = GetDlgItem(dialog, 0x47C);
    return field ? field : GetDlgItem(dialog, 0x480);
}

void ChooseFile(HWND dialog, const std::string& path)
{
    HWND field = FileNameField(dialog);
    if (!field) throw std::runtime_error("no file-name field");
    SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_BLOCK, 5000, nullptr);
    Press(dialog, IDOK);
}

Program::Program(const std::string& arguments, const std::string& exe)
{
    std::string path = exe.find(':') != std::string::npos ? exe : ProgramDir() + exe;
    std::string cmd = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    // Now and then Wine's new process dies in Wine's own start-up, before any of the
    // program runs, and the call answers "internal error" (1359). That start says nothing
    // about the program, so it is said and made once more; a program that cannot start
    // fails the second time as well.
    bool started = CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (!started) {
        std::fprintf(stderr, "driver: Wine could not start %s (error %lu); starting it again\n", path.c_str(),
                     GetLastError());
        started = CreateProcessA(path.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    if (!started) throw std::runtime_error("cannot start " + path + " (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    WaitUntil([&] {
        auto w = TopWindows(pid_, "TForm1");
        if (!w.empty()) main_ = w.front();
        return main_ != nullptr || !Running();
    });
}

Program::~Program()
{
    if (Running()) {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), 3000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool Program::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

int Program::WaitExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return static_cast<int>(code);
}

std::string Program::Status() const { return Text(GetDlgItem(main_, IDC_L1)); }

std::vector<std::string> Program::Messages() const
{
    HWND lb = GetDlgItem(main_, IDC_LB1);
    std::vector<std::string> lines;
    DWORD_PTR count = 0;
    SendMessageTimeoutA(lb, LB_GETCOUNT, 0, 0, SMTO_BLOCK, 5000, &count);
    for (DWORD_PTR i = 0; i < count; ++i) {
        // Wine hands an ANSI LB_GETTEXT from another process only its first character;
        // the wide form comes across whole.
        wchar_t wide[4096] = {};
        SendMessageTimeoutW(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_BLOCK, 5000, nullptr);
        char buf[4096] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf, nullptr, nullptr);
        lines.emplace_back(buf);
    }
    return lines;
}

int Program::Progress() const
{
    DWORD_PTR pos = 0;
    SendMessageTimeoutA(GetDlgItem(main_, IDC_PB1), PBM_GETPOS, 0, 0, SMTO_BLOCK, 5000, &pos);
    return static_cast<int>(pos);
}

int Program::ProgressMax() const
{
    DWORD_PTR max = 0;
    SendMessageTimeoutA(GetDlgItem(main_, IDC_PB1), PBM_GETRANGE, FALSE, 0, SMTO_BLOCK, 5000, &max);
    return static_cast<int>(max);
}

bool Program::MenuShown() const
{
    // The menu is the bar in the window's dock; the platform draws none.
    HWND dock = GetDlgItem(main_, IDC_DOCK1);
    HWND bar = dock ? FindWindowExA(dock, nullptr, "TMenuBar", nullptr) : nullptr;
    return bar && IsWindowVisible(bar);
}

void Program::Command(int id) const
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_BLOCK, 120000, &result);
}

void Program::PostCommand(int id) const { PostMessageA(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

HWND Program::WaitDialog(const std::string& caption, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopWindows(pid_, "#32770"))
                if (Text(w) == caption) found = w;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

HWND Program::WaitFileDialog(DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopWindows(pid_, "#32770"))
                if (FileNameField(w)) found = w;
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

bool Program::NoDialog() const { return TopWindows(pid_, "#32770").empty(); }

void Program::Close() const { PostMessageA(main_, WM_CLOSE, 0, 0); }

} // namespace driver
