// The drawing kit of the host tools that make the program's binary assets: the
// 16-colour palette, letters for its inks, a canvas and a little-endian writer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

// One letter per colour of the classic 16-colour VGA palette, in index
// order; the art below is written with these letters, '.' being "nothing".
constexpr std::string_view kInks = "kmgonptsdrlybfcw";
constexpr uint8_t kVga[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

uint8_t ink(char c) { return uint8_t(kInks.find(c)); }

struct Bytes {
    std::vector<uint8_t> b;
    void u8(unsigned v) { b.push_back(uint8_t(v)); }
    void u16(unsigned v) { u8(v & 0xFF); u8((v >> 8) & 0xFF); }
    void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void fcc(const char *s) { for (int i = 0; i < 4; ++i) u8(uint8_t(s[i])); }
    void patch32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    }
    // Opens a RIFF chunk (or LIST/RIFF with a form type) and returns the
    // offset of its size field, to be closed with end().
    size_t begin(const char *id, const char *form = nullptr) {
        fcc(id);
        size_t at = b.size();
        u32(0);
        if (form) fcc(form);
        return at;
    }
    void end(size_t at) {
        patch32(at, uint32_t(b.size() - at - 4));
        if (b.size() & 1) u8(0);  // chunks are word aligned; pad not counted
    }
    void palette(int used) {  // RGBQUADs: blue, green, red, reserved
        for (int i = 0; i < used; ++i) {
            const uint8_t *c = i < 16 ? kVga[i] : kVga[0];
            u8(c[2]); u8(c[1]); u8(c[0]); u8(0);
        }
    }
    bool save(const char *path) const {
        FILE *f = std::fopen(path, "wb");
        if (!f) return false;
        bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
        return std::fclose(f) == 0 && ok;
    }
};

void bitmapInfoHeader(Bytes &o, int w, int h, int bpp, uint32_t imageBytes,
                      uint32_t colours) {
    o.u32(40); o.u32(uint32_t(w)); o.u32(uint32_t(h));
    o.u16(1); o.u16(unsigned(bpp)); o.u32(0 /*BI_RGB*/); o.u32(imageBytes);
    o.u32(0); o.u32(0); o.u32(colours); o.u32(0);
}

struct Canvas {
    int w, h;
    std::vector<uint8_t> px;
    Canvas(int w_, int h_, uint8_t bg) : w(w_), h(h_), px(size_t(w_) * h_, bg) {}
    void put(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
    }
    void fill(int x0, int y0, int x1, int y1, char c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) put(x, y, ink(c));
    }
    template <size_t N>
    void art(int x, int y, const std::string_view (&rows)[N]) {
        for (size_t j = 0; j < N; ++j)
            for (size_t i = 0; i < rows[j].size(); ++i)
                if (rows[j][i] != '.') put(x + int(i), y + int(j), ink(rows[j][i]));
    }
};

}  // namespace
