#pragma once

#include <cstdint>
#include <memory>

#include <kelvane/platform/index_path.hpp>

namespace kelvane::platform {

class UITableView;
class UITableViewCell;

/// What a table asks of the object that gives it its rows.
class UITableViewDataSource {
  public:
    virtual ~UITableViewDataSource() = default;

    /// The number of rows of `section`.
    virtual std::int64_t numberOfRowsInSection(UITableView& tableView, std::int64_t section) = 0;
    /// The cell that shows the row at `indexPath`, usually dequeued from `tableView`.
    virtual std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView,
                                                          const IndexPath& indexPath) = 0;

  protected:
    UITableViewDataSource() = default;
    UITableViewDataSource(const UITableViewDataSource&) = default;
    UITableViewDataSource& operator=(const UITableViewDataSource&) = default;
};

}  // namespace kelvane::platform
