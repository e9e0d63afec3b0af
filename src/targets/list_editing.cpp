// What the user does with the target list: add a capture, look at an entry, check it,
// remove it. Every action ends with the whole list stored again.
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/form1.h"
#include "targets/target_string.h"

namespace tapster {

namespace {

// Positions are 16-bit numbers in the stored list's keys and the push cycle's loop.
constexpr int kMostEntries = 32767;

}  // namespace

void Form1::Command1_Click() {
    const bool forced = Check1.value() == 1;
    if (Text1.text().empty() && Text2.text().empty() && Text4.text().empty()) {
        services_.message_boxes.show(
            "You can not add a blank item, first drag the check mark to a button u want pushed "
            "or clicked",
            std::string(kApplicationTitle), platform::MessageBoxStyle::ok);
        return;
    }
    if (List4.count() >= kMostEntries) {
        services_.message_boxes.show("The list is full: it holds at most " +
                                         std::to_string(kMostEntries) +
                                         " targets. Remove one before adding another.",
                                     std::string(kApplicationTitle), platform::MessageBoxStyle::ok);
        return;
    }
    List4.add(to_target_string(
        {Text1.text(), Text2.text(), Text4.text(), Text5.text(), Text14.text(), forced}));
    Addit();
}

void Form1::Command2_Click() {
    services_.message_boxes.show("Please right click on items you would like to delete",
                                 "Vozu Tapster 2.1 - " + std::string(publisher::kWebDomain),
                                 platform::MessageBoxStyle::ok);
    Addit();
}

void Form1::List4_MouseDown(const ui::MouseArgs& args) {
    if (args.button == ui::kRightButton) {
        Rmenu.show_popup();
    }
}

void Form1::RemoveItM_Click() {
    if (List4.highlighted() == ui::CheckListBox::kNone) {
        services_.message_boxes.show(
            "Please highlight and then right click on the item you would like to delete",
            std::string(kApplicationTitle), platform::MessageBoxStyle::ok);
        return;
    }
    List4.remove(List4.highlighted());
    Addit();
}

void Form1::List4_Click() {
    if (List4.highlighted() != ui::CheckListBox::kNone) {
        // Only the pieces that exist are shown; an entry edited outside the program may
        // have fewer than six.
        const std::vector<std::string> pieces =
            split_target_string(List4.text(List4.highlighted()));
        ui::TextBox* const fields[] = {&Text1, &Text2, &Text4, &Text5, &Text14};
        for (std::size_t field = 0; field < std::size(fields) && field < pieces.size(); ++field) {
            fields[field]->set_text(pieces[field]);
        }
        if (pieces.size() > kForceFlag) {
            Check1.set_checked(is_force_flag(pieces[kForceFlag]));
        }
    }
    Addit();
}

}  // namespace tapster
