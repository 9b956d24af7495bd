#include "menus/MenuHintWindow.h"

#include "win/Handles.h"
#include "win/Hint.h"
#include "win/LaterCalls.h"
#include "win/RecordSizes.h"

#include <algorithm>

namespace menus {

namespace {

constexpr UINT_PTR kHideTimer = 1;

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

HFONT HintFont()
{
    NONCLIENTMETRICSA ncm{win::kNonClientMetricsSize};
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, win::kNonClientMetricsSize, &ncm, 0);
    return CreateFontIndirectA(&ncm.lfStatusFont);
}

} // namespace

std::string ShortHint(const std::string& hint)
{
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string StatusText(const std::string& hint)
{
    const auto bar = hint.find('|');
    const std::string s = Trim(bar == std::string::npos ? hint : hint.substr(bar + 1));
    std::string out;
    for (size_t i = 0; i < s.size();) {
        if (s.compare(i, 2, "&#") == 0) {
            out.push_back(' ');
            i += 5;
        } else {
            out.push_back(s[i++]);
        }
    }
    return out;
}

std::vector<std::string> HintLines(const std::string& hint)
{
    std::string s = Trim(ShortHint(hint));
    std::vector<std::string> lines;
    size_t from = 0;
    for (;;) {
        const size_t entity = s.find("&#13;", from), cr = s.find('\r', from);
        const size_t cut = std::min(entity, cr);
        if (cut == std::string::npos) break;
        lines.push_back(s.substr(from, cut - from));
        from = cut + (cut == entity ? 5 : (cut + 1 < s.size() && s[cut + 1] == '\n' ? 2 : 1));
    }
    lines.push_back(s.substr(from));
    return lines;
}

TMenuHintWindow::TMenuHintWindow()
{
    RegisterClassOnce("TMenuHintWindow", nullptr, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1));
    Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | win::kExNoActivate, "TMenuHintWindow", "", WS_POPUP | WS_BORDER, 0, 0,
           0, 0, nullptr, nullptr);
}

POINT TMenuHintWindow::Position(SIZE size, POINT pointer, RECT work)
{
    POINT at{pointer.x, pointer.y + 25};
    if (at.x + size.cx > work.right) at.x = pointer.x - size.cx - 10;
    if (at.y + size.cy > work.bottom) at.y = pointer.y - size.cy - 35;
    at.x = std::max(at.x, work.left);
    at.y = std::max(at.y, work.top);
    return at;
}

void TMenuHintWindow::ActivateHint(const std::string& hint, POINT pointer, RECT work)
{
    lines_ = HintLines(hint);
    if (Trim(ShortHint(hint)).empty()) {
        ReleaseHandle();
        return;
    }
    win::WindowDC dc(Handle());
    win::UniqueFont font(HintFont());
    win::SelectObj sel(dc.get(), font.get());
    int width = 0;
    SIZE ext{};
    for (const auto& line : lines_) {
        GetTextExtentPoint32A(dc.get(), line.c_str(), static_cast<int>(line.size()), &ext);
        width = std::max<int>(width, ext.cx);
    }
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    lineHeight_ = tm.tmHeight;
    const SIZE size{width + 6, 5 + static_cast<int>(lines_.size()) * (lineHeight_ + 1)};
    const POINT at = Position(size, pointer, work);
    SetWindowPos(Handle(), HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(Handle(), nullptr, TRUE);
    SetTimer(Handle(), kHideTimer, win::ApplicationHintTiming().hidePause, nullptr);
}

void TMenuHintWindow::ReleaseHandle()
{
    KillTimer(Handle(), kHideTimer);
    ShowWindow(Handle(), SW_HIDE);
}

bool TMenuHintWindow::Showing() const { return IsWindowVisible(Handle()) != FALSE; }

LRESULT TMenuHintWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        win::UniqueFont font(HintFont());
        {
            win::SelectObj sel(ps.hdc, font.get());
            SetBkMode(ps.hdc, TRANSPARENT);
            SetTextColor(ps.hdc, GetSysColor(COLOR_INFOTEXT));
            int y = 2;
            for (const auto& line : lines_) {
                TextOutA(ps.hdc, 2, y, line.c_str(), static_cast<int>(line.size()));
                y += lineHeight_ + 1;
            }
        }
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_TIMER:
        if (wp == kHideTimer) ReleaseHandle();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return Window::HandleMessage(msg, wp, lp);
    }
}

} // namespace menus
