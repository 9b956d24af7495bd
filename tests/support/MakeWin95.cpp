// Lays out the Windows-95-style installation in the current prefix; with --settings it
// also stores the usual configuration (categories ticked, target a:\).
#include "Win95.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv)
{
    try {
        win95::LayOut();
        if (argc > 1 && std::strcmp(argv[1], "--settings") == 0) win95::StoreUsualSettings();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "win95fixture: %s\n", e.what());
        return 1;
    }
}
