#include <any>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include <kelvane/codeblocks.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"

namespace {

using kelvane::AsyncCodeBlock;
using kelvane::AsyncWrapperCodeBlock;
using kelvane::CodeBlockExecuter;
using kelvane::SyncCodeBlock;
using kelvane::SyncWrapperCodeBlock;

// Wrappers are made only with an executer.
static_assert(!std::is_default_constructible_v<AsyncWrapperCodeBlock>);
static_assert(!std::is_constructible_v<AsyncWrapperCodeBlock, kelvane::CodeBlockSuccessHandler,
                                       kelvane::CodeBlockErrorHandler>);
static_assert(!std::is_default_constructible_v<SyncWrapperCodeBlock>);

const std::exception_ptr kDiskFull = std::make_exception_ptr(std::runtime_error("disk full"));

// A short text for what a run produced or reported: "absent", "3", "\"x\"" or "error(<what>)".
std::string describe(const std::any& value) {
    if (const std::exception_ptr error = kelvane::codeBlockError(value)) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& thrown) {
            return std::string("error(") + thrown.what() + ")";
        } catch (...) {
            return "error(?)";
        }
    }
    if (!value.has_value()) {
        return "absent";
    }
    if (const auto* number = std::any_cast<int>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* text = std::any_cast<std::string>(&value)) {
        return "\"" + *text + "\"";
    }
    return "other";
}

enum class Work { None, ReturnsAbsent, ReturnsThree, ReturnsError, Throws, EchoesInput };

CodeBlockExecuter executerFor(Work work) {
    switch (work) {
        case Work::None:
            return nullptr;
        case Work::ReturnsAbsent:
            return [](const std::any&) { return std::any(); };
        case Work::ReturnsThree:
            return [](const std::any&) { return std::any(3); };
        case Work::ReturnsError:
            return [](const std::any&) { return std::any(kDiskFull); };
        case Work::Throws:
            return [](const std::any&) -> std::any { throw std::logic_error("thrown"); };
        case Work::EchoesInput:
            return [](const std::any& input) { return input; };
    }
    return nullptr;
}

// Records every callback a block makes, in order.
struct Calls {
    std::vector<std::string> made;

    void attachTo(AsyncCodeBlock& block, bool success, bool error) {
        if (success) {
            block.onSuccess = [this](const std::any& result) {
                made.push_back("success(" + describe(result) + ")");
            };
        }
        if (error) {
            block.onError = [this](std::exception_ptr thrown) {
                made.push_back(describe(std::any(thrown)));
            };
        }
    }
};

TEST(CodeBlock, BaseBlocksDoNothing) {
    Calls calls;
    AsyncCodeBlock bare;
    EXPECT_FALSE(bare.onSuccess);
    EXPECT_FALSE(bare.onError);

    AsyncCodeBlock withCallbacks([&](const std::any&) { calls.made.push_back("success"); },
                                 [&](std::exception_ptr) { calls.made.push_back("error"); });
    ASSERT_TRUE(withCallbacks.onSuccess);
    ASSERT_TRUE(withCallbacks.onError);
    withCallbacks.execute(3);
    withCallbacks.execute({});
    EXPECT_TRUE(calls.made.empty());

    SyncCodeBlock sync;
    for (const std::any& input : {std::any(), std::any(3), std::any(std::string("x"))}) {
        EXPECT_FALSE(sync.execute(input).has_value());
    }
}

struct AsyncCase {
    const char* name;
    Work work;
    bool withSuccess;
    bool withError;
    std::vector<std::string> expected;
};

class AsyncWrapperOutcome : public ::testing::TestWithParam<AsyncCase> {};

TEST_P(AsyncWrapperOutcome, CallsAtMostTheOneCallbackThatMatchesTheResult) {
    const AsyncCase& c = GetParam();
    Calls calls;
    const auto block = std::make_shared<AsyncWrapperCodeBlock>(executerFor(c.work));
    calls.attachTo(*block, c.withSuccess, c.withError);
    block->execute(std::string("input"));
    EXPECT_EQ(calls.made, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    CodeBlock, AsyncWrapperOutcome,
    ::testing::Values(AsyncCase{"NoCallbacksSet", Work::ReturnsThree, false, false, {}},
                      AsyncCase{"Value", Work::ReturnsThree, true, true, {"success(3)"}},
                      AsyncCase{"Input", Work::EchoesInput, true, true, {"success(\"input\")"}},
                      AsyncCase{
                          "AbsentResult", Work::ReturnsAbsent, true, true, {"success(absent)"}},
                      AsyncCase{"NoExecuter", Work::None, true, true, {"success(absent)"}},
                      AsyncCase{"ValueWithoutOnSuccess", Work::ReturnsThree, false, true, {}},
                      AsyncCase{"Error", Work::ReturnsError, true, true, {"error(disk full)"}},
                      AsyncCase{"ErrorWithoutOnError", Work::ReturnsError, true, false, {}},
                      AsyncCase{"Thrown", Work::Throws, true, true, {"error(thrown)"}},
                      AsyncCase{"ThrownWithoutOnError", Work::Throws, true, false, {}}),
    kelvane::testing::caseName);

struct SyncCase {
    const char* name;
    Work work;
    std::string expected;
};

class SyncWrapperOutcome : public ::testing::TestWithParam<SyncCase> {};

TEST_P(SyncWrapperOutcome, ReturnsTheResultUnchanged) {
    SyncWrapperCodeBlock block(executerFor(GetParam().work));
    EXPECT_EQ(describe(block.execute(std::string("input"))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(CodeBlock, SyncWrapperOutcome,
                         ::testing::Values(SyncCase{"NoExecuter", Work::None, "absent"},
                                           SyncCase{"AbsentResult", Work::ReturnsAbsent, "absent"},
                                           SyncCase{"Value", Work::ReturnsThree, "3"},
                                           SyncCase{"Input", Work::EchoesInput, "\"input\""},
                                           SyncCase{"Error", Work::ReturnsError,
                                                    "error(disk full)"},
                                           SyncCase{"Thrown", Work::Throws, "error(thrown)"}),
                         kelvane::testing::caseName);

TEST(CodeBlock, ErrorsReachTheCallerAsTheSameErrorValue) {
    std::exception_ptr received;
    AsyncWrapperCodeBlock async(executerFor(Work::ReturnsError));
    async.onError = [&](std::exception_ptr error) { received = error; };
    async.execute({});
    EXPECT_EQ(received, kDiskFull);

    SyncWrapperCodeBlock sync(executerFor(Work::ReturnsError));
    EXPECT_EQ(kelvane::codeBlockError(sync.execute({})), kDiskFull);

    // A null exception_ptr carries no error: it is a plain result.
    AsyncWrapperCodeBlock nullError([](const std::any&) { return std::any(std::exception_ptr()); });
    int successes = 0;
    nullError.onSuccess = [&](const std::any&) { ++successes; };
    nullError.onError = [&](std::exception_ptr) { ADD_FAILURE() << "no error to report"; };
    nullError.execute({});
    EXPECT_EQ(successes, 1);
}

TEST(CodeBlock, ClearingTheExecuterMakesLaterRunsAbsent) {
    Calls calls;
    AsyncWrapperCodeBlock async(executerFor(Work::ReturnsThree));
    calls.attachTo(async, true, true);
    async.execute({});
    async.wrapperExecuter = nullptr;
    async.execute({});
    EXPECT_EQ(calls.made, (std::vector<std::string>{"success(3)", "success(absent)"}));

    SyncWrapperCodeBlock sync(executerFor(Work::ReturnsThree));
    sync.wrapperExecuter = nullptr;
    EXPECT_FALSE(sync.execute({}).has_value());
}

TEST(CodeBlock, WorkAndCallbacksMayChangeTheBlockWhileTheyRun) {
    Calls calls;
    // The executer replaces itself mid-run (its captured text must stay alive until it returns)
    // and sets the success callback, which this same run then uses.
    AsyncWrapperCodeBlock async(nullptr);
    async.wrapperExecuter = [&async, &calls, text = std::string(64, 'x')](const std::any&) {
        async.wrapperExecuter = executerFor(Work::ReturnsAbsent);
        calls.attachTo(async, true, false);
        return std::any(text);
    };
    async.execute({});
    ASSERT_EQ(calls.made.size(), 1U);
    EXPECT_EQ(calls.made[0], "success(\"" + std::string(64, 'x') + "\")");

    SyncWrapperCodeBlock sync(nullptr);
    sync.wrapperExecuter = [&sync, text = std::string(64, 'y')](const std::any&) {
        sync.wrapperExecuter = nullptr;
        return std::any(text);
    };
    EXPECT_EQ(describe(sync.execute({})), "\"" + std::string(64, 'y') + "\"");

    // A callback that clears the fields, then one that releases the last owner of the block.
    int successes = 0;
    auto owned = std::make_shared<AsyncWrapperCodeBlock>(executerFor(Work::ReturnsThree));
    owned->onSuccess = [&owned, &successes, keep = std::string(64, 'z')](const std::any&) {
        ++successes;
        owned->onSuccess = nullptr;
        owned->onError = nullptr;
        EXPECT_EQ(keep.size(), 64U);
    };
    owned->execute({});
    owned->execute({});
    EXPECT_EQ(successes, 1);

    const std::weak_ptr<AsyncWrapperCodeBlock> watch = owned;
    owned->onSuccess = [&owned, &successes](const std::any&) {
        owned.reset();
        ++successes;
    };
    owned->execute({});
    EXPECT_EQ(successes, 2);
    EXPECT_TRUE(watch.expired());
}

}  // namespace
