#pragma once

#include <kelvane/core/ref.hpp>
#include <kelvane/events/event.hpp>

namespace kelvane {

/// What the host application implements to receive events from an event centre.
///
/// A class usually adopts it beside its own base (`class Screen : public
/// platform::UIViewController, public EventHandler`); handlers are compared by identity. The centre
/// holds a registered handler strongly until it is removed.
class EventHandler {
  public:
    virtual ~EventHandler() = default;

    /// Called once per delivery, on the sending thread, before `send` returns. The handler may
    /// keep the event, change it, send further events, add or remove handlers and throw (the
    /// send still reaches the others; see `EventCenter::send`).
    virtual void onEvent(const Ref<Event>& event) = 0;

  protected:
    EventHandler() = default;
    EventHandler(const EventHandler&) = default;
    EventHandler& operator=(const EventHandler&) = default;
};

}  // namespace kelvane
