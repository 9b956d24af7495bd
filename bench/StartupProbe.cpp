// Starts a program again and again and measures the time from process start until a
// window of it with a caption and a size is shown; two programs are measured in turn
// so that both see the same machine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK Visit(HWND w, LPARAM lp)
{
    auto* c = reinterpret_cast<Search*>(lp);
    DWORD p = 0;
    GetWindowThreadProcessId(w, &p);
    // A window that shows nothing does not count: a program's taskbar window may be
    // shown, at no size, before the window the user sees.
    RECT r{};
    if (p == c->pid && IsWindowVisible(w) && (GetWindowLongA(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION &&
        GetWindowRect(w, &r) && r.right > r.left && r.bottom > r.top) {
        c->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND ShownWindow(DWORD pid)
{
    Search s{pid, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Milliseconds from CreateProcess to a visible captioned window; -1 when none came.
double StartOnce(const std::string& exe)
{
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    HWND w = nullptr;
    for (int i = 0; i < 20000 && !w; ++i) {
        w = ShownWindow(pi.dwProcessId);
        if (!w) Sleep(0);
    }
    QueryPerformanceCounter(&t1);
    if (w) PostMessageA(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return w ? 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart) : -1;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: StartupProbe program.exe yardstick.exe [runs [second-yardstick.exe]]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(3, std::atoi(argv[3])) : 15;
    // The program and its yardsticks take turns, so that every one sees the same machine.
    std::vector<const char*> programs{argv[1], argv[2]};
    if (argc > 4) programs.push_back(argv[4]);
    std::vector<std::vector<double>> times(programs.size());
    for (const char* p : programs) StartOnce(p);
    for (int i = 0; i < runs; ++i)
        for (size_t k = 0; k < programs.size(); ++k) times[k].push_back(StartOnce(programs[k]));
    for (const auto& t : times)
        if (std::count(t.begin(), t.end(), -1.0)) {
            std::fprintf(stderr, "a window did not appear\n");
            return 1;
        }
    const double ma = Median(times[0]), mb = Median(times[1]);
    std::printf("start-up to window shown (median of %d): Quillmark %.1f ms, minimal window %.1f ms, ratio %.2f", runs,
                ma, mb, ma / mb);
    if (times.size() > 2) {
        const double mc = Median(times[2]);
        std::printf("; with a progress bar %.1f ms, ratio %.2f", mc, ma / mc);
    }
    std::printf("\n");
    return 0;
}
