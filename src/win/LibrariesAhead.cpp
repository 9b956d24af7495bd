#include "win/LibrariesAhead.h"

namespace win {

void LibrariesAhead::Load(std::initializer_list<const char*> names)
{
    loader_.Wait();
    modules_.reserve(modules_.size() + names.size());
    loader_.Start([this, list = std::vector<const char*>(names)] {
        for (const char* name : list)
            if (HMODULE m = LoadLibraryA(name)) modules_.emplace_back(m);
    });
}

} // namespace win
