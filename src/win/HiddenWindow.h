// A hidden top-level window that hands its messages to a function: for components
// that need a window of their own to receive posted messages, timers or the system's
// broadcasts (which reach top-level windows only, never message-only ones).
#pragma once

#include "win/Window.h"

#include <functional>

namespace win {

class HiddenWindow : public Window {
public:
    // Answers true when it handled the message and set the result.
    using Handler = std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;

    explicit HiddenWindow(Handler handler);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Handler handler_;
};

} // namespace win
