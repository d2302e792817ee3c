// Code blocks: work wrapped in objects that report success or error through callbacks, or return
// their result.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include <kelvane/codeblocks.hpp>

#include "demo.hpp"

namespace {

// Halves an even number; an odd one is an error, anything else is thrown at.
std::any halve(const std::any& input) {
    const int number = std::any_cast<int>(input);  // throws std::bad_any_cast for other inputs
    if (number % 2 != 0) {
        return std::make_exception_ptr(std::invalid_argument(std::to_string(number) + " is odd"));
    }
    return number / 2;
}

std::string whatOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& thrown) {
        return thrown.what();
    } catch (...) {
        return "unknown error";
    }
}

}  // namespace

void demo::runCodeBlocksDemo() {
    section("code blocks");
    auto async = std::make_shared<kelvane::AsyncWrapperCodeBlock>(halve);
    async->onSuccess = [](const std::any& result) {
        std::printf("  onSuccess: %d\n", std::any_cast<int>(result));
    };
    async->onError = [](std::exception_ptr error) {
        std::printf("  onError: %s\n", whatOf(error).c_str());
    };
    std::printf("%s\n", async->description().c_str());
    std::printf("execute(8)\n");
    async->execute(8);
    std::printf("execute(7), odd: the error callback runs\n");
    async->execute(7);
    std::printf("execute(\"eight\"), not a number: the error callback runs\n");
    async->execute(std::string("eight"));

    kelvane::SyncWrapperCodeBlock sync(halve);
    const std::any half = sync.execute(42);
    std::printf("sync execute(42) returns %d\n", std::any_cast<int>(half));
    const std::any odd = sync.execute(5);
    std::printf("sync execute(5) returns an error: %s\n",
                whatOf(kelvane::codeBlockError(odd)).c_str());
}
