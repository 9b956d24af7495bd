// Libraries a run will need in a moment, loaded on a thread of their own while the
// window starts: under Wine a library and those it brings with it take about as long to
// load as a window to start, and the window's thread would otherwise wait for them.
#pragma once

#include "win/BackgroundJob.h"
#include "win/Handles.h"

#include <initializer_list>

namespace win {

class LibrariesAhead {
public:
    LibrariesAhead() = default;
    LibrariesAhead(const LibrariesAhead&) = delete;
    LibrariesAhead& operator=(const LibrariesAhead&) = delete;

    static constexpr int kMost = 4;
    // Starts loading up to kMost names, once; the names must outlive the loading. A
    // library that cannot be loaded is left to whoever needs it, to fail there in its
    // own words.
    void Load(std::initializer_list<const char*> names);

private:
    static void LoadAll(void* self);

    const char* names_[kMost] = {};
    UniqueModule modules_[kMost];
    // Declared after the modules, so that the loading has ended before they go.
    BackgroundJob loader_;
};

} // namespace win
