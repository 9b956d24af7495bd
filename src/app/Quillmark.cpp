// Program start: the application, then the main window, then the message loop.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "win/Files.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    try {
        TApplication app(instance);
        app.Title = "Quillmark";
        // Named by the program's own folder: a shortcut may start the program elsewhere.
        app.HelpFile = win::ProgramFolder() + "Pelmora.hlp";
        TForm1 form(app, ArgumentCount(GetCommandLineA()));
        return app.Run();
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, (std::string(e.what()) + ".").c_str(), "Quillmark", MB_OK | MB_ICONERROR);
        return 3;
    }
}
