#include "information/information_menus.h"

#include <string>

#include "model/captions.h"
#include "ui/tell_user.h"

namespace tapster {

void InformationMenus::show_about() {
    ui::tell_user(message_boxes_, about_heading() +
                                      "\r\n\r\nWritten by: " + std::string(publisher::kAuthor) +
                                      "\r\nEmail: " + std::string(publisher::kContactEmail) +
                                      "\r\nWeb Site: " + std::string(publisher::kWebSite));
}

void InformationMenus::open_help() {
    shell_.open_url("http://" + std::string(publisher::kHelpHost) + "/default.asp");
}

void InformationMenus::show_suggestions() {
    ui::tell_user(message_boxes_,
                  "Email suggestions to " + std::string(publisher::kSuggestionsEmail));
}

void InformationMenus::offer_sponsor() {
    const int answer = message_boxes_.show(
        "Would you like to get a FREE quote to cut your car insurance payment by upto 50%",
        std::string(publisher::kTitleDomain), platform::MessageBoxStyle::yes_no);
    if (answer == platform::kResultYes) {
        // A command line that cannot start (no file explorer) is let go without a word.
        shell_.start_command_line("explorer http://" + std::string(publisher::kSponsorHost) +
                                  "/data.asp");
    }
}

}  // namespace tapster
