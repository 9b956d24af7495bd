// The yardstick for start-up time: the least a Win32 program with one window does.
// Built a second time with a progress bar of the common controls in it, it is the least
// a window does that shows what the program's first frame shows from that library.
#include <windows.h>
#ifdef WITH_PROGRESS_BAR
#include <commctrl.h>
#endif

static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(w, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "Minimal";
    if (!RegisterClassA(&wc)) return 1;
    HWND w = CreateWindowA("Minimal", "Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 197, 165, 420, 220, nullptr,
                           nullptr, inst, nullptr);
    if (!w) return 1;
#ifdef WITH_PROGRESS_BAR
    InitCommonControls();
    if (!CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 15, 100, 380, 16, w, nullptr, inst, nullptr)) return 1;
#endif
    ShowWindow(w, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
