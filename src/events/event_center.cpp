#include <algorithm>
#include <string>
#include <utility>

#include <kelvane/events/event_center.hpp>
#include <kelvane/logging/logger.hpp>

#include "core/shared_instance.hpp"
#include "events/event_handler_item.hpp"

namespace kelvane {

namespace {

using detail::BoundObject;
using detail::EventHandlerItem;
using detail::HandlerEntry;

detail::SharedInstance<EventCenter>& sharedCenter() {
    static auto* const instance =
        new detail::SharedInstance<EventCenter>([] { return makeRef<EventCenter>(); });
    return *instance;
}

}  // namespace

// Counts a send under way; the last one to finish releases the lists replaced meanwhile.
class EventCenter::SendScope {
  public:
    explicit SendScope(EventCenter& center) : center_(center) { ++center_.sending_; }
    ~SendScope() {
        if (--center_.sending_ != 0) {
            return;
        }
        // Taken out first: the last reference to a handler or an object may go with them, and its
        // destructor may call this centre, which by then is consistent again.
        const auto handlers = std::exchange(center_.replacedHandlers_, {});
        const auto objects = std::exchange(center_.replacedObjects_, {});
    }
    SendScope(const SendScope&) = delete;
    SendScope& operator=(const SendScope&) = delete;

  private:
    EventCenter& center_;
};

EventCenter::EventCenter() = default;
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

    const SendScope scope(*this);
    // Walks the buffers as they are now: until the last send ends, changes go to copies, and
    // these buffers stay where they are.
    const HandlerEntry* entry = handlers_.data();
    const HandlerEntry* const end = entry + handlers_.size();
    for (; entry != end; ++entry) {
        if (!entry->isBinded) {
            entry->handler->onEvent(event);
            continue;
        }
        const EventHandlerItem& record = *entry->item;
        const BoundObject* object = record.bindToObjects.data();
        const BoundObject* const objectsEnd = object + record.bindToObjects.size();
        for (; object != objectsEnd; ++object) {
            // Read afresh: an earlier handler may have changed the sender.
            const Object* sender = event->sender.get();
            if (sender != nullptr && identityOf(sender) == object->identity) {
                entry->handler->onEvent(event);
            }
        }
    }
}

void EventCenter::addEventHandler(Ref<EventHandler> eventHandler) {
    if (indexOf(identityOf(eventHandler.get())) != handlers_.size()) {
        return;
    }
    handlersToChange().emplace_back(
        std::make_shared<EventHandlerItem>(std::move(eventHandler), std::vector<BoundObject>{}));
}

void EventCenter::addEventHandler(Ref<Object> bindTo, Ref<EventHandler> eventHandler) {
    const std::size_t index = indexOf(identityOf(eventHandler.get()));
    if (index == handlers_.size()) {
        std::vector<BoundObject> objects;
        objects.emplace_back(std::move(bindTo));
        handlersToChange().emplace_back(
            std::make_shared<EventHandlerItem>(std::move(eventHandler), std::move(objects)));
        return;
    }
    EventHandlerItem& record = *handlers_[index].item;
    const void* const identity = identityOf(bindTo.get());
    if (std::ranges::any_of(record.bindToObjects,
                            [&](const BoundObject& bound) { return bound.identity == identity; })) {
        return;
    }
    objectsToChange(record).emplace_back(std::move(bindTo));
}

void EventCenter::removeEventHandler(const Ref<EventHandler>& eventHandler) {
    const std::size_t index = indexOf(identityOf(eventHandler.get()));
    if (index == handlers_.size()) {
        return;
    }
    auto& items = handlersToChange();
    // Released on return, once the list is whole again (see SendScope).
    const std::shared_ptr<EventHandlerItem> removed = items[index].item;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
}

void EventCenter::removeEventHandler(const Ref<Object>& bindTo,
                                     const Ref<EventHandler>& eventHandler) {
    const std::size_t index = indexOf(identityOf(eventHandler.get()));
    if (index == handlers_.size()) {
        return;
    }
    const std::shared_ptr<EventHandlerItem> record = handlers_[index].item;
    const void* const identity = identityOf(bindTo.get());
    const auto position =
        std::ranges::find(record->bindToObjects, identity, &BoundObject::identity) -
        record->bindToObjects.begin();
    if (position == std::ssize(record->bindToObjects)) {
        return;
    }
    auto& objects = objectsToChange(*record);
    const BoundObject removed = std::move(objects[static_cast<std::size_t>(position)]);
    objects.erase(objects.begin() + position);
    if (record->isBinded && objects.empty()) {
        auto& items = handlersToChange();
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

std::size_t EventCenter::indexOf(const void* handler) const {
    const auto found = std::ranges::find(
        handlers_, handler, [](const HandlerEntry& entry) { return entry.item->handlerIdentity; });
    return static_cast<std::size_t>(found - handlers_.begin());
}

std::vector<HandlerEntry>& EventCenter::handlersToChange() {
    if (sending_ > 0) {
        auto copy = handlers_;
        replacedHandlers_.push_back(std::move(handlers_));
        handlers_ = std::move(copy);
    }
    return handlers_;
}

std::vector<BoundObject>& EventCenter::objectsToChange(EventHandlerItem& item) {
    if (sending_ > 0) {
        auto copy = item.bindToObjects;
        replacedObjects_.push_back(std::move(item.bindToObjects));
        item.bindToObjects = std::move(copy);
    }
    return item.bindToObjects;
}

}  // namespace kelvane
