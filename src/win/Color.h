// Colours as the forms store them: an RGB value, or a system colour that is looked up
// when drawn, so that a changed colour scheme shows at the next paint.
#pragma once

#include <windows.h>

namespace win {

using Color = DWORD;

constexpr Color kSystemColorFlag = 0x80000000;
constexpr Color SystemColor(int index) { return kSystemColorFlag | static_cast<Color>(index); }

constexpr Color clBlack = RGB(0, 0, 0);
constexpr Color clMaroon = RGB(128, 0, 0);

inline COLORREF ColorToRGB(Color c)
{
    return (c & kSystemColorFlag) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

} // namespace win
