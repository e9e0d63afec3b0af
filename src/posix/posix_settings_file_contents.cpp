#include "posix/posix_settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

#include "posix/file_descriptor.h"
#include "posix/posix_file_errors.h"
#include "settings/settings_file_common.h"

namespace tapster::platform {

using posix_file::describe;
using posix_file::make_folder;
using posix_file::UniqueFd;

namespace {

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

}  // namespace

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

}  // namespace tapster::platform
