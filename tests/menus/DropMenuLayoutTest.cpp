// The numbers of a drop-down: frames and steps of its animation, its size, where it
// goes at each edge of the work area, and the size of a bar button.
#include "menus/DropMenuLayout.h"

#include <gtest/gtest.h>

namespace {

using namespace menus;

TEST(DropMenuLayout, FramesPerDimensionFollowTimeoutAndDoubleSpeed)
{
    struct Case {
        int timeout;
        bool doubleSpeed;
        int frames;
    } cases[] = {{20, false, 12}, {20, true, 24}, {25, false, 15}, {5, false, 3}, {10, true, 12}, {1, false, 1}};
    for (const auto& c : cases) EXPECT_EQ(FramesPerDimension(c.timeout, c.doubleSpeed), c.frames) << c.timeout;
}

TEST(DropMenuLayout, RoundingGoesHalfToEven)
{
    EXPECT_EQ(RoundEven(10.5), 10);
    EXPECT_EQ(RoundEven(11.5), 12);
    EXPECT_EQ(RoundEven(16.5), 16);
    EXPECT_EQ(RoundEven(1.5), 2);
    EXPECT_EQ(RoundEven(0.5), 0);
}

TEST(DropMenuLayout, StepsOfTheOpeningAnimation)
{
    struct Case {
        TAnimation kind;
        int width, height, frames;
        int h, v;
    } cases[] = {
        // 120 high: V = 120 div 12 + 1 = 11, H = 11, then V = Round(10 x 1.5) = 15, H = Round(9 x 1.5) + 1.
        {TAnimation::anVSlide, 100, 120, 12, 15, 15},
        {TAnimation::anHSlide, 200, 120, 12, 17, 10},  // H = 17: V = Round(7 x 1.5), H = Round(11 x 1.5) + 1
        {TAnimation::anUnfold, 300, 50, 12, 17, 2},
        {TAnimation::anVSlide, 100, 120, 24, 25, 30},  // double speed: V = 6, then Round(20 x 1.5)
        // Lower than one step: the height stays 0 while the width unfolds, and the width ends it.
        {TAnimation::anUnfold, 300, 25, 12, 17, 0},
    };
    for (const auto& c : cases) {
        auto s = StepsFor(c.kind, c.width, c.height, c.frames);
        EXPECT_EQ(s.v, c.v) << c.width << "x" << c.height << " in " << c.frames;
        EXPECT_EQ(s.h, c.h) << c.width << "x" << c.height << " in " << c.frames;
    }
}

TEST(DropMenuLayout, A120PixelDropDownGrowsBy15PerFrame)
{
    auto steps = StepsFor(TAnimation::anVSlide, 100, 120, FramesPerDimension(20, false));
    auto frames = OpeningFrames(TAnimation::anVSlide, 100, 120, steps);
    ASSERT_EQ(frames.size(), 7u);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].cy, 15 * static_cast<int>(i + 1));
        EXPECT_EQ(frames[i].cx, 100) << "the width does not grow";
    }
    auto closing = ClosingFrames(TAnimation::anVSlide, 100, 120, steps);
    ASSERT_EQ(closing.size(), 7u);
    EXPECT_EQ(closing.front().cy, 105);
    EXPECT_EQ(closing.back().cy, 15);
    EXPECT_TRUE(OpeningFrames(TAnimation::anNone, 100, 120, steps).empty());
    // Unfolding ends as soon as one dimension reaches its size.
    auto unfold = OpeningFrames(TAnimation::anUnfold, 300, 50, StepsFor(TAnimation::anUnfold, 300, 50, 12));
    EXPECT_EQ(unfold.size(), 17u);
    EXPECT_EQ(unfold.back().cy, 34);
    EXPECT_EQ(unfold.back().cx, 17 * 17);
    // A timeout of 1 ms gives one frame and a vertical step of 0: shown at once, not never.
    auto tiny = StepsFor(TAnimation::anVSlide, 100, 120, FramesPerDimension(1, false));
    EXPECT_EQ(tiny.v, 0);
    EXPECT_TRUE(OpeningFrames(TAnimation::anVSlide, 100, 120, tiny).empty());
    EXPECT_TRUE(ClosingFrames(TAnimation::anVSlide, 100, 120, tiny).empty());
    auto flat = OpeningFrames(TAnimation::anUnfold, 300, 25, StepsFor(TAnimation::anUnfold, 300, 25, 12));
    EXPECT_EQ(flat.size(), 17u);
}

TEST(DropMenuLayout, StoredAnimationsResolvePerShowing)
{
    TAnimation after;
    EXPECT_EQ(ResolveOpen(TAnimation::anSmart, after, 0), TAnimation::anVSlide);
    EXPECT_EQ(after, TAnimation::anHSlide);
    EXPECT_EQ(ResolveOpen(TAnimation::anPopup, after, 0), TAnimation::anUnfold);
    EXPECT_EQ(after, TAnimation::anHSlide);
    EXPECT_EQ(ResolveOpen(TAnimation::anUnfold, after, 0), TAnimation::anUnfold);
    EXPECT_EQ(after, TAnimation::anUnfold);
    EXPECT_EQ(ResolveOpen(TAnimation::anRandom, after, 1), TAnimation::anHSlide);
    EXPECT_EQ(ResolveClose(TAnimation::anSmart, false, 0), TAnimation::anVSlide);
    EXPECT_EQ(ResolveClose(TAnimation::anSmart, true, 0), TAnimation::anHSlide);
    EXPECT_EQ(ResolveClose(TAnimation::anPopup, false, 0), TAnimation::anUnfold);
    EXPECT_EQ(ResolveClose(TAnimation::anPopup, true, 0), TAnimation::anHSlide);
}

TEST(DropMenuLayout, MeasuresWidestCaptionAndShortcutAndSumsTheRows)
{
    std::vector<TRowMeasure> rows = {{false, 90, 40}, {false, 120, 0}, {true, 0, 0}, {false, 60, 45}};
    SIZE s = MeasureDropDown(rows, 27, 19, 11);
    EXPECT_EQ(s.cx, 120 + 45 + 2 * 27 + 10);
    EXPECT_EQ(s.cy, 3 * 19 + 11 + 6);
    EXPECT_EQ(MeasureDropDown({}, 27, 19, 11).cy, 6);
}

TEST(DropMenuLayout, PlacementAtEachEdgeOfTheWorkArea)
{
    const RECT work{0, 0, 1024, 740};
    auto place = [&](POINT at, SIZE size, TOrigin origin, TAnimation anim = TAnimation::anUnfold) {
        TPlacement p;
        p.at = at;
        p.size = size;
        p.work = work;
        p.openAnimation = anim;
        p.origin = origin;
        p.button = RECT{at.x, at.y - 20, at.x + 50, at.y};
        p.parent = RECT{900, 100, 1000, 300};
        p.formTop = 600;
        return Place(p);
    };
    struct Case {
        const char* what;
        POINT at;
        SIZE size;
        TOrigin origin;
        TAnimation anim;
        RECT expected;
        bool leftwards, upwards;
    } cases[] = {
        {"fits", {100, 100}, {150, 120}, TOrigin::oPlain, TAnimation::anUnfold, {100, 100, 250, 220}, false, false},
        {"right edge", {950, 100}, {150, 120}, TOrigin::oPlain, TAnimation::anUnfold, {874, 100, 1024, 220}, false,
         false},
        {"sub-menu right edge", {993, 120}, {150, 120}, TOrigin::oSubMenu, TAnimation::anHSlide,
         {756, 120, 906, 240}, true, false},
        {"sub-menu left of a narrow parent", {993, 120}, {150, 120}, TOrigin::oSubMenu, TAnimation::anVSlide,
         {756, 120, 906, 240}, true, false},
        {"bottom: opens upwards", {100, 700}, {150, 120}, TOrigin::oPlain, TAnimation::anUnfold,
         {100, 580, 250, 700}, false, true},
        {"bottom, horizontal slide: moved up", {100, 700}, {150, 120}, TOrigin::oPlain, TAnimation::anHSlide,
         {100, 620, 250, 740}, false, false},
        {"bottom, no room above: moved up", {100, 700}, {150, 720}, TOrigin::oPlain, TAnimation::anUnfold,
         {100, 20, 250, 740}, false, false},
        {"bar button: upwards above the button", {100, 700}, {150, 120}, TOrigin::oBarButton,
         TAnimation::anUnfold, {100, 560, 250, 680}, false, true},
        {"bar button, top region too small: beside it", {100, 700}, {150, 690}, TOrigin::oBarButton,
         TAnimation::anUnfold, {150, 50, 300, 740}, false, false},
        {"system menu upwards: to the form's top", {100, 700}, {150, 120}, TOrigin::oSystemMenu,
         TAnimation::anUnfold, {100, 483, 250, 603}, false, true},
        {"left edge at 0 becomes 1", {-20, 0}, {150, 120}, TOrigin::oPlain, TAnimation::anUnfold,
         {-20, 1, 130, 121}, false, false},
        {"wider than the screen", {10, 10}, {1100, 120}, TOrigin::oPlain, TAnimation::anUnfold,
         {1, 10, 1101, 130}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto r = place(c.at, c.size, c.origin, c.anim);
        EXPECT_EQ(r.bounds.left, c.expected.left);
        EXPECT_EQ(r.bounds.top, c.expected.top);
        EXPECT_EQ(r.bounds.right, c.expected.right);
        EXPECT_EQ(r.bounds.bottom, c.expected.bottom);
        EXPECT_EQ(r.leftwards, c.leftwards);
        EXPECT_EQ(r.upwards, c.upwards);
    }
}

TEST(DropMenuLayout, UnderAVerticalBarButtonItEndsAtTheButtonsLeftEdge)
{
    TPlacement p;
    p.at = {1000, 200};
    p.size = {150, 120};
    p.work = {0, 0, 1024, 740};
    p.origin = TOrigin::oBarButton;
    p.barVertical = true;
    p.button = {980, 180, 1000, 240};
    auto r = Place(p);
    EXPECT_EQ(r.bounds.left, 830);
    EXPECT_EQ(r.bounds.top, 200);
}

// A second monitor left of the first or above it has negative coordinates: the
// drop-down keeps to that monitor's work area instead of jumping onto the first one.
TEST(DropMenuLayout, PlacementKeepsToTheWorkAreaOfASecondMonitor)
{
    struct Case {
        const char* what;
        RECT work;
        POINT at;
        SIZE size;
        RECT expected;
        bool upwards;
    } cases[] = {
        {"left monitor, right edge", {-1280, 0, 0, 1024}, {-100, 100}, {150, 120}, {-150, 100, 0, 220}, false},
        {"left monitor, wider than it", {-1280, 0, 0, 1024}, {-1200, 100}, {1300, 120}, {-1279, 100, 21, 220},
         false},
        {"upper monitor, bottom: opens upwards", {0, -1024, 1280, 0}, {100, -50}, {150, 120},
         {100, -170, 250, -50}, true},
        {"upper monitor, taller than the room above: moved up", {0, -1024, 1280, 0}, {100, -50}, {150, 1000},
         {100, -1000, 250, 0}, false},
        {"upper monitor, top edge", {0, -1024, 1280, 0}, {100, -1030}, {150, 120}, {100, -1023, 250, -903}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TPlacement p;
        p.at = c.at;
        p.size = c.size;
        p.work = c.work;
        p.openAnimation = TAnimation::anUnfold;
        const TPlaced r = Place(p);
        EXPECT_EQ(r.bounds.left, c.expected.left);
        EXPECT_EQ(r.bounds.top, c.expected.top);
        EXPECT_EQ(r.bounds.right, c.expected.right);
        EXPECT_EQ(r.bounds.bottom, c.expected.bottom);
        EXPECT_EQ(r.upwards, c.upwards);
    }
}

TEST(DropMenuLayout, BarButtonSizeCountsCaptionWithoutAccessMarks)
{
    EXPECT_EQ(StripAccessMarks("&Datei"), "Datei");
    EXPECT_EQ(StripAccessMarks("Sichern && Laden"), "Sichern & Laden");
    EXPECT_EQ(StripAccessMarks("&&&X"), "&X");
    EXPECT_EQ(AccessKey("&Datei"), 'D');
    EXPECT_EQ(AccessKey("Inf&o"), 'O');
    EXPECT_EQ(AccessKey("A && B"), 0);
    EXPECT_EQ(AccessKey("A && &b"), 'B');
    struct Case {
        SIZE caption;
        int image;
        bool side, system;
        SIZE expected;
    } cases[] = {{{40, 13}, 0, false, false, {56, 19}},
                 {{40, 13}, 16, false, false, {72, 19}},
                 {{40, 13}, 0, true, false, {19, 56}},
                 {{40, 13}, 0, false, true, {20, 19}},
                 {{40, 13}, 0, true, true, {19, 20}}};
    for (const auto& c : cases) {
        SIZE s = BarButtonSize(c.caption, c.image, c.side, c.system);
        EXPECT_EQ(s.cx, c.expected.cx);
        EXPECT_EQ(s.cy, c.expected.cy);
    }
}

} // namespace
