// The notification-area icon on the real shell under Wine: a balloon is shown at the icon,
// without waiting for the user, and only where there is an icon; so is a new tip.
#include <gtest/gtest.h>

#include <windows.h>

#include "win32/win32_services.h"

namespace tapster::win32 {
namespace {

class NotificationAreaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", L"balloon test", WS_OVERLAPPED, 0, 0, 10, 10,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    HWND window_ = nullptr;
};

TEST_F(NotificationAreaTest, ABalloonAndANewTipShowAtTheIconOnlyWhileTheIconIsThere) {
    Win32NotificationArea area(window_, LoadIconW(nullptr, IDI_APPLICATION));
    const platform::NotificationArea::Icon icon{"Tapster test", WM_APP + 1};
    ASSERT_TRUE(area.add(icon));
    EXPECT_TRUE(area.show_balloon("Tapster", "Still running here; Ü ✓"));
    EXPECT_TRUE(area.modify({"Tapster test (paused)", WM_APP + 1}));
    ASSERT_TRUE(area.remove(icon));
    EXPECT_FALSE(area.show_balloon("Tapster", "no icon, no balloon"));
    EXPECT_FALSE(area.modify(icon));
}

}  // namespace
}  // namespace tapster::win32
