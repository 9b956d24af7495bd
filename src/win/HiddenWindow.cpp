#include "win/HiddenWindow.h"

namespace win {

HiddenWindow::HiddenWindow(Handler handler) : handler_(std::move(handler))
{
    RegisterClassOnce("QuillmarkHidden", nullptr, nullptr);
    Create(WS_EX_TOOLWINDOW, "QuillmarkHidden", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
}

LRESULT HiddenWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = 0;
    if (handler_ && handler_(msg, wp, lp, result)) return result;
    return Window::HandleMessage(msg, wp, lp);
}

} // namespace win
