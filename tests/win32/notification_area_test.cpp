// The notification-area icon on the real shell under Wine: a balloon is shown at the icon,
// without waiting for the user, and only where there is an icon; so is a new tip. And what
// the shell's version-4 notifications mean to Tapster.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include "win32/win32_notification_area.h"

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
    Win32NotificationArea area(window_, nullptr, IDI_APPLICATION);
    const platform::NotificationArea::Icon icon{"Tapster test"};
    ASSERT_TRUE(area.add(icon));
    EXPECT_TRUE(area.show_balloon("Tapster", "Still running here; Ü ✓"));
    EXPECT_TRUE(area.modify({"Tapster test (paused)"}));
    ASSERT_TRUE(area.remove(icon));
    EXPECT_FALSE(area.show_balloon("Tapster", "no icon, no balloon"));
    EXPECT_FALSE(area.modify(icon));
}

int icon_width(HICON icon) {
    ICONINFO info{};
    if (GetIconInfo(icon, &info) == FALSE) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The icon is drawn at the small-icon size of the window's display scale, and anew when the
// scale changes; an add of the icon already there answers that it is shown.
TEST_F(NotificationAreaTest, TheIconComesAtTheSizeOfTheDisplayScaleAndAgainWhenItChanges) {
    const int first_size = GetSystemMetricsForDpi(SM_CXSMICON, GetDpiForWindow(window_));
    const int larger_size = GetSystemMetricsForDpi(SM_CXSMICON, 192);
    ASSERT_GT(larger_size, first_size);
    Win32NotificationArea area(window_, nullptr, IDI_APPLICATION);
    EXPECT_EQ(icon_width(area.icon()), first_size);
    const platform::NotificationArea::Icon icon{"Tapster test"};
    ASSERT_TRUE(area.add(icon));
    EXPECT_TRUE(area.add(icon)) << "the icon is there already";

    area.set_dpi(192);
    EXPECT_EQ(icon_width(area.icon()), larger_size);
    EXPECT_TRUE(area.modify(icon));
    ASSERT_TRUE(area.remove(icon));
}

// The low word is what the user did, the high word the icon's number. Only the left press
// (or the keyboard's) selects: the NIN_SELECT after its release would ask again; only the
// menu request opens the menu, never the right button itself.
TEST(TrayEvents, OnlyThePressSelectsAndOnlyTheMenuRequestOpensTheMenu) {
    const struct {
        UINT what;
        TrayEvent event;
    } notifications[] = {
        {WM_MOUSEMOVE, TrayEvent::none},
        {WM_LBUTTONDOWN, TrayEvent::selected},
        {WM_LBUTTONUP, TrayEvent::none},
        {WM_LBUTTONDBLCLK, TrayEvent::none},
        {WM_RBUTTONDOWN, TrayEvent::none},
        {WM_RBUTTONUP, TrayEvent::none},
        {NIN_SELECT, TrayEvent::none},
        {NIN_KEYSELECT, TrayEvent::selected},
        {WM_CONTEXTMENU, TrayEvent::menu_requested},
        {NIN_BALLOONUSERCLICK, TrayEvent::none},
    };
    for (const auto& notification : notifications) {
        EXPECT_EQ(tray_event(MAKELPARAM(notification.what, kTrayIconId)), notification.event)
            << "message " << notification.what;
    }
}

}  // namespace
}  // namespace tapster::win32
