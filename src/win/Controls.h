// Thin accessors over the standard child controls the forms use. The controls are
// children of their form and die with it, so these hold the handle without owning it.
#pragma once

#include <windows.h>

#include <string>

namespace win {

struct ScrollBarState;
struct StatusLineState;
struct ProgressBarState;

// Creates a child control at design bounds (120 pixels per inch), scaled to the screen.
HWND CreateChild(HWND parent, int id, const char* cls, const char* text, DWORD style,
                 int left, int top, int width, int height, DWORD exStyle = 0);
void SetFont(HWND w, HFONT font);

class Label {
public:
    void Attach(HWND w) noexcept { w_ = w; }
    HWND Handle() const noexcept { return w_; }
    std::string Caption() const;
    void SetCaption(const std::string& s) const;

private:
    HWND w_ = nullptr;
};

// A status line that a running command changes with every item: it answers with every
// text at once, to whoever asks the control for it, and takes and paints it at most once
// a frame (win::FramePacer). What another program reads without asking the control (the
// text the platform keeps for it) is what the screen shows.
class StatusLine : public Label {
public:
    void Attach(HWND w);
    // Paints at once a text that waits for the next frame: the command has ended, or
    // its next step blocks.
    void ShowWaiting() const;

private:
    // Owned by the control's window, which releases it when it goes.
    StatusLineState* keeper_ = nullptr;
};

// The bar of a running command's steps. A command steps faster than the eye follows,
// so the bar moves at most once a frame (win::FramePacer); whoever asks for its
// position gets every step taken.
class ProgressBar {
public:
    void Attach(HWND w);
    HWND Handle() const noexcept { return w_; }
    int Position() const;
    void SetPosition(int p) const;
    int Max() const;
    void SetMax(int m) const;
    void StepIt() const;
    // Draws at once the steps that wait for the next frame: the command has ended, or
    // its next step blocks.
    void ShowWaiting() const;

private:
    HWND w_ = nullptr;
    // Owned by the control's window, which releases it when it goes.
    ProgressBarState* keeper_ = nullptr;
};

class ListBox {
public:
    void Attach(HWND w) noexcept { w_ = w; }
    HWND Handle() const noexcept { return w_; }
    void Clear() const;
    void Add(const std::string& line) const;
    int Count() const;
    std::string Item(int i) const;

protected:
    HWND w_ = nullptr;
};

// The list a running command reports into, one line per item: the newest line stays in
// view while the reader has not scrolled away from the end. A command adds lines faster
// than the eye follows, so the list moves at most once a frame (win::FramePacer), by
// the pixels of its lines, painting only the new ones. The platform's list redraws its
// whole scroll bar for every line it gains, which under Wine costs several times the
// line itself; a list box made without WS_VSCROLL leaves its scroll bar to its program,
// so this one keeps the bar and redraws it only when the thumb or the arrows move.
class MessageList : public ListBox {
public:
    // w: a list box made without WS_VSCROLL; the bar comes and goes with the lines.
    void Attach(HWND w);
    void Add(const std::string& line) const;
    // Draws at once what waits for the next frame: the command has ended.
    void ShowWaiting() const;
    // Whole lines the list shows at once.
    int VisibleLines() const;

private:
    // Owned by the list's window, which releases it when it goes.
    ScrollBarState* keeper_ = nullptr;
};

} // namespace win
