#include <atomic>
#include <future>
#include <thread>
#include <vector>

#include <kelvane/store/synchronized.hpp>

#include <gtest/gtest.h>

namespace {

TEST(Synchronized, WritesAreExclusiveAndVisibleToEveryThread) {
    kelvane::Synchronized<std::int64_t> cell(0);
    constexpr int kThreads = 8;
    constexpr int kIncrements = 20000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&cell] {
            for (int i = 0; i < kIncrements; ++i) {
                // A read-modify-write inside one write: a lost update would show in the total.
                cell.write([](std::int64_t& value) { ++value; });
                (void)cell.read();
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(cell.read(), kThreads * kIncrements);
}

TEST(Synchronized, ReadsDoNotWaitForAWriteOnAnotherCell) {
    kelvane::Synchronized<int> slow(0);
    kelvane::Synchronized<int> other(5);
    std::promise<void> writing;
    std::promise<void> release;
    auto released = release.get_future().share();
    std::thread writer([&] {
        slow.write([&](int& value) {
            writing.set_value();
            released.wait();
            value = 1;
        });
    });
    writing.get_future().wait();
    // The write on `slow` is still running; `other` answers at once.
    EXPECT_EQ(other.read(), 5);
    other.write([](int& value) { value = 6; });
    EXPECT_EQ(other.read(), 6);
    release.set_value();
    writer.join();
    EXPECT_EQ(slow.read(), 1);
}

TEST(Synchronized, ReadsWaitForARunningWriteOnTheSameCell) {
    kelvane::Synchronized<int> cell(0);
    std::promise<void> writing;
    std::atomic<bool> writeDone{false};
    std::thread writer([&] {
        cell.write([&](int& value) {
            writing.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            value = 7;
            writeDone = true;
        });
    });
    writing.get_future().wait();
    const int seen = cell.read();
    EXPECT_TRUE(writeDone.load());
    EXPECT_EQ(seen, 7);
    writer.join();
}

}  // namespace
