// A busy symbol: a thin control over the platform's animation control that decides
// when a silent clip is opened, played and closed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

enum class TAnimatedState { acmOpen, acmClosed, acmPlaying };

class TAnimatedSymbol {
public:
    using Notify = std::function<void(TAnimatedSymbol& sender)>;

    TAnimatedSymbol() = default;
    TAnimatedSymbol(const TAnimatedSymbol&) = delete;
    TAnimatedSymbol& operator=(const TAnimatedSymbol&) = delete;
    ~TAnimatedSymbol();

    // Places the control as a child of parent at design bounds. Its window is made
    // when it first has a clip to show, or when asked for: the platform's control
    // loads the video library as it is made, which a closed symbol never needs.
    void CreateWnd(HWND parent, int id, int left, int top, int width = 32, int height = 32);
    // The control's window, made now if it is not yet there.
    HWND Handle();
    bool HandleAllocated() const noexcept { return hwnd_ != nullptr; }
    // Moves the control by pixels, with its window if it has one.
    void MoveBy(int dx, int dy);
    int Id() const noexcept { return id_; }

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool v);
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool v);

    const std::string& AVIName() const noexcept { return aviName_; }
    void SetAVIName(const std::string& v);
    bool Center() const noexcept { return center_; }
    void SetCenter(bool v);
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool v);
    short PlayFrom() const noexcept { return playFrom_; }
    void SetPlayFrom(short v);
    short PlayTo() const noexcept { return playTo_; }
    void SetPlayTo(short v);
    short Cycles() const noexcept { return cycles_; }
    void SetCycles(short v);
    TAnimatedState State() const noexcept { return state_; }
    void SetState(TAnimatedState v);
    bool AutoPlay() const noexcept { return autoPlay_; }
    void SetAutoPlay(bool v);

    Notify OnStart;
    Notify OnStop;

    // The parent forwards the control's WM_COMMAND notification codes here.
    void Notification(WORD code);

    // The window style the current properties ask for.
    DWORD Style() const;

private:
    void RecreateWnd();
    void MakeWnd();
    bool HasClipToShow() const noexcept;
    void OpenOrClose();

    HWND parent_ = nullptr;
    HWND hwnd_ = nullptr;
    int id_ = 0;
    RECT bounds_{};
    bool enabled_ = true;
    bool visible_ = true;
    std::string aviName_;
    bool center_ = true;
    bool transparent_ = true;
    short playFrom_ = 0;
    short playTo_ = -1;
    short cycles_ = -1;
    TAnimatedState state_ = TAnimatedState::acmClosed;
    bool autoPlay_ = true;
};
