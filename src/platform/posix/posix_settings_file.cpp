#include "platform/posix/posix_settings_file.h"

#include <fcntl.h>
#include <pwd.h>
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

class FileLock final : public SettingsFile::Lock {
  public:
    explicit FileLock(UniqueFd fd) : fd_(std::move(fd)) {}
    ~FileLock() override { ::flock(fd_.get(), LOCK_UN); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    UniqueFd fd_;
};

std::string describe(std::string_view what, const std::filesystem::path& path, int error) {
    // std::generic_category() rather than strerror(), which may share a buffer across threads.
    return std::string(what) + " " + path.string() + ": " + std::generic_category().message(error);
}

std::filesystem::path with_suffix(const std::filesystem::path& path, const std::string& suffix) {
    return {path.native() + suffix};
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

}  // namespace

PosixSettingsFile::PosixSettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

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

std::unique_ptr<SettingsFile::Lock> PosixSettingsFile::lock() {
    if (make_folder(path_.parent_path()).failed()) {
        return nullptr;
    }
    const auto lock_path = with_suffix(path_, ".lock");
    UniqueFd fd(::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
    if (!fd.valid()) {
        return nullptr;
    }
    while (::flock(fd.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            return nullptr;
        }
    }
    return std::make_unique<FileLock>(std::move(fd));
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
    const auto temp = with_suffix(path_, ".tmp-" + std::to_string(::getpid()));
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
    const std::string base = path_.native() + ".bad-" + timestamp_now();
    // The counter only matters when a file is set aside twice within one second; the bound
    // keeps a folder full of odd names from turning this into an endless loop.
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const std::filesystem::path candidate =
            attempt == 1 ? base : base + "-" + std::to_string(attempt);
        struct stat existing {};
        if (::lstat(candidate.c_str(), &existing) == 0) {
            continue;
        }
        if (errno != ENOENT) {
            return Status::failure(describe("cannot check", candidate, errno));
        }
        // Callers hold the lock, so no other copy can take the name between the check and
        // the rename.
        if (::rename(path_.c_str(), candidate.c_str()) != 0) {
            return Status::failure(describe("cannot rename", path_, errno));
        }
        kept_as = candidate.string();
        return Status::success();
    }
    return Status::failure("cannot find a free name to keep " + path_.string() + " aside");
}

std::string PosixSettingsFile::location() const {
    return path_.string();
}

}  // namespace tapster::platform
