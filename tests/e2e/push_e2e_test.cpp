// The push cycle against real message boxes of another process, under Wine.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "driver.h"
#include "e2e_environment.h"

namespace tapster::e2e {
namespace {

using driver::MessageBoxProcess;
using driver::Tapster;
using namespace std::chrono_literals;

class PushCycle : public ::testing::Test {
  protected:
    // Starts Tapster with these stored targets and waits until it is up.
    std::unique_ptr<Tapster> start_with_items(const std::string& items_json) {
        auto tapster = driver::start_with_items(tapster_exe(), items_json);
        EXPECT_TRUE(tapster->visible());
        return tapster;
    }
    static std::unique_ptr<MessageBoxProcess> raise(const std::wstring& arguments) {
        return std::make_unique<MessageBoxProcess>(msgbox_exe(), arguments);
    }
};

TEST_F(PushCycle, PressesAnEnabledOkBoxWithinOneAndAHalfSeconds) {
    auto tapster = start_with_items(R"("c-0": "Nag **** #32770 **** OK **** 1 **** 1 **** False")");

    auto box = raise(L"Nag ok");
    const auto result = box->wait();

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->button, IDOK);
    EXPECT_LT(result->open_ms, 1500);
}

TEST_F(PushCycle, PressesWhileTheWindowIsHiddenInTheTray) {
    driver::write_settings(R"({"Runit": {"RunMinimized": "True"}, "Items": {)"
                           R"("c-0": "Nag **** #32770 **** OK **** 1 **** 1 **** False"}})");
    Tapster tapster(tapster_exe());

    auto box = raise(L"Nag ok");
    const auto result = box->wait();

    EXPECT_FALSE(tapster.visible());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->button, IDOK);
}

TEST_F(PushCycle, PressesCancelAndNoOfTheirBoxes) {
    auto tapster =
        start_with_items(R"("c-0": "Careful **** #32770 **** Cancel **** 2 **** 2 **** False",)"
                         R"("c-1": "Question **** #32770 **** &No **** 7 **** 7 **** False")");

    auto cancel = raise(L"Careful okcancel");
    // Yes/No boxes label their buttons with mnemonics, and a capture records them so.
    auto question = raise(L"Question yesno");
    const auto cancelled = cancel->wait();
    const auto answered = question->wait();

    ASSERT_TRUE(cancelled.has_value());
    EXPECT_EQ(cancelled->button, IDCANCEL);
    ASSERT_TRUE(answered.has_value());
    EXPECT_EQ(answered->button, IDNO);
}

TEST_F(PushCycle, LeavesAnUncheckedTargetAndAChangedButtonAlone) {
    auto tapster =
        start_with_items(R"("u-0": "Unchecked **** #32770 **** OK **** 1 **** 1 **** False",)"
                         R"("c-1": "Changed **** #32770 **** Okay **** 1 **** 1 **** False")");

    auto unchecked = raise(L"Unchecked ok --timeout 3500");
    auto changed = raise(L"Changed ok --timeout 3500");

    const auto first = unchecked->wait();
    const auto second = changed->wait();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->button, 0) << "an unchecked target was pressed";
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->button, 0) << "a button whose text changed was pressed";
}

TEST_F(PushCycle, PressesATitleAndButtonTextInAnyScript) {
    auto tapster = start_with_items(
        R"("c-0": "Überprüfung — 確認 **** #32770 **** Bestätigen 確認 **** 1 **** 1 **** False")");

    auto box = raise(L"\"Überprüfung — 確認\" ok --button \"1=Bestätigen 確認\"");
    const auto result = box->wait();

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->button, IDOK);
}

TEST_F(PushCycle, PressesTheBoxWhoseTitleMatchesAPatternAndLeavesTheOtherAlone) {
    auto tapster =
        start_with_items(R"("c-0": "error * IN JOB **** #32770 **** OK **** 1 **** 1 **** False")");

    auto other = raise(L"\"Warning 4711 in job\" ok --timeout 2500");
    auto matching = raise(L"\"Error 4711 in job\" ok");

    const auto pressed = matching->wait();
    const auto left = other->wait();
    ASSERT_TRUE(pressed.has_value());
    EXPECT_EQ(pressed->button, IDOK);
    ASSERT_TRUE(left.has_value());
    EXPECT_EQ(left->button, 0) << "a box whose title does not match was pressed";
}

TEST_F(PushCycle, AForcedTargetLeavesTheCursorInTheScreensBottomRightCorner) {
    auto tapster =
        start_with_items(R"("c-0": "Forced **** #32770 **** OK **** 1 **** 1 **** True")");
    SetCursorPos(300, 300);

    auto box = raise(L"Forced ok");
    const auto result = box->wait();

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->button, IDOK);
    POINT cursor{};
    ASSERT_TRUE(driver::wait_until(
        [&] {
            GetCursorPos(&cursor);
            return cursor.x == GetSystemMetrics(SM_CXSCREEN) - 1 &&
                   cursor.y == GetSystemMetrics(SM_CYSCREEN) - 1;
        },
        2000ms))
        << "cursor at " << cursor.x << "," << cursor.y;
}

TEST_F(PushCycle, AHungDialogFreezesNeitherTapsterNorTheOtherTargets) {
    auto tapster = start_with_items(R"("c-0": "Hung **** #32770 **** OK **** 1 **** 1 **** False",)"
                                    R"("c-1": "Nag **** #32770 **** OK **** 1 **** 1 **** False")");

    auto hung = raise(L"Hung ok --hang 8000 --timeout 12000");
    ASSERT_NE(hung->wait_until_shown(L"Hung"), nullptr);
    auto nag = raise(L"Nag ok");

    // Tapster's own window answers promptly all the while.
    const auto until = std::chrono::steady_clock::now() + 4s;
    long long slowest_ms = 0;
    while (std::chrono::steady_clock::now() < until) {
        const auto asked = std::chrono::steady_clock::now();
        ASSERT_TRUE(tapster->answers(1000ms)) << "Tapster did not answer within a second";
        slowest_ms =
            std::max<long long>(slowest_ms, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - asked)
                                                .count());
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_LT(slowest_ms, 1000);

    const auto pressed = nag->wait();
    ASSERT_TRUE(pressed.has_value());
    EXPECT_EQ(pressed->button, IDOK);
}

}  // namespace
}  // namespace tapster::e2e
