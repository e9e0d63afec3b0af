#pragma once

#include <optional>
#include <string>

#include "model/target_list.h"
#include "platform/message_boxes.h"
#include "platform/target_dialog.h"
#include "targets/stored_targets.h"
#include "ui/check_list_box.h"

namespace tapster {

// A target's own dialog: it shows every field of an entry, and OK changes the entry in
// place, refused for what "Add It" refuses, and stored as every change is. An
// administrator's entry is only shown, with the reason.
class TargetEditing {
  public:
    TargetEditing(ui::CheckListBox& target_list, TargetList& targets, StoredTargets& stored,
                  platform::TargetDialog& dialog, platform::MessageBoxes& message_boxes);

    // A double click or Enter on an entry.
    void open(int index);
    // "Properties" in the list's menu: the highlighted entry.
    void on_properties_chosen();

  private:
    // The entry the dialog shows, known by its text and its place among that text's repeats:
    // the list may change while the dialog is open (another copy of Tapster, the settings
    // file, a policy), and the entry move.
    struct Opened {
        std::string text;
        int repeat = 0;
        platform::TargetFields fields;
    };
    int position_of(const Opened& opened) const;
    std::optional<std::string> accept(const Opened& opened, const platform::TargetFields& now);

    ui::CheckListBox& target_list_;
    TargetList& targets_;
    StoredTargets& stored_;
    platform::TargetDialog& dialog_;
    platform::MessageBoxes& message_boxes_;
};

// An entry's fields as the dialog shows them: its pieces as every reader reads them, the
// ones it lacks empty.
platform::TargetFields target_fields(const TargetList::Entry& entry);

}  // namespace tapster
