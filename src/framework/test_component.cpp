#include "framework/test_component.hpp"

namespace kelvane {

namespace {

std::optional<std::string> textOf(const std::any& value) {
    if (const auto* text = std::any_cast<std::string>(&value)) {
        return *text;
    }
    // A string literal put into a std::any is kept as a C string.
    if (const auto* text = std::any_cast<const char*>(&value);
        text != nullptr && *text != nullptr) {
        return std::string(*text);
    }
    if (const auto* text = std::any_cast<char*>(&value); text != nullptr && *text != nullptr) {
        return std::string(*text);
    }
    return std::nullopt;
}

}  // namespace

std::shared_ptr<Object> makeTestComponent(const std::optional<ComponentInfo>& info) {
    auto component = std::make_shared<TestComponent>();
    if (info) {
        if (const auto found = info->find("title"); found != info->end()) {
            component->title = textOf(found->second);
        }
    }
    return component;
}

}  // namespace kelvane
