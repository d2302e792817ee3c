#include <memory>
#include <mutex>

#include <kelvane/platform/bugsnag.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>

namespace kelvane::platform {

namespace {

// The sink is called outside the lock, so that a sink may itself install another sink; a shared
// pointer keeps the one in use alive while it runs.
struct SinkCell {
    std::mutex mutex;
    std::shared_ptr<const Bugsnag::BreadcrumbSink> sink;
};

// Never destroyed: the log leaves breadcrumbs at exit too.
SinkCell& sinkCell() {
    static detail::NeverDestroyed<SinkCell> cell;
    return *cell;
}

}  // namespace

void Bugsnag::leaveBreadcrumbWithMessage(const std::string& message) {
    auto& cell = sinkCell();
    std::shared_ptr<const BreadcrumbSink> sink;
    {
        const std::lock_guard lock(cell.mutex);
        sink = cell.sink;
    }
    if (sink) {
        (*sink)(message);
    }
}

void Bugsnag::setBreadcrumbSink(BreadcrumbSink sink) {
    auto replacement = sink ? std::make_shared<const BreadcrumbSink>(std::move(sink)) : nullptr;
    auto& cell = sinkCell();
    const std::lock_guard lock(cell.mutex);
    cell.sink.swap(replacement);
}

}  // namespace kelvane::platform
