#include "win/LibrariesAhead.h"

namespace win {

void LibrariesAhead::Load(std::initializer_list<const char*> names)
{
    if (names_[0]) return;
    int n = 0;
    for (const char* name : names)
        if (n < kMost) names_[n++] = name;
    loader_.Start(LoadAll, this);
}

void LibrariesAhead::LoadAll(void* self)
{
    auto& me = *static_cast<LibrariesAhead*>(self);
    for (int i = 0; i < kMost && me.names_[i]; ++i) me.modules_[i].reset(LoadLibraryA(me.names_[i]));
}

} // namespace win
