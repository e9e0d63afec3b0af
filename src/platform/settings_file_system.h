#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/settings_file.h"
#include "platform/status.h"

namespace tapster::platform {

// The calls a system makes for the settings file, one system call or close to it each. The
// order of the calls, and what they mean together, is LockedSettingsFile's. Errors are the
// system's own codes (errno, GetLastError()), 0 for none, so that messages reach the user in
// the system's own words.
class SettingsFileSystem {
  public:
    using Error = unsigned long;

    // An open lock file, locked whole.
    class LockFile {
      public:
        virtual ~LockFile() = default;
        // Takes the lock when it is free; `busy`, and no error, when another holder has it.
        virtual Error try_lock(bool& busy) = 0;
        // Blocks until the lock is taken. The systems' calls cannot time out, so this runs
        // on a helper thread.
        virtual Error wait_lock() = 0;
        virtual void unlock() = 0;
    };

    // The steps of writing a new file, for the message when one fails.
    enum class WriteStep { create, write, flush, close };

    virtual ~SettingsFileSystem() = default;

    // Creates the folder and any missing parents; none for an empty path.
    virtual Error make_folder(const std::filesystem::path& folder) = 0;
    // Opens, creating it if need be, for writing where possible and read-only otherwise: a
    // lock file another user created, or one made read-only, still locks.
    virtual Error open_lock_file(const std::filesystem::path& path,
                                 std::unique_ptr<LockFile>& opened) = 0;
    // Size, time and identity of the file a path names, following links; the empty stamp when
    // there is none or it cannot be looked at.
    virtual SettingsFile::Stamp stamp(const std::filesystem::path& path) = 0;
    // The file a path names once symbolic links are followed: the path itself unless it is a
    // link. Replacing that file, rather than the link, keeps the link a link.
    virtual std::filesystem::path final_path(const std::filesystem::path& path) = 0;
    // The whole file; `missing`, and no error, when there is no such file. `opened` tells an
    // error in opening from one in reading.
    virtual Error read_all(const std::filesystem::path& path, std::string& bytes, bool& missing,
                           bool& opened) = 0;
    // Creates `path` afresh, with the permissions of `like` where that exists, writes the
    // bytes, flushes them to disk and closes it. On failure `failed_at` names the step, and
    // a file this call made is gone again; whatever stood at that name before is not ours.
    virtual Error write_new_file(const std::filesystem::path& path,
                                 const std::filesystem::path& like, std::string_view bytes,
                                 WriteStep& failed_at) = 0;
    virtual void remove_file(const std::filesystem::path& path) = 0;
    // Renames `from` over `to` in one step that survives a crash.
    virtual Error move_over(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Renames `from` to `to`, or copies it there, unless something is at `to`, which sets
    // `taken` instead.
    virtual Status move_unless_taken(const std::filesystem::path& from,
                                     const std::filesystem::path& to, bool& taken) = 0;
    virtual Status copy_unless_taken(const std::filesystem::path& from,
                                     const std::filesystem::path& to, bool& taken) = 0;

    virtual unsigned long own_process_id() const = 0;
    // Whether a process with that id still runs, under any user.
    virtual bool process_running(unsigned long id) const = 0;
    // The local time as yyyymmdd-hhmmss.
    virtual std::string timestamp_now() const = 0;
    // The system's words for an error, and a path as UTF-8 text, for messages to the user.
    virtual std::string error_text(Error error) const = 0;
    virtual std::string display(const std::filesystem::path& path) const = 0;
};

}  // namespace tapster::platform
