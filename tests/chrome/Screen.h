// What the user sees: pixels read back from the session's display.
#pragma once

#include "Driver.h"

#include "win/Handles.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace screen {

// A copy of a screen rectangle, taken at once so that all pixels are of one moment.
class Shot {
public:
    explicit Shot(const RECT& r) : r_(r), w_(r.right - r.left), h_(r.bottom - r.top), bits_(size_t(w_) * h_)
    {
        win::WindowDC screen(nullptr);
        win::UniqueMemDC mem(CreateCompatibleDC(screen.get()));
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w_, -h_, 1, 32, BI_RGB};
        void* data = nullptr;
        win::UniqueBitmap dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &data, nullptr, 0));
        {
            win::SelectObj sel(mem.get(), dib.get());
            BitBlt(mem.get(), 0, 0, w_, h_, screen.get(), r.left, r.top, SRCCOPY);
            GdiFlush();
        }
        const auto* px = static_cast<const DWORD*>(data);
        for (size_t i = 0; i < bits_.size(); ++i)
            bits_[i] = RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
    }
    // In screen coordinates.
    COLORREF At(int x, int y) const { return bits_[size_t(y - r_.top) * w_ + (x - r_.left)]; }
    bool AnyIn(const RECT& r, COLORREF c) const
    {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) == c) return true;
        return false;
    }
    // Writes a BMP beside the test program when QUILLMARK_SHOTS names a folder: for a
    // person to look at what the test saw.
    void Save(const std::string& name) const
    {
        const char* dir = std::getenv("QUILLMARK_SHOTS");
        if (!dir) return;
        std::string path = std::string(dir) + "\\" + name + ".bmp";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return;
        BITMAPFILEHEADER fh{};
        BITMAPINFOHEADER ih{sizeof ih, w_, -h_, 1, 32, BI_RGB};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof ih;
        fh.bfSize = fh.bfOffBits + DWORD(bits_.size() * 4);
        std::fwrite(&fh, sizeof fh, 1, f);
        std::fwrite(&ih, sizeof ih, 1, f);
        for (COLORREF c : bits_) {
            DWORD px = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            std::fwrite(&px, 4, 1, f);
        }
        std::fclose(f);
    }

private:
    RECT r_;
    int w_, h_;
    std::vector<COLORREF> bits_;
};

inline std::string Hex(COLORREF c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

// Lets the windows of this thread paint for a while.
using driver::Pump;

} // namespace screen
