#include <any>
#include <cstdint>
#include <optional>
#include <string>

#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/ui_view.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using kelvane::platform::Bundle;

std::optional<std::string> stringValue(const Bundle& bundle, const std::string& key) {
    const auto value = bundle.objectForInfoDictionaryKey(key);
    const auto* text = std::any_cast<std::string>(&value);
    return text != nullptr ? std::optional(*text) : std::nullopt;
}

TEST(Bundle, FrameworkBundleCarriesVersionAndBuildNumberAsStrings) {
    const auto bundle = Bundle::framework();
    ASSERT_EQ(bundle, Bundle::framework()) << "one framework bundle";
    const auto version = stringValue(*bundle, "CFBundleShortVersionString");
    ASSERT_TRUE(version.has_value());
    EXPECT_THAT(*version, ::testing::MatchesRegex(R"([0-9]+\.[0-9]+\.[0-9]+)"));
    const auto build = stringValue(*bundle, "CFBundleVersion");
    ASSERT_TRUE(build.has_value());
    EXPECT_FALSE(build->empty());
}

TEST(Bundle, HostBundlesKeepTheirValuesAndTextsAsStrings) {
    const Bundle bundle(Bundle::InfoDictionary{
        {"CFBundleShortVersionString", "2.4"},  // a C string literal
        {"CFBundleVersion", std::int64_t{37}},
        {"Name", std::string("Host")},
    });
    EXPECT_EQ(stringValue(bundle, "CFBundleShortVersionString"), "2.4");
    EXPECT_EQ(stringValue(bundle, "Name"), "Host");
    EXPECT_EQ(std::any_cast<std::int64_t>(bundle.objectForInfoDictionaryKey("CFBundleVersion")),
              37);
    EXPECT_FALSE(bundle.objectForInfoDictionaryKey("Missing").has_value());

    const Bundle without;
    EXPECT_FALSE(without.infoDictionary().has_value());
    EXPECT_FALSE(without.objectForInfoDictionaryKey("CFBundleVersion").has_value());
}

}  // namespace

namespace {

using kelvane::Object;
using kelvane::platform::UINib;
using kelvane::platform::UIView;

UINib::Builder builderOf(std::shared_ptr<UIView> view) {
    return [view](Object*) -> std::vector<std::shared_ptr<Object>> { return {view}; };
}

TEST(BundleNibs, NibsAreLookedUpWhenInstantiated) {
    auto bundle = std::make_shared<Bundle>();
    const auto nib = UINib::nibWithNibName("Cell", bundle);
    EXPECT_TRUE(nib->instantiateWithOwner(nullptr).empty()) << "not registered yet";

    const auto first = std::make_shared<UIView>();
    const auto second = std::make_shared<UIView>();
    bundle->registerNib("Cell", builderOf(first));
    EXPECT_EQ(nib->instantiateWithOwner(nullptr), std::vector<std::shared_ptr<Object>>{first});
    bundle->registerNib("Cell", builderOf(second));
    EXPECT_EQ(nib->instantiateWithOwner(nullptr), std::vector<std::shared_ptr<Object>>{second});

    Bundle::main()->registerNib("BundleNibsMainOnly", builderOf(first));
    EXPECT_EQ(UINib::nibWithNibName("BundleNibsMainOnly", nullptr)->bundle(), Bundle::main());
    EXPECT_EQ(
        UINib::nibWithNibName("BundleNibsMainOnly", nullptr)->instantiateWithOwner(nullptr).size(),
        1U);
}

}  // namespace
