// The synthesised mouse over a fake desktop whose cursor is confined to its screen.
#include <gtest/gtest.h>

#include "engine/mouse.h"
#include "fakes/fake_desktop.h"

namespace tapster {
namespace {

using Journal = std::vector<std::string>;

TEST(Module1, MoveCursorPlacesXThenYAndStopsAtTheScreensEdge) {
    fakes::FakeDesktop desktop;
    Module1 module(desktop);

    module.MoveCursor(300, 200);
    module.MoveCursor(5000, 5000);

    EXPECT_EQ(desktop.journal,
              (Journal{"cursor 300,100", "cursor 300,200", "cursor 1023,200", "cursor 1023,767"}));
}

TEST(Module1, LeftClickIsAPressAndAReleaseWhereTheCursorStands) {
    fakes::FakeDesktop desktop;
    Module1 module(desktop);

    module.LeftClick();

    EXPECT_EQ(desktop.journal, (Journal{"left down", "left up"}));
    EXPECT_EQ(desktop.cursor, (platform::Point{100, 100}));
}

TEST(CMouse, CoordinatesRoundHalvesToTheEvenNeighbour) {
    fakes::FakeDesktop desktop;
    CMouse mouse(desktop);

    mouse.X(10.5F);
    EXPECT_EQ(desktop.cursor.x, 10);
    mouse.X(11.5F);
    EXPECT_EQ(desktop.cursor.x, 12);
    mouse.Y(-0.5F);
    EXPECT_EQ(desktop.cursor.y, 0);
    EXPECT_FLOAT_EQ(mouse.X(), 12.0F);
}

TEST(CMouse, AValueBeyondA32BitIntegerMovesNothing) {
    fakes::FakeDesktop desktop;
    CMouse mouse(desktop);

    EXPECT_FALSE(mouse.X(3.0e9F));
    EXPECT_FALSE(mouse.Y(-3.0e9F));

    EXPECT_TRUE(desktop.journal.empty());
}

TEST(CMouse, WindowOverReadsAtMost254Characters) {
    fakes::FakeDesktop desktop;
    CMouse mouse(desktop);
    desktop.window_under_cursor = desktop.add({"Static", std::string(300, 'w')});

    EXPECT_EQ(mouse.WindowOver(5.0F, 5.0F), std::string(254, 'w'));
    desktop.node(desktop.window_under_cursor).text = "";
    EXPECT_EQ(mouse.WindowOver(5.0F, 5.0F), "");
    desktop.window_under_cursor = 0;
    EXPECT_EQ(mouse.WindowOver(5.0F, 5.0F), "");
}

}  // namespace
}  // namespace tapster
