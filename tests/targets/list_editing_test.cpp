// The user's actions on the target list, and what each leaves in the list and the file.
#include <gtest/gtest.h>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

using Entries = SettingsStore::Entries;

class ListEditing : public fakes::FormFixture {
  protected:
    void SetUp() override {
        form().Form_Load();
        boxes.shown.clear();
        form().Rmenu.set_observer(&popups_);
    }
    void capture(const std::string& title, const std::string& window_class,
                 const std::string& button, const std::string& found = "1",
                 const std::string& own = "1") {
        form().Text1.user_edit(title);
        form().Text2.user_edit(window_class);
        form().Text4.user_edit(button);
        form().Text5.user_edit(found);
        form().Text14.user_edit(own);
    }
    void add_entries(int count) {
        for (int index = 0; index < count; ++index) {
            capture("Box " + std::to_string(index), "#32770", "OK");
            form().Command1.user_click();
        }
    }
    Entries stored_items() { return store.read_section("Items").value_or(Entries{}); }

    struct PopupCounter : ui::ControlObserver {
        int shown = 0;
        void control_changed(ui::Control&, ui::Change change) override {
            shown += change == ui::Change::popup ? 1 : 0;
        }
    } popups_;
};

TEST_F(ListEditing, AddItAppendsTheCaptureUncheckedAndStoresIt) {
    capture("Nag", "#32770", "OK", "1", "2");
    form().Check1.user_toggle();

    form().Command1.user_click();

    ASSERT_EQ(form().List4.count(), 1);
    EXPECT_EQ(form().List4.text(0), "Nag **** #32770 **** OK **** 1 **** 2 **** True");
    EXPECT_FALSE(form().List4.checked(0));
    EXPECT_EQ(stored_items(), (Entries{{"u-0", form().List4.text(0)}}));
    EXPECT_EQ(form().Text1.text(), "Nag") << "the capture stays for another add";
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

    form().Command1.user_click();

    EXPECT_EQ(form().List4.count(), GetParam().added ? 1 : 0);
    if (!GetParam().added) {
        ASSERT_EQ(boxes.shown.size(), 1U);
        EXPECT_EQ(boxes.shown[0].text,
                  "You can not add a blank item, first drag the check mark to a button u want "
                  "pushed or clicked");
        EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
    }
}

INSTANTIATE_TEST_SUITE_P(Captures, AddItBlankRule,
                         ::testing::Values(BlankCase{"", "", "", false},
                                           BlankCase{"", "#32770", "", true},
                                           BlankCase{" ", "", "", true},
                                           BlankCase{"", "", "OK", true}));

TEST_F(ListEditing, AddingTwiceGivesTwoIdenticalEntries) {
    capture("Nag", "#32770", "OK");
    form().Command1.user_click();
    form().Command1.user_click();

    ASSERT_EQ(form().List4.count(), 2);
    EXPECT_EQ(form().List4.text(0), form().List4.text(1));
}

TEST_F(ListEditing, TheRemoveButtonOnlyExplainsAndRemovesNothing) {
    add_entries(2);

    form().Command2.user_click();

    EXPECT_EQ(form().List4.count(), 2);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text, "Please right click on items you would like to delete");
    EXPECT_EQ(boxes.shown[0].title, "Vozu Tapster 2.1 - example.org");
}

TEST_F(ListEditing, ARightClickShowsThePopupAndChangesNothing) {
    add_entries(3);
    form().List4.user_highlight(0);

    form().List4.mouse_down.raise(ui::MouseArgs{ui::kRightButton, 0, 0, 900});
    form().List4.mouse_down.raise(ui::MouseArgs{ui::kLeftButton, 0, 0, 900});

    EXPECT_EQ(popups_.shown, 1);
    EXPECT_EQ(form().List4.highlighted(), 0);
}

TEST_F(ListEditing, RemoveItRemovesTheHighlightedEntryAndRenumbersTheKeys) {
    add_entries(4);
    form().List4.user_set_checked(3, true);
    form().List4.user_highlight(1);  // the pointer may be over another entry; this one goes

    form().RemoveItM.user_click();

    ASSERT_EQ(form().List4.count(), 3);
    EXPECT_EQ(form().List4.text(1), "Box 2 **** #32770 **** OK **** 1 **** 1 **** False");
    EXPECT_EQ(stored_items(), (Entries{{"u-0", form().List4.text(0)},
                                       {"u-1", form().List4.text(1)},
                                       {"c-2", form().List4.text(2)}}));
}

TEST_F(ListEditing, RemoveItWithoutAHighlightAsksForOne) {
    add_entries(1);

    form().RemoveItM.user_click();

    EXPECT_EQ(form().List4.count(), 1);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text,
              "Please highlight and then right click on the item you would like to delete");
}

TEST_F(ListEditing, ACheckMarkReachesTheFileAtOnce) {
    add_entries(2);

    form().List4.user_set_checked(1, true);
    EXPECT_EQ(stored_items()[1].first, "c-1");

    form().List4.user_set_checked(1, false);
    EXPECT_EQ(stored_items()[1].first, "u-1");
}

TEST_F(ListEditing, ClickingAnEntryShowsItsFieldsWithoutTheSeparatorsSpaces) {
    form().List4.add("  Nag   **** #32770 ****  OK  **** 1 **** 2 **** True");
    form().List4.add("Other **** Class **** Go **** 3 **** 4 **** False");

    form().List4.user_highlight(0);

    EXPECT_EQ(form().Text1.text(), "Nag");
    EXPECT_EQ(form().Text2.text(), "#32770");
    EXPECT_EQ(form().Text4.text(), "OK");
    EXPECT_EQ(form().Text5.text(), "1");
    EXPECT_EQ(form().Text14.text(), "2");
    EXPECT_TRUE(form().Check1.checked());

    form().List4.user_highlight(1);
    EXPECT_FALSE(form().Check1.checked());
}

TEST_F(ListEditing, AShortEntryFillsOnlyTheFieldsItHas) {
    capture("keep", "keep", "keep", "keep", "keep");
    form().Check1.user_toggle();
    form().List4.add("Only **** two");

    form().List4.user_highlight(0);

    EXPECT_EQ(form().Text1.text(), "Only");
    EXPECT_EQ(form().Text2.text(), "two");
    EXPECT_EQ(form().Text4.text(), "keep");
    EXPECT_EQ(form().Text14.text(), "keep");
    EXPECT_TRUE(form().Check1.checked());

    form().List4.user_highlight(ui::CheckListBox::kNone);  // a click on no entry at all
    EXPECT_EQ(form().Text1.text(), "Only");
}

TEST_F(ListEditing, AFullListRefusesAnotherEntry) {
    for (int index = 0; index < 32767; ++index) {
        form().List4.add("entry");
    }
    capture("Nag", "#32770", "OK");

    form().Command1.user_click();

    EXPECT_EQ(form().List4.count(), 32767);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_NE(boxes.shown[0].text.find("32767"), std::string::npos);
}

}  // namespace
}  // namespace tapster
