#pragma once

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/index_path.hpp>

namespace kelvane::platform {

class UITableView;

/// The height that asks a table to size a row by its content.
inline constexpr CGFloat UITableViewAutomaticDimension = -1;

/// What a table tells, and may ask of, the object that handles its rows. Every operation is
/// optional: the defaults ask for automatic heights and ignore selections.
class UITableViewDelegate {
  public:
    virtual ~UITableViewDelegate() = default;

    /// The height of the row at `indexPath`; `UITableViewAutomaticDimension` by default.
    virtual CGFloat heightForRowAt(UITableView& tableView, const IndexPath& indexPath);
    /// Told after the user selected the row at `indexPath`. Does nothing by default.
    virtual void didSelectRowAt(UITableView& tableView, const IndexPath& indexPath);

  protected:
    UITableViewDelegate() = default;
    UITableViewDelegate(const UITableViewDelegate&) = default;
    UITableViewDelegate& operator=(const UITableViewDelegate&) = default;
};

}  // namespace kelvane::platform
