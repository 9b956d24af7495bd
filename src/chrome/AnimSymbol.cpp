#include "chrome/AnimSymbol.h"

#include "win/Error.h"
#include "win/LaterCalls.h"
#include "win/Window.h"

#include <commctrl.h>

TAnimatedSymbol::~TAnimatedSymbol()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

DWORD TAnimatedSymbol::Style() const
{
    DWORD style = WS_CHILD;
    if (visible_) style |= WS_VISIBLE;
    if (!enabled_) style |= WS_DISABLED;
    if (autoPlay_) style |= ACS_AUTOPLAY;
    if (center_) style |= ACS_CENTER;
    if (transparent_) style |= ACS_TRANSPARENT;
    return style;
}

void TAnimatedSymbol::CreateWnd(HWND parent, int id, int left, int top, int width, int height)
{
    parent_ = parent;
    id_ = id;
    bounds_ = {win::Scale(left), win::Scale(top), win::Scale(left + width), win::Scale(top + height)};
    RecreateWnd();
}

HWND TAnimatedSymbol::Handle()
{
    if (!hwnd_) MakeWnd();
    return hwnd_;
}

void TAnimatedSymbol::MoveBy(int dx, int dy)
{
    OffsetRect(&bounds_, dx, dy);
    if (hwnd_) SetWindowPos(hwnd_, nullptr, bounds_.left, bounds_.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TAnimatedSymbol::HasClipToShow() const noexcept
{
    return !aviName_.empty() && (autoPlay_ || state_ != TAnimatedState::acmClosed);
}

// A window once made is made anew for a style that only creation reads; one not yet
// made waits for a clip to show.
void TAnimatedSymbol::RecreateWnd()
{
    if (hwnd_) {
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    } else if (!HasClipToShow()) {
        return;
    }
    MakeWnd();
}

void TAnimatedSymbol::MakeWnd()
{
    if (!parent_) return;
    static const bool initialised = [] {
        win::InitControls(ICC_ANIMATE_CLASS);
        return true;
    }();
    (void)initialised;
    hwnd_ = CreateWindowExA(0, ANIMATE_CLASSA, "", Style(), bounds_.left, bounds_.top, bounds_.right - bounds_.left,
                            bounds_.bottom - bounds_.top, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) throw win::Error("Steuerelement " ANIMATE_CLASSA " nicht erzeugt");
    OpenOrClose();
}

void TAnimatedSymbol::OpenOrClose()
{
    if (!hwnd_) {
        if (HasClipToShow()) MakeWnd();
        return;
    }
    if (!HasClipToShow()) {
        SendMessageA(hwnd_, ACM_OPENA, 0, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return;
    }
    if (!SendMessageA(hwnd_, ACM_OPENA, 0, reinterpret_cast<LPARAM>(aviName_.c_str())))
        throw win::Error("Could not open AVI \"" + aviName_ + "\"\r\rIt must be a silent AVI file/resource.");
    if (state_ == TAnimatedState::acmPlaying)
        SendMessageA(hwnd_, ACM_PLAY, static_cast<WPARAM>(static_cast<UINT>(static_cast<int>(cycles_))),
                     MAKELONG(static_cast<WORD>(playFrom_), static_cast<WORD>(playTo_)));
}

void TAnimatedSymbol::SetEnabled(bool v)
{
    enabled_ = v;
    if (hwnd_) EnableWindow(hwnd_, v);
}

void TAnimatedSymbol::SetVisible(bool v)
{
    visible_ = v;
    if (hwnd_) ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
}

void TAnimatedSymbol::SetAVIName(const std::string& v)
{
    aviName_ = v;
    OpenOrClose();
}

void TAnimatedSymbol::SetState(TAnimatedState v)
{
    state_ = v;
    OpenOrClose();
}

// These three are style bits the control reads only when it is created.
void TAnimatedSymbol::SetAutoPlay(bool v)
{
    if (autoPlay_ == v) return;
    autoPlay_ = v;
    RecreateWnd();
}

void TAnimatedSymbol::SetCenter(bool v)
{
    if (center_ == v) return;
    center_ = v;
    RecreateWnd();
}

void TAnimatedSymbol::SetTransparent(bool v)
{
    if (transparent_ == v) return;
    transparent_ = v;
    RecreateWnd();
}

void TAnimatedSymbol::SetPlayFrom(short v)
{
    playFrom_ = v;
    if (state_ == TAnimatedState::acmPlaying) OpenOrClose();
}

void TAnimatedSymbol::SetPlayTo(short v)
{
    playTo_ = v;
    if (state_ == TAnimatedState::acmPlaying) OpenOrClose();
}

void TAnimatedSymbol::SetCycles(short v)
{
    cycles_ = v;
    if (state_ == TAnimatedState::acmPlaying) OpenOrClose();
}

void TAnimatedSymbol::Notification(WORD code)
{
    if (code == ACN_START && OnStart) OnStart(*this);
    if (code == ACN_STOP && OnStop) OnStop(*this);
}
