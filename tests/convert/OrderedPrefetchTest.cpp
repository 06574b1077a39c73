// The prefetch stage: strict order, bounded look-ahead, cancelling, same results for any
// number of helper threads.
#include "convert/OrderedPrefetch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace vellumo::convert {
namespace {

// Items that finish in a scrambled order, so that order must be restored by the stage.
int SlowSquare(size_t i) {
    std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 13 * 150));
    return static_cast<int>(i * i);
}

class PrefetchHelpers : public ::testing::TestWithParam<int> {};

TEST_P(PrefetchHelpers, HandsItemsOverInIndexOrder) {
    OrderedPrefetch<int> stage(50, SlowSquare, GetParam(), static_cast<size_t>(GetParam()) + 1);
    for (size_t i = 0; i < 50; ++i) {
        const auto item = stage.Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_EQ(*item, static_cast<int>(i * i));
    }
    EXPECT_FALSE(stage.Next().has_value());
}

TEST_P(PrefetchHelpers, NeverHoldsMoreThanTheLookAhead) {
    const size_t ahead = 2;
    std::atomic<int> alive{0};
    std::atomic<int> peak{0};
    struct Counted {
        std::atomic<int>* alive = nullptr;
        Counted() = default;
        explicit Counted(std::atomic<int>* a) : alive(a) { ++*alive; }
        Counted(Counted&& o) noexcept : alive(o.alive) { o.alive = nullptr; }
        Counted& operator=(Counted&& o) noexcept {
            std::swap(alive, o.alive);
            return *this;
        }
        ~Counted() {
            if (alive) {
                --*alive;
            }
        }
    };
    OrderedPrefetch<Counted> stage(
        40,
        [&](size_t) {
            Counted c(&alive);
            int seen = alive.load();
            int old = peak.load();
            while (seen > old && !peak.compare_exchange_weak(old, seen)) {
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return c;
        },
        GetParam(), ahead);
    for (int i = 0; i < 40; ++i) {
        auto item = stage.Next();
        ASSERT_TRUE(item.has_value());
        EXPECT_LE(stage.InFlight(), ahead);
        std::this_thread::sleep_for(std::chrono::microseconds(500));  // a slow consumer
    }
    // The one held by the consumer plus at most `ahead` made beyond it.
    EXPECT_LE(peak.load(), static_cast<int>(ahead) + 1);
    EXPECT_EQ(alive.load(), 0);
}

TEST_P(PrefetchHelpers, CancelStopsMakingItemsAndReturnsNothingMore) {
    std::atomic<int> made{0};
    {
        OrderedPrefetch<int> stage(
            1000,
            [&](size_t i) {
                ++made;
                return static_cast<int>(i);
            },
            GetParam(), 3);
        ASSERT_EQ(stage.Next(), 0);
        ASSERT_EQ(stage.Next(), 1);
        stage.Cancel();
        EXPECT_FALSE(stage.Next().has_value());
    }
    EXPECT_LE(made.load(), 2 + 3);
}

INSTANTIATE_TEST_SUITE_P(Threads, PrefetchHelpers, ::testing::Values(0, 1, 2, 3));

TEST(Prefetch, EmptyStageGivesNothing) {
    OrderedPrefetch<int> stage(
        0, [](size_t) { return 1; }, 2, 2);
    EXPECT_FALSE(stage.Next().has_value());
}

}  // namespace
}  // namespace vellumo::convert
