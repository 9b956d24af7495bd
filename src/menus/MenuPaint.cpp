#include "menus/MenuPaint.h"

#include "win/RecordSizes.h"

#include <algorithm>

namespace menus {

TOffscreen::~TOffscreen()
{
    if (dc_ && old_) SelectObject(dc_.get(), old_);
}

void TOffscreen::Resize(int width, int height)
{
    if (width == w_ && height == h_ && bmp_) return;
    if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = std::max(width, 1);
    bi.bmiHeader.biHeight = -std::max(height, 1);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::UniqueBitmap made(CreateDIBSection(dc_.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!made) return;
    HGDIOBJ previous = SelectObject(dc_.get(), made.get());
    if (!old_) old_ = previous;
    bmp_ = std::move(made);
    bits_ = static_cast<uint32_t*>(bits);
    w_ = width;
    h_ = height;
}

uint32_t* TOffscreen::Pixels()
{
    GdiFlush();
    return bits_;
}

uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TImage ReadImage(HBITMAP bmp)
{
    TImage img;
    BITMAP info{};
    if (!bmp || !GetObjectA(bmp, sizeof info, &info)) return img;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    img.pixels.resize(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    win::WindowDC screen(nullptr);
    if (!GetDIBits(screen.get(), bmp, 0, info.bmHeight, img.pixels.data(), &bi, DIB_RGB_COLORS)) {
        img.pixels.clear();
        return img;
    }
    for (auto& p : img.pixels) p &= 0xFFFFFF;
    img.width = info.bmWidth;
    img.height = info.bmHeight;
    return img;
}

TImage ResourceImage(const std::string& name)
{
    if (name.empty()) return {};
    win::UniqueBitmap bmp(LoadBitmapA(GetModuleHandleA(nullptr), name.c_str()));
    return ReadImage(bmp.get());
}

namespace {

void Put(TOffscreen& t, uint32_t* px, int x, int y, uint32_t c)
{
    if (x >= 0 && y >= 0 && x < t.Width() && y < t.Height()) px[static_cast<size_t>(y) * t.Width() + x] = c;
}

bool Dark(uint32_t p)
{
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r < 133 && g <= 128 && b <= 132;
}

} // namespace

void DrawImage(TOffscreen& target, int x, int y, const TImage& img, bool disabled)
{
    if (img.Empty()) return;
    uint32_t* px = target.Pixels();
    if (!px) return;
    const uint32_t clear = img.At(0, std::min(15, img.height - 1));
    if (!disabled) {
        for (int j = 0; j < img.height; ++j)
            for (int i = 0; i < img.width; ++i)
                if (img.At(i, j) != clear) Put(target, px, x + i, y + j, img.At(i, j));
        return;
    }
    const uint32_t light = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)), shadow = ToPixel(GetSysColor(COLOR_BTNSHADOW));
    for (int pass = 0; pass < 2; ++pass)
        for (int j = 0; j < img.height; ++j)
            for (int i = 0; i < img.width; ++i)
                if (img.At(i, j) != clear && Dark(img.At(i, j)))
                    Put(target, px, x + i + (pass ? 0 : 1), y + j + (pass ? 0 : 1), pass ? shadow : light);
}

void DrawEmbossedText(HDC dc, const std::string& text, RECT r, UINT format)
{
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT moved = r;
    OffsetRect(&moved, 1, 1);
    DrawTextA(dc, text.c_str(), -1, &moved, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, text.c_str(), -1, &r, format);
    SetTextColor(dc, old);
    SetBkMode(dc, mode);
}

HBRUSH DitherBrush()
{
    // Made once for the process, like the system's own brushes; the pattern follows
    // the colours at the time of the first checked item.
    static win::UniqueBrush brush = [] {
        TOffscreen pattern;
        pattern.Resize(8, 8);
        uint32_t* px = pattern.Pixels();
        const uint32_t light = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)), face = ToPixel(GetSysColor(COLOR_BTNFACE));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) px[y * 8 + x] = ((x % 2) == (y % 2)) ? light : face;
        win::UniqueBitmap copy(CreateCompatibleBitmap(pattern.DC(), 8, 8));
        win::UniqueMemDC dc(CreateCompatibleDC(nullptr));
        {
            win::SelectObj sel(dc.get(), copy.get());
            BitBlt(dc.get(), 0, 0, 8, 8, pattern.DC(), 0, 0, SRCCOPY);
        }
        return win::UniqueBrush(CreatePatternBrush(copy.get()));
    }();
    return brush.get();
}

HFONT DefaultMenuFont()
{
    static win::UniqueFont font = [] {
        NONCLIENTMETRICSA ncm{win::kNonClientMetricsSize};
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, win::kNonClientMetricsSize, &ncm, 0);
        return win::UniqueFont(CreateFontIndirectA(&ncm.lfMenuFont));
    }();
    return font.get();
}

void RotateInto(TOffscreen& source, TOffscreen& target)
{
    const int w = source.Width(), h = source.Height();
    target.Resize(h, w);
    const uint32_t* from = source.Pixels();
    uint32_t* to = target.Pixels();
    if (!from || !to) return;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) to[static_cast<size_t>(x) * h + (h - y - 1)] = from[static_cast<size_t>(y) * w + x];
}

} // namespace menus
