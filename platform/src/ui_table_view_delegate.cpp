#include <kelvane/platform/ui_table_view_delegate.hpp>

namespace kelvane::platform {

CGFloat UITableViewDelegate::heightForRowAt(UITableView& /*tableView*/,
                                            const IndexPath& /*indexPath*/) {
    return UITableViewAutomaticDimension;
}

void UITableViewDelegate::didSelectRowAt(UITableView& /*tableView*/,
                                         const IndexPath& /*indexPath*/) {}

}  // namespace kelvane::platform
