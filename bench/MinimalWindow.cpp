// The yardstick for start-up time: the least a Win32 program with one window does.
#include <windows.h>

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
    ShowWindow(w, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
