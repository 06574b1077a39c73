#include "imaging/TiffStripPipeline.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "imaging/LzwEncoder.h"

namespace vellumo::imaging {
namespace {

// Claims encoded ahead per thread: enough to keep every thread busy while the caller
// writes, few enough to keep memory at a handful of strips.
constexpr size_t kSlotsPerThread = 3;

}  // namespace

std::pair<uint32_t, uint32_t> TiffStripPipeline::StripsOfClaim(uint32_t claim,
                                                               uint32_t stripCount) {
    const uint32_t first = claim * kStripsPerClaim;
    return {first, std::min(kStripsPerClaim, stripCount - first)};
}

TiffStripPipeline::TiffStripPipeline(int threads, const std::atomic<int>* busyElsewhere)
    : requestedThreads_(threads), busyElsewhere_(busyElsewhere) {}

TiffStripPipeline::~TiffStripPipeline() {
    {
        std::lock_guard lock(mutex_);
        shutdown_ = true;
    }
    workAvailable_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void TiffStripPipeline::StartWorkers() {
    if (startAttempted_ || requestedThreads_ <= 1) {
        return;
    }
    startAttempted_ = true;
    // The encoders must exist before any worker runs, since workers index into them.
    encoders_.resize(static_cast<size_t>(requestedThreads_));
    for (int i = 0; i < requestedThreads_; ++i) {
        try {
            workers_.emplace_back(&TiffStripPipeline::WorkerLoop, this, workers_.size());
        } catch (const std::system_error&) {
            break;  // work with the threads we have; none at all means inline encoding
        }
    }
    // Workers only ever use the encoders below their own index.
    encoders_.resize(std::max<size_t>(1, workers_.size()));
}

bool TiffStripPipeline::PrepareBuffers(size_t stripBytes) {
    const size_t slotCount = workers_.empty() ? 1 : workers_.size() * kSlotsPerThread;
    if (encoders_.empty()) {
        encoders_.resize(1);
    }
    if (slots_.size() != slotCount) {
        slots_.resize(slotCount);
    }
    for (TiffStripEncoder& encoder : encoders_) {
        if (!encoder.Prepare(stripBytes)) {
            return false;
        }
    }
    stripCapacity_ = LzwMaxEncodedSize(stripBytes);
    const size_t needed = stripCapacity_ * (workers_.empty() ? 1 : kStripsPerClaim);
    for (Slot& slot : slots_) {
        slot.ready = false;
        if (slot.capacity < needed) {
            slot.data.reset(new (std::nothrow) uint8_t[needed]);
            slot.capacity = slot.data ? needed : 0;
            if (!slot.data) {
                return false;
            }
        }
    }
    return true;
}

bool TiffStripPipeline::CanClaim() const {
    if (!job_.active || job_.stop || job_.nextClaim >= job_.claimCount ||
        job_.nextClaim >= job_.delivered + slots_.size()) {
        return false;
    }
    // A worker held back here is woken by the next claim handed over, a few strips later.
    const int others = busyElsewhere_ ? busyElsewhere_->load(std::memory_order_relaxed) : 0;
    return job_.busy < std::max(1, static_cast<int>(workers_.size()) - others);
}

size_t TiffStripPipeline::EncodeStrip(TiffStripEncoder& encoder, const Job& job, uint32_t strip,
                                      uint8_t* out) {
    const int32_t firstRow = static_cast<int32_t>(strip) * job.rowsPerStrip;
    const int32_t rows = std::min(job.rowsPerStrip, job.page->height() - firstRow);
    return encoder.Encode(*job.page, firstRow, rows, job.predictor, out);
}

void TiffStripPipeline::EncodeClaim(TiffStripEncoder& encoder, const Job& job, uint32_t claim,
                                    Slot& slot) {
    const auto [first, count] = StripsOfClaim(claim, job.stripCount);
    for (uint32_t i = 0; i < count; ++i) {
        slot.sizes[i] = EncodeStrip(encoder, job, first + i, slot.data.get() + i * stripCapacity_);
    }
    slot.claim = claim;
}

void TiffStripPipeline::WorkerLoop(size_t index) {
    std::unique_lock lock(mutex_);
    for (;;) {
        workAvailable_.wait(lock, [this] { return shutdown_ || CanClaim(); });
        if (shutdown_) {
            return;
        }
        const uint32_t claim = job_.nextClaim++;
        Slot& slot = slots_[claim % slots_.size()];
        const Job job = job_;  // the fields used below do not change during the page
        ++job_.busy;
        lock.unlock();
        EncodeClaim(encoders_[index], job, claim, slot);
        lock.lock();
        slot.ready = true;
        --job_.busy;
        // The caller waits for the next claim in order, or for the last busy worker at
        // the page's end: any other claim would wake it for nothing. It is woken with the
        // lock let go, or it would wake only to wait for the lock.
        if (claim == job_.delivered || job_.busy == 0) {
            lock.unlock();
            stripDone_.notify_one();
            lock.lock();
        }
    }
}

TiffStripPipeline::Result TiffStripPipeline::EncodePage(const PageBitmap& page,
                                                        int32_t rowsPerStrip, bool predictor,
                                                        const Sink& sink) {
    if (page.empty() || rowsPerStrip <= 0) {
        return Result::Ok;
    }
    const int32_t rows = std::min(rowsPerStrip, page.height());
    try {
        StartWorkers();
        if (!PrepareBuffers(page.stride() * static_cast<size_t>(rows))) {
            return Result::OutOfMemory;
        }
    } catch (const std::bad_alloc&) {
        return Result::OutOfMemory;
    }
    {
        std::lock_guard lock(mutex_);
        job_ = Job{};
        job_.page = &page;
        job_.rowsPerStrip = rows;
        job_.predictor = predictor;
        job_.stripCount = static_cast<uint32_t>((page.height() + rows - 1) / rows);
        job_.claimCount = (job_.stripCount + kStripsPerClaim - 1) / kStripsPerClaim;
    }
    return workers_.empty() ? EncodeInline(sink) : EncodeParallel(sink);
}

TiffStripPipeline::Result TiffStripPipeline::EncodeInline(const Sink& sink) {
    Slot& slot = slots_[0];
    for (uint32_t strip = 0; strip < job_.stripCount; ++strip) {
        const size_t size = EncodeStrip(encoders_[0], job_, strip, slot.data.get());
        if (!sink(strip, slot.data.get(), size)) {
            return Result::SinkFailed;
        }
    }
    return Result::Ok;
}

TiffStripPipeline::Result TiffStripPipeline::EncodeParallel(const Sink& sink) {
    {
        std::lock_guard lock(mutex_);
        job_.active = true;
    }
    workAvailable_.notify_all();

    Result result = Result::Ok;
    const uint32_t stripCount = job_.stripCount;
    const uint32_t claimCount = job_.claimCount;
    for (uint32_t claim = 0; claim < claimCount; ++claim) {
        Slot& slot = slots_[claim % slots_.size()];
        {
            std::unique_lock lock(mutex_);
            stripDone_.wait(lock, [&] { return slot.ready && slot.claim == claim; });
        }
        // The slot is ours until it is released below: no worker takes a claim that
        // maps to it before `delivered` moves past this one.
        bool written = true;
        const auto [first, count] = StripsOfClaim(claim, stripCount);
        for (uint32_t i = 0; i < count && written; ++i) {
            written = sink(first + i, slot.data.get() + i * stripCapacity_, slot.sizes[i]);
        }
        {
            std::lock_guard lock(mutex_);
            slot.ready = false;
            ++job_.delivered;
            if (!written) {
                job_.stop = true;
                result = Result::SinkFailed;
            }
        }
        workAvailable_.notify_one();  // one more claim may be taken
        if (!written) {
            break;
        }
    }

    std::unique_lock lock(mutex_);
    stripDone_.wait(lock, [this] { return job_.busy == 0; });
    job_.active = false;
    for (Slot& slot : slots_) {
        slot.ready = false;
    }
    return result;
}

}  // namespace vellumo::imaging
