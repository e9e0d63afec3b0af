// Targets an administrator sets by policy, written with `wine reg add` as Group Policy would
// leave them: shown, marked, pressed, followed when policy changes, never stored, and beyond
// the user's reach.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

constexpr const char* kOwn = "Own **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kMachine = "Machine Policy **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kUser = "User Policy **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kLater = "Later Policy **** #32770 **** OK **** 1 **** 1 **** False";
constexpr const char* kMachineTargets = "HKLM\\Software\\Policies\\Tapster\\Targets";
constexpr const char* kUserTargets = "HKCU\\Software\\Policies\\Tapster\\Targets";

std::string managed(const std::string& text) {
    return "Set by your administrator: " + text;
}

// Wine's reg, run as an administrator's script would run it.
int reg(const std::string& arguments) {
    return driver::run_host_command("wine reg " + arguments + " >/dev/null 2>&1");
}
void set_policy_target(const char* key, const std::string& name, const char* text) {
    ASSERT_EQ(reg(std::string("add '") + key + "' /v '" + name + "' /d '" + text + "' /f"), 0);
}
void clear_policy() {
    reg("delete 'HKLM\\Software\\Policies\\Tapster' /f");
    reg("delete 'HKCU\\Software\\Policies\\Tapster' /f");
}
// What Group Policy does after it has applied new settings.
void announce_policy_change() {
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Policy"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

class PolicyTargets : public ::testing::Test {
  protected:
    void SetUp() override {
        clear_policy();
        set_policy_target(kMachineTargets, "1", kMachine);
        set_policy_target(kUserTargets, "Nag boxes", kUser);
        tapster_ =
            driver::start_with_items(tapster_exe(), std::string(R"("c-0": ")") + kOwn + "\"");
        ASSERT_TRUE(tapster_->visible());
        list_ = tapster_->find_control("SysListView32", "")->window;
        ASSERT_TRUE(driver::wait_until([&] { return texts().size() == 3; }));
    }
    void TearDown() override {
        tapster_.reset();
        clear_policy();
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        const auto count = SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0);
        for (int index = 0; index < count; ++index) {
            shown.push_back(driver::list_view_text(list_, index));
        }
        return shown;
    }
    bool checked(int index) const {
        return (SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(index),
                             LVIS_STATEIMAGEMASK) >>
                12) == 2;
    }
    POINT on_row(int index, int from_left) const {
        return driver::list_view_row(list_, index, from_left);
    }
    // Waits for Tapster's message, checks it and closes it.
    static void expect_refusal() {
        HWND box = nullptr;
        ASSERT_TRUE(driver::wait_until([&] {
            box = FindWindowW(L"#32770", L"Tapster 2.1");
            return box != nullptr && IsWindowVisible(box);
        }));
        EXPECT_EQ(driver::message_box_text(box),
                  "Your administrator set this target, so Tapster keeps it in the list and "
                  "presses it. You can not remove it or clear its check mark.");
        SendMessageTimeoutW(box, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
        EXPECT_TRUE(
            driver::wait_until([] { return FindWindowW(L"#32770", L"Tapster 2.1") == nullptr; }));
    }
    static bool stored(const std::string& text) {
        return driver::read_settings().find(text) != std::string::npos;
    }

    std::unique_ptr<Tapster> tapster_;
    HWND list_ = nullptr;
};

TEST_F(PolicyTargets, AreShownMarkedPressedFollowAPolicyChangeAndAreNeverStored) {
    EXPECT_EQ(texts(), (std::vector<std::string>{kOwn, managed(kMachine), managed(kUser)}));
    EXPECT_TRUE(checked(1));
    EXPECT_TRUE(checked(2));
    RECT outer{};
    GetWindowRect(tapster_->window(), &outer);
    EXPECT_TRUE(driver::save_screenshot(artifacts_dir() + "/policy-targets.png", &outer));

    MessageBoxProcess from_machine(msgbox_exe(), L"\"Machine Policy\" ok");
    MessageBoxProcess from_user(msgbox_exe(), L"\"User Policy\" ok");
    for (MessageBoxProcess* box : {&from_machine, &from_user}) {
        const auto result = box->wait();
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->button, IDOK);
    }

    // The machine's value goes, one more comes for the user: both show after the broadcast.
    ASSERT_EQ(reg(std::string("delete '") + kMachineTargets + "' /v 1 /f"), 0);
    set_policy_target(kUserTargets, "Later", kLater);
    announce_policy_change();
    EXPECT_TRUE(driver::wait_until([&] {
        return texts() == std::vector<std::string>{kOwn, managed(kUser), managed(kLater)};
    })) << texts().size();

    // The user's change is stored; the administrator's targets are not.
    Tapster::click_at(on_row(0, 10));
    ASSERT_TRUE(driver::wait_until([] { return stored(R"("u-0": "Own)"); }));
    EXPECT_FALSE(stored("Policy")) << driver::read_settings();
}

TEST_F(PolicyTargets, TheUserCanNeitherRemoveNorUncheckThem) {
    Tapster::click_at(on_row(1, 10));  // its check box
    expect_refusal();
    EXPECT_TRUE(checked(1));

    Tapster::click_at(on_row(1, 120));  // highlight it, then "Remove it?" from the pop-up
    ASSERT_TRUE(Tapster::choose_from_pop_up(on_row(1, 120), 0));
    expect_refusal();

    EXPECT_EQ(texts(), (std::vector<std::string>{kOwn, managed(kMachine), managed(kUser)}));
    EXPECT_TRUE(checked(1));
    EXPECT_FALSE(stored("Policy"));
}

}  // namespace
}  // namespace tapster::e2e
