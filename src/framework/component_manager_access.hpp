#pragma once

// A look at a component registry's installed list, and fresh registries, for tests.

#include <memory>
#include <vector>

#include <kelvane/framework/component_manager.hpp>

namespace kelvane::detail {

struct ComponentManagerAccess {
    /// A new, empty registry of the plain kind.
    static Ref<ComponentManager> make() {
        struct Fresh final : ComponentManager {};
        return Ref<ComponentManager>(std::make_shared<Fresh>());
    }

    /// The installed components, in installation order.
    static std::vector<const void*> installed(const ComponentManager& manager) {
        std::vector<const void*> identities;
        for (const auto& component : manager.installedComponent_) {
            identities.push_back(identityOf(component.get()));
        }
        return identities;
    }
};

}  // namespace kelvane::detail
