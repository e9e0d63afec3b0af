// How the real tapster.exe starts: what the user sees of a message at start, and a second
// start while a copy runs.
#include <gtest/gtest.h>

#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::Tapster;
using namespace std::chrono_literals;

TEST(Startup, TheDamagedSettingsMessageComesToTheFrontWithoutAHiddenOwner) {
    driver::write_settings("{");
    Tapster tapster(tapster_exe());
    HWND box = nullptr;
    ASSERT_TRUE(driver::wait_until([&] {
        box = FindWindowW(L"#32770", L"Tapster 2.1");
        return box != nullptr && IsWindowVisible(box);
    }));
    EXPECT_FALSE(tapster.visible()) << "the message comes before the window";
    const HWND owner = GetWindow(box, GW_OWNER);
    EXPECT_TRUE(owner == nullptr || IsWindowVisible(owner)) << "owned by a hidden window";
    const bool topmost = (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    EXPECT_TRUE(GetForegroundWindow() == box || topmost) << "the box may open behind others";

    SendMessageTimeoutW(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
}

}  // namespace
}  // namespace tapster::e2e
