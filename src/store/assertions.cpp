#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <kelvane/platform/detail/never_destroyed.hpp>
#include <kelvane/store/assertions.hpp>

namespace kelvane {

namespace {

// The hook is read once per halt and replaced rarely; a mutex keeps a replacement from racing a
// halt on another thread.
struct HookCell {
    std::mutex mutex;
    FatalErrorHook hook = Assertions::defaultFatalErrorHook();
};

// Never destroyed, nor is the default hook: code running at exit may halt too.
HookCell& hookCell() {
    static platform::detail::NeverDestroyed<HookCell> cell;
    return *cell;
}

}  // namespace

const FatalErrorHook& Assertions::defaultFatalErrorHook() {
    static const platform::detail::NeverDestroyed<FatalErrorHook> hook(
        [](const std::string& message, const char* file, std::uint32_t line) {
            std::fprintf(stderr, "Fatal error: %s: file %s, line %u\n", message.c_str(), file,
                         static_cast<unsigned>(line));
            std::fflush(stderr);
            std::abort();
        });
    return *hook;
}

FatalErrorHook Assertions::fatalErrorHook() {
    auto& cell = hookCell();
    const std::lock_guard lock(cell.mutex);
    return cell.hook;
}

void Assertions::setFatalErrorHook(FatalErrorHook hook) {
    auto& cell = hookCell();
    const std::lock_guard lock(cell.mutex);
    cell.hook = hook ? std::move(hook) : defaultFatalErrorHook();
}

void haltWithFatalError(const std::string& message, const char* file, std::uint32_t line) {
    Assertions::fatalErrorHook()(message, file, line);
    // A replaced hook returned: the caller must still never continue.
    for (;;) {
        std::this_thread::sleep_for(std::chrono::hours(24));
    }
}

}  // namespace kelvane
