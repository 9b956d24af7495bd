// What a long command shows the user while it works, and the busy state it works in.
// The main window shows it in its status line, progress bar and message list; the
// commands know only this, not the window.
#pragma once

#include <string>

namespace win {

class Progress {
public:
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetStepCount(int steps) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void Step() = 0;
    virtual void ClearLines() = 0;
    virtual void AddLine(const std::string& line) = 0;
    // Lets the window keep up: the messages waiting are dispatched, where the last look
    // is not so recent that looking would cost more than it serves.
    virtual void Pump() = 0;
    // The next step blocks the window for as long as it takes (a copy, a sweep): the
    // status and the bar are painted now, so that they show that step and not one
    // before it, whatever their frame still waits for. Dispatches no message.
    virtual void ShowBeforeBlocking() = 0;

protected:
    ~Progress() = default;

private:
    friend class BusyScope;
    // The busy symbol moves and the menu bar is gone, so that no second command can be
    // chosen; entering may fail (a clip that cannot be opened) and then leaves nothing on.
    virtual void EnterBusy() = 0;
    virtual void LeaveBusy() noexcept = 0;
};

// The busy state for a scope, left by whatever path the scope ends. A temporary that
// would be dropped at once is refused by the compiler's nodiscard warning.
class BusyScope {
public:
    [[nodiscard]] explicit BusyScope(Progress& progress) : progress_(progress) { progress_.EnterBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    ~BusyScope() { progress_.LeaveBusy(); }

private:
    Progress& progress_;
};

} // namespace win
