#pragma once

#include <string>

#include <kelvane/core/printed.hpp>

namespace kelvane {

/// Everything that can be dispatched to a store.
///
/// Actions travel as `const Action&` through dispatch, middleware and reducers; a reducer
/// recognises one with `dynamic_cast`. A middleware that keeps an action for later copies the
/// concrete type it knows.
class Action {
  public:
    virtual ~Action() = default;

    /// Appends the action's printed form (see kelvane/core/printed.hpp), as the dispatch line,
    /// its breadcrumb and the store's halt message show it. By default the action prints by its
    /// class: a class that also derives from `kelvane::Object` as its `description()`
    /// (`<Kelvane.PauseRecordingAction: 0x…>`, `<hostapp.Ping: 0x…>`, or the text of its own
    /// override), any other class as its module-qualified name (`Kelvane.ResumeRecordingAction`,
    /// `hostapp.Ping`). Records deriving from ActionRecord print their fields. A plain class that
    /// describes itself overrides this.
    virtual void appendPrinted(std::string& out) const;

  protected:
    Action() = default;
    Action(const Action&) = default;
    Action& operator=(const Action&) = default;
};

/// Prints any action through its dynamic type.
inline void printTo(std::string& out, const Action& action) {
    action.appendPrinted(out);
}

/// Base of value-record actions: prints the record `Derived` as `Name(field: value, ...)`.
/// Describe its fields with KELVANE_RECORD after the struct:
///
///     struct AddFolderAction final : ActionRecord<AddFolderAction> { ... };
///     KELVANE_RECORD(AddFolderAction, (folder, position))
template <class Derived>
class ActionRecord : public Action {
  public:
    void appendPrinted(std::string& out) const override {
        kelvane::appendPrinted(out, static_cast<const Derived&>(*this));
    }
};

/// The action a store dispatches at construction when it is given no initial state.
struct StoreInit final : ActionRecord<StoreInit> {};
KELVANE_RECORD(StoreInit, ())

}  // namespace kelvane
