#include <string>
#include <utility>

#include <kelvane/core/detail/first_failure.hpp>
#include <kelvane/events/event_center.hpp>
#include <kelvane/logging/logger.hpp>
#include <kelvane/platform/detail/never_destroyed.hpp>

#include "core/shared_instance.hpp"
#include "events/event_center_registrations.hpp"

namespace kelvane {

namespace {

using detail::BoundObjects;
using detail::EventHandlerItem;
using Handlers = detail::IdentityRegistry<EventHandlerItem>;

// Never destroyed, so code running at exit may still send.
detail::SharedInstance<EventCenter>& sharedCenter() {
    static platform::detail::NeverDestroyed<detail::SharedInstance<EventCenter>> instance(
        [] { return makeRef<EventCenter>(); });
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

    detail::FirstFailure failures;
    {
        // The registrations present now, as they are now; the walk keeps each item in place and
        // alive until it ends, whatever the handlers change meanwhile.
        const Handlers::Walk handlers(registrations_->handlers);
        for (std::size_t position = 0; position < handlers.size(); ++position) {
            const EventHandlerItem* const item = handlers.at(position);
            if (item == nullptr) {
                continue;
            }
            if (!item->isBinded) {
                failures.call([&] { item->eventHandler->onEvent(event); });
                continue;
            }
            // No object is the sender: nothing is delivered, so nothing can change the sender
            // during this handler's turn.
            const Object* const firstSender = event->sender.get();
            if (firstSender == nullptr ||
                item->bindToObjects->find(identityOf(firstSender)) == nullptr) {
                continue;
            }
            // The handler's objects as they are when its turn comes.
            const BoundObjects::Walk objects(*item->bindToObjects);
            for (std::size_t each = 0; each < objects.size(); ++each) {
                // Read afresh: the delivery before may have changed the sender.
                const Object* sender = event->sender.get();
                if (sender != nullptr && objects.identity(each) == identityOf(sender)) {
                    failures.call([&] { item->eventHandler->onEvent(event); });
                }
            }
        }
    }
    // Thrown once the walks have ended, so the registrations are consistent for whoever catches.
    failures.rethrowIfAny();
}

void EventCenter::addEventHandler(Ref<EventHandler> eventHandler) {
    const void* const identity = identityOf(eventHandler.get());
    registrations_->handlers.add(identity,
                                 EventHandlerItem{std::move(eventHandler), nullptr, false});
}

void EventCenter::addEventHandler(Ref<Object> bindTo, Ref<EventHandler> eventHandler) {
    const void* const identity = identityOf(eventHandler.get());
    const void* const object = identityOf(bindTo.get());
    const EventHandlerItem* const item = registrations_->handlers.find(identity);
    if (item != nullptr && item->bindToObjects) {
        item->bindToObjects->add(object, std::move(bindTo));
        return;
    }
    auto bindToObjects = std::make_shared<BoundObjects>();
    bindToObjects->add(object, std::move(bindTo));
    if (item == nullptr) {
        registrations_->handlers.add(
            identity, EventHandlerItem{std::move(eventHandler), std::move(bindToObjects), true});
        return;
    }
    // An unbound handler's first object: its registration is replaced in its place and stays
    // unbound. Released on return, once the registrations are consistent.
    const auto replacedKeptUntilConsistent = registrations_->handlers.put(
        identity, EventHandlerItem{item->eventHandler, std::move(bindToObjects), item->isBinded});
}

void EventCenter::removeEventHandler(const Ref<EventHandler>& eventHandler) {
    // Released on return, once the registrations are consistent: its destructor may call here.
    const auto removedKeptUntilConsistent =
        registrations_->handlers.remove(identityOf(eventHandler.get()));
}

void EventCenter::removeEventHandler(const Ref<Object>& bindTo,
                                     const Ref<EventHandler>& eventHandler) {
    const void* const identity = identityOf(eventHandler.get());
    const EventHandlerItem* const item = registrations_->handlers.find(identity);
    if (item == nullptr || !item->bindToObjects) {
        return;
    }
    // Each released on return, once the registrations are consistent.
    const std::shared_ptr<BoundObjects> objectsKeptUntilConsistent = item->bindToObjects;
    const auto objectKeptUntilConsistent =
        objectsKeptUntilConsistent->remove(identityOf(bindTo.get()));
    if (objectKeptUntilConsistent && item->isBinded && objectsKeptUntilConsistent->empty()) {
        const auto removedKeptUntilConsistent = registrations_->handlers.remove(identity);
    }
}

}  // namespace kelvane
