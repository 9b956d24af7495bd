// Tooltips across the program. One manager shows them (the program's tooltip style);
// a window that has hints answers the query message below, so that windows which
// draw several hinted parts themselves (a bar of buttons) need no child window for
// each part, and no window needs to know the manager.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// Sent to the window under the mouse with lParam pointing at a HintQuery; a window
// that has a hint at the point fills text and area and answers TRUE.
struct HintQuery {
    POINT point{};     // in: the mouse, in the window's client coordinates
    std::string text;  // out: the hint; empty means none here
    RECT area{};       // out: client rectangle the hint belongs to; leaving it ends the hint
};

// Registered once per process, so no other window's private message can collide with it.
inline UINT HintQueryMessage()
{
    static const UINT message = RegisterWindowMessageA("Quillmark.HintQuery");
    return message;
}

// The program's tooltip delays in milliseconds; the tooltip style sets them, every
// window that times a hint of its own reads them.
struct HintTiming {
    UINT pause = 500;       // before the first tooltip
    UINT shortPause = 50;   // between tooltips when the mouse moves on to the next control
    UINT hidePause = 2500;  // a shown tooltip hides after this
};

inline HintTiming& ApplicationHintTiming()
{
    static HintTiming timing;
    return timing;
}

} // namespace win
