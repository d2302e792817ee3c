#pragma once

#include <memory>
#include <utility>

#include <kelvane/core/detail/identity_registry.hpp>
#include <kelvane/core/ref.hpp>
#include <kelvane/events/event_handler.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane::detail {

/// One handler's registration with an event centre. `isBinded` is fixed when the record is made:
/// a record made with an object stays bound, one made without stays unbound whatever is bound to
/// it later.
struct EventHandlerItem {
    EventHandlerItem(Ref<EventHandler> eventHandler, bool isBinded)
        : handlerIdentity(identityOf(eventHandler.get())),
          eventHandler(std::move(eventHandler)),
          isBinded(isBinded) {}

    const void* const handlerIdentity;
    const Ref<EventHandler> eventHandler;
    // Its objects by identity, in binding order, each once. A send walks them as they are when
    // the handler's turn comes.
    IdentityRegistry<std::shared_ptr<Object>> bindToObjects;
    const bool isBinded;
};

/// A registration as the centre's registry holds it, with what a send needs first at hand, so
/// that walking unbound handlers never touches their records. Default-made: a hole.
struct HandlerEntry {
    EventHandler* handler = nullptr;
    bool isBinded = false;
    std::shared_ptr<EventHandlerItem> item;
};

}  // namespace kelvane::detail
