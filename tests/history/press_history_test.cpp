// The history as the main form keeps it: what the push cycle reports, the option and the
// policy that turn it off, the History window, and each target's figures.
#include <fstream>

#include "fakes/form_fixture.h"
#include "fakes/temp_folder.h"
#include "history/history_log.h"
#include "history/history_window.h"
#include "model/target_string.h"

namespace tapster {
namespace {

using namespace std::chrono_literals;
using platform::Policy;

class PressHistoryTest : public fakes::FormFixture {
  protected:
    PressHistoryTest() { history_file = folder.path() / "history.jsonl"; }

    platform::WindowHandle box(const std::string& title, bool forced = false) {
        targets().append(to_target_string({title, "#32770", "OK", "1", "1", forced}), true);
        const platform::WindowHandle window = desktop.open({"#32770", title, {{1, "OK"}}});
        desktop.programs[window] = "nagger.exe";
        return window;
    }
    // Everything the writer was given is on disk, and its answers have come back, and so
    // have the answers to what those answers asked.
    void settle() {
        do {
            ASSERT_TRUE(MainFormProbe(form()).history().flush(10s));
        } while (dispatcher.run_one());
    }
    std::vector<HistoryRecord> records() {
        settle();
        return HistoryLog(history_file).read();
    }
    void set_history_policy(Policy::Scope scope, std::uint32_t value) {
        auto& key = policy.keys[{scope, ""}];
        key.state = platform::PolicyKey::State::read;
        key.values = {fakes::FakePolicy::number_value("history", value)};
    }

    fakes::TempFolder folder;
};

TEST_F(PressHistoryTest, EachPressAndRefusalIsOneRecordWithWhatHappened) {
    form().start();
    box("First", true);
    const platform::WindowHandle refusing = box("Second");
    desktop.elevated.insert(refusing);
    policy.set_targets(Policy::Scope::machine,
                       {to_target_string({"Third", "#32770", "OK", "1", "1", false})});
    form().policy_changed();
    desktop.programs[desktop.open({"#32770", "Third", {{1, "OK"}}})] = "admin.exe";
    form().timer_ticked(WindowTimer::push);

    const auto read = records();
    ASSERT_EQ(read.size(), 3U);
    EXPECT_EQ(read[0].press.title, "First");
    EXPECT_EQ(read[0].press.button, "OK");
    EXPECT_EQ(read[0].press.program, "nagger.exe");
    EXPECT_TRUE(read[0].press.forced);
    EXPECT_FALSE(read[0].press.refused || read[0].press.managed || read[0].press.drawn);
    EXPECT_EQ(read[0].time, wall_clock.time);
    EXPECT_TRUE(read[1].press.refused);
    EXPECT_EQ(read[2].press.program, "admin.exe");
    EXPECT_TRUE(read[2].press.managed);

    // The figures follow without a read of the file.
    const HistoryFigures& figures = MainFormProbe(form()).history().figures();
    EXPECT_EQ(figures.of(targets().at(0).text).presses, 1);
    EXPECT_EQ(figures.of(targets().at(1).text).presses, 0);  // refused is no press
    EXPECT_EQ(controls().target_list.tip(0), "Pressed 1 time, last on 9 Dec 2026 14:02");
    EXPECT_EQ(controls().target_list.tip(1), "Not pressed yet");
}

TEST_F(PressHistoryTest, OffByTheUserOrByPolicyNothingIsKept) {
    form().start();
    box("Nag");
    ASSERT_TRUE(controls().keep_history_entry.checked());
    controls().keep_history_entry.user_click();
    EXPECT_EQ(read("Runit", "KeepHistory"), "False");
    form().timer_ticked(WindowTimer::push);
    EXPECT_TRUE(records().empty());

    // The policy decides over the user's choice, both ways, and the entry cannot change it.
    set_history_policy(Policy::Scope::machine, 1);
    form().policy_changed();
    EXPECT_TRUE(controls().keep_history_entry.checked());
    EXPECT_FALSE(controls().keep_history_entry.enabled());
    controls().keep_history_entry.user_click();
    EXPECT_EQ(read("Runit", "KeepHistory"), "False");
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(records().size(), 1U);

    set_history_policy(Policy::Scope::machine, 0);
    controls().keep_history_entry.user_click();  // from the user: ignored
    form().policy_changed();
    EXPECT_FALSE(controls().keep_history_entry.checked());
    wall_clock.advance_seconds(120);  // no fold could hide a record
    form().timer_ticked(WindowTimer::push);
    EXPECT_EQ(records().size(), 1U);

    // A value it cannot use is named, and the user's choice applies again.
    set_history_policy(Policy::Scope::user, 7);
    policy.keys.erase({Policy::Scope::machine, ""});
    form().policy_changed();
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_NE(boxes.shown.back().text.find("\"history\": it is 7, not 0"), std::string::npos)
        << boxes.shown.back().text;
    EXPECT_FALSE(controls().keep_history_entry.checked());
    EXPECT_TRUE(controls().keep_history_entry.enabled());
}

TEST_F(PressHistoryTest, TheWindowListsTheNewestFirstAndClearEmptiesItAndTheFile) {
    form().start();
    box("Old");
    form().timer_ticked(WindowTimer::push);
    desktop.close(desktop.find_window("#32770", "Old"));
    wall_clock.advance_seconds(3);
    box("New");
    form().timer_ticked(WindowTimer::push);
    form().timer_ticked(WindowTimer::push);  // folded into the one before

    controls().history_entry.user_click();
    EXPECT_EQ(history_view.shows, 1);  // at once, before anything is read
    settle();
    ASSERT_NE(history_view.rows, nullptr);
    ASSERT_EQ(history_view.rows->size(), 2U);
    const ui::HistoryRow& newest = history_view.rows->front();
    EXPECT_EQ(newest.time, "9 Dec 2026 14:02:08");
    EXPECT_EQ(newest.program, "nagger.exe");
    EXPECT_EQ(newest.title, "New");
    EXPECT_EQ(newest.button, "OK");
    EXPECT_EQ(newest.what_happened, "Pressed, 2 times until 14:02:08");

    history_view.clear_chosen();
    settle();
    EXPECT_TRUE(history_view.rows->empty());
    EXPECT_FALSE(std::filesystem::exists(history_file));
    EXPECT_EQ(MainFormProbe(form()).history().figures().of(targets().at(1).text).presses, 0);
}

TEST_F(PressHistoryTest, FiguresReadAtStartAndWorded) {
    {
        std::ofstream out(history_file);
        out << R"({"time":"2026-10-01T09:00:00+01:00","outcome":"pressed","target":"idle"})"
            << "\n"
            << R"({"time":"2026-12-08T09:00:00+01:00","last":"2026-12-08T09:00:40+01:00",)"
            << R"("count":11,"outcome":"pressed","target":"busy"})"
            << "\n";
    }
    form().start();
    settle();
    const HistoryFigures& figures = MainFormProbe(form()).history().figures();
    const platform::LocalTime now = wall_clock.time;
    EXPECT_EQ(figures.wording("busy", now), "Pressed 11 times, last on 8 Dec 2026 09:00");
    EXPECT_EQ(figures.wording("idle", now), "Not pressed in 30 days, last on 1 Oct 2026 09:00");
    EXPECT_EQ(figures.wording("never", now), "Not pressed in 30 days");
    HistoryFigures young;
    young.add({{2026, 12, 1, 0, 0, 0, 0}, {2026, 12, 1, 0, 0, 0, 0}, 1, {}});
    EXPECT_EQ(young.wording("never", now), "Not pressed yet");
}

}  // namespace
}  // namespace tapster
