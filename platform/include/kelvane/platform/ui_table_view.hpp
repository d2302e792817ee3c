#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kelvane/platform/index_path.hpp>
#include <kelvane/platform/ui_nib.hpp>
#include <kelvane/platform/ui_table_view_cell.hpp>
#include <kelvane/platform/ui_table_view_data_source.hpp>
#include <kelvane/platform/ui_table_view_delegate.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

/// A table of rows in one section, its cells made by a data source and recycled by reuse
/// identifier.
///
/// Headless: every row is on screen. `reloadData` asks the data source for the row count, then
/// for the cell of every row, and keeps those cells; the cells it held before go back to the
/// reuse queue of their identifier (cells without one are let go), from which
/// `dequeueReusableCell…` hands them out again. The data source and the delegate are held
/// weakly. Main thread only.
class UITableView : public UIView {
  public:
    using UIView::UIView;

    std::shared_ptr<UITableViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource) {
        dataSource_ = dataSource;
    }
    std::shared_ptr<UITableViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate) { delegate_ = delegate; }

    /// Makes cells for `identifier` from `nib` (its first top-level cell); null removes the
    /// registration.
    void registerNib(std::shared_ptr<UINib> nib, const std::string& identifier);

    /// A cell for `identifier`: one from the reuse queue (after its `prepareForReuse`), else a new
    /// one from the registered nib. Null when neither gives one (the platform would stop the
    /// program for an identifier without registration).
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifier(
        const std::string& identifier, const IndexPath& indexPath);
    /// The same, for callers without an index path.
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifier(
        const std::string& identifier);

    /// Rebuilds every row from the data source (see the class comment) and clears the selection.
    /// Without a data source the table has no rows; a negative row count counts as none.
    virtual void reloadData();

    /// The number of rows the table last loaded; 0 for any section but the first.
    std::int64_t numberOfRowsInSection(std::int64_t section) const;
    /// The cell the table holds for `indexPath`; null outside its rows or when the data source
    /// gave none.
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath) const;
    /// The cells of the rows, in row order.
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;

    /// What a user's tap on a row does: the row becomes the selected one (its cell selected,
    /// any other deselected), then the delegate hears `didSelectRowAt`. A row outside the table
    /// does nothing.
    void selectRowByUser(const IndexPath& indexPath);
    /// The selected row, if any.
    std::optional<IndexPath> indexPathForSelectedRow() const { return selectedRow_; }

  private:
    bool holdsRow(const IndexPath& indexPath) const;

    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> delegate_;
    std::map<std::string, std::shared_ptr<UINib>> nibs_;
    std::map<std::string, std::vector<std::shared_ptr<UITableViewCell>>> reuseQueues_;
    std::vector<std::shared_ptr<UITableViewCell>> rows_;
    std::optional<IndexPath> selectedRow_;
};

}  // namespace kelvane::platform
