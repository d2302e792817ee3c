#pragma once

// Names the cases of a parameterised test after the `name` field of their parameter, so that
// every build gives the same readable test names (for `ctest -R` and `--gtest_filter`):
//   INSTANTIATE_TEST_SUITE_P(Group, Suite, ::testing::Values(...), kelvane::testing::caseName);
// The name keeps the letters, digits and underscores of the field, as GoogleTest requires, so
// a field may be a short sentence ("no current recording: title" names NocurrentrecordingTitle).

#include <cctype>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace kelvane::testing {

struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        std::string name;
        for (const char c : std::string_view(info.param.name)) {
            if (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_') {
                name += c;
            }
        }
        return name;
    }
};

inline constexpr CaseName caseName;

}  // namespace kelvane::testing
