#include <kelvane/store/assertions.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "store_test_support.hpp"

namespace {

using storetest::HaltRecorder;

TEST(Assertions, ReplacedHookIsCalledOnceAndTheCallerNeverContinues) {
    HaltRecorder recorder;
    const auto halt =
        recorder.runExpectingHalt([] { kelvane::haltWithFatalError("boom", "some/file.cpp", 42); });
    ASSERT_TRUE(halt.has_value());
    EXPECT_EQ(halt->message, "boom");
    EXPECT_EQ(halt->file, "some/file.cpp");
    EXPECT_EQ(halt->line, 42U);
    EXPECT_EQ(recorder.count(), 1U);
}

TEST(Assertions, SourceLocationFormNamesTheCaller) {
    HaltRecorder recorder;
    std::uint32_t expectedLine = 0;
    const auto halt = recorder.runExpectingHalt([&expectedLine] {
        expectedLine = __LINE__ + 1;
        kelvane::haltWithFatalError("here");
    });
    ASSERT_TRUE(halt.has_value());
    EXPECT_THAT(halt->file, ::testing::EndsWith("assertions_test.cpp"));
    EXPECT_EQ(halt->line, expectedLine);
}

TEST(Assertions, EmptyHookRestoresTheDefault) {
    kelvane::Assertions::setFatalErrorHook([](const std::string&, const char*, std::uint32_t) {});
    kelvane::Assertions::setFatalErrorHook({});
    EXPECT_DEATH(kelvane::haltWithFatalError("restored", "f.cpp", 1),
                 "Fatal error: restored: file f.cpp, line 1");
}

TEST(AssertionsDeathTest, DefaultHookReportsAndAborts) {
    EXPECT_DEATH(kelvane::haltWithFatalError("the message", "store.cpp", 7),
                 "Fatal error: the message: file store.cpp, line 7");
}

TEST(AssertionsDeathTest, RefFromNullHalts) {
    EXPECT_DEATH(kelvane::Ref<int>(std::shared_ptr<int>{}), "Kelvane.Ref made from a null pointer");
}

}  // namespace
