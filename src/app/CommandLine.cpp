#include "app/CommandLine.h"

std::vector<std::string> SplitCommandLine(const char* p)
{
    std::vector<std::string> out;
    if (!p) return out;
    for (;;) {
        while (*p && static_cast<unsigned char>(*p) <= ' ') ++p;
        if (!*p) break;
        std::string arg;
        bool quoted = false;
        while (*p && (quoted || static_cast<unsigned char>(*p) > ' ')) {
            if (*p == '"')
                quoted = !quoted;
            else
                arg += *p;
            ++p;
        }
        out.push_back(std::move(arg));
    }
    return out;
}

int ArgumentCount(const char* commandLine)
{
    auto parts = SplitCommandLine(commandLine);
    int n = 0;
    for (size_t i = 1; i < parts.size(); ++i)
        if (!parts[i].empty()) ++n;
    return n;
}
