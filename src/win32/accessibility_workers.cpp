#include "win32/accessibility_workers.h"

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "win32/com_apartment.h"

namespace tapster::win32 {

// Named, not anonymous: AccessibilityWorkers::Worker, which has external linkage, holds one.
namespace worker_thread {

// What a worker thread and its owner share; the thread holds it too, so it stays valid for a
// thread that was left behind.
struct Mailbox {
    std::mutex mutex;
    std::condition_variable wake;
    std::function<void()> call;  // the next call, empty when there is none
    std::function<void()> then;  // posted once the call has ended
    platform::Dispatcher* dispatcher = nullptr;
    bool quit = false;  // set when the owner goes: nothing more is posted
};

void serve(const std::shared_ptr<Mailbox>& mailbox) {
    const ComApartment apartment(COINIT_MULTITHREADED);
    std::unique_lock lock(mailbox->mutex);
    while (true) {
        mailbox->wake.wait(lock, [&] { return mailbox->quit || mailbox->call; });
        if (!mailbox->call) {
            return;
        }
        std::function<void()> call = std::exchange(mailbox->call, nullptr);
        lock.unlock();
        if (apartment.initialized()) {
            try {
                call();
            } catch (...) {
                // The caller learns nothing more than from a call that found nothing.
            }
        }
        // What the call holds is released here, in the apartment it was made in.
        call = nullptr;
        lock.lock();
        std::function<void()> then = std::exchange(mailbox->then, nullptr);
        if (mailbox->quit) {
            return;
        }
        // Under the lock: the owner cannot go meanwhile.
        try {
            mailbox->dispatcher->post(std::move(then));
        } catch (...) {
            // Out of memory: the key stays busy, as for a call that never returns.
        }
    }
}

}  // namespace worker_thread

struct AccessibilityWorkers::Worker {
    explicit Worker(platform::Dispatcher& dispatcher)
        : mailbox(std::make_shared<worker_thread::Mailbox>()),
          thread([mailbox = mailbox] { worker_thread::serve(mailbox); }) {
        mailbox->dispatcher = &dispatcher;
    }
    // A thread still in a call is left to end after it.
    ~Worker() {
        if (thread.joinable()) {
            tell_to_quit();
            thread.detach();
        }
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Hands the thread its next call.
    void give(std::function<void()> call, std::function<void()> then) const {
        {
            const std::lock_guard lock(mailbox->mutex);
            mailbox->call = std::move(call);
            mailbox->then = std::move(then);
        }
        mailbox->wake.notify_one();
    }
    void tell_to_quit() const {
        {
            const std::lock_guard lock(mailbox->mutex);
            mailbox->quit = true;
        }
        mailbox->wake.notify_one();
    }

    std::shared_ptr<worker_thread::Mailbox> mailbox;
    std::thread thread;
};

AccessibilityWorkers::AccessibilityWorkers(platform::Dispatcher& dispatcher)
    : dispatcher_(dispatcher) {}

AccessibilityWorkers::~AccessibilityWorkers() {
    // An idle thread ends at once; the running ones are left behind as their workers go.
    for (const auto& worker : idle_) {
        worker->tell_to_quit();
        worker->thread.join();
    }
    // A call's end already posted finds nothing to run.
    *alive_ = false;
}

AccessibilityWorkers::Outcome AccessibilityWorkers::run(const std::string& key,
                                                        std::function<void()> call,
                                                        std::function<void()> then) {
    try {
        return start(key, std::move(call), std::move(then));
    } catch (const std::exception&) {
        // No thread could be made, or no memory was left: as if the program were busy.
        return Outcome::skipped;
    }
}

AccessibilityWorkers::Outcome AccessibilityWorkers::start(const std::string& key,
                                                          std::function<void()> call,
                                                          std::function<void()> then) {
    if (running_.contains(key) || running_.size() >= kMostRunningCalls) {
        return Outcome::skipped;
    }
    std::unique_ptr<Worker> worker;
    if (idle_.empty()) {
        worker = std::make_unique<Worker>(dispatcher_);
    } else {
        worker = std::move(idle_.back());
        idle_.pop_back();
    }
    const Worker& handed = *worker;
    running_.emplace(key, std::move(worker));
    handed.give(std::move(call), [this, alive = alive_, key, then = std::move(then)] {
        if (*alive) {
            finished(key, then);
        }
    });
    return Outcome::started;
}

void AccessibilityWorkers::finished(const std::string& key, const std::function<void()>& then) {
    auto entry = running_.find(key);
    if (entry != running_.end()) {
        idle_.push_back(std::move(entry->second));
        running_.erase(entry);
    }
    if (then) {
        then();
    }
}

}  // namespace tapster::win32
