#pragma once
// A bounded, ordered prefetch stage: items 0 .. count-1 are produced by a few helper
// threads, possibly out of order, and handed to the one consumer strictly in index
// order. At most `ahead` items exist beyond the one the consumer holds (being made or
// waiting), so memory stays bounded whatever the count. With no helper threads every
// item is made by the consumer itself when it asks for it.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vellumo::convert {

template <typename T>
class OrderedPrefetch {
  public:
    // `produce` must not throw; it runs on the helper threads (or the consumer's).
    using Producer = std::function<T(size_t index)>;

    OrderedPrefetch(size_t count, Producer produce, int helpers, size_t ahead)
        : count_(count), produce_(std::move(produce)), ahead_(ahead < 1 ? 1 : ahead) {
        for (int i = 0; i < helpers; ++i) {
            helpers_.emplace_back([this] { HelperLoop(); });
        }
    }

    ~OrderedPrefetch() { Cancel(); }

    OrderedPrefetch(const OrderedPrefetch&) = delete;
    OrderedPrefetch& operator=(const OrderedPrefetch&) = delete;

    // The next item in index order; nothing once every item was taken or after Cancel.
    std::optional<T> Next() {
        std::unique_lock lock(mutex_);
        if (cancelled_ || nextToTake_ >= count_) {
            return std::nullopt;
        }
        const size_t index = nextToTake_;
        if (helpers_.empty()) {
            ++nextToTake_;
            nextToStart_ = nextToTake_;
            lock.unlock();
            return produce_(index);
        }
        changed_.wait(lock, [&] { return cancelled_ || ready_.count(index) != 0; });
        if (cancelled_) {
            return std::nullopt;
        }
        T item = std::move(ready_.at(index));
        ready_.erase(index);
        ++nextToTake_;
        lock.unlock();
        changed_.notify_all();  // room for one more item ahead
        return item;
    }

    // Starts nothing more, waits for the items being made and drops every waiting one.
    void Cancel() {
        {
            std::lock_guard lock(mutex_);
            cancelled_ = true;
        }
        changed_.notify_all();
        for (auto& helper : helpers_) {
            if (helper.joinable()) {
                helper.join();
            }
        }
        std::lock_guard lock(mutex_);
        ready_.clear();
    }

    // Items made but not yet taken, plus those being made (for tests of the bound).
    size_t InFlight() const {
        std::lock_guard lock(mutex_);
        return nextToStart_ - nextToTake_;
    }

  private:
    void HelperLoop() {
        for (;;) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] {
                return cancelled_ || nextToStart_ >= count_ || nextToStart_ < nextToTake_ + ahead_;
            });
            if (cancelled_ || nextToStart_ >= count_) {
                return;
            }
            const size_t index = nextToStart_++;
            lock.unlock();
            T item = produce_(index);
            lock.lock();
            if (!cancelled_) {
                ready_.emplace(index, std::move(item));
            }
            lock.unlock();
            changed_.notify_all();
        }
    }

    const size_t count_;
    const Producer produce_;
    const size_t ahead_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<size_t, T> ready_;
    size_t nextToStart_ = 0;
    size_t nextToTake_ = 0;
    bool cancelled_ = false;
    std::vector<std::thread> helpers_;
};

}  // namespace vellumo::convert
