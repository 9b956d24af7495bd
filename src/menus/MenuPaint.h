// Drawing shared by the drop-downs and the bar buttons: an off-screen image whose
// pixels can be read and written, images drawn with a transparent colour or
// embossed, embossed text, and the dither pattern of a checked item.
#pragma once

#include "win/Handles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace menus {

// A 32-bit top-down DIB section with a memory DC selected on it.
class TOffscreen {
public:
    TOffscreen() = default;
    TOffscreen(const TOffscreen&) = delete;
    TOffscreen& operator=(const TOffscreen&) = delete;
    ~TOffscreen();

    void Resize(int width, int height);
    HDC DC() const noexcept { return dc_.get(); }
    int Width() const noexcept { return w_; }
    int Height() const noexcept { return h_; }
    // Pixels as 0x00RRGGBB, row by row from the top; GDI is flushed first.
    uint32_t* Pixels();

private:
    win::UniqueMemDC dc_;
    win::UniqueBitmap bmp_;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    int w_ = 0, h_ = 0;
};

// An image read from a bitmap: pixels as 0x00RRGGBB, top row first.
struct TImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    bool Empty() const { return pixels.empty(); }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
TImage ReadImage(HBITMAP bmp);
// A bitmap resource of the program, or an empty image.
TImage ResourceImage(const std::string& name);

uint32_t ToPixel(COLORREF c);

// The colour of the pixel at (0, 15) (the bottom-left one of a 16 by 16 image) is
// transparent. A disabled image shows only its dark pixels, embossed.
void DrawImage(TOffscreen& target, int x, int y, const TImage& img, bool disabled);
// Text drawn twice: in button highlight one pixel right and down, then in button shadow.
void DrawEmbossedText(HDC dc, const std::string& text, RECT r, UINT format);
// 8 by 8, button highlight where x and y are both even or both odd, else button face.
HBRUSH DitherBrush();
// The platform's menu font, made once for the process.
HFONT DefaultMenuFont();
// The image turned by 90 degrees: pixel (x, y) goes to (height - y - 1, x).
void RotateInto(TOffscreen& source, TOffscreen& target);

} // namespace menus
