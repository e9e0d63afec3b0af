#include "win32/accessibility_workers.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "win32/com_apartment.h"
#include "win32/scoped_handles.h"

namespace tapster::win32 {

// Named, not anonymous: AccessibilityWorkers::Worker, which has external linkage, holds one.
namespace worker_thread {

// What a worker thread and its owner share; the thread holds it too, so it stays valid for a
// thread that was left behind.
struct Mailbox {
    std::mutex mutex;
    std::condition_variable wake;
    std::function<void()> call;  // the next call, empty when there is none
    bool quit = false;
    std::atomic<bool> running{false};  // from handing over a call to its end
    // Set at the end of each call, for a waiter that also watches its messages.
    ScopedHandle finished{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
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
        mailbox->running.store(false, std::memory_order_release);
        SetEvent(mailbox->finished.get());
        if (mailbox->quit) {
            return;
        }
    }
}

}  // namespace worker_thread

struct AccessibilityWorkers::Worker {
    Worker()
        : mailbox(std::make_shared<worker_thread::Mailbox>()),
          thread([mailbox = mailbox] { worker_thread::serve(mailbox); }) {}
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
    void give(std::function<void()> call) const {
        {
            const std::lock_guard lock(mailbox->mutex);
            ResetEvent(mailbox->finished.get());
            mailbox->running.store(true, std::memory_order_relaxed);
            mailbox->call = std::move(call);
        }
        mailbox->wake.notify_one();
    }
    bool running() const { return mailbox->running.load(std::memory_order_acquire); }
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

AccessibilityWorkers::AccessibilityWorkers(platform::EventLoop& event_loop,
                                           std::chrono::milliseconds deadline)
    : event_loop_(event_loop), deadline_(deadline) {}

AccessibilityWorkers::~AccessibilityWorkers() {
    // An idle thread ends at once; the running ones are left behind as their workers go.
    for (const auto& worker : idle_) {
        worker->tell_to_quit();
        worker->thread.join();
    }
}

AccessibilityWorkers::Outcome AccessibilityWorkers::run(const std::string& key,
                                                        std::function<void()> call) {
    try {
        return start_and_wait(key, std::move(call));
    } catch (const std::exception&) {
        // No thread could be made, or no memory was left: as if the program were busy.
        return Outcome::skipped;
    }
}

AccessibilityWorkers::Outcome AccessibilityWorkers::start_and_wait(const std::string& key,
                                                                   std::function<void()> call) {
    reclaim_finished();
    if (running_.contains(key) || running_.size() >= kMostRunningCalls) {
        return Outcome::skipped;
    }
    std::unique_ptr<Worker> worker;
    if (idle_.empty()) {
        worker = std::make_unique<Worker>();
    } else {
        worker = std::move(idle_.back());
        idle_.pop_back();
    }
    const Worker& handed = *worker;
    handed.give(std::move(call));
    // Listed before the wait, so a call for the same key made meanwhile is skipped.
    running_.emplace(key, Running{std::move(worker)});
    if (!wait_for(handed)) {
        running_.at(key).awaited = false;
        return Outcome::late;
    }
    idle_.push_back(std::move(running_.extract(key).mapped().worker));
    return Outcome::done;
}

bool AccessibilityWorkers::wait_for(const Worker& worker) {
    const auto until = std::chrono::steady_clock::now() + deadline_;
    const HANDLE finished = worker.mailbox->finished.get();
    while (worker.running()) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        const DWORD woken = MsgWaitForMultipleObjectsEx(
            1, &finished, static_cast<DWORD>(left.count()), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0 + 1) {
            MSG quit{};
            // The program is ending: its main loop is to see the quit at once.
            if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE) {
                return !worker.running();
            }
            event_loop_.yield();
        } else if (woken == WAIT_FAILED) {
            return !worker.running();
        }
    }
    return true;
}

void AccessibilityWorkers::reclaim_finished() {
    for (auto entry = running_.begin(); entry != running_.end();) {
        if (!entry->second.awaited && !entry->second.worker->running()) {
            idle_.push_back(std::move(entry->second.worker));
            entry = running_.erase(entry);
        } else {
            ++entry;
        }
    }
}

}  // namespace tapster::win32
