#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/model/folder.hpp>
#include <kelvane/model/tarray.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "model/model_access.hpp"

namespace {

using kelvane::Folder;
using kelvane::TArray;
using kelvane::detail::ModelAccess;
using FolderPtr = std::shared_ptr<Folder>;

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// A list's contents as folder names, "-" for an absent element.
std::vector<std::string> namesOf(const TArray<Folder>& list) {
    std::vector<std::string> names;
    for (const auto& element : ModelAccess::items(list)) {
        names.push_back(element ? element->name() : "-");
    }
    return names;
}

class TArrayOfFolders : public ::testing::Test {
  protected:
    const FolderPtr a = std::make_shared<Folder>("a");
    const FolderPtr b = std::make_shared<Folder>("b");
    const FolderPtr c = std::make_shared<Folder>("c");
};

TEST_F(TArrayOfFolders, ReadsAbsentOutsideItsRange) {
    const TArray<Folder> empty;
    EXPECT_EQ(empty.count(), 0);
    for (const std::int64_t index :
         {std::int64_t{0}, std::int64_t{-1}, std::int64_t{5}, kMin, kMax}) {
        EXPECT_EQ(empty[index], nullptr) << index;
    }

    const TArray<Folder> list(std::vector<FolderPtr>{a, nullptr, b});
    EXPECT_EQ(list.count(), 3);
    const struct {
        std::int64_t index;
        FolderPtr expected;
    } reads[] = {{0, a},        {1, nullptr},    {2, b},         {3, nullptr},
                 {-1, nullptr}, {kMin, nullptr}, {kMax, nullptr}};
    for (const auto& read : reads) {
        EXPECT_EQ(list[read.index], read.expected) << read.index;
    }
}

TEST_F(TArrayOfFolders, FirstIndexFindsTheFirstEqualElementByIdentity) {
    const TArray<Folder> list(std::vector<FolderPtr>{a, nullptr, b, nullptr, a});
    EXPECT_EQ(list.firstIndex(a), 0);
    EXPECT_EQ(list.firstIndex(nullptr), 1);
    EXPECT_EQ(list.firstIndex(b), 2);
    EXPECT_EQ(list.firstIndex(c), std::nullopt);
    EXPECT_EQ(list.firstIndex(std::make_shared<Folder>("a")), std::nullopt)
        << "same name, other folder";
    EXPECT_EQ(TArray<Folder>(std::vector<FolderPtr>{a}).firstIndex(nullptr), std::nullopt);
}

// An insert or a removal at `at`, and the contents it leaves.
struct EditCase {
    const char* name;
    std::int64_t at;
    std::vector<std::string> expected;
};

class TArrayEdit : public TArrayOfFolders, public ::testing::WithParamInterface<EditCase> {};
class TArrayInsert : public TArrayEdit {};
class TArrayRemove : public TArrayEdit {};

TEST_P(TArrayInsert, PutsTheElementAtItsIndexOrChangesNothingOutsideTheRange) {
    TArray<Folder> list(std::vector<FolderPtr>{a, b});
    list.insert(c, GetParam().at);
    EXPECT_EQ(namesOf(list), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Folders, TArrayInsert,
                         ::testing::Values(EditCase{"AtStart", 0, {"c", "a", "b"}},
                                           EditCase{"Between", 1, {"a", "c", "b"}},
                                           EditCase{"AtCount", 2, {"a", "b", "c"}},
                                           EditCase{"PastCount", 3, {"a", "b"}},
                                           EditCase{"Negative", -1, {"a", "b"}},
                                           EditCase{"Lowest", kMin, {"a", "b"}},
                                           EditCase{"Highest", kMax, {"a", "b"}}),
                         kelvane::testing::caseName);

TEST_P(TArrayRemove, DropsTheElementAtItsIndexOrChangesNothingOutsideTheRange) {
    TArray<Folder> list(std::vector<FolderPtr>{a, nullptr, b});
    list.remove(GetParam().at);
    EXPECT_EQ(namesOf(list), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Folders, TArrayRemove,
                         ::testing::Values(EditCase{"First", 0, {"-", "b"}},
                                           EditCase{"Middle", 1, {"a", "b"}},
                                           EditCase{"Last", 2, {"a", "-"}},
                                           EditCase{"PastTheEnd", 3, {"a", "-", "b"}},
                                           EditCase{"Negative", -1, {"a", "-", "b"}},
                                           EditCase{"Lowest", kMin, {"a", "-", "b"}},
                                           EditCase{"Highest", kMax, {"a", "-", "b"}}),
                         kelvane::testing::caseName);

TEST_F(TArrayOfFolders, InsertAndRemoveOnAnEmptyList) {
    TArray<Folder> list;
    list.remove(0);
    EXPECT_EQ(list.count(), 0);
    list.insert(a, 1);
    EXPECT_EQ(list.count(), 0);
    list.insert(a, 0);
    EXPECT_EQ(namesOf(list), std::vector<std::string>{"a"});
}

TEST_F(TArrayOfFolders, CopiesTheListsItIsGiven) {
    std::vector<FolderPtr> source{a};
    TArray<Folder> list(source);
    source.push_back(b);
    EXPECT_EQ(namesOf(list), std::vector<std::string>{"a"});

    std::vector<FolderPtr> more{nullptr, c};
    list.appendFromArray(more);
    more.clear();
    list.append(nullptr);
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"a", "-", "c", "-"}));

    // Its own contents as the source: copied before they are added, not read while growing.
    list.appendFromArray(ModelAccess::items(list));
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"a", "-", "c", "-", "a", "-", "c", "-"}));
}

TEST_F(TArrayOfFolders, EqualityIsIdentityWhateverTheElements) {
    const auto first = std::make_shared<TArray<Folder>>(std::vector<FolderPtr>{a, b});
    const auto second = std::make_shared<TArray<Folder>>(std::vector<FolderPtr>{a, b});
    EXPECT_TRUE(*first == *first);
    EXPECT_FALSE(*first == *second);
    EXPECT_FALSE(TArray<Folder>() == TArray<Folder>());

    first->removeAll();
    EXPECT_EQ(first->count(), 0);
    EXPECT_EQ(ModelAccess::items(*first).capacity(), 0U) << "removeAll releases the storage";
    EXPECT_TRUE(*first == *first);
}

TEST_F(TArrayOfFolders, HoldersOfOneListSeeEveryChange) {
    // Two state values holding one list, as copies of a state do.
    struct StateLike {
        kelvane::Ref<TArray<Folder>> folders;
    };
    const StateLike before{kelvane::makeRef<TArray<Folder>>()};
    const StateLike after = before;
    after.folders->append(a);
    before.folders->insert(b, 0);
    EXPECT_EQ(namesOf(*before.folders), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(*before.folders == *after.folders);
}

TEST_F(TArrayOfFolders, HoldsItsElementsUntilDroppedOrRemoved) {
    auto folder = std::make_shared<Folder>();
    const std::weak_ptr<Folder> watch = folder;
    auto list = std::make_shared<TArray<Folder>>();
    list->append(folder);
    list->append(folder);
    folder.reset();
    list->remove(0);
    EXPECT_FALSE(watch.expired());
    list.reset();
    EXPECT_TRUE(watch.expired());
}

TEST(TArray, ValueElementsCompareWithTheirOwnEquality) {
    TArray<std::int64_t> numbers(std::vector<std::optional<std::int64_t>>{7, std::nullopt, 7});
    numbers.appendFromArray(std::vector<std::int64_t>{9});
    EXPECT_EQ(numbers.count(), 4);
    EXPECT_EQ(numbers[1], std::nullopt);
    EXPECT_EQ(numbers.firstIndex(7), 0);
    EXPECT_EQ(numbers.firstIndex(std::nullopt), 1);
    EXPECT_EQ(numbers.firstIndex(9), 3);
    EXPECT_EQ(numbers.firstIndex(8), std::nullopt);
}

TEST(TArray, PrintsItsClassNameWithTheElementType) {
    const auto list = std::make_shared<TArray<Folder>>();
    EXPECT_EQ(kelvane::printed(*list), "Kelvane.TArray<Kelvane.Folder>");
    EXPECT_EQ(kelvane::printed(list), "Optional(Kelvane.TArray<Kelvane.Folder>)");
    EXPECT_EQ(kelvane::printed(kelvane::Ref<TArray<Folder>>(list)),
              "Kelvane.TArray<Kelvane.Folder>");
}

}  // namespace
