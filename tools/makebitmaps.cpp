// makebitmaps: draws the menu images as 16-colour 16x16 bitmap files at build time.
//   makebitmaps <out folder>
// Every image leaves its bottom-left pixel in the background colour (fuchsia): the
// menus draw that colour as transparent, so the art never uses it.

#include "Art.h"

#include <string>

namespace {

struct Image {
    const char *name;
    std::string_view rows[16];
};

// '.' is the background.
const Image kImages[] = {
    {"MENUBACKUP", {"................", "......kkkk......", "......kllk......", "......kllk......",
                    "......kllk......", "...kkkkllkkkk...", "....kllllllk....", ".....kllllk.....",
                    "......kllk......", ".kkkkkkkkkkkkkk.", ".kssssssssssssk.", ".kskkkkkkkkkksk.",
                    ".kssssssssssssk.", ".kssssssssssssk.", ".kkkkkkkkkkkkkk.", "................"}},
    {"MENURESTORE", {"................", "......kk........", ".....kllk.......", "....kllllk......",
                     "...kllllllk.....", "..kkkkllkkkk....", ".....kllk.......", ".....kllk.......",
                     ".....kllk.......", ".kkkkkkkkkkkkkk.", ".kssssssssssssk.", ".kskkkkkkkkkksk.",
                     ".kssssssssssssk.", ".kssssssssssssk.", ".kkkkkkkkkkkkkk.", "................"}},
    {"MENURESCUE", {"................", ".kkkkkkkkkkkkk..", ".knkwwwwwwwknnk.", ".knkwwwwwwwknnk.",
                    ".knkwrrrrrwknnk.", ".knkwwwwwwwknnk.", ".knkkkkkkkkknnk.", ".knnnnnnnnnnnnk.",
                    ".knnkkkkkkkknnk.", ".knnkssssdskknk.", ".knnkssssdskknk.", ".knnkssssdskknk.",
                    ".knnkssssssskk..", ".kkkkkkkkkkkkk..", "................", "................"}},
    {"MENUCOOKIES", {"................", ".....kkkkkk.....", "...kkoyyyyokk...", "..koyyyyyyyyok..",
                     "..kyymyyyyyyyk..", ".koyymmyyymyyok.", ".kyyyyyyyymmyyk.", ".kyyyyyyyyyyyyk.",
                     ".kyymyyyyyyyyyk.", ".koymmyyyymyyok.", "..kyyyyyyymmyk..", "..koyyyyyyyyok..",
                     "...kkoyyyyokk...", ".....kkkkkk.....", "................", "................"}},
    {"MENURECENT", {"................", "..kkkkkkk.......", "..kwwwwwkk......", "..kwwwwwkwk.....",
                    "..kwdddwkkkk....", "..kwwwwwwwwk....", "..kwddddddwkkkk.", "..kwwwwwwwwkwwk.",
                    "..kwddddddwkrrk.", "..kwwwwwwwwkwwk.", "..kwddddddwkrrk.", "..kwwwwwwwwkwwk.",
                    "..kkkkkkkkkkrrk.", "...........kwwk.", "...........kkkk.", "................"}},
    {"CHECKMARK", {"................", "................", "................", "................",
                   "...........k....", "..........kk....", "...k.....kkk....", "...kk...kkk.....",
                   "...kkk.kkk......", "....kkkkk.......", ".....kkk........", "......k.........",
                   "................", "................", "................", "................"}},
    {"RADIOITEM", {"................", "................", "................", "................",
                   "................", "......kkkk......", ".....kkkkkk.....", ".....kkkkkk.....",
                   ".....kkkkkk.....", ".....kkkkkk.....", "......kkkk......", "................",
                   "................", "................", "................", "................"}},
    {"SYSTEMRESTORE", {"................", "................", "....kkkkkkkkk...", "....knnnnnnnk...",
                       "....kwwwwwwwk...", "..kkkkkkkkkwk...", "..knnnnnnnkwk...", "..kwwwwwwwkwk...",
                       "..kwwwwwwwkkk...", "..kwwwwwwwk.....", "..kwwwwwwwk.....", "..kwwwwwwwk.....",
                       "..kkkkkkkkk.....", "................", "................", "................"}},
    {"SYSTEMMOVE", {"................", ".......k........", "......kkk.......", ".....k.k.k......",
                    ".......k........", "...k...k...k....", "..k....k....k...", ".kkkkkkkkkkkkk..",
                    "..k....k....k...", "...k...k...k....", ".......k........", ".....k.k.k......",
                    "......kkk.......", ".......k........", "................", "................"}},
    {"SYSTEMSIZE", {"................", ".kkkkk..........", ".kk.............", ".k.k............",
                    ".k..k...........", ".k...k..........", "......k.........", ".......k........",
                    "........k.......", ".........k...k..", "..........k..k..", "...........k.k..",
                    "............kk..", "........kkkkkk..", "................", "................"}},
    {"SYSTEMMINIMIZE", {"................", "................", "................", "................",
                        "................", "................", "................", "................",
                        "................", "................", "...kkkkkkkk.....", "...kkkkkkkk.....",
                        "................", "................", "................", "................"}},
    {"SYSTEMMAXIMIZE", {"................", "................", "..kkkkkkkkkkk...", "..knnnnnnnnnk...",
                        "..knnnnnnnnnk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
                        "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...", "..kwwwwwwwwwk...",
                        "..kkkkkkkkkkk...", "................", "................", "................"}},
    {"SYSTEMCLOSE", {"................", "................", "................", "...kk.....kk....",
                     "....kk...kk.....", ".....kk.kk......", "......kkk.......", "......kkk.......",
                     ".....kk.kk......", "....kk...kk.....", "...kk.....kk....", "................",
                     "................", "................", "................", "................"}},
    {"MINIMIZE_SMALL", {"................", "................", "................", "................",
                        "................", "................", "................", "................",
                        "................", "................", "....kkkkkk......", "....kkkkkk......",
                        "................", "................", "................", "................"}},
    {"RESTORE_SMALL", {"................", "................", "................", "......kkkkkk....",
                       "......kkkkkk....", "......k....k....", "....kkkkkk.k....", "....kkkkkk.k....",
                       "....k....kkk....", "....k....k......", "....k....k......", "....kkkkkk......",
                       "................", "................", "................", "................"}},
    {"CLOSE_SMALL", {"................", "................", "................", "................",
                     "....kk....kk....", ".....kk..kk.....", "......kkkk......", ".......kk.......",
                     "......kkkk......", ".....kk..kk.....", "....kk....kk....", "................",
                     "................", "................", "................", "................"}},
};

bool writeBitmap(const std::string &path, const Image &img) {
    constexpr int n = 16, stride = 8;  // 16 pixels at 4 bits, DWORD aligned
    constexpr uint32_t bits = stride * n, offset = 14 + 40 + 16 * 4;
    for (const auto &row : img.rows)
        if (row.size() != n) return false;
    Bytes o;
    o.u8('B'); o.u8('M'); o.u32(offset + bits); o.u32(0); o.u32(offset);
    bitmapInfoHeader(o, n, n, 4, bits, 16);
    o.palette(16);
    const uint8_t back = ink('f');
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; x += 2) {
            auto at = [&](int i) { return img.rows[y][i] == '.' ? back : ink(img.rows[y][i]); };
            o.u8(unsigned(at(x) << 4 | at(x + 1)));
        }
    return o.save(path.c_str());
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makebitmaps <out folder>\n");
        return 2;
    }
    for (const Image &img : kImages) {
        std::string path = std::string(argv[1]) + "/" + img.name + ".bmp";
        if (!writeBitmap(path, img)) {
            std::fprintf(stderr, "makebitmaps: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
