#include "win/Controls.h"

#include "win/Error.h"
#include "win/Frames.h"
#include "win/Window.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace win {

// The timer of a message list's frames, apart from the list's own, which count from 1.
constexpr UINT_PTR kListFrameTimer = 0x5142;

// What the scroll bar of a message list shows and what it should show, and what waits
// for the list's next frame.
struct ScrollBarState {
    // Where the thumb of the bar stands, in pixels: it shrinks with the share of the
    // lines in view down to the least thumb, and travels between the arrows.
    struct Thumb {
        bool shown = false;
        int top = 0;
        int length = 0;
        bool operator==(const Thumb&) const = default;
    };
    int count = -1;
    int top = -1;
    int page = -1;
    Thumb drawn;
    bool valuesSet = false;
    bool syncing = false;
    // The newest line comes into view with the frame, unless the reader has moved the
    // list from where it stood when the line came.
    bool follow = false;
    int followFrom = 0;
    FramePacer frame{kListFrameTimer};
    WNDPROC next = nullptr;
};

// The timer of a status line's frames; a static control has none of its own.
constexpr UINT_PTR kStatusFrameTimer = 0x5143;

// A status line's text waits for the frame.
struct StatusLineState {
    FramePacer frame{kStatusFrameTimer};
    WNDPROC next = nullptr;
    // The newest text while it waits, the one the control answers with.
    std::string text;
    bool textWaits = false;
};

// The timer of a progress bar's frames; the control has none of its own.
constexpr UINT_PTR kBarFrameTimer = 0x5144;

// Steps a progress bar has taken but not drawn yet.
struct ProgressBarState {
    FramePacer frame{kBarFrameTimer};
    int waiting = 0;
    int step = 10; // the control's own until it is told otherwise
    WNDPROC next = nullptr;
};

namespace {

int LinesInView(HWND list, int itemHeight)
{
    RECT r;
    GetClientRect(list, &r);
    return std::max(1, itemHeight > 0 ? static_cast<int>(r.bottom) / itemHeight : 1);
}

ScrollBarState::Thumb ThumbOf(HWND list, const ScrollBarState& s)
{
    ScrollBarState::Thumb t;
    t.shown = s.count > s.page;
    if (!t.shown) return t;
    RECT r;
    GetClientRect(list, &r);
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const int track = r.bottom - 2 * arrow;
    if (track <= 0) return t;
    t.length = std::min(track, std::max(MulDiv(track, s.page, s.count), GetSystemMetrics(SM_CYVTHUMB)));
    t.top = arrow + MulDiv(track - t.length, s.top, s.count - s.page);
    return t;
}

// Hands the bar the list's lines; it draws itself when asked to, or when it comes or goes.
void SetBarValues(HWND list, ScrollBarState& s, BOOL redraw)
{
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, s.count - 1, static_cast<UINT>(s.page), s.top, 0};
    SetScrollInfo(list, SB_VERT, &info, redraw);
    s.valuesSet = true;
}

void DrawScrollBar(HWND list, ScrollBarState& s)
{
    SetBarValues(list, s, TRUE);
    s.drawn = ThumbOf(list, s);
}

// Asks the list itself, past the keeper, which would follow its own questions.
LRESULT AskList(HWND list, const ScrollBarState& s, UINT msg, WPARAM wp = 0)
{
    return CallWindowProcA(s.next, list, msg, wp, 0);
}

// Takes the list's lines and view; false when nothing changed.
bool Measure(HWND list, ScrollBarState& s)
{
    const int count = static_cast<int>(AskList(list, s, LB_GETCOUNT));
    const int top = static_cast<int>(AskList(list, s, LB_GETTOPINDEX));
    const int page = LinesInView(list, static_cast<int>(AskList(list, s, LB_GETITEMHEIGHT)));
    if (count == s.count && top == s.top && page == s.page) return false;
    s.count = count;
    s.top = top;
    s.page = page;
    s.valuesSet = false;
    return true;
}

// One frame of the list: the newest line moves into view, its lines moving up by their
// pixels and only the new ones painted, and the bar is drawn if its look changed. In
// between frames the bar is not even set, which alone costs Wine more than a new line.
void DrawFrame(HWND list, ScrollBarState& s)
{
    if (s.follow) {
        s.follow = false;
        if (AskList(list, s, LB_GETTOPINDEX) == s.followFrom) {
            const int count = static_cast<int>(AskList(list, s, LB_GETCOUNT));
            const int page = LinesInView(list, static_cast<int>(AskList(list, s, LB_GETITEMHEIGHT)));
            AskList(list, s, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, count - page)));
            UpdateWindow(list);
        }
    }
    Measure(list, s);
    if (ThumbOf(list, s) != s.drawn) DrawScrollBar(list, s);
    else if (!s.valuesSet) SetBarValues(list, s, FALSE);
}

// After anything that may have changed the lines, the view or the list's size.
void FollowList(HWND list, ScrollBarState& s)
{
    if (!Measure(list, s) && !s.follow) return;
    // A bar that comes or goes changes the frame of the list: at once.
    if (ThumbOf(list, s).shown != s.drawn.shown) DrawScrollBar(list, s);
    if (s.frame.DrawNow(list)) DrawFrame(list, s);
}

// A control's window procedure is wrapped the classic way: Wine keeps the platform's
// subclass chain in a window property, which costs a call to its server per message.
// The keeper's state lives in the control's user data, which the platform leaves free
// (it keeps its own in the window's extra bytes), and goes with the window.
template <class State, LRESULT (*Keep)(HWND, State&, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK KeeperProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (msg != WM_NCDESTROY) return Keep(w, *state, msg, wp, lp);
    const WNDPROC next = state->next;
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
    SetWindowLongPtrA(w, GWLP_USERDATA, 0);
    delete state;
    return CallWindowProcA(next, w, msg, wp, lp);
}

// Wraps the control; none when its user data is taken already.
template <class State, LRESULT (*Keep)(HWND, State&, UINT, WPARAM, LPARAM)>
State* WrapControl(HWND w)
{
    if (GetWindowLongPtrA(w, GWLP_USERDATA)) return nullptr;
    auto state = std::make_unique<State>();
    state->next = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.get()));
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeeperProc<State, Keep>));
    return state.release();
}

LRESULT KeepScrollBar(HWND list, ScrollBarState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER && wp == kListFrameTimer) {
        if (s.frame.Due(list, wp)) DrawFrame(list, s);
        return 0;
    }
    if ((msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK) && !s.valuesSet) SetBarValues(list, s, FALSE);
    const LRESULT result = CallWindowProcA(s.next, list, msg, wp, lp);
    switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETDLGCODE:
    case WM_DESTROY:
        break;
    default:
        // Lines, the view or the list's size may have changed; the bar follows once,
        // not again for the messages its own update sends.
        if (!s.syncing) {
            s.syncing = true;
            FollowList(list, s);
            s.syncing = false;
        }
    }
    return result;
}

// The static control paints a text the moment it gets it; the text it holds is kept by
// Wine's server as well, so even taking one costs a call to it. Within a frame the text
// only waits here, and whoever asks the control for its text gets it; the control gets
// it when the frame ends.
void ShowWaitingText(HWND label, StatusLineState& s)
{
    if (!s.textWaits) return;
    s.textWaits = false;
    const std::string text = std::move(s.text);
    CallWindowProcA(s.next, label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT KeepStatus(HWND label, StatusLineState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER:
        if (wp != kStatusFrameTimer) break;
        if (s.frame.Due(label, wp)) ShowWaitingText(label, s);
        return 0;
    case WM_SETTEXT:
        if (s.frame.DrawNow(label)) {
            s.textWaits = false;
            break;
        }
        s.text = lp ? reinterpret_cast<const char*>(lp) : "";
        s.textWaits = true;
        return TRUE;
    case WM_GETTEXTLENGTH:
        if (s.textWaits) return static_cast<LRESULT>(s.text.size());
        break;
    case WM_GETTEXT:
        if (s.textWaits) {
            if (wp == 0 || !lp) return 0;
            const size_t n = std::min(s.text.size(), static_cast<size_t>(wp) - 1);
            s.text.copy(reinterpret_cast<char*>(lp), n);
            reinterpret_cast<char*>(lp)[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        break;
    }
    return CallWindowProcA(s.next, label, msg, wp, lp);
}

// The bar redraws itself whole for every move; the steps of a frame move it once.
void MoveBar(HWND bar, ProgressBarState& s)
{
    if (s.waiting == 0) return;
    CallWindowProcA(s.next, bar, PBM_DELTAPOS, static_cast<WPARAM>(s.waiting * s.step), 0);
    s.waiting = 0;
}

LRESULT KeepBar(HWND bar, ProgressBarState& s, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_TIMER:
        if (wp != kBarFrameTimer) break;
        if (s.frame.Due(bar, wp)) MoveBar(bar, s);
        return 0;
    case PBM_STEPIT:
        ++s.waiting;
        if (s.frame.DrawNow(bar)) MoveBar(bar, s);
        return 0;
    case PBM_SETSTEP:
        s.step = static_cast<int>(wp);
        break;
    case PBM_SETPOS:
        // Steps not yet drawn are overtaken, not added.
        s.frame.Flush(bar);
        s.waiting = 0;
        break;
    case PBM_GETPOS:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
    case PBM_DELTAPOS:
        s.frame.Flush(bar);
        MoveBar(bar, s);
        break;
    }
    return CallWindowProcA(s.next, bar, msg, wp, lp);
}

} // namespace

HWND CreateChild(HWND parent, int id, const char* cls, const char* text, DWORD style,
                 int left, int top, int width, int height, DWORD exStyle)
{
    HWND w = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, Scale(left), Scale(top),
                             Scale(width), Scale(height), parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (!w) throw Error("Steuerelement " + std::string(cls) + " nicht erzeugt");
    return w;
}

void SetFont(HWND w, HFONT font) { SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE); }

std::string Label::Caption() const { return WindowText(w_); }

void Label::SetCaption(const std::string& s) const { SetWindowTextA(w_, s.c_str()); }

void StatusLine::Attach(HWND w)
{
    Label::Attach(w);
    keeper_ = WrapControl<StatusLineState, KeepStatus>(w);
}

void StatusLine::ShowWaiting() const
{
    if (keeper_ && keeper_->frame.Flush(Handle())) ShowWaitingText(Handle(), *keeper_);
}

void ProgressBar::Attach(HWND w)
{
    w_ = w;
    keeper_ = WrapControl<ProgressBarState, KeepBar>(w);
}

void ProgressBar::ShowWaiting() const
{
    if (!keeper_ || !keeper_->frame.Flush(w_)) return;
    MoveBar(w_, *keeper_);
    UpdateWindow(w_);
}

int ProgressBar::Position() const { return static_cast<int>(SendMessageA(w_, PBM_GETPOS, 0, 0)); }

void ProgressBar::SetPosition(int p) const { SendMessageA(w_, PBM_SETPOS, static_cast<WPARAM>(p), 0); }

int ProgressBar::Max() const { return static_cast<int>(SendMessageA(w_, PBM_GETRANGE, FALSE, 0)); }

void ProgressBar::SetMax(int m) const { SendMessageA(w_, PBM_SETRANGE32, 0, m); }

void ProgressBar::StepIt() const { SendMessageA(w_, PBM_STEPIT, 0, 0); }


void ListBox::Clear() const { SendMessageA(w_, LB_RESETCONTENT, 0, 0); }

void ListBox::Add(const std::string& line) const
{
    SendMessageA(w_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void MessageList::Attach(HWND w)
{
    ListBox::Attach(w);
    // A list made with WS_VSCROLL keeps its bar itself; two keepers would fight.
    if (GetWindowLongA(w, GWL_STYLE) & WS_VSCROLL) return;
    keeper_ = WrapControl<ScrollBarState, KeepScrollBar>(w);
    if (keeper_) FollowList(w, *keeper_);
}

int MessageList::VisibleLines() const
{
    return LinesInView(w_, static_cast<int>(SendMessageA(w_, LB_GETITEMHEIGHT, 0, 0)));
}

void MessageList::Add(const std::string& line) const
{
    if (!keeper_) {
        const int page = VisibleLines();
        const int top = static_cast<int>(SendMessageA(w_, LB_GETTOPINDEX, 0, 0));
        const bool atEnd = top + page >= Count();
        const LRESULT i = SendMessageA(w_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (atEnd && i >= top + page) {
            SendMessageA(w_, LB_SETTOPINDEX, static_cast<WPARAM>(i - page + 1), 0);
            UpdateWindow(w_);
        }
        return;
    }
    // The list follows once the line is in, not after each step of adding it.
    ScrollBarState& s = *keeper_;
    s.syncing = true;
    const int top = static_cast<int>(AskList(w_, s, LB_GETTOPINDEX));
    // A reader who moved the list while a line waited has taken it over.
    if (s.follow && top != s.followFrom) s.follow = false;
    const bool atEnd = s.follow || top + VisibleLines() >= Count();
    SendMessageA(w_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (atEnd && !s.follow) {
        s.follow = true;
        s.followFrom = top;
    }
    s.syncing = false;
    FollowList(w_, s);
}

void MessageList::ShowWaiting() const
{
    if (keeper_ && keeper_->frame.Flush(w_)) DrawFrame(w_, *keeper_);
}

int ListBox::Count() const { return static_cast<int>(SendMessageA(w_, LB_GETCOUNT, 0, 0)); }

std::string ListBox::Item(int i) const
{
    LRESULT n = SendMessageA(w_, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (n == LB_ERR) return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = SendMessageA(w_, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    s.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
    return s;
}

} // namespace win
