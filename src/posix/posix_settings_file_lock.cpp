#include "posix/posix_settings_file.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "posix/file_descriptor.h"
#include "posix/posix_file_errors.h"
#include "posix/posix_stale_temporary_files.h"
#include "settings/settings_file_common.h"

namespace tapster::platform {

using posix_file::describe;
using posix_file::make_folder;
using posix_file::UniqueFd;

namespace {

// Shared with the thread that waits for the lock, which may outlive a wait that gave up.
using SharedFd = std::shared_ptr<const UniqueFd>;

class FileLock final : public SettingsFile::Lock {
  public:
    explicit FileLock(SharedFd fd) : fd_(std::move(fd)) {}
    ~FileLock() override { ::flock(fd_->get(), LOCK_UN); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    SharedFd fd_;
};

// Opens the lock file for writing where possible. flock() works as well on a read-only
// handle, which is all a lock file another user created, or one made read-only, allows.
UniqueFd open_lock_file(const std::filesystem::path& path) {
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid() && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    }
    return fd;
}

}  // namespace

Status PosixSettingsFile::lock(std::unique_ptr<Lock>& held) {
    if (Status made = make_folder(path_.parent_path()); made.failed()) {
        return made;
    }
    const auto lock_path = with_suffix(path_, ".lock");
    UniqueFd fd = open_lock_file(lock_path);
    if (!fd.valid()) {
        return Status::failure(describe("cannot open", lock_path, errno));
    }
    const auto shared_fd = std::make_shared<const UniqueFd>(std::move(fd));
    const int lock_fd = shared_fd->get();
    int error = 0;
    Attempt taken = Attempt::done;
    if (::flock(lock_fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        taken = Attempt::failed;
        if (error == EWOULDBLOCK && lock_wait_.count() > 0) {
            taken = wait_for_lock(
                lock_wait_,
                [shared_fd, lock_fd] {
                    while (::flock(lock_fd, LOCK_EX) != 0) {
                        if (errno != EINTR) {
                            return errno;
                        }
                    }
                    return 0;
                },
                [shared_fd, lock_fd] { ::flock(lock_fd, LOCK_UN); }, error);
        } else if (error == EWOULDBLOCK) {
            taken = Attempt::again;
        }
    }
    if (taken == Attempt::failed) {
        return Status::failure(describe("cannot lock", lock_path, error));
    }
    if (taken == Attempt::again) {
        return Status::failure("another copy of Tapster kept " + lock_path.string() +
                               " locked for too long");
    }
    held = std::make_unique<FileLock>(shared_fd);
    if (!swept_) {
        swept_ = true;
        posix_file::remove_temporary_files_of_ended_copies(path_);
    }
    return Status::success();
}

}  // namespace tapster::platform
