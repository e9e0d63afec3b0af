#include "settings/lock_waiter.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace tapster {

using platform::SettingsFileSystem;

struct LockWaiter::Shared {
    std::mutex mutex;
    std::condition_variable finished_waiting;
    // The helper's lock file; released by whoever is last to need it.
    std::shared_ptr<SettingsFileSystem::LockFile> file;
    bool finished = false;
    bool wanted = true;  // someone waits for the outcome
    SettingsFileSystem::Error error = 0;
};

LockWaiter::~LockWaiter() {
    if (shared_) {
        const std::lock_guard<std::mutex> guard(shared_->mutex);
        shared_->wanted = false;
    }
}

bool LockWaiter::waiting() {
    if (!shared_) {
        return false;
    }
    bool finished = false;
    {
        const std::lock_guard<std::mutex> guard(shared_->mutex);
        finished = shared_->finished;
    }
    if (finished) {
        // It got the lock while no one wanted it, and gave it back already.
        shared_.reset();
    }
    return shared_ != nullptr;
}

LockWaiter::Outcome LockWaiter::start(std::shared_ptr<SettingsFileSystem::LockFile> file,
                                      std::chrono::milliseconds limit,
                                      SettingsFileSystem::Error& error) {
    auto shared = std::make_shared<Shared>();
    shared->file = std::move(file);
    try {
        std::thread([shared] {
            const SettingsFileSystem::Error result = shared->file->wait_lock();
            const std::lock_guard<std::mutex> guard(shared->mutex);
            shared->finished = true;
            shared->error = result;
            if (shared->wanted) {
                shared->finished_waiting.notify_one();
                return;
            }
            if (result == 0) {
                shared->file->unlock();
            }
            shared->file.reset();
        }).detach();
    } catch (const std::system_error& failure) {
        error = static_cast<SettingsFileSystem::Error>(failure.code().value());
        return Outcome::failed;
    }
    shared_ = std::move(shared);
    return await(limit, error);
}

LockWaiter::Outcome LockWaiter::resume(std::chrono::milliseconds limit,
                                       SettingsFileSystem::Error& error) {
    return await(limit, error);
}

LockWaiter::Outcome LockWaiter::await(std::chrono::milliseconds limit,
                                      SettingsFileSystem::Error& error) {
    const std::shared_ptr<Shared> shared = shared_;
    std::unique_lock<std::mutex> guard(shared->mutex);
    shared->wanted = true;
    if (!shared->finished_waiting.wait_for(guard, limit, [&] { return shared->finished; })) {
        shared->wanted = false;
        return Outcome::timed_out;
    }
    shared_.reset();
    if (!shared->file) {
        return Outcome::gone;
    }
    error = shared->error;
    if (error != 0) {
        shared->file.reset();
        return Outcome::failed;
    }
    taken_ = std::move(shared->file);
    return Outcome::taken;
}

std::shared_ptr<SettingsFileSystem::LockFile> LockWaiter::take() {
    return std::move(taken_);
}

}  // namespace tapster
