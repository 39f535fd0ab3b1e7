#include "appkit/WindowPlacer.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Two screens side by side: a wide one and a smaller one to its right.
const QRect WideScreen(0, 0, 1600, 1000);
const QRect SmallScreen(1600, 0, 1024, 768);
constexpr int Step = WindowPlacer::CascadeOffset;

struct Placement {
    const char* what;
    QRect frame;
    QRect available;
    std::optional<QRect> cascadeFrom;
    QRect expected;
};

} // namespace

TEST(WindowsOnScreen, PlacedFramesLieWhollyInsideTheirScreen)
{
    const Placement placements[] = {
        { "inside stays", { 100, 80, 420, 300 }, WideScreen, {}, { 100, 80, 420, 300 } },
        { "below the bottom moves up", { 600, 715, 420, 300 }, WideScreen, {},
            { 600, 700, 420, 300 } },
        { "left of the screen moves right", { -50, 10, 400, 200 }, WideScreen, {},
            { 0, 10, 400, 200 } },
        { "cascades from the main window", { 0, 0, 720, 520 }, WideScreen,
            QRect(200, 100, 720, 520), { 200 + Step, 100 + Step, 720, 520 } },
        { "cascade past the corner starts again at the top left", { 0, 0, 720, 520 }, WideScreen,
            QRect(870, 470, 720, 520), { 0, 0, 720, 520 } },
        { "cascade on the second screen", { 0, 0, 720, 520 }, SmallScreen,
            QRect(1700, 100, 600, 500), { 1700 + Step, 100 + Step, 720, 520 } },
        { "cascade past the second screen's corner", { 0, 0, 720, 520 }, SmallScreen,
            QRect(2000, 300, 600, 500), { 1600, 0, 720, 520 } },
        { "a cascaded window larger than the screen fills it", { 0, 0, 1100, 900 }, SmallScreen,
            QRect(1700, 100, 600, 500), { 1600, 0, 1024, 768 } },
        { "larger than the screen shrinks", { 1700, 50, 1100, 900 }, SmallScreen, {},
            { 1600, 0, 1024, 768 } },
        { "a cascade from the corner keeps its step and shrinks", { 0, 0, 1100, 900 }, SmallScreen,
            QRect(1600, 0, 1024, 768), { 1600 + Step, Step, 1024 - Step, 768 - Step } },
    };
    for (const Placement& placement : placements) {
        const QRect placed = WindowPlacer::placedFrame(
            placement.frame, placement.available, placement.cascadeFrom);
        EXPECT_EQ(placed, placement.expected) << placement.what;
        EXPECT_TRUE(placement.available.contains(placed)) << placement.what;
    }
}
