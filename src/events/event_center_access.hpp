#pragma once

// A look at an event centre's registrations, for tests.

#include <vector>

#include <kelvane/events/event_center.hpp>

#include "events/event_center_registrations.hpp"

namespace kelvane::detail {

struct EventCenterAccess {
    struct Registration {
        const void* handler;
        bool isBinded;
        std::vector<const void*> objects;  // identities, in binding order

        bool operator==(const Registration&) const = default;
    };

    /// The registrations in delivery order.
    static std::vector<Registration> registrations(const EventCenter& center) {
        std::vector<Registration> result;
        for (const HandlerEntry& entry : center.registrations_->handlers.entries()) {
            Registration registration{identityOf(entry.handler.get()), entry.isBinded, {}};
            if (entry.objects) {
                for (const auto& object : entry.objects->entries()) {
                    registration.objects.push_back(identityOf(object.get()));
                }
            }
            result.push_back(std::move(registration));
        }
        return result;
    }
};

}  // namespace kelvane::detail
