#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/target_list.h"
#include "platform/dispatcher.h"
#include "platform/message_boxes.h"
#include "settings/settings_store.h"
#include "targets/items_section.h"
#include "ui/save_failure_notice.h"

namespace tapster {

// Keeps the target list and the Items section in step, with other running copies and with a
// user who puts back a copy of the file. A save applies this copy's own changes since it
// last agreed with the file (entries added, removed, checked or unchecked) to the section as
// the file holds it now, in one locked read-modify-write; nothing is written when there are
// none. Afterwards the list shows what the file holds, others' entries included. A change on
// disk is noticed cheaply, by the file's stamp, and the list shown again.
class StoredTargets {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // How long one step of the load appends entries before the window gets its turn: a step
    // costs as much as loading dozens of entries, so it is not one entry a step.
    static constexpr std::chrono::milliseconds kLoadStep{10};

    StoredTargets(SettingsStore& settings, TargetList& targets, platform::Dispatcher& dispatcher,
                  platform::MessageBoxes& message_boxes, ui::SaveFailureNotice& save_failures);

    // Appends the stored entries in the file's order (at most the list's limit): the first
    // step at once, the others posted one after another, so the window shows and answers and
    // the push cycle already works on what is loaded. A step that cannot post the next ends
    // the load early; the rest shows once the file is read again.
    void load();
    // Stores this copy's changes, and shows what the file then holds.
    void save();
    // Gives the user's entry at `index` another text, in its place and with its check mark,
    // and stores that as every change is: the entry keeps the place the file has it at.
    // False, and nothing changed, for an administrator's entry.
    bool replace(int index, std::string text);
    // For a timer tick: when the file changed on disk, the list shows what it holds now, and
    // a change of this copy's that could not be stored before is stored. A file that looks
    // damaged is given a tick to be written whole before it is set aside.
    void follow_file();

    void set_clock(Clock clock) { clock_ = std::move(clock); }

  private:
    // Appends entries for one step from `next` on, and posts the step after it. Whatever
    // fails in a step ends the load early.
    void load_step(std::size_t next);
    // The index the step after this one begins at; the end of the load when it is done.
    std::size_t append_step(std::size_t next);
    void end_load(bool whole);
    // Stores this copy's changes; a file just set aside counts as the list last agreed on.
    void store_changes(bool file_set_aside);
    // The list becomes what the file holds (as of `stamp`), and is agreed with it.
    void adopt(StoredList file, const platform::SettingsFile::Stamp& stamp);
    void tell_about_limit(std::size_t stored);
    void tell_once(bool& told, std::string message);
    // Shows the messages gathered, and runs a save asked for meanwhile.
    void finish();

    SettingsStore& settings_;
    TargetList& targets_;
    platform::Dispatcher& dispatcher_;
    platform::MessageBoxes& message_boxes_;
    ui::SaveFailureNotice& save_failures_;
    Clock clock_;

    // The list as this copy last agreed with the file: what a save compares the list with to
    // find the user's own changes.
    StoredList agreed_;
    // This copy's replacements not yet stored, in their order.
    std::vector<Replacement> replacements_;
    platform::SettingsFile::Stamp stamp_;                   // of the file agreed with
    bool stamp_known_ = false;                              // false: read the file at the next tick
    std::optional<platform::SettingsFile::Stamp> damaged_;  // a damaged file seen at a tick

    // While the stored list is being loaded, or stored, another save or a tick would work on
    // half a list (a message box lets the timers tick); it waits instead.
    bool loading_ = false;
    StoredList to_load_;                           // the entries the load read
    platform::SettingsFile::Stamp to_load_stamp_;  // of the file they were read from
    bool busy_ = false;
    bool save_waiting_ = false;
    std::vector<std::string> messages_;
    bool told_incomplete_ = false;
    bool told_limit_ = false;
};

}  // namespace tapster
