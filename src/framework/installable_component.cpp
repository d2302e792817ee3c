#include <kelvane/core/printed.hpp>
#include <kelvane/framework/installable_component.hpp>

namespace kelvane {

void printTo(std::string& out, const InstallableComponent& component) {
    appendPrintedInstance(out, component);
}

}  // namespace kelvane
