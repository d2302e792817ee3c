#pragma once

#include <memory>
#include <optional>
#include <string>

#include <kelvane/platform/ui_nib.hpp>
#include <kelvane/platform/ui_table_view_cell.hpp>

namespace kelvane {

/// The row of the test root screen's table: a plain cell with a text label.
///
/// Its nib, its reuse identifier and its class share one name, `identifier`. The framework ships
/// the nib in its own bundle (`platform::Bundle::framework()`); `nib()` returns it.
class UITestRootViewTableViewCell : public platform::UITableViewCell {
  public:
    static constexpr const char* identifier = "UITestRootViewTableViewCell";

    using UITableViewCell::UITableViewCell;

    /// The nib "UITestRootViewTableViewCell" of the framework bundle, whose one top-level object
    /// is a new cell of this class. The framework's builder for it is registered on first call,
    /// unless the bundle already holds a nib of that name (a host's own design wins). Main
    /// thread only, like every nib registration.
    static std::shared_ptr<platform::UINib> nib();
};

}  // namespace kelvane
