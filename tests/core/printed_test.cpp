#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/core/printed.hpp>
#include <kelvane/store/action.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "case_name.hpp"

namespace kelvane {
// A reference type of the framework's own namespace, printed as Kelvane.<Name>.
class PrintedTestObject final : public Object {};
}  // namespace kelvane

namespace {

using kelvane::printed;
using ::testing::MatchesRegex;

class Described final : public kelvane::Object {
  public:
    std::string description() const override { return "described"; }
};

struct Empty {};
KELVANE_RECORD(Empty, ())

struct Inner {
    std::int64_t value = 0;
};
KELVANE_RECORD(Inner, (value))

struct Sample {
    std::int64_t number = -7;
    bool flag = true;
    std::string text = "a\"b";
    std::optional<std::int64_t> maybe;
    std::optional<std::string> maybeText = "x";
    std::vector<std::int64_t> list{1, 2};
    std::optional<std::vector<std::int64_t>> maybeList = std::vector<std::int64_t>{};
    Inner inner;
};
KELVANE_RECORD(Sample, (number, flag, text, maybe, maybeText, list, maybeList, inner))

struct ResumeLike final : kelvane::Action {};

TEST(PrintedForm, Scalars) {
    EXPECT_EQ(printed(std::int64_t{42}), "42");
    EXPECT_EQ(printed(std::int64_t{-9223372036854775807 - 1}), "-9223372036854775808");
    EXPECT_EQ(printed(true), "true");
    EXPECT_EQ(printed(false), "false");
    EXPECT_EQ(printed(1.5), "1.5");
    EXPECT_EQ(printed(2.0), "2.0");
    EXPECT_EQ(printed("text"), R"("text")");
    EXPECT_EQ(printed(static_cast<const char*>(nullptr)), "nil");
}

struct QuotedCase {
    const char* name;
    std::string input;
    std::string expected;
    friend void PrintTo(const QuotedCase& c, std::ostream* out) { *out << c.name; }
};

class QuotedText : public ::testing::TestWithParam<QuotedCase> {};

TEST_P(QuotedText, EscapesAsDocumented) {
    EXPECT_EQ(printed(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    PrintedForm, QuotedText,
    ::testing::Values(QuotedCase{"Empty", "", R"("")"}, QuotedCase{"Plain", "plain", R"("plain")"},
                      QuotedCase{"Backslash", "back\\slash", R"("back\\slash")"},
                      QuotedCase{"Apostrophe", "it's", R"("it\'s")"},
                      QuotedCase{"DoubleQuotes", "say \"hi\"", R"("say \"hi\"")"},
                      QuotedCase{"LineBreaksAndTab", "a\nb\rc\td", R"("a\nb\rc\td")"},
                      QuotedCase{"Nul", std::string("nul\0end", 7), R"("nul\0end")"},
                      QuotedCase{"Bell", "bell\x07", R"("bell\u{7}")"},
                      QuotedCase{"Escape", "esc\x1b", R"("esc\u{1b}")"},
                      QuotedCase{"Delete", "del\x7f", R"("del\u{7f}")"},
                      QuotedCase{"NonAscii", "caf\xc3\xa9", "\"caf\xc3\xa9\""}),
    kelvane::testing::caseName);

TEST(PrintedForm, OptionalsAndLists) {
    EXPECT_EQ(printed(std::optional<std::int64_t>{}), "nil");
    EXPECT_EQ(printed(std::optional<std::int64_t>{3}), "Optional(3)");
    EXPECT_EQ(printed(std::optional<std::optional<bool>>{std::optional<bool>{}}), "Optional(nil)");
    EXPECT_EQ(printed(std::vector<std::int64_t>{}), "[]");
    EXPECT_EQ(printed(std::vector<std::string>{"a", "b"}), R"(["a", "b"])");
    EXPECT_EQ(printed(std::optional<std::vector<std::int64_t>>{std::vector<std::int64_t>{}}),
              "Optional([])");
}

TEST(PrintedForm, RecordsListFieldsInDeclarationOrder) {
    EXPECT_EQ(printed(Empty{}), "Empty()");
    EXPECT_EQ(
        printed(Sample{}),
        R"(Sample(number: -7, flag: true, text: "a\"b", maybe: nil, maybeText: Optional("x"), )"
        R"(list: [1, 2], maybeList: Optional([]), inner: Inner(value: 0)))");
}

TEST(PrintedForm, ObjectsByDescription) {
    auto object = std::make_shared<kelvane::PrintedTestObject>();
    const std::string expected =
        "<Kelvane.PrintedTestObject: " + kelvane::hexAddress(object.get()) + ">";
    EXPECT_EQ(object->description(), expected);
    EXPECT_THAT(expected, MatchesRegex("<Kelvane\\.PrintedTestObject: 0x[0-9a-f]+>"));

    // A shared_ptr may be absent, so it prints as an optional; a Ref never is.
    EXPECT_EQ(printed(object), "Optional(" + expected + ")");
    EXPECT_EQ(printed(std::shared_ptr<kelvane::PrintedTestObject>{}), "nil");
    EXPECT_EQ(printed(kelvane::Ref<kelvane::PrintedTestObject>(object)), expected);
    EXPECT_EQ(printed(std::vector<kelvane::Ref<kelvane::PrintedTestObject>>{object, object}),
              "[" + expected + ", " + expected + "]");
    EXPECT_EQ(printed(std::make_shared<Described>()), "Optional(described)");
}

TEST(PrintedForm, ActionsPrintThroughTheirDynamicType) {
    const kelvane::StoreInit init;
    const kelvane::Action& asAction = init;
    EXPECT_EQ(printed(asAction), "StoreInit()");
    // A plain class without a printed form of its own: its module-qualified name, here of a
    // type outside the framework's namespace.
    const ResumeLike resume;
    EXPECT_THAT(printed(static_cast<const kelvane::Action&>(resume)),
                ::testing::EndsWith(".ResumeLike"));
}

TEST(Identity, SameObjectThroughTwoBasesIsOneObject) {
    struct Left : kelvane::Object {};
    struct Right {
        virtual ~Right() = default;
    };
    struct Both final : Left, Right {};
    auto both = std::make_shared<Both>();
    const Left* left = both.get();
    const Right* right = both.get();
    EXPECT_EQ(kelvane::identityOf(left), kelvane::identityOf(right));
    EXPECT_TRUE(left->isEqual(both.get()));
    EXPECT_FALSE(left->isEqual(std::make_shared<Both>().get()));
    EXPECT_FALSE(left->isEqual(nullptr));
}

}  // namespace
