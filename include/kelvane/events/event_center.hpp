#pragma once

#include <memory>

#include <kelvane/core/ref.hpp>
#include <kelvane/events/event.hpp>
#include <kelvane/events/event_handler.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane {

namespace detail {
struct EventCenterAccess;
}  // namespace detail

/// Carries events to registered handlers, synchronously, on the sending thread.
///
/// A handler registers unbound, for every event, or bound, for the events whose `sender` is one
/// of its objects (by identity). The first registration decides which, until it is removed:
///
///     not registered --addEventHandler(h)--------> unbound (receives every event)
///     not registered --addEventHandler(a, h)-----> bound to [a]
///     bound to [a]   --addEventHandler(b, h)-----> bound to [a, b] (an object is listed once)
///     bound to [a]   --removeEventHandler(a, h)--> not registered (its last object went)
///     unbound        --addEventHandler(a, h)-----> unbound; `a` is listed but changes nothing
///     any            --removeEventHandler(h)-----> not registered
///
/// Adding a registered handler unbound, and every call about a handler or object that is not
/// there, changes nothing. A handler registered again comes last in the delivery order.
///
/// `send` logs "send event " + the event's description (a breadcrumb while the crash reporter is
/// on), then calls the handlers in registration order: an unbound one once, a bound one once for
/// each of its objects that is the sender when that object's turn comes (a handler may change the
/// sender). Calls from inside a handler are allowed. A nested send completes before the outer one
/// goes on. A send walks the handlers registered when it began: one added meanwhile waits for the
/// next send, one removed meanwhile still receives this one. A bound handler's objects are read
/// when its turn comes, so binding or unbinding objects of a later handler counts at once; a
/// handler's own walk keeps the objects it began with.
///
/// Ownership: the centre holds its handlers and their objects strongly until they are removed.
/// A send keeps the event, the handlers it walks and the centre itself (when a `std::shared_ptr`
/// owns it) alive until it returns, also when it throws (see `send`).
///
/// Cost: adding, removing, binding and unbinding find the handler and the object by identity in
/// constant time; a send walks the registrations once. A send keeps the list it walks (and a bound
/// handler's walk its objects); the first change after the walk began goes to a copy, which later
/// changes alter in place while no walk reads it, and the walked list dies with its last walk. So
/// a change costs amortised constant time, the one copy counted to the walk, and the lists alive
/// are one per walk under way plus the current one, however many sends and changes a handler
/// makes.
///
/// Handlers, objects and events are passed as `Ref`s, never null: a null pointer given for one
/// halts through the fatal-error hook (see `Assertions`).
///
/// Threads: none of its own and no lock; use one centre from one thread at a time. Only
/// `shared()` and `setShared()` are safe from any thread.
///
///     kelvane::EventCenter::shared()->addEventHandler(recordButton, screen);
///     kelvane::EventCenter::shared()->send(std::make_shared<UIPauseRecordingEvent>(recordButton));
class EventCenter : public Object, public std::enable_shared_from_this<EventCenter> {
  public:
    EventCenter();
    ~EventCenter() override;
    EventCenter(const EventCenter&) = delete;
    EventCenter& operator=(const EventCenter&) = delete;

    /// The process-wide centre, made on first use (once, whichever thread comes first). Never
    /// destroyed at exit.
    static Ref<EventCenter> shared();

    /// Replaces the process-wide centre. The previous one is released, with its registrations,
    /// once nobody else holds it (a send under way on it finishes first).
    static void setShared(Ref<EventCenter> center);

    /// Logs the send, then delivers `event` to every matching handler before returning.
    ///
    /// A handler that throws does not keep the others from the send: the send goes on to every
    /// handler it would have reached (each turn of a bound handler included), then the first
    /// exception leaves `send`; later ones from the same send are dropped. An exception that leaves
    /// a nested send is the sending handler's own unless it catches it. After the send the centre
    /// is as after any other: its walks have ended, what handlers registered or removed meanwhile
    /// stands, and the next send delivers as usual. A thread cancelled (or ended by
    /// `pthread_exit`) inside a handler ends the send there: the handlers after it miss the event.
    virtual void send(Ref<Event> event);

    /// Registers `eventHandler` for every event, unless it is registered already (bound or not).
    virtual void addEventHandler(Ref<EventHandler> eventHandler);

    /// Binds `bindTo` to `eventHandler`, registering the handler bound when it is not registered.
    virtual void addEventHandler(Ref<Object> bindTo, Ref<EventHandler> eventHandler);

    /// Removes the handler's registration, bound or not.
    virtual void removeEventHandler(const Ref<EventHandler>& eventHandler);

    /// Unbinds `bindTo` from the handler; a bound handler whose last object goes is unregistered.
    virtual void removeEventHandler(const Ref<Object>& bindTo,
                                    const Ref<EventHandler>& eventHandler);

  private:
    friend struct detail::EventCenterAccess;
    struct Registrations;

    const std::unique_ptr<Registrations> registrations_;
};

}  // namespace kelvane
