#include "convert/BackgroundSync.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace vellumo::convert {

BackgroundSync::~BackgroundSync() {
    {
        std::lock_guard lock(mutex_);
        shutdown_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void BackgroundSync::Request(int fd) {
    if (fd < 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (!started_) {
        started_ = true;
        try {
            thread_ = std::thread(&BackgroundSync::Loop, this);
        } catch (const std::system_error&) {
            return;  // no thread: every sync is left to the caller
        }
    }
    if (!thread_.joinable() ||
        std::find(waiting_.begin(), waiting_.end(), fd) != waiting_.end()) {
        return;
    }
    waiting_.push_back(fd);
    changed_.notify_all();
}

std::string BackgroundSync::Settle(int fd) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        return running_ != fd && std::find(waiting_.begin(), waiting_.end(), fd) == waiting_.end();
    });
    std::string reason;
    if (const auto it = failures_.find(fd); it != failures_.end()) {
        reason = std::move(it->second);
        failures_.erase(it);
    }
    return reason;
}

void BackgroundSync::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return shutdown_ || !waiting_.empty(); });
        if (shutdown_) {
            return;
        }
        const int fd = waiting_.front();
        waiting_.pop_front();
        running_ = fd;
        lock.unlock();
        int result = 0;
        do {
            result = ::fdatasync(fd);
        } while (result != 0 && errno == EINTR);  // a signal for another thread, not a failure
        const int error = result == 0 ? 0 : errno;
        lock.lock();
        running_ = -1;
        // A descriptor that cannot be synced at all (a pipe) is the caller's to judge.
        if (error != 0 && error != EINVAL && error != EROFS && failures_.count(fd) == 0) {
            failures_[fd] = std::generic_category().message(error);
        }
        changed_.notify_all();
    }
}

}  // namespace vellumo::convert
