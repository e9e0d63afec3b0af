#include "platform/posix/posix_settings_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/settings_file_common.h"

namespace tapster::platform {

namespace {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // For a file just written, close() can be the first report that the data never reached
    // the disk (NFS, quotas), so its result matters there.
    int close() { return ::close(std::exchange(fd_, -1)); }

    void reset() {
        if (fd_ >= 0) {
            ::close(std::exchange(fd_, -1));
        }
    }

  private:
    int fd_ = -1;
};

// Removes a half-written temporary file on every way out of replace() except success.
class RemoveUnlessKept {
  public:
    explicit RemoveUnlessKept(std::filesystem::path path) : path_(std::move(path)) {}
    ~RemoveUnlessKept() {
        if (!kept_) {
            ::unlink(path_.c_str());
        }
    }
    RemoveUnlessKept(const RemoveUnlessKept&) = delete;
    RemoveUnlessKept& operator=(const RemoveUnlessKept&) = delete;

    void keep() { kept_ = true; }

  private:
    std::filesystem::path path_;
    bool kept_ = false;
};

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

std::string describe(std::string_view what, const std::filesystem::path& path, int error) {
    // std::generic_category() rather than strerror(), which may share a buffer across threads.
    return std::string(what) + " " + path.string() + ": " + std::generic_category().message(error);
}

Status make_folder(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return Status::success();
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return Status::failure(describe("cannot create the folder", folder, error.value()));
    }
    return Status::success();
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string timestamp_now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
    return {text.data(), length};
}

std::filesystem::path home_folder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

bool process_running(unsigned long id) {
    // EPERM: it exists but belongs to another user.
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

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

PosixSettingsFile::PosixSettingsFile(std::filesystem::path path,
                                     std::chrono::milliseconds lock_wait)
    : path_(std::move(path)), lock_wait_(lock_wait) {}

std::filesystem::path PosixSettingsFile::default_path() {
    std::filesystem::path config;
    // The XDG rules say a relative value is to be ignored, as it would depend on the folder
    // Tapster happened to be started from.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else if (const auto home = home_folder(); !home.empty()) {
        config = home / ".config";
    } else {
        return {};
    }
    return config / "Tapster 2.1" / "settings.json";
}

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
        remove_stale_temporary_files(path_, process_running);
    }
    return Status::success();
}

SettingsFile::Contents PosixSettingsFile::read() {
    Contents contents;
    UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        const int error = errno;
        if (error == ENOENT) {
            contents.state = ReadState::missing;
        } else {
            contents.state = ReadState::failed;
            contents.error = describe("cannot open", path_, error);
        }
        return contents;
    }
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got == 0) {
            break;
        }
        if (got < 0) {
            const int error = errno;
            if (error == EINTR) {
                continue;
            }
            contents.state = ReadState::failed;
            contents.bytes.clear();
            contents.error = describe("cannot read", path_, error);
            return contents;
        }
        contents.bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    contents.state = ReadState::present;
    return contents;
}

Status PosixSettingsFile::replace(std::string_view bytes) {
    const auto folder = path_.parent_path();
    if (Status made = make_folder(folder); made.failed()) {
        return made;
    }
    const auto temp = temporary_path(path_, static_cast<unsigned long>(::getpid()));
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.valid()) {
        // Nothing was created, so there is nothing to clean up; whatever sits at that name
        // belongs to someone else.
        return Status::failure(describe("cannot create", temp, errno));
    }
    RemoveUnlessKept cleanup(temp);

    // A user who restricted the file's permissions keeps them across the rewrite.
    struct stat old_file {};
    if (::stat(path_.c_str(), &old_file) == 0) {
        ::fchmod(fd.get(), old_file.st_mode & 07777);
    }

    if (!write_all(fd.get(), bytes)) {
        return Status::failure(describe("cannot write", temp, errno));
    }
    if (::fsync(fd.get()) != 0) {
        return Status::failure(describe("cannot flush", temp, errno));
    }
    if (fd.close() != 0) {
        return Status::failure(describe("cannot write", temp, errno));
    }
    if (::rename(temp.c_str(), path_.c_str()) != 0) {
        return Status::failure(describe("cannot replace", path_, errno));
    }
    cleanup.keep();

    // Makes the rename itself durable. The new file is already whole, so a failure here only
    // risks the old version coming back after a crash, which is not worth reporting.
    const UniqueFd folder_fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_fd.valid()) {
        ::fsync(folder_fd.get());
    }
    return Status::success();
}

Status PosixSettingsFile::set_aside(std::string& kept_as) {
    std::filesystem::path kept;
    // Callers hold the lock, so no other copy can take the name between the check and the
    // rename.
    const Status moved = keep_aside(
        path_, timestamp_now(), kept, [&](const std::filesystem::path& to, bool& name_taken) {
            struct stat existing {};
            if (::lstat(to.c_str(), &existing) == 0) {
                name_taken = true;
                return Status::success();
            }
            if (errno != ENOENT) {
                return Status::failure(describe("cannot check", to, errno));
            }
            if (::rename(path_.c_str(), to.c_str()) != 0) {
                return Status::failure(describe("cannot rename", path_, errno));
            }
            return Status::success();
        });
    if (moved.failed()) {
        return moved;
    }
    kept_as = kept.string();
    return Status::success();
}

std::string PosixSettingsFile::location() const {
    return path_.string();
}

}  // namespace tapster::platform
