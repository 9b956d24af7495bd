#include "chrome/GradCaption.h"

#include "win/LaterCalls.h"
#include "win/RecordSizes.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr const char* kProp = "TGradientCaption";

void FillSolid(HDC dc, const RECT& r, COLORREF color)
{
    win::UniqueBrush brush(CreateSolidBrush(color));
    if (!brush) return;
    win::SelectObj sel(dc, brush.get());
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
}

int TextWidth(HDC dc, HFONT font, const std::string& text)
{
    if (text.empty()) return 0;
    win::SelectObj sel(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    return r.right - r.left;
}

// Character height: the cell less the room above the letters.
int CharHeight(HDC dc, const LOGFONTA& f)
{
    win::UniqueFont font(CreateFontIndirectA(&f));
    if (!font) return 0;
    win::SelectObj sel(dc, font.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight - tm.tmInternalLeading;
}

// A font height grows or shrinks by pixels whichever way it is given: as a character
// height (negative) or as a cell height (positive).
LONG Shrunk(LONG height, int by) { return height < 0 ? height + by : height - by; }

HICON IconOf(HWND w)
{
    for (HWND h = w; h; h = GetWindow(h, GW_OWNER)) {
        for (WPARAM kind : {WPARAM(ICON_SMALL), WPARAM(ICON_BIG)}) {
            DWORD_PTR icon = 0;
            if (SendMessageTimeoutA(h, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 100, &icon) && icon)
                return reinterpret_cast<HICON>(icon);
        }
        for (int index : {GCLP_HICONSM, GCLP_HICON})
            if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(h, index))) return icon;
    }
    return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

struct Button {
    RECT rect;
    UINT state;
};

} // namespace

// ---- text elements ----------------------------------------------------------------

TCompanyText::TCompanyText(TGradientCaption& owner) : owner_(owner) {}

void TCompanyText::SetCaption(const std::string& v)
{
    if (v == caption_) return;
    // The rest is read back before the change: the old texts are what the caption holds.
    std::string rest = owner_.CaptionText.Caption();
    caption_ = v;
    owner_.ComposeFormCaption(rest);
}

void TCompanyText::SetVisible(bool v)
{
    if (v == visible_) return;
    std::string rest = owner_.CaptionText.Caption();
    visible_ = v;
    owner_.ComposeFormCaption(rest);
}

void TCompanyText::SetColorActive(win::Color v)
{
    colorActive_ = v;
    owner_.RedrawFrame();
}

void TCompanyText::SetColorInactive(win::Color v)
{
    colorInactive_ = v;
    owner_.RedrawFrame();
}

void TCompanyText::SetFont(const LOGFONTA& v)
{
    if (fontKind_ != TFontKind::fkAutoHeight) fontKind_ = TFontKind::fkCustom;
    UseFont(v);
    if (fontKind_ == TFontKind::fkAutoHeight) ApplyFontKind();
    owner_.RedrawFrame();
}

void TCompanyText::SetFontKind(TFontKind v)
{
    fontKind_ = v;
    ApplyFontKind();
    owner_.RedrawFrame();
}

void TCompanyText::UseFont(const LOGFONTA& f)
{
    font_ = f;
    handle_.reset(CreateFontIndirectA(&font_));
}

void TCompanyText::ApplyFontKind()
{
    LOGFONTA f = owner_.CaptionFont();
    switch (fontKind_) {
    case TFontKind::fkCustom:
        if (!handle_) UseFont(font_);
        return;
    case TFontKind::fkSystem: break;
    case TFontKind::fkSystemI: f.lfItalic = TRUE; break;
    case TFontKind::fkSystemB: f.lfWeight = FW_BOLD; break;
    case TFontKind::fkSystemBI:
        f.lfItalic = TRUE;
        f.lfWeight = FW_BOLD;
        break;
    case TFontKind::fkAutoHeight: {
        // Same letter height as the caption font, whatever the face's proportions.
        f = font_;
        win::UniqueMemDC dc(CreateCompatibleDC(nullptr));
        if (!dc) return;
        const int target = CharHeight(dc.get(), owner_.CaptionFont());
        f.lfHeight = Shrunk(f.lfHeight, CharHeight(dc.get(), f) - target);
        if (const int over = CharHeight(dc.get(), f) - target; over > 0) f.lfHeight = Shrunk(f.lfHeight, over);
        break;
    }
    }
    UseFont(f);
}

std::string TCaptionText::Caption() const
{
    // Hidden, the rest is not in the form's caption; it is kept until shown again.
    if (!Visible()) return caption_;
    std::string s = win::WindowText(owner_.FormHandle());
    for (const TCompanyText* e : {static_cast<const TCompanyText*>(&owner_.CompanyText),
                                  static_cast<const TCompanyText*>(&owner_.AppNameText)}) {
        const std::string t = e->Caption();
        if (!e->Visible() || t.empty()) continue;
        auto at = s.find(t);
        if (at == std::string::npos) continue;
        s.erase(0, at + t.size());
        if (!s.empty() && s[0] == ' ') s.erase(0, 1);
    }
    return s;
}

void TCaptionText::SetCaption(const std::string& v)
{
    caption_ = v;
    owner_.ComposeFormCaption(v);
}

// ---- the component ------------------------------------------------------------------

TGradientCaption::TGradientCaption(win::Window& form)
    : form_(form)
{
    ReadCaptionFont();
    for (TCompanyText* e : {&CompanyText, static_cast<TCompanyText*>(&AppNameText),
                            static_cast<TCompanyText*>(&CaptionText)})
        e->ApplyFontKind();
    Install();
}

TGradientCaption::~TGradientCaption()
{
    destroying_ = true;
    const HWND w = FormHandle();
    const std::string rest = w ? CaptionText.Caption() : std::string();
    Uninstall();
    if (w && IsWindow(w) && !formDestroying_) {
        // Taken off a form that stays: the form keeps only its own caption, drawn by the platform.
        SetWindowTextA(w, rest.c_str());
        RedrawFrame();
    }
}

void TGradientCaption::Install()
{
    const HWND w = FormHandle();
    if (!w || installed_) return;
    SetPropA(w, kProp, this);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TGradientCaption::Hook)));
    installedOn_ = w;
    installed_ = true;
    // A composing desktop would paint its own frame over this one.
    win::KeepFramePaintedByProgram(w);
}

void TGradientCaption::Uninstall()
{
    if (!installed_) return;
    if (IsWindow(installedOn_)) {
        SetWindowLongPtrA(installedOn_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropA(installedOn_, kProp);
    }
    installed_ = false;
    installedOn_ = nullptr;
}

void TGradientCaption::Loaded()
{
    if (installed_ && installedOn_ == FormHandle()) return;
    Uninstall();
    Install();
    RedrawFrame();
}

bool TGradientCaption::AppHook(UINT msg, WPARAM, LPARAM lp, LRESULT& result)
{
    if (msg != kReinstallMessage || lp != reinterpret_cast<LPARAM>(this)) return false;
    result = 0;
    if (!waitingToReinstall_) return true;
    waitingToReinstall_ = false;
    Install();
    // The new window has had no activation message yet: the active window decides.
    activeKnown_ = false;
    RedrawFrame();
    return true;
}

void TGradientCaption::ReadCaptionFont()
{
    NONCLIENTMETRICSA m{};
    m.cbSize = win::kNonClientMetricsSize;
    LOGFONTA f{};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, win::kNonClientMetricsSize, &m, 0)) {
        const LOGFONTA& c = m.lfCaptionFont;
        lstrcpynA(f.lfFaceName, c.lfFaceName, LF_FACESIZE);
        // A positive height is a cell height and stays one: CreateFont reads it so too.
        f.lfHeight = c.lfHeight;
        f.lfItalic = c.lfItalic ? TRUE : FALSE;
        f.lfWeight = c.lfWeight > 500 ? FW_BOLD : FW_NORMAL;
        f.lfCharSet = DEFAULT_CHARSET;
        f.lfPitchAndFamily = DEFAULT_PITCH;
    } else {
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof f, &f);
    }
    captionFont_ = f;
    captionFontHandle_.reset(CreateFontIndirectA(&captionFont_));
}

void TGradientCaption::PropertyChanged() const { RedrawFrame(); }

void TGradientCaption::SetColorLeftActive(win::Color v) { colorLeftActive_ = v; PropertyChanged(); }
void TGradientCaption::SetColorLeftInActive(win::Color v) { colorLeftInActive_ = v; PropertyChanged(); }
void TGradientCaption::SetColorRightActive(win::Color v) { colorRightActive_ = v; PropertyChanged(); }
void TGradientCaption::SetColorRightInActive(win::Color v) { colorRightInActive_ = v; PropertyChanged(); }
void TGradientCaption::SetEnabled(TGradEnabled v) { enabled_ = v; PropertyChanged(); }
void TGradientCaption::SetJustification(TJustification v) { justification_ = v; PropertyChanged(); }

void TGradientCaption::SetNumColors(int v)
{
    if (v < 1) return;
    numColors_ = std::min(v, 256);
    PropertyChanged();
}

void TGradientCaption::RedrawFrame() const
{
    const HWND w = FormHandle();
    if (!w) return;
    SetWindowPos(w, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TGradientCaption::ComposeFormCaption(const std::string& rest)
{
    const HWND w = FormHandle();
    if (!w) return;
    const std::string company = CompanyText.Caption(), name = AppNameText.Caption();
    std::string s;
    if (CompanyText.Visible()) s += company;
    if (CompanyText.Visible() && !company.empty() && (AppNameText.Visible() || CaptionText.Visible())) s += ' ';
    if (AppNameText.Visible()) s += name;
    if (AppNameText.Visible() && !name.empty() && CaptionText.Visible()) s += ' ';
    if (CaptionText.Visible()) s += rest;
    CaptionText.caption_ = rest;
    // The platform paints its own caption as the text is set; the frame is redrawn after.
    const bool locked = LockWindowUpdate(w) != FALSE;
    SetWindowTextA(w, s.c_str());
    if (locked) LockWindowUpdate(nullptr);
    RedrawFrame();
}

bool TGradientCaption::FormActive() const
{
    if (activeKnown_) return active_;
    const HWND w = FormHandle();
    return w && GetActiveWindow() == w;
}

TFormBorderStyle TGradientCaption::BorderStyleOf(HWND form)
{
    const LONG style = GetWindowLongA(form, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(form, GWL_EXSTYLE);
    if ((style & WS_CAPTION) != WS_CAPTION) return TFormBorderStyle::bsNone;
    if (exStyle & WS_EX_TOOLWINDOW)
        return (style & WS_THICKFRAME) ? TFormBorderStyle::bsSizeToolWin : TFormBorderStyle::bsToolWindow;
    if (style & WS_THICKFRAME) return TFormBorderStyle::bsSizeable;
    if (exStyle & WS_EX_DLGMODALFRAME) return TFormBorderStyle::bsDialog;
    return TFormBorderStyle::bsSingle;
}

RECT TGradientCaption::CaptionRect() const
{
    const HWND w = FormHandle();
    RECT r{};
    if (!w) return r;
    const TFormBorderStyle border = BorderStyleOf(w);
    if (border == TFormBorderStyle::bsNone) return r;
    GetWindowRect(w, &r);
    OffsetRect(&r, -r.left, -r.top);
    const bool sizing = border == TFormBorderStyle::bsSizeable || border == TFormBorderStyle::bsSizeToolWin;
    if (sizing && !IsIconic(w))
        InflateRect(&r, -GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME));
    else
        InflateRect(&r, -GetSystemMetrics(SM_CXDLGFRAME), -GetSystemMetrics(SM_CYDLGFRAME));
    const bool tool = border == TFormBorderStyle::bsToolWindow || border == TFormBorderStyle::bsSizeToolWin;
    r.bottom = r.top + GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION) - 1;
    return r;
}

namespace {

// The caption buttons of a form, right to left, and the width they take from the texts.
std::vector<Button> CaptionButtons(HWND w, const RECT& caption, int& taken)
{
    std::vector<Button> buttons;
    taken = 0;
    const TFormBorderStyle border = TGradientCaption::BorderStyleOf(w);
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(w, GWL_EXSTYLE);
    if (border == TFormBorderStyle::bsNone || !(style & WS_SYSMENU)) return buttons;
    const bool tool = border == TFormBorderStyle::bsToolWindow || border == TFormBorderStyle::bsSizeToolWin;
    const int width = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE);
    const bool help = (exStyle & WS_EX_CONTEXTHELP) != 0;
    const bool minMax = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;

    RECT inner = caption;
    InflateRect(&inner, -2, -2);
    int x = inner.right;
    auto add = [&](UINT state, int gapAfter, int counts) {
        buttons.push_back({{x - (width - 2), inner.top, x, inner.bottom}, state});
        x -= width - 2 + gapAfter;
        taken += counts;
    };
    add(DFCS_CAPTIONCLOSE, 2, width + 2);
    if (tool) return buttons;
    if (border != TFormBorderStyle::bsDialog && minMax) {
        add((IsZoomed(w) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) | ((style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE), 0,
            width);
        add((IsIconic(w) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) | ((style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE), 0,
            width);
    } else if (help) {
        add(DFCS_CAPTIONHELP, 0, width + 2);
    }
    return buttons;
}

} // namespace

RECT TGradientCaption::TextArea() const
{
    RECT area = CaptionRect();
    if (IsRectEmpty(&area)) return area;
    int taken = 0;
    CaptionButtons(FormHandle(), area, taken);
    area.right -= taken + 3;
    if (area.right - area.left < 2) area.right = area.left + 2;
    return area;
}

std::vector<TGradientCaption::Band> TGradientCaption::GradientBands(int width, int numColors, COLORREF from,
                                                                     COLORREF to)
{
    std::vector<Band> bands;
    if (numColors < 1) return bands;
    bands.reserve(static_cast<std::size_t>(numColors));
    auto channel = [&](int shift, int i) {
        const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return numColors == 1 ? a : a + MulDiv(i, b - a, numColors - 1);
    };
    for (int i = 0; i < numColors; ++i)
        bands.push_back({MulDiv(i, width, numColors), MulDiv(i + 1, width, numColors),
                         RGB(channel(0, i), channel(8, i), channel(16, i))});
    return bands;
}

bool TGradientCaption::GradientDrawn(TGradEnabled enabled, bool active, int bitsPerPixel)
{
    switch (enabled) {
    case TGradEnabled::geAlways: return true;
    case TGradEnabled::geNever: return false;
    case TGradEnabled::geWhenActive: return active;
    case TGradEnabled::geSmart: return active ? bitsPerPixel >= 8 : bitsPerPixel > 8;
    }
    return false;
}

std::array<int, 3> TGradientCaption::LayoutTexts(const std::array<TTextSlot, 3>& texts,
                                                 TJustification justification, int left, int right)
{
    int all = 0;
    for (const TTextSlot& t : texts)
        if (t.visible) all += t.width;
    const int withoutCompany = all - (texts[0].visible ? texts[0].width : 0);
    const int room = right - left;
    bool drawn[3] = {all < room, withoutCompany < room, true};
    int block = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        drawn[i] = drawn[i] && texts[i].visible && texts[i].shown;
        if (drawn[i]) block += texts[i].width;
    }
    int x = left;
    if (justification == TJustification::jCenter && block < room) x += (room - block) / 2;
    if (justification == TJustification::jRight && block < room) x = right - block;
    std::array<int, 3> at{-1, -1, -1};
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!drawn[i]) continue;
        at[i] = x + 3;
        x = std::min(x + texts[i].width, right);
    }
    return at;
}

// ---- the form's messages ------------------------------------------------------------

LRESULT CALLBACK TGradientCaption::Hook(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = static_cast<TGradientCaption*>(GetPropA(w, kProp));
    if (!self) return DefWindowProcA(w, msg, wp, lp);
    return self->FormProc(w, msg, wp, lp);
}

LRESULT TGradientCaption::FormProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    const WNDPROC previous = previous_;
    switch (msg) {
    case WM_NCPAINT: {
        win::Guarded([&] { PaintCaption(FormActive()); });
        // The rest of the frame is the form's: its update region less the caption bar.
        RECT window;
        GetWindowRect(w, &window);
        win::UniqueRgn rest(CreateRectRgn(0, 0, 0, 0));
        if (!rest) return CallWindowProcA(previous, w, msg, wp, lp);
        if (wp <= 1 || CombineRgn(rest.get(), reinterpret_cast<HRGN>(wp), nullptr, RGN_COPY) == ERROR)
            SetRectRgn(rest.get(), window.left, window.top, window.right, window.bottom);
        RECT caption = CaptionRect();
        OffsetRect(&caption, window.left, window.top);
        win::UniqueRgn bar(CreateRectRgnIndirect(&caption));
        if (bar) CombineRgn(rest.get(), rest.get(), bar.get(), RGN_DIFF);
        return CallWindowProcA(previous, w, msg, reinterpret_cast<WPARAM>(rest.get()), lp);
    }
    case WM_NCACTIVATE:
        active_ = wp != 0;
        activeKnown_ = true;
        // The form and the platform learn of the change too (the platform keeps the
        // window's activation state by it); what they paint of the caption is painted
        // over at once.
        CallWindowProcA(previous, w, msg, wp, lp);
        RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        return TRUE;
    case WM_SETCURSOR: {
        LPCSTR cursor = nullptr;
        switch (LOWORD(lp)) {
        case HTLEFT:
        case HTRIGHT: cursor = reinterpret_cast<LPCSTR>(IDC_SIZEWE); break;
        case HTTOP:
        case HTBOTTOM: cursor = reinterpret_cast<LPCSTR>(IDC_SIZENS); break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: cursor = reinterpret_cast<LPCSTR>(IDC_SIZENWSE); break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: cursor = reinterpret_cast<LPCSTR>(IDC_SIZENESW); break;
        default: break;
        }
        if (cursor) {
            SetCursor(LoadCursorA(nullptr, cursor));
            return TRUE;
        }
        break;
    }
    case WM_DESTROY:
        if (!destroying_) {
            // The form's window is being made again: take the new one over once it exists.
            Uninstall();
            win::Guarded([&] {
                if (!appWindow_)
                    appWindow_ = std::make_unique<win::HiddenWindow>(
                        [this](UINT m, WPARAM mwp, LPARAM mlp, LRESULT& result) { return AppHook(m, mwp, mlp, result); });
                waitingToReinstall_ = true;
                PostMessageA(appWindow_->Handle(), kReinstallMessage, 0, reinterpret_cast<LPARAM>(this));
            });
        }
        break;
    default:
        break;
    }
    const LRESULT result = CallWindowProcA(previous, w, msg, wp, lp);
    switch (msg) {
    case WM_SETICON:
    case WM_SETTEXT:
        // Both repaint the platform's own caption at once, outside any paint message.
        if (installed_) win::Guarded([&] { PaintCaption(FormActive()); });
        break;
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
    case WM_DISPLAYCHANGE:
        ReadCaptionFont();
        for (TCompanyText* e : {&CompanyText, static_cast<TCompanyText*>(&AppNameText),
                                static_cast<TCompanyText*>(&CaptionText)})
            e->ApplyFontKind();
        RedrawFrame();
        break;
    default:
        break;
    }
    return result;
}

// ---- painting -----------------------------------------------------------------------

void TGradientCaption::PaintCaption(bool active)
{
    const HWND w = FormHandle();
    const RECT caption = CaptionRect();
    if (!w || IsRectEmpty(&caption)) return;
    win::WholeWindowDC windowDC(w);
    if (!windowDC.get()) return;
    win::UniqueMemDC image(CreateCompatibleDC(windowDC.get()));
    if (!image) return;
    const int width = caption.right - caption.left, height = caption.bottom - caption.top;
    win::UniqueBitmap bitmap(CreateCompatibleBitmap(windowDC.get(), width, height));
    if (!bitmap) return;
    win::SelectObj useBitmap(image.get(), bitmap.get());
    win::SavedDC saved(image.get());
    // The image is drawn in window coordinates.
    SetViewportOrgEx(image.get(), -caption.left, -caption.top, nullptr);
    const HDC dc = image.get();

    const COLORREF plain = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF right = win::ColorToRGB(active ? colorRightActive_ : colorRightInActive_);
    const COLORREF left = win::ColorToRGB(active ? colorLeftActive_ : colorLeftInActive_);
    const bool gradient = GradientDrawn(enabled_, active, GetDeviceCaps(windowDC.get(), BITSPIXEL));

    FillSolid(dc, caption, gradient ? right : plain);
    RECT area = TextArea();
    if (gradient) {
        for (const Band& b : GradientBands(area.right - area.left, numColors_, left, right))
            FillSolid(dc, {area.left + b.left, area.top, area.left + b.right, area.bottom}, b.color);
    } else {
        FillSolid(dc, area, plain);
    }

    const TFormBorderStyle border = BorderStyleOf(w);
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    if ((style & WS_SYSMENU) &&
        (border == TFormBorderStyle::bsSingle || border == TFormBorderStyle::bsSizeable)) {
        int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
        if (cx == 0 || cy == 0) {
            cx = GetSystemMetrics(SM_CXSIZE);
            cy = GetSystemMetrics(SM_CYSIZE);
        }
        DrawIconEx(dc, area.left + 1, area.top + 1, IconOf(w), cx, cy, 0, nullptr, DI_NORMAL);
        area.left += 1 + cx + 1;
    }

    int taken = 0;
    for (Button b : CaptionButtons(w, caption, taken)) DrawFrameControl(dc, &b.rect, DFC_CAPTION, b.state);

    {
        win::SelectObj font(dc, captionFontHandle_.get());
        if (OnDrawCaption) OnDrawCaption(*this, dc, area);
    }
    PaintTexts(dc, area, active);

    SetViewportOrgEx(dc, 0, 0, nullptr);
    BitBlt(windowDC.get(), caption.left, caption.top, width, height, dc, 0, 0, SRCCOPY);
}

void TGradientCaption::PaintTexts(HDC dc, RECT area, bool active)
{
    const TCompanyText* elements[] = {&CompanyText, &AppNameText, &CaptionText};
    std::string captions[3];
    std::array<TTextSlot, 3> slots{};
    for (size_t i = 0; i < 3; ++i) {
        captions[i] = elements[i]->Caption();
        // The company text and the name are left out when empty; the caption never is.
        slots[i] = {TextWidth(dc, elements[i]->FontHandle(), captions[i]) + 3, elements[i]->Visible(),
                    i == 2 || !captions[i].empty()};
    }
    const std::array<int, 3> at = LayoutTexts(slots, justification_, area.left, area.right);

    win::SavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < 3; ++i) {
        if (at[i] < 0) continue;
        SetTextColor(dc, win::ColorToRGB(active ? elements[i]->ColorActive() : elements[i]->ColorInactive()));
        win::SelectObj font(dc, elements[i]->FontHandle());
        RECT r{at[i], area.top, area.right, area.bottom};
        DrawTextA(dc, captions[i].c_str(), static_cast<int>(captions[i].size()), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}
