// makeclip: generates Quillmark's two binary assets at build time so the
// repository carries no opaque blobs.
//   makeclip <out.avi> <out.ico>
// The clip is an uncompressed 8-bit AVI for the common-controls animation
// control; the icon holds 32x32 and 16x16 images at 4 bits per pixel.
// Everything is written byte by byte, little-endian, from integer math only,
// so the output is bit-identical on every host.

#include "Art.h"

#include <utility>

namespace {

// ---------------------------------------------------------------- the clip

constexpr int kW = 281, kH = 49;
constexpr int kFrames = 15, kFps = 10;
constexpr int kStride = (kW + 3) & ~3;     // DIB rows are DWORD aligned
constexpr uint32_t kFrameBytes = uint32_t(kStride) * kH;
constexpr int kSheets = 3, kTravel = 184;  // sheets in flight, path length
constexpr int kSteps = kFrames * kSheets;  // positions along the path
// Silver is the key colour: the control's transparent mode takes whatever
// sits in the top-left pixel, so the artwork never uses it.
constexpr char kBack = 's';

constexpr std::string_view kSheet[] = {
    "kkkkkkkk....",
    "kwwwwwwkk...",
    "kwwwwwwkwk..",
    "kwnnnnwkdwk.",
    "kwwwwwwkkkkk",
    "kwnnnnnnnnwk",
    "kwwwwwwwwwwk",
    "kwnnnnnnnnwk",
    "kwwwwwwwwwwk",
    "kwnnnnnnwwwk",
    "kwwwwwwwwwwk",
    "kwnnnnnnnnwk",
    "kwwwwwwwwwwk",
    "kwwwwwwwwwwk",
    "kkkkkkkkkkkk",
};

// The real content spans x 34..242 and y 8..42, inside the central 220x38
// that survives when the control is narrower than the clip.
constexpr int kStackX = 34, kStackY = 24, kFolderX = 198;

// The open folder's front flap leans right by up to 10 pixels; sheets drop
// behind it, so it is drawn last and its edge decides where they vanish.
int flapLeft(int y) { return kFolderX + (42 - y) * 10 / 18; }

Canvas frame(int f) {
    Canvas c(kW, kH, ink(kBack));
    c.fill(kFolderX, 14, kFolderX + 34, 42, 'k');  // back cover with tab
    c.fill(kFolderX + 1, 15, kFolderX + 33, 41, 'o');
    c.fill(kFolderX, 11, kFolderX + 12, 14, 'k');
    c.fill(kFolderX + 1, 12, kFolderX + 11, 15, 'o');
    for (int i = kSheets - 1; i >= 0; --i)  // the pile the sheets come from
        c.art(kStackX + 2 * i, kStackY + 2 * i, kSheet);
    // Each sheet lifts off the pile on a parabola and lands in the folder;
    // after kFrames frames every sheet has taken its predecessor's place,
    // so the loop is seamless. p == 0 lies exactly on the pile's top sheet.
    // Horizontal speed eases out so the sheet drops into the folder's mouth
    // from above instead of passing through the flap's side.
    for (int s = 0; s < kSheets; ++s) {
        int p = f + kFrames * s;
        int x = kStackX + kTravel * p * (2 * kSteps - p) / (kSteps * kSteps);
        int y = kStackY + 4 * p / kSteps -
                72 * p * (kSteps - p) / (kSteps * kSteps);
        c.art(x, y, kSheet);
    }
    for (int y = 24; y <= 42; ++y) {
        int l = flapLeft(y), r = l + 34;
        for (int x = l; x <= r; ++x)
            c.put(x, y, ink(y == 24 || y == 42 || x == l || x == r ? 'k'
                            : y == 25                              ? 'w'
                                                                   : 'y'));
    }
    return c;
}

bool writeClip(const char *path) {
    Bytes o;
    size_t riff = o.begin("RIFF", "AVI ");
    size_t hdrl = o.begin("LIST", "hdrl");
    size_t avih = o.begin("avih");
    o.u32(1000000 / kFps);            // microseconds per frame
    o.u32(kFrameBytes * kFps);        // max bytes per second
    o.u32(0);                         // padding granularity
    o.u32(0x10);                      // AVIF_HASINDEX
    o.u32(kFrames);                   // total frames
    o.u32(0);                         // initial frames
    o.u32(1);                         // streams: video only, no sound
    o.u32(kFrameBytes + 8);           // whole largest chunk, header included
    o.u32(kW); o.u32(kH);
    for (int i = 0; i < 4; ++i) o.u32(0);
    o.end(avih);
    size_t strl = o.begin("LIST", "strl");
    size_t strh = o.begin("strh");
    o.fcc("vids"); o.fcc("DIB ");
    o.u32(0);                         // flags
    o.u16(0); o.u16(0);               // priority, language
    o.u32(0);                         // initial frames
    o.u32(1); o.u32(kFps);            // scale, rate: kFps frames a second
    o.u32(0); o.u32(kFrames);         // start, length
    o.u32(kFrameBytes);               // largest sample
    o.u32(0xFFFFFFFF);                // default quality
    o.u32(0);                         // sample size varies: one frame a chunk
    o.u16(0); o.u16(0); o.u16(kW); o.u16(kH);  // rcFrame
    o.end(strh);
    size_t strf = o.begin("strf");
    bitmapInfoHeader(o, kW, kH, 8, kFrameBytes, 256);
    o.palette(256);
    o.end(strf);
    o.end(strl);
    o.end(hdrl);

    size_t movi = o.begin("LIST", "movi");
    size_t moviFcc = movi + 4;        // index offsets count from here
    std::vector<uint32_t> offsets;
    for (int f = 0; f < kFrames; ++f) {
        Canvas c = frame(f);
        offsets.push_back(uint32_t(o.b.size() - moviFcc));
        size_t db = o.begin("00db");
        for (int y = kH - 1; y >= 0; --y) {  // DIBs are stored bottom-up
            for (int x = 0; x < kStride; ++x)
                o.u8(x < kW ? c.px[size_t(y) * kW + x] : 0);
        }
        o.end(db);
    }
    o.end(movi);
    size_t idx1 = o.begin("idx1");
    for (uint32_t off : offsets) {
        o.fcc("00db"); o.u32(0x10 /*AVIIF_KEYFRAME*/); o.u32(off); o.u32(kFrameBytes);
    }
    o.end(idx1);
    o.end(riff);
    return o.save(path);
}

// ---------------------------------------------------------------- the icon

// A 3.5" floppy with a red quill; '.' is transparent (set in the AND mask).
constexpr std::string_view kIcon32[] = {
    "................................",
    "..............................w.",
    "............................kwk.",
    "..........................kkwk..",
    ".kkkkkkkwssssssssssskkkkkkkwwk..",
    ".kbbbbbkwssssssssssskbbkkrwwk...",
    ".kbnnnnkwsssssssnnnsknkkrwwmk...",
    ".kbnnnnkwsssssssnnnskkrrrwmk....",
    ".kbnnnnkwsssssssnnnkkrrrwmmk....",
    ".kbnnnnkwsssssssnnkkrrrwmmkk....",
    ".kbnnnnkwsssssssnkkrrrwmmkkk....",
    ".kbnnnnkwssssssskkrrrwmmmknk....",
    ".kbnnnnkkkkkkkkkkrrrwmmmkknk....",
    ".kbnnnnnnnnnnnnkrrrwwmmmknnk....",
    ".kbnnnnnnnnnnnkrrrwwmmmknnnk....",
    ".kbnnnnnnnnnnnkrrwwmmmkknnnk....",
    ".kbnnkkkkkkkkkkrrwmmmkkknnnk....",
    ".kbnnkwwwwwwwkrrwmmmkkwknnnk....",
    ".kbnnkwwwwwwwwrwmmmkkwwknnnk....",
    ".kbnnkwwsssssswmmkksswwknnnk....",
    ".kbnnkwwwwwwwddwwwwwwwwknnnk....",
    ".kbnnkwwwwwwddwwwwwwwwwknnnk....",
    ".kbnnkwwsssddsssssssswwknnnk....",
    ".kbnnkwwwwddwwwwwwwwwwwknnnk....",
    ".kbnnkwwwkdwwwwwwwwwwwwknnnk....",
    ".kbnnkwwkkssssssssssswwknnnk....",
    ".kbnnkwkkwwwwwwwwwwwwwwknnnk....",
    ".kbkkkwkkwwwwwwwwwwwwwwkkknk....",
    ".kbkkkwwwwwwwwwwwwwwwwwkkknk....",
    ".kbnnkwwwwwwwwwwwwwwwwwknnnk....",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkk....",
    "................................",
};

constexpr std::string_view kIcon16[] = {
    "...............w",
    "............kkwk",
    "kkkkssssskkkkww.",
    "knnksssnskkrwwk.",
    "knnksssnkkrwwmk.",
    "knnkssskkrrwmk..",
    "knnkkkkkrrwmmk..",
    "knnnnnkrrwmmkk..",
    "knkkkkkrwmmkkk..",
    "knkwwwwwmkkknk..",
    "knkwwwddwwwknk..",
    "knkwsddssswknk..",
    "knkwkkwwwwwknk..",
    "knkwkssssswknk..",
    "knkwwwwwwwwknk..",
    "kkkkkkkkkkkkkk..",
};

template <size_t N>
void iconImage(Bytes &o, const std::string_view (&rows)[N]) {
    constexpr int n = int(N);
    constexpr int xorRow = (n * 4 + 31) / 32 * 4, andRow = (n + 31) / 32 * 4;
    // Height is doubled: the colour bitmap is followed by the AND mask.
    bitmapInfoHeader(o, n, 2 * n, 4, uint32_t((xorRow + andRow) * n), 16);
    o.palette(16);
    for (int y = n - 1; y >= 0; --y) {
        for (int x = 0; x < xorRow * 2; x += 2) {
            auto at = [&](int i) { return i < n && rows[y][i] != '.' ? ink(rows[y][i]) : 0; };
            o.u8(unsigned(at(x) << 4 | at(x + 1)));
        }
    }
    for (int y = n - 1; y >= 0; --y) {
        for (int x = 0; x < andRow * 8; x += 8) {
            unsigned bits = 0;
            for (int i = 0; i < 8; ++i)
                if (x + i >= n || rows[y][x + i] == '.') bits |= 0x80u >> i;
            o.u8(bits);
        }
    }
}

bool writeIcon(const char *path) {
    Bytes img32, img16, o;
    iconImage(img32, kIcon32);
    iconImage(img16, kIcon16);
    o.u16(0); o.u16(1); o.u16(2);     // reserved, type icon, two images
    uint32_t at = 6 + 2 * 16;
    for (const auto &[img, n] : {std::pair{&img32, 32}, std::pair{&img16, 16}}) {
        o.u8(unsigned(n)); o.u8(unsigned(n)); o.u8(16); o.u8(0);
        o.u16(1); o.u16(4);           // planes, bits per pixel
        o.u32(uint32_t(img->b.size())); o.u32(at);
        at += uint32_t(img->b.size());
    }
    o.b.insert(o.b.end(), img32.b.begin(), img32.b.end());
    o.b.insert(o.b.end(), img16.b.begin(), img16.b.end());
    return o.save(path);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeclip <out.avi> <out.ico>\n");
        return 2;
    }
    if (!writeClip(argv[1])) {
        std::fprintf(stderr, "makeclip: cannot write %s\n", argv[1]);
        return 1;
    }
    if (!writeIcon(argv[2])) {
        std::fprintf(stderr, "makeclip: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
