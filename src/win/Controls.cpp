#include "win/Controls.h"

#include "win/Error.h"
#include "win/Window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace win {

namespace {

// The part of a bar that is filled at a position, in pixels from its left edge.
int FilledWidth(HWND bar, int position)
{
    PBRANGE range{};
    SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    if (range.iHigh <= range.iLow) return 0;
    RECT r;
    GetClientRect(bar, &r);
    const int done = std::clamp(position, range.iLow, range.iHigh) - range.iLow;
    return MulDiv(r.right, done, range.iHigh - range.iLow);
}

// What the scroll bar of a message list last showed.
struct ScrollBarState {
    int count = -1;
    int top = -1;
    int page = -1;
    SCROLLBARINFO shown{};
    bool syncing = false;
};

constexpr UINT_PTR kScrollBarKeeper = 1;

int LinesInView(HWND list, int itemHeight)
{
    RECT r;
    GetClientRect(list, &r);
    return std::max(1, itemHeight > 0 ? static_cast<int>(r.bottom) / itemHeight : 1);
}

// The thumb of a scroll bar shrinks with the share of the lines in view, down to the
// system's least thumb.
int ThumbLength(const SCROLLBARINFO& bar, int count, int page)
{
    const int track = (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 2 * bar.dxyLineButton;
    if (track <= 0 || count <= 0) return 0;
    return std::max(MulDiv(track, std::min(page, count), count), GetSystemMetrics(SM_CYVTHUMB));
}

bool SameLook(const SCROLLBARINFO& a, const SCROLLBARINFO& b)
{
    return EqualRect(&a.rcScrollBar, &b.rcScrollBar) && a.xyThumbTop == b.xyThumbTop &&
           a.xyThumbBottom == b.xyThumbBottom && std::memcmp(a.rgstate, b.rgstate, sizeof a.rgstate) == 0;
}

// Sets the bar to the list's lines without drawing it, and draws it only when that
// moved the thumb, changed its length or the arrows, or made the bar come or go (which
// the frame change draws by itself).
void SyncScrollBar(HWND list, ScrollBarState& s)
{
    const int count = static_cast<int>(DefSubclassProc(list, LB_GETCOUNT, 0, 0));
    const int top = static_cast<int>(DefSubclassProc(list, LB_GETTOPINDEX, 0, 0));
    const int page = LinesInView(list, static_cast<int>(DefSubclassProc(list, LB_GETITEMHEIGHT, 0, 0)));
    if (count == s.count && top == s.top && page == s.page) return;
    const int oldCount = s.count;
    const int oldPage = s.page;
    s.count = count;
    s.top = top;
    s.page = page;

    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, count - 1, static_cast<UINT>(page), top, 0};
    SetScrollInfo(list, SB_VERT, &info, FALSE);
    SCROLLBARINFO now{};
    now.cbSize = sizeof now;
    if (!GetScrollBarInfo(list, OBJID_VSCROLL, &now)) {
        SetScrollInfo(list, SB_VERT, &info, TRUE);
        return;
    }
    const bool visible = !(now.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
    const bool changed = !SameLook(now, s.shown) ||
                         ThumbLength(now, count, page) != ThumbLength(now, oldCount, oldPage);
    s.shown = now;
    if (visible && changed) SetScrollInfo(list, SB_VERT, &info, TRUE);
}

LRESULT CALLBACK KeepScrollBar(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data)
{
    auto* state = reinterpret_cast<ScrollBarState*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(list, KeepScrollBar, id);
        delete state;
        return DefSubclassProc(list, msg, wp, lp);
    }
    const LRESULT result = DefSubclassProc(list, msg, wp, lp);
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
        if (!state->syncing) {
            state->syncing = true;
            SyncScrollBar(list, *state);
            state->syncing = false;
        }
    }
    return result;
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

int ProgressBar::Position() const { return static_cast<int>(SendMessageA(w_, PBM_GETPOS, 0, 0)); }

void ProgressBar::SetPosition(int p) const { SendMessageA(w_, PBM_SETPOS, static_cast<WPARAM>(p), 0); }

int ProgressBar::Max() const { return static_cast<int>(SendMessageA(w_, PBM_GETRANGE, FALSE, 0)); }

void ProgressBar::SetMax(int m) const { SendMessageA(w_, PBM_SETRANGE32, 0, m); }

void ProgressBar::StepIt() const
{
    // The bar paints itself at once on every step, although a step of a long list
    // mostly moves it by less than a pixel. What an earlier change left to paint is
    // painted first, since turning the drawing off drops it.
    UpdateWindow(w_);
    const int before = Position();
    SendMessageA(w_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(w_, PBM_STEPIT, 0, 0);
    SendMessageA(w_, WM_SETREDRAW, TRUE, 0);
    ValidateRect(w_, nullptr);
    const int from = FilledWidth(w_, before);
    const int to = FilledWidth(w_, Position());
    if (from == to) return;
    RECT r;
    GetClientRect(w_, &r);
    // A block of the bar is narrower than the bar is high: the blocks on either side
    // of the edge are repainted with it.
    const int margin = r.bottom;
    r.left = std::max(0, std::min(from, to) - margin);
    r.right = std::min(r.right, static_cast<LONG>(std::max(from, to) + margin));
    InvalidateRect(w_, &r, FALSE);
}

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
    auto state = std::make_unique<ScrollBarState>();
    if (!SetWindowSubclass(w, KeepScrollBar, kScrollBarKeeper, reinterpret_cast<DWORD_PTR>(state.get()))) return;
    SyncScrollBar(w, *state.release());
}

int MessageList::VisibleLines() const
{
    return LinesInView(w_, static_cast<int>(SendMessageA(w_, LB_GETITEMHEIGHT, 0, 0)));
}

void MessageList::Add(const std::string& line) const
{
    const int page = VisibleLines();
    const int top = static_cast<int>(SendMessageA(w_, LB_GETTOPINDEX, 0, 0));
    const bool atEnd = top + page >= Count();
    const LRESULT i = SendMessageA(w_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    // The list moves its lines up by their pixels and paints only the new one.
    if (atEnd && i >= top + page) SendMessageA(w_, LB_SETTOPINDEX, static_cast<WPARAM>(i - page + 1), 0);
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
