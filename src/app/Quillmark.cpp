// Program start: the application, then the main window, then the message loop.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "win/Files.h"

#include <cstdlib>

// The runtime's own handler for an exception that nothing catches prints the type's
// name, and with it brings the whole C++ name demangler into the program: a tenth of
// its size. Every handler's exceptions are caught at the window procedure and here, so
// what would reach it is a fault, and ending at once is all it should do.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const int arguments = ArgumentCount(GetCommandLineA());
    try {
        TApplication app(instance);
        app.Title = "Quillmark";
        // Named by the program's own folder: a shortcut may start the program elsewhere.
        app.HelpFile = win::ProgramFolder() + "Pelmora.hlp";
        TForm1 form(app, arguments);
        const int code = app.Run();
        // An unattended run has written all it writes once the loop ends. Taking its
        // windows down one by one only adds to the run's time (some 15 ms under Wine);
        // the system frees them with the process. A user's session keeps the ordinary
        // close, which its help window and the like may look for.
        if (arguments) ExitProcess(static_cast<UINT>(code));
        return code;
    } catch (const std::exception& e) {
        // Unattended, nobody would close the box: the exit code says the run never began.
        if (arguments == 0) MessageBoxA(nullptr, (std::string(e.what()) + ".").c_str(), "Quillmark", MB_OK | MB_ICONERROR);
        return 3;
    }
}
