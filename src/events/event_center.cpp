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

// Counts a send under way. The last one to finish closes the holes left by removals (releasing
// what they kept alive for the sends) and releases the object lists replaced meanwhile.
class EventCenter::SendScope {
  public:
    explicit SendScope(EventCenter& center) : center_(center) { ++center_.sending_; }
    ~SendScope() {
        if (--center_.sending_ != 0) {
            return;
        }
        // Taken out first: the last reference to a handler or an object may go with them, and its
        // destructor may call this centre, which by then is consistent again.
        const auto objects = std::exchange(center_.replacedObjects_, {});
        center_.closeHoles();
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
    // The snapshot: the registrations present now. Later ones are appended after `count`, and
    // nothing moves or is released while a send runs, so the entries are read afresh by position
    // (the list may grow, and so move in memory, during a delivery).
    const std::size_t count = handlers_.size();
    const std::uint64_t removalsBefore = removals_;
    for (std::size_t position = 0; position < count; ++position) {
        const HandlerEntry& entry = handlers_[position];
        if (entry.removed() && entry.removedAt <= removalsBefore) {
            continue;
        }
        EventHandler* const handler = entry.handler;
        if (!entry.isBinded) {
            handler->onEvent(event);
            continue;
        }
        // The record's objects as they are now; a change during the walk goes to a copy.
        const EventHandlerItem& record = *entry.item;
        const BoundObject* object = record.bindToObjects.data();
        const BoundObject* const objectsEnd = object + record.bindToObjects.size();
        for (; object != objectsEnd; ++object) {
            // Read afresh: an earlier handler may have changed the sender.
            const Object* sender = event->sender.get();
            if (sender != nullptr && identityOf(sender) == object->identity) {
                handler->onEvent(event);
            }
        }
    }
}

void EventCenter::addEventHandler(Ref<EventHandler> eventHandler) {
    if (positionOf(identityOf(eventHandler.get()))) {
        return;
    }
    append(std::make_shared<EventHandlerItem>(std::move(eventHandler), std::vector<BoundObject>{}));
}

void EventCenter::addEventHandler(Ref<Object> bindTo, Ref<EventHandler> eventHandler) {
    const auto position = positionOf(identityOf(eventHandler.get()));
    if (!position) {
        std::vector<BoundObject> objects;
        objects.emplace_back(std::move(bindTo));
        append(std::make_shared<EventHandlerItem>(std::move(eventHandler), std::move(objects)));
        return;
    }
    EventHandlerItem& record = *handlers_[*position].item;
    const void* const identity = identityOf(bindTo.get());
    if (std::ranges::any_of(record.bindToObjects,
                            [&](const BoundObject& bound) { return bound.identity == identity; })) {
        return;
    }
    objectsToChange(record).emplace_back(std::move(bindTo));
}

void EventCenter::removeEventHandler(const Ref<EventHandler>& eventHandler) {
    if (const auto position = positionOf(identityOf(eventHandler.get()))) {
        remove(*position);
    }
}

void EventCenter::removeEventHandler(const Ref<Object>& bindTo,
                                     const Ref<EventHandler>& eventHandler) {
    const auto position = positionOf(identityOf(eventHandler.get()));
    if (!position) {
        return;
    }
    // Kept until return: the record may go with its last object.
    const std::shared_ptr<EventHandlerItem> record = handlers_[*position].item;
    const void* const identity = identityOf(bindTo.get());
    const auto found = std::ranges::find(record->bindToObjects, identity, &BoundObject::identity) -
                       record->bindToObjects.begin();
    if (found == std::ssize(record->bindToObjects)) {
        return;
    }
    auto& objects = objectsToChange(*record);
    const BoundObject removed = std::move(objects[static_cast<std::size_t>(found)]);
    objects.erase(objects.begin() + found);
    if (record->isBinded && objects.empty()) {
        remove(*position);
    }
}

std::optional<std::size_t> EventCenter::positionOf(const void* handler) const {
    const auto found = positions_.find(handler);
    if (found == positions_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void EventCenter::append(std::shared_ptr<EventHandlerItem> item) {
    const void* const identity = item->handlerIdentity;
    positions_.emplace(identity, handlers_.size());
    try {
        handlers_.emplace_back(std::move(item));
    } catch (...) {
        positions_.erase(identity);
        throw;
    }
}

void EventCenter::remove(std::size_t position) {
    HandlerEntry& entry = handlers_[position];
    positions_.erase(entry.item->handlerIdentity);
    entry.removedAt = ++removals_;
    ++holes_;
    if (sending_ > 0) {
        return;  // a running send may still deliver to it: released when the last send ends
    }
    // Released on return, once the list is consistent again (see SendScope).
    const std::shared_ptr<EventHandlerItem> removed = std::move(entry.item);
    entry.handler = nullptr;
    // Closing the holes when they outnumber the registrations costs one pass per as many
    // removals as there are registrations left.
    if (holes_ > positions_.size()) {
        closeHoles();
    }
}

// Allocates nothing, since the last send's end runs it from a destructor.
void EventCenter::closeHoles() {
    if (holes_ == 0 || closingHoles_) {
        return;
    }
    closingHoles_ = true;
    // The live registrations to the front, in order, and the holes behind them. No code of a
    // handler runs here.
    std::size_t kept = 0;
    for (std::size_t position = 0; position < handlers_.size(); ++position) {
        if (handlers_[position].removed()) {
            continue;
        }
        if (position != kept) {
            std::swap(handlers_[kept], handlers_[position]);
            positions_.find(handlers_[kept].item->handlerIdentity)->second = kept;
        }
        ++kept;
    }
    // What the holes still hold goes one by one: its destructor may call this centre, which is
    // consistent throughout (the holes stay holes, and what it adds comes after them).
    const std::size_t holesEnd = handlers_.size();
    for (std::size_t position = kept; position < holesEnd; ++position) {
        const std::shared_ptr<EventHandlerItem> released = std::move(handlers_[position].item);
        handlers_[position].handler = nullptr;
    }
    // Registrations added meanwhile move down into the holes' place.
    handlers_.erase(handlers_.begin() + static_cast<std::ptrdiff_t>(kept),
                    handlers_.begin() + static_cast<std::ptrdiff_t>(holesEnd));
    for (std::size_t position = kept; position < handlers_.size(); ++position) {
        if (!handlers_[position].removed()) {
            positions_.find(handlers_[position].item->handlerIdentity)->second = position;
        }
    }
    holes_ -= holesEnd - kept;
    closingHoles_ = false;
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
