// The menus that only inform the user or open a page.
#include <gtest/gtest.h>

#include "fakes/form_fixture.h"

namespace tapster {
namespace {

class InformationMenus : public fakes::FormFixture {};

TEST_F(InformationMenus, BothAboutEntriesShowTheSameFiveLines) {
    controls().file_about_entry.user_click();
    controls().help_about_entry.user_click();

    ASSERT_EQ(boxes.shown.size(), 2U);
    EXPECT_EQ(boxes.shown[0].text,
              "Vozu Tapster 2.1\r\n\r\nWritten by: The Tapster authors\r\nEmail: "
              "contact@example.org\r\nWeb Site: www.example.org");
    EXPECT_EQ(boxes.shown[0].title, "Tapster 2.1");
    EXPECT_EQ(boxes.shown[1].text, boxes.shown[0].text);
}

TEST_F(InformationMenus, HelpOpensThePublishersHelpPage) {
    controls().help_entry.user_click();

    EXPECT_EQ(shell.opened_urls, std::vector<std::string>{"http://help.example.org/default.asp"});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(InformationMenus, SuggestionsNameTheAddress) {
    controls().suggestions_entry.user_click();

    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text, "Email suggestions to suggestions@example.org");
}

TEST_F(InformationMenus, TheSponsorsPageOpensOnlyOnYes) {
    boxes.answer = platform::kResultNo;
    controls().sponsor_offer_entry.user_click();
    EXPECT_TRUE(shell.command_lines.empty());

    boxes.answer = platform::kResultYes;
    controls().sponsor_offer_entry.user_click();

    ASSERT_EQ(boxes.shown.size(), 2U);
    EXPECT_EQ(boxes.shown[0].style, platform::MessageBoxStyle::yes_no);
    EXPECT_EQ(boxes.shown[0].title, "example.org");
    EXPECT_EQ(boxes.shown[0].text,
              "Would you like to get a FREE quote to cut your car insurance payment by upto 50%");
    EXPECT_EQ(shell.command_lines,
              std::vector<std::string>{"explorer http://sponsor.example.org/data.asp"});
}

}  // namespace
}  // namespace tapster
