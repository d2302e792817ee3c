#pragma once

#include <memory>
#include <string>
#include <utility>

#include <kelvane/platform/object.hpp>

namespace kelvane {

/// The base of every event that the event centre carries.
///
/// Events are reference objects, owned through `std::shared_ptr` and compared by identity.
/// Handlers tell them apart by their class (`dynamic_cast`). The catalogue's classes derive from
/// it directly: those without payload offer both constructors below; those with a payload offer
/// only their own, which sets every field.
class Event : public Object {
  public:
    /// An event without sender.
    Event() = default;

    /// An event sent by `sender` (null: without sender).
    explicit Event(std::shared_ptr<Object> sender) : sender(std::move(sender)) {}

    /// The unqualified name of the event's class ("UIOpenMenuEvent"); payload events add their
    /// fields. This is what the centre's "send event " line shows.
    std::string description() const override;

    /// The object that sends the event, or null. Bound handlers receive the event when this is
    /// one of their objects, by identity. Anyone may change it, also a handler during a send:
    /// the centre reads it afresh for every comparison.
    std::shared_ptr<Object> sender;
};

}  // namespace kelvane
