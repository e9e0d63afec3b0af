#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <system_error>
#include <utility>

#include "posix/file_descriptor.h"
#include "settings/locked_settings_file.h"
#include "settings/system_settings_file.h"

namespace tapster::posix {

using platform::SettingsFile;
using platform::SettingsFileSystem;
using platform::Status;

namespace {

namespace fs = std::filesystem;
using Error = SettingsFileSystem::Error;

Error last_error() {
    return static_cast<Error>(errno);
}

class FlockFile final : public SettingsFileSystem::LockFile {
  public:
    explicit FlockFile(UniqueFd fd) : fd_(std::move(fd)) {}

    Error try_lock(bool& busy) override {
        if (::flock(fd_.get(), LOCK_EX | LOCK_NB) == 0) {
            return 0;
        }
        busy = errno == EWOULDBLOCK;
        return busy ? 0 : last_error();
    }
    Error wait_lock() override {
        while (::flock(fd_.get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                return last_error();
            }
        }
        return 0;
    }
    void unlock() override { ::flock(fd_.get(), LOCK_UN); }

  private:
    UniqueFd fd_;
};

Error write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return last_error();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

class PosixFileSystem final : public SettingsFileSystem {
  public:
    Error make_folder(const fs::path& folder) override {
        if (folder.empty()) {
            return 0;
        }
        std::error_code error;
        fs::create_directories(folder, error);
        return static_cast<Error>(error.value());
    }

    // flock() works as well on a read-only descriptor.
    Error open_lock_file(const fs::path& path, std::unique_ptr<LockFile>& opened) override {
        UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
        if (!fd.valid() && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        }
        if (!fd.valid()) {
            return last_error();
        }
        opened = std::make_unique<FlockFile>(std::move(fd));
        return 0;
    }

    SettingsFile::Stamp stamp(const fs::path& path) override {
        struct stat found {};
        if (::stat(path.c_str(), &found) != 0) {
            return {};
        }
        constexpr std::int64_t kNanoseconds = 1000000000;
        return {static_cast<std::uint64_t>(found.st_ino), static_cast<std::uint64_t>(found.st_size),
                found.st_mtim.tv_sec * kNanoseconds + found.st_mtim.tv_nsec, true};
    }

    // As many links as the system itself follows; a loop leaves the path as it is.
    fs::path final_path(const fs::path& path) override {
        fs::path current = path;
        for (int hop = 0; hop < 40; ++hop) {
            std::error_code not_a_link;
            const fs::path next = fs::read_symlink(current, not_a_link);
            if (not_a_link) {
                return current;
            }
            current = next.is_absolute() ? next : current.parent_path() / next;
        }
        return path;
    }

    Error read_all(const fs::path& path, std::string& bytes, bool& missing, bool& opened) override {
        const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd.valid()) {
            missing = errno == ENOENT;
            return missing ? 0 : last_error();
        }
        opened = true;
        std::array<char, 65536> buffer{};
        for (;;) {
            const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
            if (got == 0) {
                return 0;
            }
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return last_error();
            }
            bytes.append(buffer.data(), static_cast<std::size_t>(got));
        }
    }

    Error write_new_file(const fs::path& path, const fs::path& like, std::string_view bytes,
                         WriteStep& failed_at) override {
        failed_at = WriteStep::create;
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (!fd.valid()) {
            return last_error();
        }
        // A user who restricted the file's permissions keeps them across the rewrite.
        struct stat old_file {};
        if (::stat(like.c_str(), &old_file) == 0) {
            ::fchmod(fd.get(), old_file.st_mode & 07777);
        }
        Error error = write_all(fd.get(), bytes);
        if (error != 0) {
            failed_at = WriteStep::write;
        } else if (::fsync(fd.get()) != 0) {
            failed_at = WriteStep::flush;
            error = last_error();
        } else if (!fd.close()) {
            failed_at = WriteStep::close;
            error = last_error();
        }
        if (error != 0) {
            ::unlink(path.c_str());
        }
        return error;
    }

    void remove_file(const fs::path& path) override { ::unlink(path.c_str()); }

    Error move_over(const fs::path& from, const fs::path& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return last_error();
        }
        // Makes the rename itself durable. The new file is already whole, so a failure here
        // only risks the old version coming back after a crash, which is not worth reporting.
        const fs::path folder = to.parent_path();
        const UniqueFd folder_fd(
            ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder_fd.valid()) {
            ::fsync(folder_fd.get());
        }
        return 0;
    }

    Status move_unless_taken(const fs::path& from, const fs::path& to, bool& taken) override {
        struct stat existing {};
        if (::lstat(to.c_str(), &existing) == 0) {
            taken = true;
            return Status::success();
        }
        if (errno != ENOENT) {
            return Status::failure(describe("cannot check", to, last_error()));
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return Status::failure(describe("cannot rename", from, last_error()));
        }
        return Status::success();
    }

    Status copy_unless_taken(const fs::path& from, const fs::path& to, bool& taken) override {
        std::string bytes;
        bool missing = false;
        bool opened = false;
        if (const Error error = read_all(from, bytes, missing, opened); error != 0 || missing) {
            return Status::failure(describe("cannot read", from, missing ? ENOENT : error));
        }
        UniqueFd fd(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!fd.valid()) {
            taken = errno == EEXIST;
            return taken ? Status::success()
                         : Status::failure(describe("cannot create", to, last_error()));
        }
        struct stat original {};
        if (::stat(from.c_str(), &original) == 0) {
            ::fchmod(fd.get(), original.st_mode & 07777);
        }
        Error error = write_all(fd.get(), bytes);
        if (error == 0 && (::fsync(fd.get()) != 0 || !fd.close())) {
            error = last_error();
        }
        if (error != 0) {
            ::unlink(to.c_str());
            return Status::failure(describe("cannot write", to, error));
        }
        return Status::success();
    }

    unsigned long own_process_id() const override { return static_cast<unsigned long>(::getpid()); }
    bool process_running(unsigned long id) const override {
        // EPERM: it exists but belongs to another user.
        return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
    }

    std::string timestamp_now() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::array<char, 32> text{};
        const std::size_t length = std::strftime(text.data(), text.size(), "%Y%m%d-%H%M%S", &local);
        return {text.data(), length};
    }

    // std::generic_category() rather than strerror(), which may share a buffer across threads.
    std::string error_text(Error error) const override {
        return std::generic_category().message(static_cast<int>(error));
    }
    std::string display(const fs::path& path) const override { return path.string(); }

  private:
    std::string describe(std::string_view what, const fs::path& path, Error error) const {
        return std::string(what) + " " + display(path) + ": " + error_text(error);
    }
};

}  // namespace

}  // namespace tapster::posix

namespace tapster {

std::unique_ptr<platform::SettingsFile> open_settings_file(std::filesystem::path path,
                                                           std::chrono::milliseconds lock_wait) {
    return std::make_unique<LockedSettingsFile>(std::move(path), lock_wait,
                                                std::make_unique<posix::PosixFileSystem>());
}

}  // namespace tapster
