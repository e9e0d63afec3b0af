// Recording a target: the drag's states, the wait notice, and what the inspector reads into
// the capture fields.
#include <gtest/gtest.h>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

using ui::MousePointer;

class Capture : public fakes::FormFixture {
  protected:
    void SetUp() override { form().start(); }

    // A message box "Nag" with an OK button (identifier 1), its parent handle small enough
    // for the search to find it.
    platform::WindowHandle open_nag(const std::string& title = "Nag",
                                    const std::string& button_text = "OK") {
        const platform::WindowHandle box = desktop.add({"#32770", title, 0, 0});
        return desktop.add({"Button", button_text, 1, box});
    }
    void press() {
        controls().check_mark.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
    }
    void release() {
        controls().check_mark.mouse_up.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
    }
    void point_at(platform::WindowHandle window) { desktop.window_under_cursor = window; }
    void tick() { form().timer_ticked(WindowTimer::inspect); }

    std::vector<std::string> fields() {
        return {controls().title_field.text(), controls().class_field.text(),
                controls().button_text_field.text(), controls().found_id_field.text(),
                controls().control_id_field.text()};
    }
    bool fields_locked() {
        return !controls().title_field.enabled() && !controls().class_field.enabled() &&
               !controls().button_text_field.enabled() && !controls().found_id_field.enabled();
    }
};

TEST_F(Capture, APressArmsEmptiesAndLocksTheFourFields) {
    controls().title_field.user_edit("old title");
    controls().control_id_field.user_edit("7");

    press();

    EXPECT_TRUE(capture().armed());
    EXPECT_EQ(controls().window.mouse_pointer(), MousePointer::move);
    EXPECT_EQ(fields(), (std::vector<std::string>{"", "", "", "", "7"}));
    EXPECT_TRUE(fields_locked());
    EXPECT_TRUE(controls().control_id_field.enabled());
}

TEST_F(Capture, APressAndReleaseWithoutMovingCapturesNothing) {
    press();
    release();

    EXPECT_EQ(controls().window.mouse_pointer(), MousePointer::arrow);
    EXPECT_EQ(fields(), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_FALSE(fields_locked());
}

TEST_F(Capture, TheCaptureCompletesWhileTheButtonIsStillHeld) {
    const auto ok = open_nag();
    press();
    point_at(ok);

    tick();

    EXPECT_EQ(fields(), (std::vector<std::string>{"Nag", "#32770", "OK", "1", "1"}));
    EXPECT_EQ(controls().window.mouse_pointer(), MousePointer::arrow) << "not released yet";
    EXPECT_FALSE(fields_locked());
    EXPECT_EQ(capture().state(), CaptureSession::State::idle);
}

TEST_F(Capture, ASecondPressWhileArmedEmptiesTheFieldsAgain) {
    const auto box = desktop.add({"#32770", "", 0, 0});  // no title: never completes
    const auto button = desktop.add({"Button", "OK", 1, box});
    press();
    point_at(button);
    tick();
    ASSERT_EQ(controls().button_text_field.text(), "OK");
    ASSERT_TRUE(capture().armed());

    controls().check_mark.mouse_down.raise(ui::MouseArgs{ui::kRightButton, 0, 0, 0});

    EXPECT_TRUE(capture().armed());
    EXPECT_EQ(controls().button_text_field.text(), "");
    EXPECT_TRUE(fields_locked());
}

TEST_F(Capture, NothingIsReadWhileIdle) {
    point_at(open_nag());

    tick();

    EXPECT_EQ(fields(), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_TRUE(controls().lower_list.visible()) << "idle ticks touch nothing";
}

TEST_F(Capture, AnArmedTickStartsTheNoticeAndHidesTheLists) {
    controls().wait_timer.set_enabled(false);
    press();

    tick();

    EXPECT_TRUE(controls().wait_timer.enabled());
    EXPECT_FALSE(controls().lower_list.visible());
    EXPECT_FALSE(controls().lower_short_list.visible());
}

TEST_F(Capture, TheWaitNoticeAnimatesAndResumesWhereTheLastDragStopped) {
    press();
    std::vector<std::string> frames;
    for (int step = 0; step < 6; ++step) {
        form().timer_ticked(WindowTimer::wait);
        frames.push_back(controls().wait_notice_text.caption());
    }
    EXPECT_TRUE(controls().wait_notice.visible());
    EXPECT_EQ(frames,
              (std::vector<std::string>{"Please Wait", "Please Wait .", "Please Wait ..",
                                        "Please Wait ...", "Please Wait", "Please Wait ."}));

    release();
    form().timer_ticked(WindowTimer::wait);
    EXPECT_FALSE(controls().wait_notice.visible());
    EXPECT_FALSE(controls().wait_timer.enabled());

    press();
    form().timer_ticked(WindowTimer::wait);
    EXPECT_EQ(controls().wait_notice_text.caption(), "Please Wait ..");
}

TEST_F(Capture, TheLastButtonReadIsNotReadAgainUntilThePointerLeavesIt) {
    const auto ok = open_nag();
    const auto elsewhere = desktop.add({"Static", "label", 0, 0});
    press();
    point_at(ok);
    tick();
    release();

    press();  // the second drag goes straight onto the same button
    tick();
    EXPECT_EQ(controls().title_field.text(), "")
        << "read nothing: it was the last window inspected";
    EXPECT_TRUE(capture().armed());

    point_at(elsewhere);
    tick();
    point_at(ok);
    tick();
    EXPECT_EQ(controls().title_field.text(), "Nag");
}

TEST_F(Capture, OnlyClassesNamingAButtonAreRead) {
    const auto box = desktop.add({"#32770", "Nag", 0, 0});
    const auto edit = desktop.add({"Edit", "typed", 3, box});
    press();
    point_at(edit);
    tick();
    EXPECT_EQ(fields(), (std::vector<std::string>{"", "", "", "", ""}));

    for (const char* name : {"BUTTON", "TBitBtnButtonX", " WindowsForms10.Button.app "}) {
        const auto button = desktop.add({name, "Go", 2, box});
        press();
        point_at(button);
        tick();
        EXPECT_EQ(controls().button_text_field.text(), "Go") << name;
        EXPECT_EQ(controls().class_field.text(), "#32770") << name;
    }
}

TEST_F(Capture, ALongTitleEndsInAStarTheButtonTextIsKeptCut) {
    const auto box = desktop.add({"#32770", "  Nag  " + std::string(150, 'x'), 0, 0});
    const auto button = desktop.add({"Button", " OK " + std::string(150, 'y'), 1, box});
    press();
    point_at(button);

    tick();

    EXPECT_EQ(controls().button_text_field.text(), " OK " + std::string(95, 'y'));
    // 99 read fill the buffer: the first 98 and a star, the leading spaces trimmed.
    EXPECT_EQ(controls().title_field.text(), "Nag  " + std::string(91, 'x') + "*");
    EXPECT_TRUE(captured_title().lost_spaces);
}

struct TitleCase {
    std::string read;
    std::string recorded;
    bool lost_spaces;
};

class RecordTitle : public ::testing::TestWithParam<TitleCase> {};

// Lengths count UTF-16 units, as the system fills the buffer of 100.
TEST_P(RecordTitle, ABufferFilledByTheReadEndsInAStar) {
    const CapturedTitle captured = record_title(GetParam().read, WindowInspector::kReadBuffer);
    EXPECT_EQ(captured.recorded, GetParam().recorded);
    EXPECT_EQ(captured.lost_spaces, GetParam().lost_spaces);
}

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int time = 0; time < times; ++time) {
        result += text;
    }
    return result;
}

INSTANTIATE_TEST_SUITE_P(
    Titles, RecordTitle,
    ::testing::Values(TitleCase{"Nag", "Nag", false}, TitleCase{" Nag  ", "Nag", true},
                      TitleCase{"", "", false},
                      TitleCase{std::string(98, 'x'), std::string(98, 'x'), false},
                      TitleCase{std::string(98, 'x') + " ", std::string(98, 'x') + "*", false},
                      TitleCase{" " + std::string(98, 'x'), std::string(97, 'x') + "*", true},
                      TitleCase{repeated("\u00e9", 98), repeated("\u00e9", 98), false},
                      TitleCase{repeated("\u00e9", 99), repeated("\u00e9", 98) + "*", false},
                      // Pairs: 49 of them and a letter fill 99 units; half a pair is dropped.
                      TitleCase{repeated("\U0001F600", 49) + "a", repeated("\U0001F600", 49) + "*",
                                false},
                      TitleCase{"a" + repeated("\U0001F600", 49),
                                "a" + repeated("\U0001F600", 48) + "*", false}));

TEST_F(Capture, AButtonWithoutParentFillsOnlyItsOwnFields) {
    const auto orphan = desktop.add({"Button", "OK", 5, 0});
    press();
    point_at(orphan);

    tick();

    EXPECT_EQ(fields(), (std::vector<std::string>{"", "", "OK", "0", "5"}));
    EXPECT_TRUE(capture().armed()) << "cannot complete without a parent";
}

TEST_F(Capture, TypingIntoAFieldWhileIdleOnlyChangesTheText) {
    controls().title_field.user_edit("typed");

    EXPECT_EQ(controls().title_field.text(), "typed");
    EXPECT_EQ(controls().window.mouse_pointer(), MousePointer::default_pointer);
}

// A dialog whose buttons its program draws: the pointer rests on a pane inside it.
class DrawnCapture : public Capture {
  protected:
    platform::WindowHandle dialog = desktop.add({"Drawn", "Save file?", 0, 0});
    platform::WindowHandle pane = desktop.add({"Pane", "", 0, dialog});
    platform::AccessibleButtons::Found save{dialog, "Save"};
};

TEST_F(DrawnCapture,
       ADrawnButtonIsRecordedByItsNameAndTheTopLevelWindowAsSoonAsItIsUnderThePointer) {
    press();
    point_at(pane);
    tick();  // over the pane's background: no button there yet
    accessible_buttons.replies.run_all();
    ASSERT_TRUE(capture().armed());

    accessible_buttons.under_cursor = save;  // the pointer moved onto the button, same window
    tick();
    EXPECT_TRUE(capture().armed()) << "recorded before the program answered";
    accessible_buttons.replies.run_all();

    EXPECT_EQ(fields(), (std::vector<std::string>{"Save file?", "Drawn", "Save", "accessible",
                                                  "accessible"}));
    EXPECT_EQ(capture().state(), CaptureSession::State::idle);
    EXPECT_EQ(accessible_buttons.point_queries, 2);
}

TEST_F(DrawnCapture, ADrawnDialogsProgramAndStaticTextsAreRecordedAsItsMessage) {
    desktop.programs[dialog] = "drawn.exe";
    save.static_texts = {"Save the  file", "", "\"report\"?"};
    accessible_buttons.under_cursor = save;
    press();
    point_at(pane);
    tick();
    accessible_buttons.replies.run_all();

    EXPECT_EQ(captured_conditions().program, "drawn.exe");
    EXPECT_EQ(captured_conditions().message, "Save the file \"report\"?");
    press();
    EXPECT_TRUE(captured_conditions().message.empty()) << "a new drag forgets the last one's";
}

TEST_F(DrawnCapture, AClassicButtonIsReadFromItsWindowWithoutAskingForDrawnOnes) {
    accessible_buttons.under_cursor = save;
    const auto ok = open_nag();
    press();
    point_at(ok);

    tick();
    tick();

    EXPECT_EQ(fields(), (std::vector<std::string>{"Nag", "#32770", "OK", "1", "1"}));
    EXPECT_EQ(accessible_buttons.point_queries, 0);
}

TEST_F(DrawnCapture, AnAnswerThatComesAfterTheReleaseOrAfterANewPressWritesNothing) {
    accessible_buttons.under_cursor = save;
    press();
    point_at(pane);
    tick();
    release();
    accessible_buttons.replies.run_all();

    EXPECT_EQ(fields(), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_FALSE(capture().armed());

    press();
    point_at(pane);
    tick();
    release();
    press();  // a new capture before the answer to the last one came
    accessible_buttons.replies.run_all();

    EXPECT_EQ(fields(), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_TRUE(capture().armed());
}

}  // namespace
}  // namespace tapster
