#include <kelvane/platform/ns_attributed_string.hpp>

namespace kelvane::platform {

NSAttributedString::NSAttributedString(std::string string, Attributes attributes)
    : string_(std::move(string)), attributes_(std::move(attributes)) {}

std::any NSAttributedString::attribute(const std::string& name) const {
    const auto found = attributes_.find(name);
    return found != attributes_.end() ? found->second : std::any();
}

}  // namespace kelvane::platform
