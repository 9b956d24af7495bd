#include "menus/DropMenuLayout.h"

#include <algorithm>
#include <cmath>

namespace menus {

int RoundEven(double v)
{
    double r = std::nearbyint(v);
    // nearbyint follows the current rounding mode; the default is to even, but make sure.
    if (std::fabs(v - std::trunc(v)) == 0.5) r = 2.0 * std::nearbyint(v / 2.0);
    return static_cast<int>(r);
}

TAnimation ResolveOpen(TAnimation stored, TAnimation& storedAfter, int random)
{
    storedAfter = stored;
    switch (stored) {
    case TAnimation::anRandom: return random ? TAnimation::anHSlide : TAnimation::anVSlide;
    case TAnimation::anSmart: storedAfter = TAnimation::anHSlide; return TAnimation::anVSlide;
    case TAnimation::anPopup: storedAfter = TAnimation::anHSlide; return TAnimation::anUnfold;
    default: return stored;
    }
}

TAnimation ResolveClose(TAnimation stored, bool subMenu, int random)
{
    switch (stored) {
    case TAnimation::anRandom: return random ? TAnimation::anHSlide : TAnimation::anVSlide;
    case TAnimation::anSmart: return subMenu ? TAnimation::anHSlide : TAnimation::anVSlide;
    case TAnimation::anPopup: return subMenu ? TAnimation::anHSlide : TAnimation::anUnfold;
    default: return stored;
    }
}

int FramesPerDimension(int timeout, bool doubleSpeed) { return RoundEven(timeout * (doubleSpeed ? 1.2 : 0.6)); }

namespace {

bool GrowsHeight(TAnimation k) { return k == TAnimation::anVSlide || k == TAnimation::anUnfold; }
bool GrowsWidth(TAnimation k) { return k == TAnimation::anHSlide || k == TAnimation::anUnfold; }

} // namespace

TAnimationSteps StepsFor(TAnimation kind, int width, int height, int frames)
{
    const int f = std::max(frames, 1);
    int v = GrowsHeight(kind) ? height / f + 1 : 1;
    int h = GrowsWidth(kind) ? width / f + 1 : 1;
    h = std::max(h, v);
    TAnimationSteps s;
    s.v = RoundEven((height / h) * 1.5);
    s.h = RoundEven((width / h) * 1.5) + 1;
    return s;
}

std::vector<SIZE> OpeningFrames(TAnimation kind, int width, int height, TAnimationSteps steps)
{
    std::vector<SIZE> frames;
    // With a timeout of a frame or two the step comes out 0: the drop-down then opens
    // at once instead of never.
    if (!(GrowsWidth(kind) && steps.h > 0) && !(GrowsHeight(kind) && steps.v > 0)) return frames;
    SIZE s{GrowsWidth(kind) ? 0 : width, GrowsHeight(kind) ? 0 : height};
    for (;;) {
        if (GrowsWidth(kind)) s.cx += steps.h;
        if (GrowsHeight(kind)) s.cy += steps.v;
        if ((GrowsWidth(kind) && s.cx >= width) || (GrowsHeight(kind) && s.cy >= height)) break;
        frames.push_back(s);
    }
    return frames;
}

std::vector<SIZE> ClosingFrames(TAnimation kind, int width, int height, TAnimationSteps steps)
{
    std::vector<SIZE> frames;
    // The steps were taken for the opening, which may have grown other dimensions: a
    // closing without a positive step in any of its own would never end.
    if (!(GrowsWidth(kind) && steps.h > 0) && !(GrowsHeight(kind) && steps.v > 0)) return frames;
    SIZE s{width, height};
    for (;;) {
        if (GrowsWidth(kind)) s.cx -= steps.h;
        if (GrowsHeight(kind)) s.cy -= steps.v;
        if ((GrowsWidth(kind) && s.cx <= 0) || (GrowsHeight(kind) && s.cy <= 0)) break;
        frames.push_back(s);
    }
    return frames;
}

SIZE MeasureDropDown(const std::vector<TRowMeasure>& rows, int indent, int itemHeight, int separatorHeight)
{
    int caption = 0, shortcut = 0, height = 0;
    for (const auto& r : rows) {
        height += r.separator ? separatorHeight : itemHeight;
        if (r.separator) continue;
        caption = std::max(caption, r.captionWidth);
        shortcut = std::max(shortcut, r.shortcutWidth);
    }
    return SIZE{caption + shortcut + 2 * indent + 10, height + 6};
}

TPlaced Place(const TPlacement& p)
{
    TPlaced out;
    int x = p.at.x, y = p.at.y;
    const int w = p.size.cx, h = p.size.cy;
    const bool fromButton = p.origin == TOrigin::oBarButton;
    const int buttonHeight = p.button.bottom - p.button.top;

    if (x + w > p.work.right) {
        if (fromButton && p.barVertical) {
            x = p.button.left - w;
        } else if (p.origin == TOrigin::oSubMenu) {
            // Growing leftwards from the parent's left edge, it ends where a vertical
            // slide would have put it at once.
            x = p.parent.left - w + 6;
            out.leftwards = true;
        } else {
            x = p.work.right - w;
        }
        // Kept on the monitor it opens on, which may lie left of or above the first one.
        if (x <= p.work.left) x = p.work.left + 1;
    }
    const bool passesBottom = y + h > p.work.bottom;
    bool upwards = passesBottom && y - p.work.top >= h && p.openAnimation != TAnimation::anHSlide;
    if (upwards && fromButton && !p.barVertical && y - buttonHeight - p.work.top < h) upwards = false;
    if (upwards) {
        out.upwards = true;
        y -= h;
        if (fromButton && !p.barVertical) y -= buttonHeight;
        if (p.origin == TOrigin::oSystemMenu) y = p.formTop + 3 - h;
    } else if (passesBottom) {
        y = p.work.bottom - h;
        if (fromButton && !p.barVertical) {
            x = p.button.right;
            if (x + w > p.work.right) x = p.button.left - w;
        }
    }
    if (y <= p.work.top) y = p.work.top + 1;
    out.bounds = RECT{x, y, x + w, y + h};
    return out;
}

SIZE BarButtonSize(SIZE captionExtent, int imageWidth, bool sideDocked, bool systemButton)
{
    SIZE s = systemButton ? SIZE{20, 19} : SIZE{captionExtent.cx + imageWidth + 16, captionExtent.cy + 6};
    if (sideDocked) std::swap(s.cx, s.cy);
    return s;
}

std::string StripAccessMarks(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&';
            else continue;
            ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

char AccessKey(const std::string& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char c[2] = {caption[i + 1], 0};
        CharUpperA(c);
        return c[0];
    }
    return 0;
}

} // namespace menus
