// The target list as another program sees and uses it: each entry's text and check mark,
// read from outside, and the check marks the user changes with the mouse and the space bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::Tapster;
using namespace std::chrono_literals;

constexpr const char* kStored = R"({"Items": {
    "c-0": "Alpha **** #32770 **** OK **** 1 **** 2 **** 0",
    "u-1": "Beta **** #32770 **** Yes **** 6 **** 6 **** 0",
    "c-2": "Gamma **** #32770 **** No **** 7 **** 7 **** 1"}})";

class TargetListView : public ::testing::Test {
  protected:
    void SetUp() override {
        driver::write_settings(kStored);
        tapster_ = std::make_unique<Tapster>(tapster_exe());
        ASSERT_TRUE(driver::wait_until([&] { return tapster_->visible(); }));
        list_ = tapster_->find_control("SysListView32", "")->window;
        ASSERT_TRUE(driver::wait_until([&] { return entries() == 3; }));
    }

    int entries() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
    bool checked(int index) const {
        return (SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index),
                             LVIS_STATEIMAGEMASK) >>
                12) == 2;
    }
    bool selected(int index) const {
        return SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) !=
               0;
    }
    POINT check_box(int index) const { return driver::list_view_row(list_, index, 10); }
    POINT text(int index) const { return driver::list_view_row(list_, index, 120); }
    static bool stored(const std::string& entry) {
        return driver::read_settings().find(entry) != std::string::npos;
    }

    std::unique_ptr<Tapster> tapster_;
    HWND list_ = nullptr;
};

TEST_F(TargetListView, ShowsEveryStoredEntryWithItsCheckMarkToOtherPrograms) {
    EXPECT_EQ(driver::list_view_text(list_, 0), "Alpha **** #32770 **** OK **** 1 **** 2 **** 0");
    EXPECT_EQ(driver::list_view_text(list_, 1), "Beta **** #32770 **** Yes **** 6 **** 6 **** 0");
    EXPECT_EQ(driver::list_view_text(list_, 2), "Gamma **** #32770 **** No **** 7 **** 7 **** 1");
    EXPECT_TRUE(checked(0));
    EXPECT_FALSE(checked(1));
    EXPECT_TRUE(checked(2));
}

TEST_F(TargetListView, AClickOnACheckBoxChangesOnlyThatMarkAndStoresIt) {
    Tapster::click_at(text(0));
    ASSERT_TRUE(driver::wait_until([&] { return selected(0); }));

    Tapster::click_at(check_box(1));
    ASSERT_TRUE(driver::wait_until([&] { return checked(1); }));
    EXPECT_TRUE(driver::wait_until([] { return stored(R"("c-1": "Beta)"); }));
    EXPECT_TRUE(checked(0));
    EXPECT_TRUE(checked(2));
    EXPECT_TRUE(selected(0)) << "the click on a check box moved the highlight";

    // Two quick clicks on a box are two changes: it ends as it began.
    driver::xdotool("mousemove " + driver::xdotool_point(check_box(2)) + " click --repeat 2 1");
    // The list takes its input in order: once a later click has moved the highlight, both
    // clicks on the box have been handled, however long their saves took.
    Tapster::click_at(text(1));
    ASSERT_TRUE(driver::wait_until([&] { return selected(1); }));
    EXPECT_TRUE(checked(2));
    EXPECT_TRUE(driver::wait_until([] { return stored(R"("c-2": "Gamma)"); }));
}

TEST_F(TargetListView, TheSpaceBarChangesTheHighlightedEntrysMark) {
    Tapster::click_at(text(2));
    ASSERT_TRUE(driver::wait_until([&] { return selected(2); }));
    driver::xdotool("key space");
    ASSERT_TRUE(driver::wait_until([&] { return !checked(2); }));
    EXPECT_TRUE(driver::wait_until([] { return stored(R"("u-2": "Gamma)"); }));
    EXPECT_TRUE(checked(0));
    EXPECT_FALSE(checked(1));
    EXPECT_TRUE(selected(2));
}

TEST_F(TargetListView, TypingMovesToTheEntryThatBeginsWithIt) {
    Tapster::click_at(text(0));
    ASSERT_TRUE(driver::wait_until([&] { return selected(0); }));
    driver::xdotool("key g");
    EXPECT_TRUE(driver::wait_until([&] { return selected(2); }));
    EXPECT_FALSE(selected(0));
}

}  // namespace
}  // namespace tapster::e2e
