#pragma once

// A look at an event centre's registrations, for tests.

#include <vector>

#include <kelvane/events/event_center.hpp>

#include "events/event_center_registrations.hpp"

namespace kelvane::detail {

struct EventCenterAccess {
    struct Registration {
        const void* eventHandler;
        bool isBinded;
        std::vector<const void*> bindToObjects;  // identities, in binding order

        bool operator==(const Registration&) const = default;
    };

    /// The registrations in delivery order.
    static std::vector<Registration> registrations(const EventCenter& center) {
        std::vector<Registration> result;
        for (const EventHandlerItem& item : center.registrations_->handlers.entries()) {
            Registration registration{identityOf(item.eventHandler.get()), item.isBinded, {}};
            if (item.bindToObjects) {
                for (const auto& object : item.bindToObjects->entries()) {
                    registration.bindToObjects.push_back(identityOf(object.get()));
                }
            }
            result.push_back(std::move(registration));
        }
        return result;
    }
};

}  // namespace kelvane::detail
