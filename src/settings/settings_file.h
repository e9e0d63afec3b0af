#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tapster::platform {

// The bytes of the per-user settings file. The store above it parses and edits; this layer
// only guarantees that two running copies take turns and that a change is all or nothing.
class SettingsFile {
  public:
    virtual ~SettingsFile() = default;

    // Held for the duration of one read-modify-write, across processes.
    class Lock {
      public:
        virtual ~Lock() = default;
    };

    enum class ReadState { present, missing, failed };
    struct Contents {
        ReadState state = ReadState::missing;
        std::string bytes;  // when present
        std::string error;  // when failed
    };

    // Waits a bounded time (about two seconds) for another copy to let go. Fails, holding
    // nothing, when that time runs out or no lock can be had at all, so the caller can refuse
    // to go on unlocked. The first lock also removes temporary files that copies which have
    // since ended left behind.
    virtual Status lock(std::unique_ptr<Lock>& held) = 0;
    virtual Contents read() = 0;
    // Writes a temporary file beside the real one, flushes it to disk and renames it over
    // the old file, so a crash or a full disk leaves the old file whole.
    virtual Status replace(std::string_view bytes) = 0;
    // Renames the current file to "<name>.bad-<timestamp>" and returns the new path, so the
    // user's data survives a file that can no longer be parsed.
    virtual Status set_aside(std::string& kept_as) = 0;
    // Where the file lives, for messages to the user.
    virtual std::string location() const = 0;
};

}  // namespace tapster::platform
