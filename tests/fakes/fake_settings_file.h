#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_file.h"
#include "platform/status.h"

namespace tapster::fakes {

// The settings file in memory. Tests set the knobs and inspect what the store did; any
// change made without holding the lock is counted, since that is how two running copies
// would lose each other's changes. Reads need no lock: a change replaces the file whole.
class FakeSettingsFile : public platform::SettingsFile {
  public:
    // nullopt: no file.
    std::optional<std::string> bytes;

    // Knobs.
    bool fail_reads = false;
    bool fail_next_replace = false;
    bool fail_set_aside = false;
    bool refuse_lock = false;  // as when another copy holds it too long

    // What happened.
    int replace_count = 0;
    int read_count = 0;
    int unlocked_changes = 0;
    std::vector<std::string> set_aside_contents;  // the bytes of each file put aside

    platform::Status lock(std::unique_ptr<Lock>& held) override {
        if (refuse_lock) {
            return platform::Status::failure("another copy of Tapster kept the settings locked");
        }
        held = std::make_unique<HeldLock>(locks_held_);
        return platform::Status::success();
    }

    bool locked() const { return locks_held_ > 0; }

    Contents read() override {
        ++read_count;
        if (fail_reads) {
            return {ReadState::failed, {}, "the disk is not ready"};
        }
        if (!bytes) {
            return {ReadState::missing, {}, {}};
        }
        return {ReadState::present, *bytes, {}};
    }

    // Tells contents apart as a real file's size, time and identity would.
    Stamp stamp() override {
        if (!bytes) {
            return {};
        }
        return {std::hash<std::string>{}(*bytes), bytes->size(), 0, true};
    }

    platform::Status replace(std::string_view new_bytes) override {
        note_change();
        if (fail_next_replace) {
            fail_next_replace = false;
            return platform::Status::failure("there is not enough space on the disk");
        }
        ++replace_count;
        bytes = std::string(new_bytes);
        return platform::Status::success();
    }

    platform::Status set_aside(std::string& kept_as) override {
        note_change();
        if (fail_set_aside) {
            return platform::Status::failure("the file is in use");
        }
        if (!bytes) {
            return platform::Status::failure("there is no file to set aside");
        }
        set_aside_contents.push_back(*bytes);
        bytes.reset();
        kept_as = location() + ".bad-" + std::to_string(set_aside_contents.size());
        return platform::Status::success();
    }

    std::string location() const override { return "/home/user/.config/Tapster 2.1/settings.json"; }

  private:
    class HeldLock : public Lock {
      public:
        explicit HeldLock(int& held) : held_(held) { ++held_; }
        ~HeldLock() override { --held_; }
        HeldLock(const HeldLock&) = delete;
        HeldLock& operator=(const HeldLock&) = delete;

      private:
        int& held_;
    };

    void note_change() {
        if (locks_held_ == 0) {
            ++unlocked_changes;
        }
    }

    int locks_held_ = 0;
};

}  // namespace tapster::fakes
