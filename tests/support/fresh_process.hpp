#pragma once

// Runs a check in a new run of the test program (only the current test runs there), for what
// happens once per process: the first use of a shared instance. `check` returns what went wrong,
// or an empty text when all is well.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace kelvane::testing {

inline void expectInFreshProcess(const std::function<std::string()>& check) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string failure = check();
            std::fputs(failure.c_str(), stderr);
            std::_Exit(failure.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace kelvane::testing
