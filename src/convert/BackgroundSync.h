#pragma once
// Makes what was written to an output so far durable on a thread of its own, while the
// run goes on. The disk's cache is flushed as the pages come, so the one durable step
// that the end of the run waits for has only the last page left: for an album of 235 MB
// here that step took 0.13 s, with every core idle.

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace vellumo::convert {

class BackgroundSync {
  public:
    BackgroundSync() = default;
    // Waits for the sync in progress; waiting requests are dropped.
    ~BackgroundSync();
    BackgroundSync(const BackgroundSync&) = delete;
    BackgroundSync& operator=(const BackgroundSync&) = delete;

    // Asks for `fd`'s content to be made durable soon. A request for a descriptor that is
    // still waiting is the same request. Without a thread nothing is done: the caller's
    // own durable step does it all.
    void Request(int fd);

    // Waits until no sync of `fd` waits or runs. Call it before `fd` is synced by the
    // caller or closed (its number may then be reused).
    // Returns the system's reason when a sync of `fd` failed, else empty: the failure
    // is reported to that sync only, so the caller's own fsync would not see it again.
    std::string Settle(int fd);

  private:
    void Loop();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> waiting_;
    int running_ = -1;
    std::map<int, std::string> failures_;
    bool started_ = false;
    bool shutdown_ = false;
    std::thread thread_;
};

}  // namespace vellumo::convert
