// The push cycle's decisions against a fake desktop: which window, which control, which
// identifier, and what a forced entry adds.
#include <gtest/gtest.h>

#include "fakes/param_name.h"

#include "fakes/fake_accessible_buttons.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_platform.h"
#include "model/target.h"
#include "model/target_string.h"
#include "pressing/push_cycle.h"

namespace tapster {
namespace {

using fakes::FakeDesktop;
using Journal = std::vector<std::string>;

class PushCycleTest : public ::testing::Test {
  protected:
    PushCycleTest()
        : mouse(desktop), cycle(list, desktop, accessible, mouse, [this] { return now; }) {}

    // A checked entry for a message box titled "Nag" with the given fields.
    void target(const std::string& button_text, const std::string& found_id,
                const std::string& own_id, bool forced = false, bool checked = true) {
        list.append(to_target_string({"Nag", "#32770", button_text, found_id, own_id, forced}),
                    checked);
    }
    platform::WindowHandle nag(std::map<int, std::string> controls) {
        return desktop.open({"#32770", "Nag", std::move(controls)});
    }

    // A window whose "Save" button its program draws itself, and a checked target for it.
    platform::WindowHandle drawn_dialog(bool forced) {
        const auto window = desktop.open({"Drawn", "Save file?", {}});
        accessible.windows[window] = {{"Save"}};
        list.append(to_target_string({"Save file?", "Drawn", "Save", std::string(kAccessibleMarker),
                                      std::string(kAccessibleMarker), forced}),
                    true);
        return window;
    }

    FakeDesktop desktop;
    TargetList list{[this](std::string_view text) { return desktop.fold_case(text); }};
    fakes::FakeAccessibleButtons accessible;
    PushCycle::TimePoint now{std::chrono::hours(1)};
    Mouse mouse;
    PushCycle cycle;
};

TEST_F(PushCycleTest, PressesTheFoundControlWhenItSaysTheRecordedText) {
    const auto box = nag({{1, "OK"}, {2, "Cancel"}});
    target("OK", "1", "2");

    cycle.tick();

    EXPECT_EQ(desktop.commands(), Journal{FakeDesktop::command(box, 1)});
}

TEST_F(PushCycleTest, FallsBackToTheControlsOwnIdWhenTheFoundOneHasNoText) {
    const auto box = nag({{1, ""}, {7, "Retry"}});
    target("Retry", "1", "7");
    target("Retry", "99", "7");  // the found id names no control at all

    cycle.tick();

    EXPECT_EQ(desktop.commands(),
              (Journal{FakeDesktop::command(box, 7), FakeDesktop::command(box, 7)}));
}

TEST_F(PushCycleTest, AFoundControlWithOtherTextBlocksThePressEvenIfTheFallbackMatches) {
    nag({{1, "Cancel"}, {7, "OK"}});
    target("OK", "1", "7");

    cycle.tick();

    EXPECT_TRUE(desktop.commands().empty());
}

struct TextMatch {
    const char* control_text;
    const char* recorded_text;
    bool pressed;
};

class PushCycleTextMatch : public PushCycleTest, public ::testing::WithParamInterface<TextMatch> {};

TEST_P(PushCycleTextMatch, IgnoresLetterCaseAndSurroundingSpacesOnly) {
    nag({{1, GetParam().control_text}});
    target(GetParam().recorded_text, "1", "1");

    cycle.tick();

    EXPECT_EQ(desktop.commands().size(), GetParam().pressed ? 1U : 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PushCycleTextMatch,
    ::testing::Values(TextMatch{"OK", "OK", true}, TextMatch{"ok", "OK", true},
                      TextMatch{"  Ok  ", "OK", true}, TextMatch{"OK", " OK ", true},
                      TextMatch{"&Yes", "Yes", false},  // mnemonic counts
                      TextMatch{"O K", "OK", false}, TextMatch{"OK.", "OK", false}),
    [](const auto& info) { return fakes::param_name(info.index, info.param.control_text); });

TEST_F(PushCycleTest, AnEmptyRecordedTextMatchesAButtonWithoutTextAndSendsTheOwnId) {
    const auto box = nag({});
    target("", "3", "4");

    cycle.tick();

    EXPECT_EQ(desktop.commands(), Journal{FakeDesktop::command(box, 4)});
}

TEST_F(PushCycleTest, AnUncheckedEntryCausesNoLookup) {
    nag({{1, "OK"}});
    target("OK", "1", "1", false, false);

    cycle.tick();

    EXPECT_EQ(desktop.enumerations, 0);
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(PushCycleTest, MissingWindowsCostOneLookAtTheDesktopAndNothingElse) {
    desktop.add({"Notepad", "Nag"});
    target("OK", "1", "1");
    target("OK", "2", "2");

    cycle.tick();

    EXPECT_EQ(desktop.enumerations, 1);
    EXPECT_EQ(desktop.title_reads, 0);
    EXPECT_TRUE(desktop.journal.empty());
}

TEST_F(PushCycleTest, AWindowStillOpenIsPressedOnEveryTickOncePerEntry) {
    const auto box = nag({{1, "OK"}});
    target("OK", "1", "1");
    target("OK", "1", "1");

    cycle.tick();
    cycle.tick();

    EXPECT_EQ(desktop.commands(), Journal(4, FakeDesktop::command(box, 1)));
}

TEST_F(PushCycleTest, AForcedEntryIsPressedThenClickedInTheScreensCorner) {
    const auto box = nag({{1, "OK"}});
    target("OK", "1", "1", true);

    cycle.tick();

    EXPECT_EQ(desktop.journal, (Journal{FakeDesktop::command(box, 1), "click at 1023,767"}));
}

TEST_F(PushCycleTest, TheForcedClickReachesTheCornerOfScreensOfAnySize) {
    nag({{1, "OK"}});
    target("OK", "1", "1", true);

    for (const platform::Size screen :
         {platform::Size{800, 600}, platform::Size{2560, 1440}, platform::Size{7680, 4320}}) {
        desktop.screen = screen;
        cycle.tick();
        EXPECT_EQ(desktop.cursor, (platform::Point{screen.width - 1, screen.height - 1}));
    }
}

TEST_F(PushCycleTest, AnyOtherForceFlagPressesWithoutClicking) {
    nag({{1, "OK"}});
    for (const char* flag : {"true", "TRUE", "False", ""}) {
        list.append("Nag **** #32770 **** OK **** 1 **** 1 **** " + std::string(flag), true);
    }

    cycle.tick();

    EXPECT_EQ(desktop.commands().size(), 4U);
    EXPECT_EQ(desktop.journal.size(), 4U) << "no cursor move, no click";
}

TEST_F(PushCycleTest, AnEntryThatCannotBeReadIsSkippedAndTheNextOneStillPressed) {
    const auto box = nag({{1, "OK"}});
    for (const char* broken :
         {"no separators at all", "Nag **** #32770 **** OK **** one **** 1 **** False",
          "Nag **** #32770 **** OK", "Nag **** #32770 **** OK **** 0 **** x **** False"}) {
        list.append(broken, true);
    }
    target("OK", "1", "1");

    cycle.tick();

    EXPECT_EQ(desktop.commands(), Journal{FakeDesktop::command(box, 1)});
}

TEST_F(PushCycleTest, AnEntryWithoutAForceFlagIsStillPressed) {
    const auto box = nag({{1, "OK"}});
    list.append("Nag **** #32770 **** OK **** 1 **** 1", true);

    cycle.tick();

    EXPECT_EQ(desktop.journal, Journal{FakeDesktop::command(box, 1)});
}

TEST_F(PushCycleTest, ATickAskedForWhileARefusalIsToldIsSkippedNotNested) {
    desktop.elevated.insert(nag({{1, "OK"}}));
    target("OK", "1", "1");
    int nested = 0;
    cycle.refused.connect([&](const Target&) {
        if (++nested < 100) {
            cycle.tick();  // the next timer message arrives in the notice's message box
            cycle.tick_at_once(std::chrono::milliseconds(1000));  // and a new window
        }
    });

    cycle.tick();
    cycle.tick();

    EXPECT_EQ(nested, 2) << "one refusal per tick, no tick inside another";
}

TEST_F(PushCycleTest, ATickAtOnceSparesTargetsAnyTickPressedWithinTheInterval) {
    using std::chrono::milliseconds;
    const auto box = nag({{1, "OK"}});
    target("OK", "1", "1");
    list.append(to_target_string({"Other", "#32770", "OK", "1", "1", false}), true);
    list.append(to_target_string({"Late", "#32770", "OK", "1", "1", false}), true);

    cycle.tick();  // presses Nag; Other and Late are not open
    const auto other = desktop.open({"#32770", "Other", {{1, "OK"}}});
    now += milliseconds(999);
    cycle.tick_at_once(milliseconds(1000));  // Nag was pressed 999 ms ago
    const auto late = desktop.open({"#32770", "Late", {{1, "OK"}}});
    now += milliseconds(1);
    cycle.tick_at_once(milliseconds(1000));  // Nag's press is 1000 ms old, Other's 1 ms
    cycle.tick();                            // the timer's tick presses whatever is open

    EXPECT_EQ(desktop.commands(),
              (Journal{FakeDesktop::command(box, 1), FakeDesktop::command(other, 1),
                       FakeDesktop::command(box, 1), FakeDesktop::command(late, 1),
                       FakeDesktop::command(box, 1), FakeDesktop::command(other, 1),
                       FakeDesktop::command(late, 1)}));
}

// A refusal's notice is a message box, whose loop lets the user change the list or pause.
TEST_F(PushCycleTest, EntriesAddedOrRemovedWhileARefusalIsToldAreSeenByTheSameTick) {
    desktop.elevated.insert(desktop.open({"#32770", "Admin", {{1, "OK"}}}));
    list.append(to_target_string({"Admin", "#32770", "OK", "1", "1", false}), true);
    const auto box = nag({{1, "OK"}, {2, "Cancel"}});
    target("Never", "1", "1");  // removed before the tick reaches it
    cycle.refused.connect([&](const Target&) {
        list.remove(1);
        list.append(to_target_string({"Nag", "#32770", "Cancel", "2", "2", false}), true);
    });

    cycle.tick();

    EXPECT_EQ(desktop.commands(), Journal{FakeDesktop::command(box, 2)});
}

TEST_F(PushCycleTest, APauseChosenWhileARefusalIsToldStopsTheRestOfTheTick) {
    desktop.elevated.insert(desktop.open({"#32770", "Admin", {{1, "OK"}}}));
    list.append(to_target_string({"Admin", "#32770", "OK", "1", "1", false}), true);
    nag({{1, "OK"}});
    target("OK", "1", "1");
    cycle.refused.connect([&](const Target&) { cycle.set_paused(true); });

    cycle.tick();
    cycle.tick();

    EXPECT_TRUE(desktop.commands().empty());
}

TEST_F(PushCycleTest, ADrawnButtonIsPressedByNameAndAForcedOneClickedOnceTheProgramAnswers) {
    const auto dialog = drawn_dialog(true);

    cycle.tick();

    EXPECT_EQ(accessible.presses, Journal{"press " + std::to_string(dialog) + " Save"});
    EXPECT_TRUE(desktop.journal.empty()) << "no command message, and no click before the answer";
    accessible.replies.run_all();
    EXPECT_EQ(desktop.journal, Journal{"click at 1023,767"});
}

TEST_F(PushCycleTest, ADrawnButtonRefusedOrNotPressedIsSkippedAndTheTickGoesOn) {
    drawn_dialog(true);
    const auto box = nag({{1, "OK"}});
    target("OK", "1", "1");
    std::vector<std::string> refused_titles;
    cycle.refused.connect([&](const Target& target) { refused_titles.push_back(target.title); });

    using Press = platform::AccessibleButtons::Press;
    for (const Press answer : {Press::refused, Press::no_answer, Press::not_found}) {
        accessible.answer = answer;
        cycle.tick();
        accessible.replies.run_all();
    }

    EXPECT_EQ(refused_titles, std::vector<std::string>{"Save file?"});
    EXPECT_EQ(desktop.journal, Journal(3, FakeDesktop::command(box, 1))) << "and no forced click";
}

TEST_F(PushCycleTest, ATargetWithConditionsPassesOverBoxesOfOtherProgramsOrMessages) {
    // Three boxes alike but for who shows them or what they say, the topmost first.
    const auto make = [&](const std::string& program, const std::string& message) {
        const auto box = nag({{1, "OK"}});
        desktop.add({"Static", "", 20, box});  // an icon: no text
        desktop.add({"Static", message, 65535, box});
        desktop.programs[box] = program;
        return box;
    };
    const auto other_program = make("other.exe", "Save the report?");
    const auto other_message = make("tool.exe", "Delete every\r\nreport?");
    const auto meant = make("TOOL.exe", "Save the  report?");
    const std::string recorded =
        to_target_string({"Nag", "#32770", "OK", "1", "1", false, "Tool.exe", "save the report?"});
    list.append(recorded, true);
    // Widened by hand: any program, any message that ends so.
    list.append(to_target_string({"Nag", "#32770", "OK", "1", "1", false, {}, "*REPORT?"}), true);
    list.append(to_target_string({"Nag", "#32770", "Cancel", "1", "1", false, {}, "x"}), true);
    list.append(recorded, true);

    cycle.tick();
    EXPECT_EQ(desktop.commands(),
              (Journal{FakeDesktop::command(meant, 1), FakeDesktop::command(other_program, 1),
                       FakeDesktop::command(meant, 1)}));
    EXPECT_EQ(desktop.message_reads, 3) << "once a window and tick, not for a button that differs";
    EXPECT_EQ(desktop.program_reads, 3);

    desktop.close(other_program);
    desktop.close(meant);
    cycle.tick();
    EXPECT_EQ(desktop.commands().size(), 4U);
    EXPECT_EQ(desktop.commands().back(), FakeDesktop::command(other_message, 1));
    EXPECT_EQ(desktop.message_reads, 4);

    // A message that cannot be read whole matches nothing, not even a widened one.
    desktop.silent_messages.insert(other_message);
    cycle.tick();
    EXPECT_EQ(desktop.commands().size(), 4U);
}

TEST_F(PushCycleTest, ADrawnButtonWithAMessageIsPressedOnlyWhereTheWorkerFindsIt) {
    const auto dialog = desktop.open({"Drawn", "Save file?", {}});
    accessible.windows[dialog] = {{"Save"}};
    accessible.static_texts[dialog] = {"Delete the", "file?"};
    const std::string marker(kAccessibleMarker);
    list.append(to_target_string(
                    {"Save file?", "Drawn", "Save", marker, marker, false, {}, "save the file?"}),
                true);

    cycle.tick();
    EXPECT_TRUE(accessible.presses.empty());

    accessible.static_texts[dialog] = {"Save the", "file?"};
    cycle.tick();
    EXPECT_EQ(accessible.presses, Journal{"press " + std::to_string(dialog) + " Save"});
}

}  // namespace
}  // namespace tapster
