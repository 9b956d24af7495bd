// Drawing that a running command asks for many times a second happens at most once a
// frame, ten frames a second: enough for a status line, a bar and a list to read as
// moving, and under Wine every redrawing of them costs as much as copying a small file
// or two (at 25 frames a second the drawing was a tenth of a small file's backup). What
// is asked for within a frame is
// drawn when the frame ends, on a timer, which every message loop serves, a modal box's
// as well as the command's own pump; or earlier, when the command's next step blocks
// every loop (win::Progress::ShowBeforeBlocking).
#pragma once

#include <windows.h>

namespace win {

class FramePacer {
public:
    static constexpr DWORD kFrameMs = 100;

    // timer: the id the pacer takes among the timers of the window it is used with.
    explicit constexpr FramePacer(UINT_PTR timer) noexcept : timer_(timer) {}

    // True when the caller may draw now, which starts a frame. False when a frame is
    // running: the window's timer then comes when it ends, and Due answers it.
    bool DrawNow(HWND window) noexcept
    {
        if (waiting_) return false;
        const DWORD now = GetTickCount();
        const DWORD since = now - drawnAt_;
        if (!drawn_ || since >= kFrameMs || !SetTimer(window, timer_, kFrameMs - since, nullptr)) {
            // Without a timer nothing would draw what waits: better now than never.
            Start(now);
            return true;
        }
        waiting_ = true;
        return false;
    }

    // For the window's WM_TIMER: true when it is this pacer's, and what waited is to be
    // drawn now.
    bool Due(HWND window, UINT_PTR id) noexcept { return id == timer_ && Flush(window); }

    // Ends a running frame early, when what waits must show now (the command has ended):
    // true when something waited.
    bool Flush(HWND window) noexcept
    {
        if (!waiting_) return false;
        KillTimer(window, timer_);
        waiting_ = false;
        Start(GetTickCount());
        return true;
    }

private:
    void Start(DWORD now) noexcept
    {
        drawn_ = true;
        drawnAt_ = now;
    }

    UINT_PTR timer_;
    DWORD drawnAt_ = 0;
    bool drawn_ = false;
    bool waiting_ = false;
};

} // namespace win
