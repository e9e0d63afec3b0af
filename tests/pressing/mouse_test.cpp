// The synthesised mouse over a fake desktop whose cursor is confined to its screen.
#include <gtest/gtest.h>

#include "fakes/fake_desktop.h"
#include "pressing/mouse.h"

namespace tapster {
namespace {

using Journal = std::vector<std::string>;

TEST(Mouse, AClickAtAPointIsOneStepThatStopsAtTheScreensEdge) {
    fakes::FakeDesktop desktop;
    Mouse mouse(desktop);

    mouse.click_at(300, 200);
    mouse.click_at(5000, 5000);

    EXPECT_EQ(desktop.journal, (Journal{"click at 300,200", "click at 1023,767"}));
    EXPECT_EQ(desktop.cursor, (platform::Point{1023, 767}));
}

TEST(MouseCursor, CoordinatesRoundHalvesToTheEvenNeighbour) {
    fakes::FakeDesktop desktop;
    Mouse mouse(desktop);

    mouse.set_x(10.5F);
    EXPECT_EQ(desktop.cursor.x, 10);
    mouse.set_x(11.5F);
    EXPECT_EQ(desktop.cursor.x, 12);
    mouse.set_y(-0.5F);
    EXPECT_EQ(desktop.cursor.y, 0);
    EXPECT_FLOAT_EQ(mouse.x(), 12.0F);
}

TEST(MouseCursor, AValueBeyondA32BitIntegerMovesNothing) {
    fakes::FakeDesktop desktop;
    Mouse mouse(desktop);

    EXPECT_FALSE(mouse.set_x(3.0e9F));
    EXPECT_FALSE(mouse.set_y(-3.0e9F));

    EXPECT_TRUE(desktop.journal.empty());
}

}  // namespace
}  // namespace tapster
