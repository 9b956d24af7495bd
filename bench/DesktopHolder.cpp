// Keeps Wine's desktop process running through a benchmark session, as Windows keeps
// its desktop running. Wine ends the desktop a second after the last program that uses
// it has gone, and the next program with a window then waits for it to start again:
// a cost no program pays on Windows, which fell on whichever program a benchmark ran
// first after a peer without a window. Ended with the session.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
