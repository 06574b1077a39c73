#pragma once
// Encodes the strips of a page on a small pool of threads and hands the encoded strips
// to the caller strictly in order, on the caller's thread. Memory stays bounded: only a
// few strips per thread are encoded ahead of the one the caller is writing.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "imaging/PageBitmap.h"
#include "imaging/TiffStripEncoder.h"

namespace vellumo::imaging {

class TiffStripPipeline {
  public:
    // Receives strip `strip` (numbered from 0 down the page); false stops the page.
    using Sink = std::function<bool(uint32_t strip, const uint8_t* data, size_t size)>;

    enum class Result { Ok, OutOfMemory, SinkFailed };

    // `threads` encoding threads, started on first use; 1 or less encodes on the calling
    // thread. The output is the same for every thread count. While `busyElsewhere` (may
    // be null) counts other busy threads, that many fewer encode at once (at least one).
    explicit TiffStripPipeline(int threads, const std::atomic<int>* busyElsewhere = nullptr);
    ~TiffStripPipeline();
    TiffStripPipeline(const TiffStripPipeline&) = delete;
    TiffStripPipeline& operator=(const TiffStripPipeline&) = delete;

    // Encodes `page` in strips of `rowsPerStrip` rows (the last one may be shorter) and
    // passes each to `sink` in order. Returns once no thread touches `page` any more.
    Result EncodePage(const PageBitmap& page, int32_t rowsPerStrip, bool predictor,
                      const Sink& sink);

    // Threads actually encoding (0 before the first page or when none could start).
    int RunningThreads() const { return static_cast<int>(workers_.size()); }

  private:
    // Workers claim a few strips at a time, so that each hand-over (a lock, often a
    // wake-up) is shared by them.
    static constexpr uint32_t kStripsPerClaim = 4;

    // The encoded strips of one claim, one after the other in `data`.
    struct Slot {
        std::unique_ptr<uint8_t[]> data;
        size_t capacity = 0;
        size_t sizes[kStripsPerClaim] = {};
        uint32_t claim = 0;
        bool ready = false;
    };

    // The page being encoded; fixed while `active` is true.
    struct Job {
        const PageBitmap* page = nullptr;
        int32_t rowsPerStrip = 0;
        bool predictor = false;
        uint32_t stripCount = 0;
        uint32_t claimCount = 0;
        uint32_t nextClaim = 0;  // next claim a worker may take
        uint32_t delivered = 0;  // claims handed to the sink
        int busy = 0;            // workers encoding right now
        bool stop = false;
        bool active = false;
    };

    // The first strip of `claim` and how many it has (the last claim may have fewer).
    static std::pair<uint32_t, uint32_t> StripsOfClaim(uint32_t claim, uint32_t stripCount);
    void StartWorkers();
    bool PrepareBuffers(size_t stripBytes);
    bool CanClaim() const;
    void WorkerLoop(size_t index);
    size_t EncodeStrip(TiffStripEncoder& encoder, const Job& job, uint32_t strip, uint8_t* out);
    void EncodeClaim(TiffStripEncoder& encoder, const Job& job, uint32_t claim, Slot& slot);
    Result EncodeInline(const Sink& sink);
    Result EncodeParallel(const Sink& sink);

    int requestedThreads_;
    const std::atomic<int>* busyElsewhere_;
    bool startAttempted_ = false;
    std::vector<std::thread> workers_;
    std::vector<TiffStripEncoder> encoders_;  // one per worker, or one for inline use
    std::vector<Slot> slots_;
    size_t stripCapacity_ = 0;  // bytes one encoded strip may take in a slot

    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable stripDone_;
    Job job_;
    bool shutdown_ = false;
};

}  // namespace vellumo::imaging
