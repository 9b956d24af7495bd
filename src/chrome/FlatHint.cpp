#include "chrome/FlatHint.h"

#include "chrome/HintManager.h"
#include "win/Hint.h"
#include "win/LaterCalls.h"
#include "win/RecordSizes.h"

#include <algorithm>

namespace {

TFlatHint* g_flatHint = nullptr;

constexpr const char* kClassName = "TFlatHintWindow";

int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

} // namespace

// ---- the component ------------------------------------------------------------------

TFlatHint::TFlatHint()
    : messages_([this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
          if (msg != WM_WININICHANGE) return false;
          ReadFont();
          result = 0;
          return true;
      })
{
    g_flatHint = this;
    win::ApplicationHintTiming() = {500, 25, 5000};
    ReadFont();
    manager_ = std::make_unique<THintManager>(*this);
}

TFlatHint::~TFlatHint()
{
    manager_.reset();
    if (g_flatHint == this) g_flatHint = nullptr;
}

TFlatHint* TFlatHint::Instance() noexcept { return g_flatHint; }

void TFlatHint::SetHintStyle(THintStyle v)
{
    if (v == hintStyle_) return;
    hintStyle_ = v;
    if (v == THintStyle::hsOffice97) ReadFont();
}

void TFlatHint::DoShowHint(std::string& hintStr, bool& canShow, THintInfo& info)
{
    if (OnShowHint) OnShowHint(hintStr, canShow, info);
    hintControl_ = info.HintControl;
}

bool TFlatHint::FontInstalled(const char* face)
{
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    win::WindowDC screen(nullptr);
    EnumFontFamiliesExA(screen.get(), &wanted, FontFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

std::string TFlatHint::FaceFor(const std::string& statusFace, THintStyle style, bool tahomaInstalled)
{
    if (style == THintStyle::hsOffice97 && statusFace == "MS Sans Serif" && tahomaInstalled) return "Tahoma";
    return statusFace;
}

void TFlatHint::ReadFont()
{
    NONCLIENTMETRICSA m{};
    m.cbSize = win::kNonClientMetricsSize;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, win::kNonClientMetricsSize, &m, 0)) return;
    const LOGFONTA& s = m.lfStatusFont;
    LOGFONTA f{};
    lstrcpynA(f.lfFaceName, s.lfFaceName, LF_FACESIZE);
    f.lfHeight = s.lfHeight;
    f.lfWeight = s.lfWeight > 500 ? FW_BOLD : FW_NORMAL;
    f.lfItalic = s.lfItalic ? TRUE : FALSE;
    f.lfUnderline = s.lfUnderline ? TRUE : FALSE;
    f.lfStrikeOut = s.lfStrikeOut ? TRUE : FALSE;
    f.lfCharSet = DEFAULT_CHARSET;
    f.lfPitchAndFamily = static_cast<BYTE>(s.lfPitchAndFamily & 3);
    const std::string face = f.lfFaceName;
    lstrcpynA(f.lfFaceName, FaceFor(face, hintStyle_, face == "MS Sans Serif" && FontInstalled("Tahoma")).c_str(),
              LF_FACESIZE);
    font_ = f;
    fontHandle_.reset(CreateFontIndirectA(&font_));
}

// ---- the tooltip window -------------------------------------------------------------

TFlatHintWindow::TFlatHintWindow()
{
    RegisterClassOnce(kClassName, nullptr, nullptr);
    // The framework's tooltip window, less its border: the frame is drawn by Paint.
    Create(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
}

SIZE TFlatHintWindow::Padding(THintStyle style)
{
    switch (style) {
    case THintStyle::hsFlat: return {6, 4};
    case THintStyle::hsOffice97: return {6, 6};
    case THintStyle::hsWindows95: return {8, 4};
    }
    return {8, 4};
}

int TFlatHintWindow::CursorDepth(HCURSOR cursor)
{
    constexpr int kFallback = 32;
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return kFallback;
    win::UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    BITMAP bm{};
    if (!mask || !GetObjectA(mask.get(), sizeof bm, &bm)) return kFallback;
    win::UniqueMemDC dc(CreateCompatibleDC(nullptr));
    if (!dc) return kFallback;
    win::SelectObj select(dc.get(), mask.get());
    const int hotY = static_cast<int>(info.yHotspot);
    const int columns = std::min(32, static_cast<int>(bm.bmWidth));
    auto rowHas = [&](int row, COLORREF wanted) {
        if (row >= bm.bmHeight) return false;
        for (int x = 0; x < columns; ++x)
            if (GetPixel(dc.get(), x, row) == wanted) return true;
        return false;
    };
    // The lowest row where the shape covers the screen...
    for (int row = 31; row >= 0; --row)
        if (rowHas(row, RGB(0, 0, 0))) return row - hotY;
    // ...or, for a shape drawn only by inverting, the lowest inverted row of the lower
    // half. Row 31 belongs to the upper half: a blank cursor would place the tooltip
    // over its own hot spot.
    for (int row = 63; row >= 32; --row)
        if (rowHas(row, RGB(255, 255, 255))) return row - hotY - 32;
    return kFallback;
}

RECT TFlatHintWindow::Place(SIZE size, POINT cursor, int cursorDepth, const RECT& work, THintStyle style,
                            bool hintOfForm, const RECT& control)
{
    RECT r{cursor.x, cursor.y + cursorDepth, cursor.x + size.cx, cursor.y + cursorDepth + size.cy};
    if (r.right > work.right) OffsetRect(&r, work.right - r.right, 0);
    if (r.bottom > work.bottom) {
        const int bottom = (style == THintStyle::hsOffice97 || hintOfForm) ? cursor.y - 2 : control.top;
        OffsetRect(&r, 0, bottom - r.bottom);
    }
    return r;
}

void TFlatHintWindow::ActivateHint(RECT rect, const std::string& text)
{
    const HWND w = Handle();
    SetWindowTextA(w, text.c_str());
    TFlatHint* owner = TFlatHint::Instance();
    const THintStyle style = owner ? owner->HintStyle() : THintStyle::hsWindows95;
    const SIZE pad = Padding(style);
    {
        win::WindowDC dc(w);
        win::SelectObj font(dc.get(), owner ? owner->FontHandle() : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    text_ = {rect.right - rect.left, rect.bottom - rect.top};

    POINT cursor;
    GetCursorPos(&cursor);
    // The mouse is over one of our windows: the shape this thread set is the one shown.
    const HCURSOR shape = GetCursor();
    const HWND control = owner ? owner->HintControl() : nullptr;
    RECT controlRect{};
    if (control) GetWindowRect(control, &controlRect);
    const bool ofForm = control && !(GetWindowLongA(control, GWL_STYLE) & WS_CHILD);
    const RECT r = Place({text_.cx + pad.cx, text_.cy + pad.cy}, cursor, CursorDepth(shape), win::WorkAreaAt(cursor),
                         style, ofForm, controlRect);
    const int width = r.right - r.left, height = r.bottom - r.top;

    SetWindowPos(w, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // What lies under the tooltip is put on it first, so that it shows without a flash
    // of an empty window before its first paint.
    win::WindowDC screen(nullptr);
    image_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    win::UniqueMemDC mem(CreateCompatibleDC(screen.get()));
    if (image_ && mem) {
        win::SelectObj select(mem.get(), image_.get());
        BitBlt(mem.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
    }
    SetWindowPos(w, HWND_TOPMOST, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (image_ && mem) {
        win::SelectObj select(mem.get(), image_.get());
        win::WindowDC dc(w);
        BitBlt(dc.get(), 0, 0, width, height, mem.get(), 0, 0, SRCCOPY);
    }
}

void TFlatHintWindow::Hide()
{
    if (IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);
}

void TFlatHintWindow::Paint()
{
    PAINTSTRUCT ps;
    const HWND w = Handle();
    const HDC target = BeginPaint(w, &ps);
    RECT client;
    GetClientRect(w, &client);
    const int width = client.right, height = client.bottom;
    if (!image_) image_.reset(CreateCompatibleBitmap(target, width, height));
    win::UniqueMemDC mem(CreateCompatibleDC(target));
    if (image_ && mem) {
        const HDC dc = mem.get();
        win::SelectObj select(dc, image_.get());
        {
            win::SavedDC saved(dc);
            win::UniqueBrush back(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
            FillRect(dc, &client, back.get());

            TFlatHint* owner = TFlatHint::Instance();
            const THintStyle style = owner ? owner->HintStyle() : THintStyle::hsWindows95;
            const bool flat = style == THintStyle::hsFlat;
            win::UniquePen light(CreatePen(PS_SOLID, 1, GetSysColor(flat ? COLOR_WINDOWFRAME : COLOR_3DLIGHT)));
            win::UniquePen dark(CreatePen(PS_SOLID, 1, GetSysColor(flat ? COLOR_WINDOWFRAME : COLOR_3DDKSHADOW)));
            {
                win::SelectObj pen(dc, light.get());
                MoveToEx(dc, 0, height - 2, nullptr);
                LineTo(dc, 0, 0);
                LineTo(dc, width - 1, 0);
            }
            {
                win::SelectObj pen(dc, dark.get());
                MoveToEx(dc, 0, height - 1, nullptr);
                LineTo(dc, width - 1, height - 1);
                LineTo(dc, width - 1, -1);
            }

            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, owner ? owner->FontColor() : GetSysColor(COLOR_INFOTEXT));
            win::SelectObj font(dc, owner ? owner->FontHandle() : GetStockObject(DEFAULT_GUI_FONT));
            const std::string text = win::WindowText(w);
            RECT r{(width - text_.cx) / 2, (height - text_.cy) / 2, 0, 0};
            r.right = r.left + text_.cx;
            r.bottom = r.top + text_.cy;
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
        }
        BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    }
    image_.reset();
    EndPaint(w, &ps);
}

LRESULT TFlatHintWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        // The mouse belongs to whatever lies under the tooltip.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return Window::HandleMessage(msg, wp, lp);
    }
}
