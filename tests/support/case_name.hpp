#pragma once

// Names the cases of a parameterised test after the `name` field of their parameter, so that
// every build gives the same readable test names (for `ctest -R` and `--gtest_filter`):
//   INSTANTIATE_TEST_SUITE_P(Group, Suite, ::testing::Values(...), kelvane::testing::caseName);
// A name is letters, digits and underscores, as GoogleTest requires.

#include <string>

#include <gtest/gtest.h>

namespace kelvane::testing {

struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        return std::string(info.param.name);
    }
};

inline constexpr CaseName caseName;

}  // namespace kelvane::testing
