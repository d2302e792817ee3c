// The shared store's holder under threads: reads and replacements from several threads at once.
#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include <kelvane/state.hpp>

#include <gtest/gtest.h>

#include "state/reducers.hpp"
#include "state_test_support.hpp"

namespace {

using kelvane::AppStore;

TEST(SharedStoreThreads, ReadsWhileAnotherThreadReplacesItAlwaysFindAnInstalledStore) {
    const statetest::LogReader log;
    const auto original = kelvane::store();
    std::vector<std::shared_ptr<AppStore>> replacements;
    std::set<const AppStore*> installed{original.get()};
    for (int i = 0; i < 4; ++i) {
        replacements.push_back(AppStore::make(kelvane::appReducer));
        installed.insert(replacements.back().get());
    }

    std::atomic<bool> replacing{true};
    std::atomic<int> strangers{0};
    {
        std::vector<std::jthread> readers;
        for (int t = 0; t < 4; ++t) {
            readers.emplace_back([&] {
                while (replacing) {
                    const auto seen = kelvane::store();
                    if (!installed.contains(seen.get()) || !seen->state()) {
                        ++strangers;
                    }
                }
            });
        }
        for (int round = 0; round < 400; ++round) {
            kelvane::setStore(replacements[round % replacements.size()]);
        }
        replacing = false;
    }

    EXPECT_EQ(strangers, 0);
    EXPECT_EQ(kelvane::store(), replacements[399 % replacements.size()]);
    kelvane::setStore(original);
}

}  // namespace
