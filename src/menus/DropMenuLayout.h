// The arithmetic of a drop-down: how big it is, where it goes on the screen, and how
// far it grows per animation frame. Pure functions, so that every rule can be checked
// on its own numbers.
#pragma once

#include "menus/MenuTypes.h"

#include <windows.h>

#include <string>
#include <vector>

namespace menus {

// Round half to even, as the menus have always rounded.
int RoundEven(double v);

// The one-time resolution of a stored animation for this opening. storedAfter is what
// the drop-down keeps (and its sub-menus inherit); random picks 0 or 1.
TAnimation ResolveOpen(TAnimation stored, TAnimation& storedAfter, int random);
TAnimation ResolveClose(TAnimation stored, bool subMenu, int random);

int FramesPerDimension(int timeout, bool doubleSpeed);

struct TAnimationSteps {
    int h = 1;
    int v = 1;
};
// kind is a resolved animation (none, vertical, horizontal or unfold).
TAnimationSteps StepsFor(TAnimation kind, int width, int height, int frames);
// The sizes of the frames shown before the drop-down stands at its full size.
std::vector<SIZE> OpeningFrames(TAnimation kind, int width, int height, TAnimationSteps steps);
// The sizes on the way down to nothing, the full size excluded.
std::vector<SIZE> ClosingFrames(TAnimation kind, int width, int height, TAnimationSteps steps);

// Each row of a level: a separator or an item; the caption is split at the tab.
struct TRowMeasure {
    bool separator = false;
    int captionWidth = 0;
    int shortcutWidth = 0;
};
SIZE MeasureDropDown(const std::vector<TRowMeasure>& rows, int indent, int itemHeight, int separatorHeight);

// Where a drop-down hangs from.
enum class TOrigin { oPlain, oBarButton, oSubMenu, oSystemMenu };

struct TPlacement {
    POINT at{};            // requested top-left, screen
    SIZE size{};
    RECT work{};           // the work area of the monitor it opens on, screen
    TAnimation openAnimation = TAnimation::anNone;
    TOrigin origin = TOrigin::oPlain;
    bool barVertical = false;  // the bar button is docked at a side
    RECT button{};         // the bar button, screen
    RECT parent{};         // the parent drop-down, screen
    int formTop = 0;       // the form of a system menu
};
struct TPlaced {
    RECT bounds{};
    bool leftwards = false;
    bool upwards = false;
};
TPlaced Place(const TPlacement& p);

// A bar button's size; captionExtent is the caption without its access marks.
SIZE BarButtonSize(SIZE captionExtent, int imageWidth, bool sideDocked, bool systemButton);
// The caption as shown: "&" marks removed, "&&" shown as one "&".
std::string StripAccessMarks(const std::string& caption);
// The access key of a caption in upper case, or 0.
char AccessKey(const std::string& caption);

} // namespace menus
