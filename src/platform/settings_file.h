#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tapster::platform {

// The bytes of the per-user settings file. The store above it parses and edits; this layer
// only guarantees that two running copies take turns at changing it and that a change is all
// or nothing, so a reader needs no lock. A settings file that is a symbolic link stays one:
// changes go to the file it names.
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

    // What tells one version of the file from another without reading it: which file it is,
    // its size and when it was last written. A missing or unreadable file has the empty one.
    struct Stamp {
        std::uint64_t identity = 0;
        std::uint64_t size = 0;
        std::int64_t modified = 0;
        bool exists = false;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };

    // Waits a bounded time (about two seconds) for another copy to let go. Fails, holding
    // nothing, when that time runs out or no lock can be had at all, so the caller can refuse
    // to go on unlocked. While one wait that ran out still goes on, a later call takes it up
    // rather than start another, so copies that keep failing leave no threads or handles
    // behind. The first lock or read also removes temporary files that copies which have
    // since ended left behind.
    virtual Status lock(std::unique_ptr<Lock>& held) = 0;
    virtual Contents read() = 0;
    virtual Stamp stamp() = 0;
    // Writes a temporary file beside the real one, flushes it to disk and renames it over
    // the old file, so a crash or a full disk leaves the old file whole.
    virtual Status replace(std::string_view bytes) = 0;
    // Renames the current file to "<name>.bad-<timestamp>" and returns the new path, so the
    // user's data survives a file that can no longer be parsed. A link is not moved: the file
    // it names is copied there and emptied.
    virtual Status set_aside(std::string& kept_as) = 0;
    // Where the file lives, for messages to the user.
    virtual std::string location() const = 0;
};

}  // namespace tapster::platform
