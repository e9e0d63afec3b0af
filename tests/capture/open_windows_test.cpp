// Recording without a drag: the list of open windows with buttons, and a choice from it that
// fills the capture fields as a drag onto the same button does.
#include <gtest/gtest.h>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

class OpenWindowList : public fakes::FormFixture {
  protected:
    void SetUp() override { form().start(); }

    // A message box with a message, a program and two buttons, OK (1) and Cancel (2).
    platform::WindowHandle open_box(const std::string& title) {
        const platform::WindowHandle box = desktop.add({"#32770", title, 0, 0});
        desktop.add({"Static", "Save the  report\nnow?", 0xFFFF, box});
        ok = desktop.add({"Button", "OK", 1, box});
        desktop.add({"Button", "Cancel", 2, box});
        desktop.programs[box] = "report.exe";
        return box;
    }
    // A dialog that draws its buttons: its window holds none.
    platform::WindowHandle open_drawn(const std::string& title,
                                      const std::vector<std::string>& buttons = {"Save"}) {
        const platform::WindowHandle dialog = desktop.add({"Drawn", title, 0, 0});
        desktop.add({"Pane", "", 0, dialog});
        for (const std::string& name : buttons) {
            accessible_buttons.windows[dialog].push_back({name});
        }
        accessible_buttons.static_texts[dialog] = {"Save the file", "\"a.txt\"?"};
        desktop.programs[dialog] = "drawn.exe";
        return dialog;
    }

    std::vector<std::string> lines() { return open_windows().window_lines(); }
    std::vector<std::string> button_texts(std::size_t window) {
        return open_windows().buttons_of(window).value_or(std::vector<std::string>{"<closed>"});
    }
    // Everything a capture leaves for "Add It".
    std::vector<std::string> captured() {
        return {controls().title_field.text(),
                controls().class_field.text(),
                controls().button_text_field.text(),
                controls().found_id_field.text(),
                controls().control_id_field.text(),
                captured_conditions().program,
                captured_conditions().message,
                captured_title().recorded,
                controls().window.mouse_pointer() == ui::MousePointer::move ? "armed" : "idle"};
    }
    std::vector<std::string> dragged_onto(platform::WindowHandle window) {
        controls().check_mark.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
        desktop.window_under_cursor = window;
        form().timer_ticked(WindowTimer::inspect);
        accessible_buttons.replies.run_all();
        controls().check_mark.mouse_up.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
        desktop.window_under_cursor = 0;
        return captured();
    }

    platform::WindowHandle ok = 0;
};

TEST_F(OpenWindowList, ListsWindowsWithButtonsInDesktopOrderButNeverOursUntitledOrHidden) {
    const auto drawn = open_drawn("Save file?", {"Save", "  ", "Don't Save"});
    open_box("Nag");
    const auto own = desktop.open({"TapsterWindow", "Tapster", {{1, "Add It"}}});
    top_level_windows.ours_set.insert(own);
    desktop.open({"#32770", "", {{1, "OK"}}});  // no title: a capture never completes
    desktop.hidden.insert(desktop.open({"#32770", "Hidden", {{1, "OK"}}}));
    desktop.add({"Plain", "No buttons at all", 0, 0});

    open_windows().refresh();

    EXPECT_EQ(lines(), (std::vector<std::string>{"Nag - report.exe - Save the report now?"}))
        << "classic buttons are read at once";
    EXPECT_EQ(button_texts(0), (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_EQ(open_windows().status(), "Asking 2 windows for the buttons they draw...");

    accessible_buttons.replies.run_all();

    EXPECT_EQ(lines(),
              (std::vector<std::string>{"Save file? - drawn.exe - Save the file \"a.txt\"?",
                                        "Nag - report.exe - Save the report now?"}));
    EXPECT_EQ(open_windows().windows()[0].handle, drawn);
    EXPECT_EQ(button_texts(0), (std::vector<std::string>{"Save", "Don't Save"}))
        << "a button without a name never completes a capture";
    EXPECT_EQ(open_windows().status(), "");
    EXPECT_EQ(accessible_buttons.asked_for_buttons.size(), 2U)
        << "only windows without classic buttons are asked";
}

TEST_F(OpenWindowList, AChosenButtonFillsTheFieldsAsADragOntoItDoesAndAddItStoresIt) {
    const auto drawn = open_drawn("Save file?");
    open_box("Nag  ");
    accessible_buttons.under_cursor = {drawn, "Save", accessible_buttons.static_texts[drawn]};
    const auto drawn_dragged = dragged_onto(desktop.add({"Pane", "", 0, drawn}));
    accessible_buttons.under_cursor.reset();
    const auto classic_dragged = dragged_onto(ok);
    EXPECT_EQ(drawn_dragged, (std::vector<std::string>{
                                 "Save file?", "Drawn", "Save", "accessible", "accessible",
                                 "drawn.exe", "Save the file \"a.txt\"?", "Save file?", "idle"}));
    EXPECT_EQ(classic_dragged,
              (std::vector<std::string>{"Nag", "#32770", "OK", "1", "1", "report.exe",
                                        "Save the report now?", "Nag", "idle"}));

    controls().record_entry.user_click();  // Options, "Record from open windows..."
    ASSERT_NE(record_dialog.shown, nullptr);
    platform::RecordChoices& choices = *record_dialog.shown;
    choices.refresh();
    accessible_buttons.replies.run_all();
    ASSERT_EQ(choices.window_lines().size(), 2U);

    controls().title_field.user_edit("typed over");
    ASSERT_TRUE(choices.record(0, 0));
    EXPECT_EQ(captured(), drawn_dragged);
    ASSERT_TRUE(choices.record(1, 0));
    EXPECT_EQ(captured(), classic_dragged);
    EXPECT_TRUE(captured_title().lost_spaces) << "the title's spaces are refused as after a drag";

    controls().title_field.user_edit("Nag*");
    controls().add_button.user_click();
    ASSERT_EQ(targets().count(), 1);
    EXPECT_EQ(targets().at(0).target.button_text, "OK");
    EXPECT_EQ(targets().at(0).target.program, "report.exe");
}

TEST_F(OpenWindowList, AWindowThatClosesMeanwhileIsSaidSoLeftOutAndRecordsNothing) {
    const auto drawn = open_drawn("Save file?");
    const auto box = open_box("Nag");
    open_windows().refresh();
    accessible_buttons.replies.run_all();
    ASSERT_EQ(lines().size(), 2U);

    desktop.close(drawn);
    EXPECT_FALSE(open_windows().record(0, 0));
    EXPECT_EQ(open_windows().status(), "\"Save file?\" has closed and is left out.");
    desktop.close(box);
    EXPECT_EQ(button_texts(0), (std::vector<std::string>{"<closed>"}));

    EXPECT_TRUE(open_windows().windows().empty());
    EXPECT_EQ(open_windows().status(),
              "No open window has a button. \"Nag\" has closed and is left out.");
    EXPECT_EQ(controls().button_text_field.text(), "");
}

TEST_F(OpenWindowList, HungWindowsAreGivenUpSoTheOthersAreStillAskedAndEachWindowIsListedOnce) {
    for (int hung = 0; hung < 4; ++hung) {
        accessible_buttons.hung.insert(open_drawn("Hung " + std::to_string(hung)));
    }
    open_drawn("Answers");
    open_windows().refresh();
    accessible_buttons.replies.run_all();
    EXPECT_EQ(accessible_buttons.asked_for_buttons.size(), OpenWindows::kAskedAtOnce);
    EXPECT_TRUE(lines().empty());

    for (int tick = 0; tick < OpenWindows::kTicksToAnswer; ++tick) {
        open_windows().tick();
    }
    accessible_buttons.replies.run_all();

    EXPECT_EQ(lines(),
              (std::vector<std::string>{"Answers - drawn.exe - Save the file \"a.txt\"?"}));
    EXPECT_EQ(open_windows().status(), "4 windows do not answer and are left out.");

    accessible_buttons.hung.clear();
    open_windows().refresh();  // its answers are still on their way...
    open_windows().refresh();  // ...when the list is made anew
    accessible_buttons.replies.run_all();
    EXPECT_EQ(lines().size(), 5U);
}

}  // namespace
}  // namespace tapster
