#pragma once

#include <memory>

#include <kelvane/core/detail/identity_registry.hpp>
#include <kelvane/events/event_center.hpp>
#include <kelvane/events/event_handler.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

namespace detail {

/// A handler's bound objects by identity, in binding order, each once. A send walks them as they
/// are when the handler's turn comes.
using BoundObjects = IdentityRegistry<std::shared_ptr<Object>>;

/// One handler's registration. `isBinded` is fixed when it is made: a registration made with an
/// object stays bound, one made without stays unbound whatever is bound to it later (the objects
/// are listed all the same). Default-made: a hole.
struct EventHandlerItem {
    std::shared_ptr<EventHandler> eventHandler;
    // Made with the first object; shared, so that a send's copy of the item walks the same list.
    std::shared_ptr<BoundObjects> bindToObjects;
    bool isBinded = false;
};

}  // namespace detail

// What an event centre keeps: its registrations by handler identity, in delivery order.
struct EventCenter::Registrations {
    detail::IdentityRegistry<detail::EventHandlerItem> handlers;
};

}  // namespace kelvane
