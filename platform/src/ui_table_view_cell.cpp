#include <kelvane/platform/ui_table_view_cell.hpp>

namespace kelvane::platform {

UITableViewCell::UITableViewCell(std::optional<std::string> reuseIdentifier)
    : reuseIdentifier_(std::move(reuseIdentifier)), textLabel_(std::make_shared<UILabel>()) {}

void UITableViewCell::setSelected(bool selected, bool /*animated*/) {
    selected_ = selected;
}

}  // namespace kelvane::platform
