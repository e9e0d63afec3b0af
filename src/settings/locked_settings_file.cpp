#include "settings/locked_settings_file.h"

#include <utility>

namespace tapster {

namespace fs = std::filesystem;
using platform::SettingsFileSystem;
using platform::Status;

namespace {

// The lock held, released when the store is done with it.
class HeldLock final : public platform::SettingsFile::Lock {
  public:
    explicit HeldLock(std::shared_ptr<SettingsFileSystem::LockFile> file)
        : file_(std::move(file)) {}
    ~HeldLock() override { file_->unlock(); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

  private:
    // Shared with the thread that waits for the lock, which may outlive a wait that gave up.
    std::shared_ptr<SettingsFileSystem::LockFile> file_;
};

}  // namespace

LockedSettingsFile::LockedSettingsFile(fs::path path, std::chrono::milliseconds lock_wait,
                                       std::unique_ptr<SettingsFileSystem> system)
    : path_(std::move(path)), lock_wait_(lock_wait), system_(std::move(system)) {}

std::string LockedSettingsFile::describe(std::string_view what, const fs::path& path,
                                         Error error) const {
    return std::string(what) + " " + system_->display(path) + ": " + system_->error_text(error);
}

Status LockedSettingsFile::make_folder(const fs::path& folder) {
    if (const Error error = system_->make_folder(folder); error != 0) {
        return Status::failure(describe("cannot create the folder", folder, error));
    }
    return Status::success();
}

Status LockedSettingsFile::lock(std::unique_ptr<Lock>& held) {
    std::shared_ptr<SettingsFileSystem::LockFile> file;
    if (Status taken = take_lock(file); taken.failed()) {
        return taken;
    }
    held = std::make_unique<HeldLock>(std::move(file));
    sweep_once();
    return Status::success();
}

Status LockedSettingsFile::take_lock(std::shared_ptr<SettingsFileSystem::LockFile>& file) {
    using Outcome = LockWaiter::Outcome;
    const fs::path lock_path = with_suffix(path_, ".lock");
    Error error = 0;
    Outcome outcome = Outcome::gone;
    if (waiter_.waiting()) {
        outcome = waiter_.resume(lock_wait_, error);
    }
    if (outcome == Outcome::gone) {
        if (Status made = make_folder(path_.parent_path()); made.failed()) {
            return made;
        }
        std::unique_ptr<SettingsFileSystem::LockFile> opened;
        if (error = system_->open_lock_file(lock_path, opened); error != 0) {
            return Status::failure(describe("cannot open", lock_path, error));
        }
        file = std::move(opened);
        bool busy = false;
        error = file->try_lock(busy);
        outcome = error == 0 ? Outcome::taken : Outcome::failed;
        if (busy) {
            outcome = lock_wait_.count() > 0 ? waiter_.start(std::move(file), lock_wait_, error)
                                             : Outcome::timed_out;
        }
    }
    if (outcome == Outcome::gone) {  // a helper just started never hands the lock back
        outcome = Outcome::timed_out;
    }
    if (outcome == Outcome::failed) {
        return Status::failure(describe("cannot lock", lock_path, error));
    }
    if (outcome == Outcome::timed_out) {
        return Status::failure("another copy of Tapster kept " + system_->display(lock_path) +
                               " locked for too long");
    }
    if (!file) {
        file = waiter_.take();
    }
    return Status::success();
}

void LockedSettingsFile::sweep_once() {
    if (swept_) {
        return;
    }
    swept_ = true;
    const auto running = [this](unsigned long id) { return system_->process_running(id); };
    remove_stale_temporary_files(path_, running);
    if (const fs::path target = system_->final_path(path_); target != path_) {
        remove_stale_temporary_files(target, running);
    }
}

platform::SettingsFile::Contents LockedSettingsFile::read() {
    sweep_once();
    Contents contents;
    bool missing = false;
    bool opened = false;
    if (const Error error = system_->read_all(path_, contents.bytes, missing, opened); error != 0) {
        contents.state = ReadState::failed;
        contents.bytes.clear();
        contents.error = describe(opened ? "cannot read" : "cannot open", path_, error);
    } else {
        contents.state = missing ? ReadState::missing : ReadState::present;
    }
    return contents;
}

platform::SettingsFile::Stamp LockedSettingsFile::stamp() {
    return system_->stamp(path_);
}

Status LockedSettingsFile::replace(std::string_view bytes) {
    // The new file is written beside the one it replaces, so the rename stays within one
    // folder and one disk.
    const fs::path target = system_->final_path(path_);
    if (Status made = make_folder(target.parent_path()); made.failed()) {
        return made;
    }
    const fs::path temporary = temporary_path(target, system_->own_process_id());
    using Step = SettingsFileSystem::WriteStep;
    Step failed_at = Step::create;
    if (const Error error = system_->write_new_file(temporary, target, bytes, failed_at);
        error != 0) {
        static constexpr const char* kWhat[] = {"cannot create", "cannot write", "cannot flush",
                                                "cannot write"};
        return Status::failure(describe(kWhat[static_cast<int>(failed_at)], temporary, error));
    }
    if (const Error error = system_->move_over(temporary, target); error != 0) {
        system_->remove_file(temporary);
        return Status::failure(describe("cannot replace", target, error));
    }
    return Status::success();
}

Status LockedSettingsFile::set_aside(std::string& kept_as) {
    // A link is kept where the user put it: what it names is copied aside and emptied, so the
    // next change goes to the same place again.
    const fs::path target = system_->final_path(path_);
    const bool link = target != path_;
    fs::path kept;
    // Callers hold the lock, so no other copy takes the name between a check and the move.
    Status moved = keep_aside(path_, system_->timestamp_now(), kept,
                              [&](const fs::path& to, bool& name_taken) {
                                  return link ? system_->copy_unless_taken(target, to, name_taken)
                                              : system_->move_unless_taken(path_, to, name_taken);
                              });
    if (!moved.failed() && link) {
        moved = replace("");
    }
    if (moved.failed()) {
        return moved;
    }
    kept_as = system_->display(kept);
    return Status::success();
}

std::string LockedSettingsFile::location() const {
    return system_->display(path_);
}

}  // namespace tapster
