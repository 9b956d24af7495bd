// Lays out the Windows-95-style installation in the current prefix; with --settings it
// also stores the usual configuration (categories ticked, target a:\).
#include "Win95.h"
#include "win/Registry.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv)
{
    try {
        win95::LayOut();
        if (argc > 1 && std::strcmp(argv[1], "--settings") == 0) {
            win95::StoreUsualSettings();
            // Wine points the Shell Folders values back at its own user folders each
            // time it boots (its Desktop is the Linux home folder), so a lasting demo
            // names the Start menu and the Desktop in the program's own settings.
            auto key = win::CreateKey(HKEY_CURRENT_USER, "Software\\ZUNT\\Pelmora");
            win::WriteString(key.get(), "StartMenuDir", win95::kStartMenu);
            win::WriteString(key.get(), "DesktopDir", win95::kDesktop);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "win95fixture: %s\n", e.what());
        return 1;
    }
}
