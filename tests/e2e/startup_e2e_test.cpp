// How the real tapster.exe starts: what the user sees of a message at start, and a second
// start while a copy runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <string>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::Tapster;
using namespace std::chrono_literals;

int running_copies() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more != FALSE;
         more = Process32NextW(snapshot, &entry)) {
        count += lstrcmpiW(entry.szExeFile, L"tapster.exe") == 0 ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

TEST(Startup, ASecondStartShowsTheHiddenRunningCopyAndEnds) {
    driver::write_settings("");
    Tapster first(tapster_exe());
    ASSERT_TRUE(driver::wait_until([&] { return first.visible(); }));
    first.click_control(*first.find_control("Button", "Minimize"));
    ASSERT_TRUE(driver::wait_until([&] { return !first.visible(); }));
    const std::string settings = driver::read_settings();

    DWORD error = 0;
    const HANDLE second =
        driver::start_process(L"\"" + driver::windows_path(tapster_exe()) + L"\"", error);
    ASSERT_NE(second, nullptr) << "error " << error;
    const DWORD ended = WaitForSingleObject(second, 5000);
    if (ended != WAIT_OBJECT_0) {
        TerminateProcess(second, 1);
    }
    CloseHandle(second);

    EXPECT_EQ(ended, WAIT_OBJECT_0) << "the second copy kept running";
    EXPECT_TRUE(first.running());
    EXPECT_EQ(running_copies(), 1);
    EXPECT_TRUE(driver::wait_until([&] { return first.visible(); })) << "the window stayed hidden";
    EXPECT_EQ(driver::read_settings(), settings);
}

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
    // The foreground may pass to the box a moment after it shows.
    EXPECT_TRUE(driver::wait_until(
        [&] {
            return GetForegroundWindow() == box ||
                   (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        },
        2000ms))
        << "the box may open behind others";

    SendMessageTimeoutW(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_TRUE(driver::wait_until([&] { return tapster.visible(); }));
}

}  // namespace
}  // namespace tapster::e2e
