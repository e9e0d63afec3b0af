// The user's actions on the target list, and what each leaves in the list and the file.
#include <gtest/gtest.h>

#include "fakes/param_name.h"

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

using Entries = SettingsStore::Entries;

class ListEditing : public fakes::FormFixture {
  protected:
    void SetUp() override {
        form().start();
        boxes.shown.clear();
        controls().list_menu.state_changed.connect(
            [this](ui::Change change) { popups_shown_ += change == ui::Change::popup ? 1 : 0; });
    }
    void capture(const std::string& title, const std::string& window_class,
                 const std::string& button, const std::string& found = "1",
                 const std::string& own = "1") {
        controls().title_field.user_edit(title);
        controls().class_field.user_edit(window_class);
        controls().button_text_field.user_edit(button);
        controls().found_id_field.user_edit(found);
        controls().control_id_field.user_edit(own);
    }
    void add_entries(int count) {
        for (int index = 0; index < count; ++index) {
            capture("Box " + std::to_string(index), "#32770", "OK");
            controls().add_button.user_click();
        }
    }
    Entries stored_items() { return store.read_section("Items").value_or(Entries{}); }

    int popups_shown_ = 0;
};

TEST_F(ListEditing, AddItAppendsTheCaptureUncheckedAndStoresIt) {
    capture("Nag", "#32770", "OK", "1", "2");
    controls().force_click_box.user_toggle();

    controls().add_button.user_click();

    ASSERT_EQ(controls().target_list.count(), 1);
    EXPECT_EQ(controls().target_list.text(0), "Nag **** #32770 **** OK **** 1 **** 2 **** True");
    EXPECT_FALSE(controls().target_list.checked(0));
    EXPECT_EQ(stored_items(), (Entries{{"u-0", controls().target_list.text(0)}}));
    EXPECT_EQ(controls().title_field.text(), "Nag") << "the capture stays for another add";
}

struct BlankCase {
    const char* title;
    const char* window_class;
    const char* button;
    bool added;
};

class AddItBlankRule : public ListEditing, public ::testing::WithParamInterface<BlankCase> {};

TEST_P(AddItBlankRule, OnlyTitleClassAndButtonTextCount) {
    capture(GetParam().title, GetParam().window_class, GetParam().button, "5", "6");

    controls().add_button.user_click();

    EXPECT_EQ(controls().target_list.count(), GetParam().added ? 1 : 0);
    if (!GetParam().added) {
        ASSERT_EQ(boxes.shown.size(), 1U);
        EXPECT_EQ(boxes.shown[0].text,
                  "You can not add a blank item, first drag the check mark to a button u want "
                  "pushed or clicked");
        EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Captures, AddItBlankRule,
    ::testing::Values(BlankCase{"", "", "", false}, BlankCase{"", "#32770", "", true},
                      BlankCase{" ", "", "", true}, BlankCase{"", "", "OK", true}),
    [](const auto& info) {
        return fakes::param_name(info.index, std::string(info.param.title) +
                                                 info.param.window_class + info.param.button);
    });

// A capture by the check mark of an OK button in a box with this title.
struct NeverPressedCase {
    const char* window_title;
    // What the user then types over the capture; nullptr leaves the field as it is.
    const char* title;
    const char* window_class;
    const char* button;
    const char* control_id;
    const char* refusal;  // nullptr: added
};

class AddItRefusesWhatNeverMatches : public ListEditing,
                                     public ::testing::WithParamInterface<NeverPressedCase> {
  protected:
    void capture_by_drag(const std::string& title) {
        const auto box = desktop.add({"#32770", title, 0, 0});
        desktop.window_under_cursor = desktop.add({"Button", "OK", 1, box});
        controls().check_mark.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
        form().timer_ticked(WindowTimer::inspect);
        controls().check_mark.mouse_up.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
    }
};

TEST_P(AddItRefusesWhatNeverMatches, WithAMessageThatSaysWhy) {
    const NeverPressedCase& given = GetParam();
    capture_by_drag(given.window_title);
    const std::pair<ui::TextBox*, const char*> typed[] = {
        {&controls().title_field, given.title},
        {&controls().class_field, given.window_class},
        {&controls().button_text_field, given.button},
        {&controls().control_id_field, given.control_id}};
    for (const auto& [field, text] : typed) {
        if (text != nullptr) {
            field->user_edit(text);
        }
    }

    controls().add_button.user_click();

    if (given.refusal == nullptr) {
        EXPECT_EQ(controls().target_list.count(), 1);
        EXPECT_TRUE(boxes.shown.empty());
        return;
    }
    EXPECT_EQ(controls().target_list.count(), 0);
    EXPECT_TRUE(stored_items().empty());
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text, given.refusal);
    EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
}

constexpr const char* kSpacesLost =
    "The window's title begins or ends with spaces, which a stored target can not keep, so "
    "this target would never be pressed. Put * where the spaces are in the title field and "
    "press Add It again.";

std::string mark_refusal(const std::string& field) {
    return "The " + field +
           " contains \"****\", which separates the parts of a stored target, so this target "
           "would never be pressed. Remove it from the field and press Add It again.";
}
const std::string kMarkInTitle = mark_refusal("title");
const std::string kMarkInClass = mark_refusal("class");
const std::string kMarkInButton = mark_refusal("button text");
const std::string kMarkInId = mark_refusal("id");

INSTANTIATE_TEST_SUITE_P(
    Captures, AddItRefusesWhatNeverMatches,
    ::testing::Values(
        NeverPressedCase{"Nag", nullptr, nullptr, nullptr, nullptr, nullptr},
        NeverPressedCase{"A ****B", nullptr, nullptr, nullptr, nullptr, kMarkInTitle.c_str()},
        NeverPressedCase{"Nag", nullptr, "#32****770", nullptr, nullptr, kMarkInClass.c_str()},
        NeverPressedCase{"Nag", nullptr, nullptr, "O*****K", nullptr, kMarkInButton.c_str()},
        NeverPressedCase{"Nag", nullptr, nullptr, nullptr, "1****", kMarkInId.c_str()},
        NeverPressedCase{"Nag ***", nullptr, nullptr, nullptr, nullptr, nullptr},
        NeverPressedCase{"  Nag", nullptr, nullptr, nullptr, nullptr, kSpacesLost},
        NeverPressedCase{"Nag ", nullptr, nullptr, nullptr, nullptr, kSpacesLost},
        NeverPressedCase{"Nag ", "Nag*", nullptr, nullptr, nullptr, nullptr},
        // Edited away and typed back: it is the capture's title again.
        NeverPressedCase{"Nag ", "Nag", nullptr, nullptr, nullptr, kSpacesLost},
        // A long title ends in a star, so only leading spaces are lost.
        NeverPressedCase{"Nag                                                                 "
                         "                                         ",
                         nullptr, nullptr, nullptr, nullptr, nullptr}),
    [](const auto& info) {
        return fakes::param_name(info.index, std::string(info.param.window_title).substr(0, 8) +
                                                 (info.param.refusal ? "refused" : "added"));
    });

TEST_F(ListEditing, AListEntryShownInTheFieldsIsNotTheCapturesTitle) {
    targets().append("Nag **** #32770 **** OK **** 1 **** 1 **** False");
    const auto box = desktop.add({"#32770", " Nag", 0, 0});
    desktop.window_under_cursor = desktop.add({"Button", "OK", 1, box});
    controls().check_mark.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
    form().timer_ticked(WindowTimer::inspect);
    ASSERT_EQ(controls().title_field.text(), "Nag");

    controls().target_list.user_highlight(0);
    controls().add_button.user_click();

    EXPECT_EQ(controls().target_list.count(), 2);
}

TEST_F(ListEditing, AddingTwiceGivesTwoIdenticalEntries) {
    capture("Nag", "#32770", "OK");
    controls().add_button.user_click();
    controls().add_button.user_click();

    ASSERT_EQ(controls().target_list.count(), 2);
    EXPECT_EQ(controls().target_list.text(0), controls().target_list.text(1));
}

TEST_F(ListEditing, TheRemoveButtonOnlyExplainsAndRemovesNothing) {
    add_entries(2);

    controls().remove_button.user_click();

    EXPECT_EQ(controls().target_list.count(), 2);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text, "Please right click on items you would like to delete");
    EXPECT_EQ(boxes.shown[0].title, "Vozu Tapster 2.1 - example.org");
}

TEST_F(ListEditing, ARightClickShowsThePopupAndChangesNothing) {
    add_entries(3);
    controls().target_list.user_highlight(0);

    controls().target_list.mouse_down.raise(ui::MouseArgs{ui::kRightButton, 0, 0, 900});
    controls().target_list.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 900});

    EXPECT_EQ(popups_shown_, 1);
    EXPECT_EQ(controls().target_list.highlighted(), 0);
}

TEST_F(ListEditing, RemoveItRemovesTheHighlightedEntryAndRenumbersTheKeys) {
    add_entries(4);
    controls().target_list.user_set_checked(3, true);
    controls().target_list.user_highlight(
        1);  // the pointer may be over another entry; this one goes

    controls().remove_entry.user_click();

    ASSERT_EQ(controls().target_list.count(), 3);
    EXPECT_EQ(controls().target_list.text(1), "Box 2 **** #32770 **** OK **** 1 **** 1 **** False");
    EXPECT_EQ(stored_items(), (Entries{{"u-0", controls().target_list.text(0)},
                                       {"u-1", controls().target_list.text(1)},
                                       {"c-2", controls().target_list.text(2)}}));
}

TEST_F(ListEditing, RemoveItWithoutAHighlightAsksForOne) {
    add_entries(1);

    controls().remove_entry.user_click();

    EXPECT_EQ(controls().target_list.count(), 1);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text,
              "Please highlight and then right click on the item you would like to delete");
}

TEST_F(ListEditing, ACheckMarkReachesTheFileAtOnce) {
    add_entries(2);

    controls().target_list.user_set_checked(1, true);
    EXPECT_EQ(stored_items()[1].first, "c-1");

    controls().target_list.user_set_checked(1, false);
    EXPECT_EQ(stored_items()[1].first, "u-1");
}

TEST_F(ListEditing, ClickingAnEntryShowsItsFieldsWithoutTheSeparatorsSpaces) {
    targets().append("  Nag   **** #32770 ****  OK  **** 1 **** 2 **** True");
    targets().append("Other **** Class **** Go **** 3 **** 4 **** False");

    controls().target_list.user_highlight(0);

    EXPECT_EQ(controls().title_field.text(), "Nag");
    EXPECT_EQ(controls().class_field.text(), "#32770");
    EXPECT_EQ(controls().button_text_field.text(), "OK");
    EXPECT_EQ(controls().found_id_field.text(), "1");
    EXPECT_EQ(controls().control_id_field.text(), "2");
    EXPECT_TRUE(controls().force_click_box.checked());

    controls().target_list.user_highlight(1);
    EXPECT_FALSE(controls().force_click_box.checked());
}

TEST_F(ListEditing, ADraggedBoxIsAddedWithItsProgramAndMessageShownAfterTheFields) {
    const auto box = desktop.add({"#32770", "HO Same", 0, 0});
    desktop.add({"Static", "Save the\nreport?", 65535, box});
    desktop.programs[box] = "tool.exe";
    desktop.window_under_cursor = desktop.add({"Button", "OK", 1, box});
    controls().check_mark.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});
    form().timer_ticked(WindowTimer::inspect);
    controls().check_mark.mouse_up.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 0});

    controls().add_button.user_click();

    const std::string stored =
        "HO Same **** #32770 **** OK **** program=tool.exe **** message=Save the report? **** 1 "
        "**** 1 **** False";
    EXPECT_EQ(stored_items(), (Entries{{"u-0", stored}}));
    EXPECT_EQ(controls().target_list.text(0),
              "HO Same **** #32770 **** OK **** 1 **** 1 **** False **** program=tool.exe **** "
              "message=Save the report?");

    // Shown in the fields and added again, it keeps its conditions; a plain entry drops them.
    targets().append("Other **** Class **** Go **** 3 **** 4 **** False");
    controls().target_list.user_highlight(0);
    EXPECT_EQ(controls().found_id_field.text(), "1");
    controls().add_button.user_click();
    EXPECT_EQ(targets().at(2).text, stored);
    controls().target_list.user_highlight(1);
    controls().add_button.user_click();
    EXPECT_EQ(targets().at(3).text, "Other **** Class **** Go **** 3 **** 4 **** False");

    // A message no stored target could keep is refused, and nothing added.
    captured_conditions().message = "Rate us ****";
    controls().add_button.user_click();
    EXPECT_EQ(targets().count(), 4);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text.rfind("The message contains \"****\"", 0), 0U);
}

TEST_F(ListEditing, AShortEntryFillsOnlyTheFieldsItHas) {
    capture("keep", "keep", "keep", "keep", "keep");
    controls().force_click_box.user_toggle();
    targets().append("Only **** two");

    controls().target_list.user_highlight(0);

    EXPECT_EQ(controls().title_field.text(), "Only");
    EXPECT_EQ(controls().class_field.text(), "two");
    EXPECT_EQ(controls().button_text_field.text(), "keep");
    EXPECT_EQ(controls().control_id_field.text(), "keep");
    EXPECT_TRUE(controls().force_click_box.checked());

    controls().target_list.user_highlight(ui::CheckListBox::kNone);  // a click on no entry at all
    EXPECT_EQ(controls().title_field.text(), "Only");
}

TEST_F(ListEditing, AFullListRefusesAnotherEntry) {
    for (int index = 0; index < 32767; ++index) {
        targets().append("entry");
    }
    capture("Nag", "#32770", "OK");

    controls().add_button.user_click();

    EXPECT_EQ(controls().target_list.count(), 32767);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("32767"), std::string::npos);
}

}  // namespace
}  // namespace tapster
