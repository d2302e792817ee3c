#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>

namespace kelvane::platform {

Bundle::Bundle(std::optional<InfoDictionary> infoDictionary)
    : infoDictionary_(std::move(infoDictionary)) {
    if (!infoDictionary_) {
        return;
    }
    for (auto& [key, value] : *infoDictionary_) {
        if (const auto* text = std::any_cast<const char*>(&value);
            text != nullptr && *text != nullptr) {
            value = std::string(*text);
        } else if (const auto* mutableText = std::any_cast<char*>(&value);
                   mutableText != nullptr && *mutableText != nullptr) {
            value = std::string(*mutableText);
        }
    }
}

// Both never destroyed: the framework's shared bundle, kept for code running at exit, is made
// from the first.
std::shared_ptr<Bundle> Bundle::framework() {
    static const detail::NeverDestroyed<std::shared_ptr<Bundle>> bundle(
        std::make_shared<Bundle>(InfoDictionary{
            {"CFBundleShortVersionString", std::string(KELVANE_VERSION)},
            {"CFBundleVersion", std::string(KELVANE_BUILD_NUMBER)},
        }));
    return *bundle;
}

std::shared_ptr<Bundle> Bundle::main() {
    static const detail::NeverDestroyed<std::shared_ptr<Bundle>> bundle(
        std::make_shared<Bundle>(InfoDictionary{}));
    return *bundle;
}

std::any Bundle::objectForInfoDictionaryKey(const std::string& key) const {
    if (!infoDictionary_) {
        return {};
    }
    const auto found = infoDictionary_->find(key);
    return found != infoDictionary_->end() ? found->second : std::any();
}

void Bundle::registerNib(std::string name, UINib::Builder builder) {
    nibs_[std::move(name)] = std::move(builder);
}

UINib::Builder Bundle::nibBuilder(const std::string& name) const {
    const auto found = nibs_.find(name);
    return found != nibs_.end() ? found->second : UINib::Builder();
}

}  // namespace kelvane::platform
