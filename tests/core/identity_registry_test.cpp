// The ordered identity registry under the store's subscriptions and the event centre's handlers:
// every walk visits exactly the entries it began with, however the registry changes meanwhile,
// and nothing it hands back or keeps for a walk is released while the registry is inconsistent.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <kelvane/core/detail/identity_registry.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Entries are names; the identities are the addresses of a fixed set of keys.
using Registry = kelvane::detail::IdentityRegistry<std::shared_ptr<const std::string>>;

class Keys {
  public:
    explicit Keys(std::size_t count) : keys_(count) {}
    const void* operator[](std::size_t i) const { return &keys_[i]; }

  private:
    std::vector<char> keys_;
};

std::shared_ptr<const std::string> named(std::string name) {
    return std::make_shared<const std::string>(std::move(name));
}

std::vector<std::string> namesIn(const Registry& registry) {
    std::vector<std::string> names;
    for (const auto& entry : registry.entries()) {
        names.push_back(*entry);
    }
    return names;
}

// Walks the registry, calling `during` after the entry at `when` was read, and returns the names
// the walk visited.
std::vector<std::string> walk(Registry& registry, std::size_t when,
                              const std::function<void()>& during) {
    std::vector<std::string> visited;
    const Registry::Walk walking(registry);
    for (std::size_t i = 0; i < walking.size(); ++i) {
        if (const auto* entry = walking.at(i)) {
            visited.push_back(**entry);
        }
        if (i == when) {
            during();
        }
    }
    return visited;
}

struct DuringWalk {
    const char* name;
    std::function<void(Registry&, const Keys&)> change;
    std::vector<std::string> after;  // the registry once the walk is over
};

class ChangeDuringWalk : public ::testing::TestWithParam<DuringWalk> {};

TEST_P(ChangeDuringWalk, TheWalkSeesWhatItBeganWithAndTheRegistryTheChange) {
    const Keys keys(4);
    Registry registry;
    for (std::size_t i = 0; i < 3; ++i) {
        registry.put(keys[i], named("e" + std::to_string(i)));
    }
    // Changed after e0 was visited, before e1 and e2.
    const auto visited = walk(registry, 0, [&] { GetParam().change(registry, keys); });
    EXPECT_THAT(visited, ElementsAre("e0", "e1", "e2"));
    EXPECT_THAT(namesIn(registry), ElementsAreArray(GetParam().after));
    EXPECT_THAT(walk(registry, 99, [] {}), ElementsAreArray(GetParam().after));
}

const DuringWalk kDuringWalk[] = {
    {"RemoveOneAlreadyVisited", [](Registry& r, const Keys& k) { r.remove(k[0]); }, {"e1", "e2"}},
    {"RemoveOneNotYetVisited", [](Registry& r, const Keys& k) { r.remove(k[2]); }, {"e0", "e1"}},
    {"ReplaceOneNotYetVisited",
     [](Registry& r, const Keys& k) { r.put(k[1], named("new e1")); },
     {"e0", "new e1", "e2"}},
    {"PutANewOne",
     [](Registry& r, const Keys& k) { r.put(k[3], named("e3")); },
     {"e0", "e1", "e2", "e3"}},
    {"AddLeavesAnExistingEntryAsItIs",
     [](Registry& r, const Keys& k) {
         EXPECT_FALSE(r.add(k[1], named("not e1")));
         EXPECT_TRUE(r.add(k[3], named("e3")));
     },
     {"e0", "e1", "e2", "e3"}},
    {"RemoveAllThenPutOneBack",
     [](Registry& r, const Keys& k) {
         for (std::size_t i = 0; i < 3; ++i) {
             r.remove(k[i]);
         }
         r.put(k[1], named("back"));
     },
     {"back"}},
    {"KeepOneThatIsNotDead",
     [](Registry& r, const Keys& k) { r.removeDead(k[1], [](const auto&) { return false; }); },
     {"e0", "e1", "e2"}},
};

INSTANTIATE_TEST_SUITE_P(Registry, ChangeDuringWalk, ::testing::ValuesIn(kDuringWalk),
                         kelvane::testing::caseName);

TEST(IdentityRegistry, ADeadEntryDroppedDuringAWalkIsAHoleToIt) {
    const Keys keys(3);
    Registry registry;
    for (std::size_t i = 0; i < 3; ++i) {
        registry.put(keys[i], named("e" + std::to_string(i)));
    }
    const auto visited =
        walk(registry, 0, [&] { registry.removeDead(keys[1], [](const auto&) { return true; }); });
    EXPECT_THAT(visited, ElementsAre("e0", "e2"));
}

// An entry whose destructor calls back into the registry, as a released handler may call its
// event centre.
struct CallsBack {
    std::function<void()> onDestroy;
    ~CallsBack() {
        if (onDestroy) {
            onDestroy();
        }
    }
};

TEST(IdentityRegistry, WhatAWalkKeptIsReleasedOnlyOnceTheRegistryIsConsistent) {
    const Keys keys(8);
    kelvane::detail::IdentityRegistry<std::shared_ptr<CallsBack>> registry;
    for (std::size_t i = 0; i < 6; ++i) {
        registry.put(keys[i], std::make_shared<CallsBack>());
    }
    std::vector<std::size_t> sizesSeen;
    (*registry.find(keys[0]))->onDestroy = [&] {
        // Reaches into the registry from the destructor: finds, removes and puts.
        sizesSeen.push_back(registry.size());
        if (registry.find(keys[1]) != nullptr) {
            registry.remove(keys[1]);
        }
        registry.put(keys[7], std::make_shared<CallsBack>());
    };
    {
        const decltype(registry)::Walk walking(registry);
        // Handed back and dropped at once: the walk still holds the entry.
        registry.remove(keys[0]);
        EXPECT_THAT(sizesSeen, ::testing::IsEmpty());
    }
    // Released as the walk ended, with the registry consistent again.
    EXPECT_THAT(sizesSeen, ElementsAre(5U));
    EXPECT_EQ(registry.find(keys[0]), nullptr);
    EXPECT_EQ(registry.find(keys[1]), nullptr);
    EXPECT_NE(registry.find(keys[7]), nullptr);
    EXPECT_EQ(registry.size(), 5U);
    EXPECT_EQ(static_cast<std::size_t>(
                  std::distance(registry.entries().begin(), registry.entries().end())),
              registry.size());
}

// Random puts, replacements and removals, with walks nested at random inside each other; checked
// against a plain list. Every walk must visit exactly the list as it stood when it began.
TEST(IdentityRegistry, AgreesWithAPlainListUnderNestedWalks) {
    constexpr std::size_t kKeys = 48;
    const Keys keys(kKeys);
    Registry registry;
    struct Listed {
        std::size_t key;
        std::shared_ptr<const std::string> entry;
    };
    std::vector<Listed> model;
    std::mt19937 random(7);
    int version = 0;
    std::size_t walksChecked = 0;

    std::function<void(int)> changeAndWalk = [&](int depth) {
        const int steps = static_cast<int>(random() % 40);
        for (int step = 0; step < steps; ++step) {
            const std::size_t key = random() % kKeys;
            const auto listed = std::ranges::find(model, key, &Listed::key);
            switch (random() % 4) {
                case 0: {
                    auto entry = named("k" + std::to_string(key) + "v" + std::to_string(version++));
                    registry.put(keys[key], entry);
                    if (listed == model.end()) {
                        model.push_back({key, entry});
                    } else {
                        listed->entry = entry;
                    }
                    break;
                }
                case 1:
                    registry.remove(keys[key]);
                    if (listed != model.end()) {
                        model.erase(listed);
                    }
                    break;
                case 2: {
                    // A walk begins here; it must see the list as it is now.
                    if (depth >= 3) {
                        break;
                    }
                    std::vector<std::string> expected;
                    for (const Listed& each : model) {
                        expected.push_back(*each.entry);
                    }
                    std::vector<std::string> visited;
                    const Registry::Walk walking(registry);
                    // Changes, and walks nested deeper, once somewhere along this walk.
                    const std::size_t when = random() % (walking.size() + 1);
                    for (std::size_t i = 0; i < walking.size(); ++i) {
                        if (const auto* entry = walking.at(i)) {
                            visited.push_back(**entry);
                        }
                        if (i == when) {
                            changeAndWalk(depth + 1);
                        }
                    }
                    ASSERT_EQ(visited, expected);
                    ++walksChecked;
                    break;
                }
                default:
                    break;
            }
        }
        std::vector<std::string> now;
        for (const Listed& each : model) {
            now.push_back(*each.entry);
        }
        ASSERT_EQ(namesIn(registry), now);
        ASSERT_EQ(registry.size(), model.size());
    };
    for (int round = 0; round < 200; ++round) {
        changeAndWalk(0);
    }
    EXPECT_GT(walksChecked, 200U);
}

}  // namespace
