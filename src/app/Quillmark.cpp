// Program start: the application, then the main window, then the message loop.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Unit1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const int arguments = ArgumentCount(GetCommandLineA());
    try {
        TApplication app(instance);
        app.Title = "Quillmark";
        app.HelpFile = "Pelmora.hlp";
        TForm1 form(app, arguments);
        return app.Run();
    } catch (const std::exception& e) {
        // Unattended, nobody would close the box: the exit code says the run never began.
        if (arguments == 0) MessageBoxA(nullptr, (std::string(e.what()) + ".").c_str(), "Quillmark", MB_OK | MB_ICONERROR);
        return 3;
    }
}
