// "Press at once" in the real program under Wine: a box raised between two ticks of the push
// timer is pressed as soon as it shows; turned off in the Options menu, it waits for the next
// tick; a box raised again the moment it is pressed is still pressed once per interval.
#include <gtest/gtest.h>

#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr int kPressAtOnceEntry = 4;  // after "Start when I sign in"

// Two targets and a push timer of 3 s, so that "before the next tick" is plain to see. The
// second box's target comes first, so the tick that presses the first box has passed it.
void store_two_targets() {
    driver::write_settings(R"({"Runit": {"Calibartion": "3000"}, "Items": {)"
                           R"("c-0": "Second **** #32770 **** OK **** 1 **** 1 **** False",)"
                           R"("c-1": "First **** #32770 **** OK **** 1 **** 1 **** False"}})");
}

// Raises a box that a tick presses, and another the moment it is pressed, in the same process
// so that no process start comes between the tick and the second box: how long the second one
// stays open.
long long open_ms_of_a_box_raised_after_a_tick() {
    MessageBoxProcess boxes(msgbox_exe(), L"First ok --timeout 8000 --then Second");
    const auto result = boxes.wait(20000ms);
    EXPECT_TRUE(result.has_value() && result->button == IDOK) << "a box stayed";
    return result.has_value() ? result->open_ms : -1;
}

TEST(PressAtOnce, ABoxRaisedShortlyAfterATickIsPressedWellBeforeTheNext) {
    store_two_targets();
    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));

    const long long open_ms = open_ms_of_a_box_raised_after_a_tick();

    EXPECT_GE(open_ms, 0);
    EXPECT_LT(open_ms, 1000) << "the next tick of the timer comes 3 s after the last";
}

TEST(PressAtOnce, TurnedOffInTheOptionsMenuABoxWaitsForTheNextTick) {
    store_two_targets();
    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
    tapster.choose_menu_entry(kOptionsMenu, kPressAtOnceEntry);
    ASSERT_TRUE(driver::wait_until([] {
        return driver::read_settings().find(R"("PressAtOnce": "False")") != std::string::npos;
    })) << "the choice was not stored";

    const long long open_ms = open_ms_of_a_box_raised_after_a_tick();

    EXPECT_GT(open_ms, 1000) << "pressed before the timer's next tick";
}

TEST(PressAtOnce, ABoxRaisedAgainAtOnceIsPressedAboutOncePerInterval) {
    driver::write_settings(
        R"({"Items": {"c-0": "Again **** #32770 **** OK **** 1 **** 1 **** False"}})");
    Tapster tapster(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return tapster.visible(); }));

    MessageBoxProcess again(msgbox_exe(), L"Again ok --repeat 5000");
    const auto counted = again.wait(20000ms);

    ASSERT_TRUE(counted.has_value());
    // Once a second, and once more for the first box, pressed as it showed.
    EXPECT_GE(counted->button, 4) << counted->button << " presses in 5 s";
    EXPECT_LE(counted->button, 7) << counted->button << " presses in 5 s";
}

}  // namespace
}  // namespace tapster::e2e
