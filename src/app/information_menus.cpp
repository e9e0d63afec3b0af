// The menus that only inform: About, Help, Suggestions and the sponsor's offer.
#include <string>

#include "app/app_texts.h"
#include "app/form1.h"

namespace tapster {

void Form1::AboutProduct_Click() {
    AboutProduct2_Click();
}

void Form1::AboutProduct2_Click() {
    services_.message_boxes.show(
        "Vozu Tapster 2.1\r\n\r\nWritten by: " + std::string(publisher::kAuthor) +
            "\r\nEmail: " + std::string(publisher::kContactEmail) +
            "\r\nWeb Site: " + std::string(publisher::kWebSite),
        std::string(kApplicationTitle), platform::MessageBoxStyle::ok);
}

void Form1::HelpMMMM_Click() {
    services_.shell.open_url("http://" + std::string(publisher::kHelpHost) + "/default.asp");
}

void Form1::SuggestionsM_Click() {
    services_.message_boxes.show(
        "Email suggestions to " + std::string(publisher::kSuggestionsEmail),
        std::string(kApplicationTitle), platform::MessageBoxStyle::ok);
}

void Form1::CheapData_Click() {
    const int answer = services_.message_boxes.show(
        "Would you like to get a FREE quote to cut your car insurance payment by upto 50%",
        std::string(publisher::kTitleDomain), platform::MessageBoxStyle::yes_no);
    if (answer == platform::kResultYes) {
        // A command line that cannot start (no file explorer) is let go without a word.
        services_.shell.start_command_line("explorer http://" +
                                           std::string(publisher::kSponsorHost) + "/data.asp");
    }
}

}  // namespace tapster
