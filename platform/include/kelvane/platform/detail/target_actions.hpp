#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace kelvane::platform::detail {

/// The target-action lists of controls and gesture recognizers. Targets are held weakly, as the
/// platform holds them, so that a screen that is the target of its own button forms no cycle; an
/// action whose target is gone is skipped (and dropped).
template <class Sender>
class TargetActions {
  public:
    /// Adds `action` of `target`, sent for the events in `events` (a bit mask). `target` may be
    /// held through a base of the action's class (`shared_from_this()` inside a subclass); the
    /// action runs only when the target is of that class and the sender is an `Argument`.
    template <class Owner, class Target, class Argument>
    requires std::is_polymorphic_v<Owner> &&
        (std::is_base_of_v<Owner, Target> ||
         std::is_base_of_v<Target, Owner>)void add(const std::shared_ptr<Owner>& target,
                                                   void (Target::*action)(Argument&),
                                                   std::uint64_t events = ~std::uint64_t{0}) {
        entries_.push_back(
            Entry{events, target, [weak = std::weak_ptr<Owner>(target), action](Sender& sender) {
                      const auto owner = weak.lock();
                      auto* receiver = dynamic_cast<Target*>(owner.get());
                      auto* argument = dynamic_cast<Argument*>(&sender);
                      if (receiver != nullptr && argument != nullptr) {
                          (receiver->*action)(*argument);
                      }
                  }});
    }

    /// Sends every action registered for one of `events`, in the order they were added. Actions
    /// added or removed meanwhile take effect from the next send.
    void send(Sender& sender, std::uint64_t events = ~std::uint64_t{0}) {
        std::erase_if(entries_, [](const Entry& entry) { return entry.target.expired(); });
        const auto entries = entries_;
        for (const auto& entry : entries) {
            if ((entry.events & events) != 0) {
                entry.call(sender);
            }
        }
    }

  private:
    struct Entry {
        std::uint64_t events;
        std::weak_ptr<const void> target;
        std::function<void(Sender&)> call;
    };
    std::vector<Entry> entries_;
};

}  // namespace kelvane::platform::detail
