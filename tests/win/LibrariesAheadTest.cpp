// Libraries loaded ahead of need: there once the loading has had its moment, and a name
// that loads nothing is left to whoever needs it later.
#include "win/LibrariesAhead.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(LibrariesAheadTest, LoadsWhatItCanAndPassesOverWhatItCannot)
{
    // A library no test of this program loads by itself.
    ASSERT_EQ(GetModuleHandleA("msvfw32.dll"), nullptr);
    {
        win::LibrariesAhead ahead;
        ahead.Load({"no-such-library.dll", "msvfw32.dll"});
        for (int i = 0; i < 200 && !GetModuleHandleA("msvfw32.dll"); ++i) Sleep(10);
        EXPECT_NE(GetModuleHandleA("msvfw32.dll"), nullptr);
    }
    // Released with the object: nothing else of this test holds it.
    EXPECT_EQ(GetModuleHandleA("msvfw32.dll"), nullptr);
}

} // namespace
