#include <typeinfo>

#include <kelvane/framework/installable_component.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

void printTo(std::string& out, const InstallableComponent& component) {
    if (const auto* object = dynamic_cast<const Object*>(&component)) {
        out += object->description();
    } else {
        out += qualifiedTypeName(typeid(component));
    }
}

}  // namespace kelvane
