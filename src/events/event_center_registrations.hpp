#pragma once

#include <kelvane/core/detail/identity_registry.hpp>
#include <kelvane/events/event_center.hpp>

#include "events/event_handler_item.hpp"

namespace kelvane {

// What an event centre keeps: its registrations by handler identity, in delivery order.
struct EventCenter::Registrations {
    detail::IdentityRegistry<detail::HandlerEntry> handlers;
};

}  // namespace kelvane
