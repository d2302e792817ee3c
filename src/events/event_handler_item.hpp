#pragma once

#include <utility>
#include <vector>

#include <kelvane/core/ref.hpp>
#include <kelvane/events/event_handler.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane::detail {

/// An object bound to a handler, with its identity worked out once.
struct BoundObject {
    explicit BoundObject(Ref<Object> object)
        : identity(identityOf(object.get())), object(std::move(object)) {}

    const void* identity;  // not const: the lists erase and so move-assign their elements
    Ref<Object> object;
};

/// One handler's registration with an event centre. `isBinded` is fixed when the record is made:
/// a record made with an object stays bound, one made without stays unbound whatever is added to
/// its list later.
struct EventHandlerItem {
    EventHandlerItem(Ref<EventHandler> eventHandler, std::vector<BoundObject> bindToObjects)
        : handlerIdentity(identityOf(eventHandler.get())),
          eventHandler(std::move(eventHandler)),
          bindToObjects(std::move(bindToObjects)),
          isBinded(!this->bindToObjects.empty()) {}

    const void* const handlerIdentity;
    const Ref<EventHandler> eventHandler;
    std::vector<BoundObject> bindToObjects;  // never holds one object twice
    const bool isBinded;
};

}  // namespace kelvane::detail
