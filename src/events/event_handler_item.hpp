#pragma once

#include <cstdint>
#include <memory>
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

/// A registration as the centre's list holds it, with what a send needs first at hand, so that
/// walking unbound handlers never touches their records.
struct HandlerEntry {
    explicit HandlerEntry(std::shared_ptr<EventHandlerItem> item)
        : handler(item->eventHandler.get()), isBinded(item->isBinded), item(std::move(item)) {}

    bool removed() const noexcept { return removedAt != 0; }

    EventHandler* handler;
    bool isBinded;
    // 0 while registered; then the number of its removal. A removed entry is a hole in the list:
    // a send that began before the removal still delivers to it.
    std::uint64_t removedAt = 0;
    // Null in a hole once no send can reach it any more.
    std::shared_ptr<EventHandlerItem> item;
};

}  // namespace kelvane::detail
