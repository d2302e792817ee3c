#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <kelvane/platform/dispatch_queue.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using kelvane::platform::DispatchQueue;
using ::testing::ElementsAre;

TEST(DispatchQueue, BlocksRunOnlyWhenDrainedInOrderIncludingNestedOnes) {
    DispatchQueue queue;
    std::vector<std::string> ran;
    queue.async([&] {
        ran.emplace_back("first");
        queue.async([&] { ran.emplace_back("nested"); });
    });
    queue.async([&] { ran.emplace_back("second"); });
    queue.async({});
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(queue.pending(), 2U);
    EXPECT_EQ(queue.drain(), 3U);
    EXPECT_THAT(ran, ElementsAre("first", "second", "nested"));
    EXPECT_EQ(queue.drain(), 0U);
}

TEST(DispatchQueue, EnqueueingFromManyThreadsLosesNothing) {
    DispatchQueue queue;
    int ran = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&queue, &ran] {
            for (int i = 0; i < 1000; ++i) {
                queue.async([&ran] { ++ran; });
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(queue.drain(), 8000U);
    EXPECT_EQ(ran, 8000);
}

TEST(DispatchQueue, TheMainQueueTakesBlocksFromManyThreadsWhileItIsDrained) {
    constexpr int threadCount = 4;
    constexpr int blocksPerThread = 1000;
    DispatchQueue& queue = DispatchQueue::main();
    queue.drain();
    // Only the draining thread touches these, from the blocks.
    std::vector<std::vector<int>> ran(threadCount);
    std::atomic<int> enqueueing{threadCount};
    std::size_t drained = 0;
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < blocksPerThread; ++i) {
                    DispatchQueue::main().async([&ran, t, i] { ran[t].push_back(i); });
                }
                --enqueueing;
            });
        }
        while (enqueueing > 0) {
            drained += queue.drain();
        }
    }
    drained += queue.drain();

    EXPECT_EQ(drained, std::size_t{threadCount * blocksPerThread});
    std::vector<int> inOrder(blocksPerThread);
    for (int i = 0; i < blocksPerThread; ++i) {
        inOrder[i] = i;
    }
    for (const auto& blocks : ran) {
        EXPECT_EQ(blocks, inOrder);
    }
}

}  // namespace
