#include "win/Controls.h"

#include "win/Error.h"
#include "win/Window.h"

#include <commctrl.h>

namespace win {

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

void ProgressBar::StepIt() const { SendMessageA(w_, PBM_STEPIT, 0, 0); }

void ListBox::Clear() const { SendMessageA(w_, LB_RESETCONTENT, 0, 0); }

void ListBox::Add(const std::string& line) const
{
    SendMessageA(w_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
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
