#include <string>
#include <utility>

#include <kelvane/events/event_center.hpp>
#include <kelvane/logging/logger.hpp>

#include "core/shared_instance.hpp"
#include "events/event_center_registrations.hpp"

namespace kelvane {

namespace {

using detail::EventHandlerItem;
using detail::HandlerEntry;
using Handlers = detail::IdentityRegistry<HandlerEntry>;
using Objects = detail::IdentityRegistry<std::shared_ptr<Object>>;

detail::SharedInstance<EventCenter>& sharedCenter() {
    static auto* const instance =
        new detail::SharedInstance<EventCenter>([] { return makeRef<EventCenter>(); });
    return *instance;
}

}  // namespace

EventCenter::EventCenter() : registrations_(std::make_unique<Registrations>()) {}
EventCenter::~EventCenter() = default;

Ref<EventCenter> EventCenter::shared() {
    return sharedCenter().get();
}

void EventCenter::setShared(Ref<EventCenter> center) {
    sharedCenter().set(std::move(center));
}

void EventCenter::send(Ref<Event> event) {
    const std::shared_ptr<EventCenter> keepAlive = weak_from_this().lock();
    Logger::leaveBreadcrumbs("send event " + event->description());

    // The registrations present now, as they are now; the walk keeps each entry in place and
    // alive until it ends, whatever the handlers change meanwhile.
    const Handlers::Walk handlers(registrations_->handlers);
    for (std::size_t position = 0; position < handlers.size(); ++position) {
        const HandlerEntry* const entry = handlers.at(position);
        if (entry == nullptr) {
            continue;
        }
        if (!entry->isBinded) {
            entry->handler->onEvent(event);
            continue;
        }
        // The handler's objects as they are when its turn comes.
        const Objects::Walk objects(entry->item->bindToObjects);
        for (std::size_t each = 0; each < objects.size(); ++each) {
            // Read afresh: an earlier handler may have changed the sender.
            const Object* sender = event->sender.get();
            if (sender != nullptr && objects.identity(each) == identityOf(sender)) {
                entry->handler->onEvent(event);
            }
        }
    }
}

void EventCenter::addEventHandler(Ref<EventHandler> eventHandler) {
    const void* const identity = identityOf(eventHandler.get());
    if (registrations_->handlers.find(identity) != nullptr) {
        return;
    }
    auto item = std::make_shared<EventHandlerItem>(std::move(eventHandler), false);
    EventHandler* const handler = item->eventHandler.get();
    registrations_->handlers.put(identity, HandlerEntry{handler, false, std::move(item)});
}

void EventCenter::addEventHandler(Ref<Object> bindTo, Ref<EventHandler> eventHandler) {
    const void* const identity = identityOf(eventHandler.get());
    const void* const object = identityOf(bindTo.get());
    if (const HandlerEntry* const entry = registrations_->handlers.find(identity)) {
        Objects& objects = entry->item->bindToObjects;
        if (objects.find(object) == nullptr) {
            objects.put(object, std::move(bindTo));
        }
        return;
    }
    auto item = std::make_shared<EventHandlerItem>(std::move(eventHandler), true);
    item->bindToObjects.put(object, std::move(bindTo));
    EventHandler* const handler = item->eventHandler.get();
    registrations_->handlers.put(identity, HandlerEntry{handler, true, std::move(item)});
}

void EventCenter::removeEventHandler(const Ref<EventHandler>& eventHandler) {
    // Released on return, once the registrations are consistent: its destructor may call here.
    const auto removedKeptUntilConsistent =
        registrations_->handlers.remove(identityOf(eventHandler.get()));
}

void EventCenter::removeEventHandler(const Ref<Object>& bindTo,
                                     const Ref<EventHandler>& eventHandler) {
    const void* const identity = identityOf(eventHandler.get());
    const HandlerEntry* const entry = registrations_->handlers.find(identity);
    if (entry == nullptr) {
        return;
    }
    // Each released on return, once the registrations are consistent.
    const std::shared_ptr<EventHandlerItem> itemKeptUntilConsistent = entry->item;
    const auto objectKeptUntilConsistent =
        itemKeptUntilConsistent->bindToObjects.remove(identityOf(bindTo.get()));
    if (objectKeptUntilConsistent && itemKeptUntilConsistent->isBinded &&
        itemKeptUntilConsistent->bindToObjects.empty()) {
        const auto removedKeptUntilConsistent = registrations_->handlers.remove(identity);
    }
}

}  // namespace kelvane
