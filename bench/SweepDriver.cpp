// Starts Quillmark.exe with TEMP and TMP pointing at one folder, chooses
// "Temp-Verzeichnis leeren" and prints how long the command took, in milliseconds.
// Only the command is timed: the program has started and shown its window before.
// With --bare it times the same listing and DeleteFileA calls made in this process,
// which is what the platform itself needs for the folder; with --cmd the platform's
// own command, `cmd /c del /q FOLDER\*`, from its start to its end.
//   SweepDriver.exe PROGRAM FOLDER
//   SweepDriver.exe --bare FOLDER
//   SweepDriver.exe --cmd FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kEmptyTemp = 137; // IDM_EMPTYTEMP

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindMain(HWND w, LPARAM lp)
{
    auto* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == f->pid && lstrcmpA(cls, "TForm1") == 0 && IsWindowVisible(w)) {
        f->window = w;
        return FALSE;
    }
    return TRUE;
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
}

int Bare(const std::string& folder)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + entry.cFileName).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    QueryPerformanceCounter(&end);
    std::printf("%.1f\n", Milliseconds(start, end));
    return 0;
}

int Del(const std::string& folder)
{
    std::string cmd = "cmd.exe /c del /q \"" + folder + "\\*\"";
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start cmd\n");
        return 1;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("%.1f\n", Milliseconds(start, end));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: SweepDriver PROGRAM FOLDER\n");
        return 2;
    }
    if (std::string(argv[1]) == "--bare") return Bare(argv[2]);
    if (std::string(argv[1]) == "--cmd") return Del(argv[2]);
    const std::string program = argv[1];
    const std::string folder = argv[2];
    SetEnvironmentVariableA("TMP", folder.c_str());
    SetEnvironmentVariableA("TEMP", folder.c_str());

    std::string cmd = "\"" + program + "\"";
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return 1;
    }
    CloseHandle(pi.hThread);
    Found found{pi.dwProcessId, nullptr};
    for (int i = 0; i < 1500 && !found.window; ++i) {
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
        if (!found.window) Sleep(20);
    }
    if (!found.window) {
        std::fprintf(stderr, "no main window\n");
        TerminateProcess(pi.hProcess, 1);
        return 1;
    }
    // Let the first paints settle so that they are not counted.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(found.window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
    Sleep(300);

    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    LRESULT ok = SendMessageTimeoutA(found.window, WM_COMMAND, MAKEWPARAM(kEmptyTemp, 0), 0, SMTO_BLOCK, 600000,
                                     &ignored);
    QueryPerformanceCounter(&end);

    PostMessageA(found.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    if (!ok) {
        std::fprintf(stderr, "the command did not return\n");
        return 1;
    }
    std::printf("%.1f\n", Milliseconds(start, end));
    return 0;
}
