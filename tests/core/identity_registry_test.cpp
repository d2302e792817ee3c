// The ordered identity registry under the store's subscriptions and the event centre's handlers:
// every walk visits exactly the entries it began with, however the registry changes meanwhile;
// the lists alive are the current one and at most one per walk under way; and nothing it hands
// back or a walk kept is released while the registry is inconsistent.
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

// Every list of the registry holds its own copy of an entry that is never removed or replaced, so
// that entry's count of owners, less the caller's, is the number of lists alive.
long listsAlive(const std::shared_ptr<const std::string>& everywhere) {
    return everywhere.use_count() - 1;
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
    std::vector<std::weak_ptr<const std::string>> before;
    for (const auto& entry : registry.entries()) {
        before.push_back(entry);
    }
    // Changed after e0 was visited, before e1 and e2.
    const auto visited = walk(registry, 0, [&] { GetParam().change(registry, keys); });
    EXPECT_THAT(visited, ElementsAre("e0", "e1", "e2"));
    EXPECT_THAT(namesIn(registry), ElementsAreArray(GetParam().after));
    EXPECT_THAT(walk(registry, 99, [] {}), ElementsAreArray(GetParam().after));
    // What the walk kept died with it: what is left is held once, by the current list.
    for (const auto& entry : before) {
        const long owners = entry.use_count();
        const auto kept = entry.lock();
        const auto& after = GetParam().after;
        const bool listed = kept && std::ranges::find(after, *kept) != after.end();
        EXPECT_EQ(owners, listed ? 1 : 0) << (kept ? *kept : "a released entry");
    }
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
};

INSTANTIATE_TEST_SUITE_P(Registry, ChangeDuringWalk, ::testing::ValuesIn(kDuringWalk),
                         kelvane::testing::caseName);

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

// An entry that counts the copies made of any entry, so that a test sees what the registry copies.
struct Copied {
    std::shared_ptr<const std::string> name;

    Copied() = default;
    explicit Copied(std::shared_ptr<const std::string> name) : name(std::move(name)) {}
    Copied(const Copied& other) : name(other.name) { ++copies(); }
    Copied(Copied&&) noexcept = default;
    Copied& operator=(const Copied& other) {
        name = other.name;
        ++copies();
        return *this;
    }
    Copied& operator=(Copied&&) noexcept = default;
    ~Copied() = default;

    static long& copies() {
        static long count = 0;
        return count;
    }
};

using CopyingRegistry = kelvane::detail::IdentityRegistry<Copied>;

// From inside one walk, K times: a nested walk, then a removal. The first removal copies the
// outer walk's list; every later one finds the current list free again (the nested walk has
// ended) and changes it in place. With the removal inside the nested walk instead, each nested
// walk costs one copy of its own list, which dies with it.
TEST(IdentityRegistry, KeepsOneListPerWalkUnderWayAndCopiesAtMostOncePerWalk) {
    constexpr std::size_t kEntries = 300;
    constexpr std::size_t kRounds = 100;
    const Keys keys(kEntries + 1);
    CopyingRegistry registry;
    const auto everywhere = named("everywhere");
    registry.put(keys[kEntries], Copied(everywhere));
    for (std::size_t i = 0; i < kEntries; ++i) {
        registry.put(keys[i], Copied(named("e" + std::to_string(i))));
    }
    ASSERT_EQ(listsAlive(everywhere), 1);

    Copied::copies() = 0;
    {
        const CopyingRegistry::Walk outer(registry);
        for (std::size_t round = 0; round < kRounds; ++round) {
            {
                const CopyingRegistry::Walk nested(registry);
                ASSERT_LE(listsAlive(everywhere), 2) << "round " << round;
            }
            registry.remove(keys[round]);
            ASSERT_LE(listsAlive(everywhere), 2) << "round " << round;
        }
        EXPECT_EQ(outer.size(), kEntries + 1) << "the outer walk's list is unchanged";
    }
    EXPECT_EQ(listsAlive(everywhere), 1);
    EXPECT_EQ(Copied::copies(), static_cast<long>(kEntries + 1)) << "one copy, of the outer list";

    Copied::copies() = 0;
    {
        const CopyingRegistry::Walk outer(registry);
        for (std::size_t round = kRounds; round < 2 * kRounds; ++round) {
            {
                const CopyingRegistry::Walk nested(registry);
                registry.remove(keys[round]);
                ASSERT_LE(listsAlive(everywhere), 3) << "round " << round;
            }
            ASSERT_LE(listsAlive(everywhere), 2) << "round " << round;
        }
    }
    EXPECT_EQ(listsAlive(everywhere), 1);
    EXPECT_LE(Copied::copies(), static_cast<long>(kRounds * (kEntries + 1)))
        << "at most one copy per nested walk, of its own list";
    EXPECT_EQ(registry.size(), kEntries + 1 - 2 * kRounds);
}

// Random puts, replacements and removals, with walks nested at random inside each other and
// changes at random points along each walk; checked against a plain list after every step. Every
// walk must visit exactly the list as it stood when it began, and the lists alive must be at most
// one per walk under way, plus the current one.
TEST(IdentityRegistry, AgreesWithAPlainListUnderNestedWalks) {
    constexpr std::size_t kKeys = 48;
    const Keys keys(kKeys + 1);
    Registry registry;
    struct Listed {
        std::size_t key;
        std::shared_ptr<const std::string> entry;
    };
    // Never removed or replaced: it counts the lists alive.
    const auto everywhere = named("everywhere");
    registry.put(keys[kKeys], everywhere);
    std::vector<Listed> model{{kKeys, named("everywhere")}};
    std::mt19937 random(7);
    int version = 0;
    long walksUnderWay = 0;
    std::size_t walksChecked = 0;
    std::size_t stepsChecked = 0;

    const auto namesInModel = [&] {
        std::vector<std::string> names;
        for (const Listed& each : model) {
            names.push_back(*each.entry);
        }
        return names;
    };
    const auto checkStep = [&] {
        ASSERT_EQ(namesIn(registry), namesInModel());
        ASSERT_EQ(registry.size(), model.size());
        ASSERT_LE(listsAlive(everywhere), walksUnderWay + 1);
        ++stepsChecked;
    };

    std::function<void(int)> changeAndWalk = [&](int depth) {
        const int steps = static_cast<int>(random() % 24);
        for (int step = 0; step < steps; ++step) {
            const std::size_t key = random() % kKeys;
            const auto listed = std::ranges::find(model, key, &Listed::key);
            switch (random() % 5) {
                case 0:
                case 1: {
                    auto entry = named("k" + std::to_string(key) + "v" + std::to_string(version++));
                    registry.put(keys[key], entry);
                    if (listed == model.end()) {
                        model.push_back({key, entry});
                    } else {
                        listed->entry = entry;
                    }
                    break;
                }
                case 2:
                    registry.remove(keys[key]);
                    if (listed != model.end()) {
                        model.erase(listed);
                    }
                    break;
                case 3: {
                    // A walk begins here; it must see the list as it is now, entry by entry.
                    if (depth >= 3) {
                        break;
                    }
                    const std::vector<std::string> expected = namesInModel();
                    std::size_t visited = 0;
                    {
                        const Registry::Walk walking(registry);
                        ++walksUnderWay;
                        for (std::size_t i = 0; i < walking.size(); ++i) {
                            if (const auto* entry = walking.at(i)) {
                                ASSERT_LT(visited, expected.size());
                                ASSERT_EQ(**entry, expected[visited]);
                                ++visited;
                            }
                            // Changes, and walks nested deeper, at about two points of the walk.
                            if (random() % (walking.size() / 2 + 1) == 0) {
                                changeAndWalk(depth + 1);
                            }
                        }
                        --walksUnderWay;
                    }
                    ASSERT_EQ(visited, expected.size());
                    ++walksChecked;
                    break;
                }
                default:
                    break;
            }
            checkStep();
        }
    };
    for (int round = 0; round < 200; ++round) {
        changeAndWalk(0);
    }
    EXPECT_EQ(listsAlive(everywhere), 1);
    EXPECT_GT(walksChecked, 200U);
    EXPECT_GT(stepsChecked, 10000U);
}

}  // namespace
