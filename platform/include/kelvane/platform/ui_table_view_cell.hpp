#pragma once

#include <memory>
#include <optional>
#include <string>

#include <kelvane/platform/ui_label.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

class UITableView;

/// A row of a table: a view with a text label, a selected state and the identifier it is reused
/// under. The text label is made with the cell.
class UITableViewCell : public UIView {
  public:
    explicit UITableViewCell(std::optional<std::string> reuseIdentifier = std::nullopt);

    /// The identifier the cell was made or last dequeued for.
    const std::optional<std::string>& reuseIdentifier() const { return reuseIdentifier_; }
    /// Never null in this stand-in; optional as on the platform, where a cell may have none.
    std::shared_ptr<UILabel> textLabel() const { return textLabel_; }

    bool isSelected() const { return selected_; }
    /// Marks the cell selected or not; `animated` changes nothing here.
    virtual void setSelected(bool selected, bool animated);
    /// Called when the table takes the cell out of its reuse queue, before handing it out again.
    /// Does nothing here.
    virtual void prepareForReuse() {}

  private:
    friend class UITableView;

    std::optional<std::string> reuseIdentifier_;
    std::shared_ptr<UILabel> textLabel_;
    bool selected_ = false;
};

}  // namespace kelvane::platform
