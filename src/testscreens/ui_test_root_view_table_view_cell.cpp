#include <kelvane/platform/bundle.hpp>
#include <kelvane/testscreens/ui_test_root_view_table_view_cell.hpp>

namespace kelvane {

std::shared_ptr<platform::UINib> UITestRootViewTableViewCell::nib() {
    const auto bundle = platform::Bundle::framework();
    if (!bundle->nibBuilder(identifier)) {
        bundle->registerNib(identifier, [](Object*) -> std::vector<std::shared_ptr<Object>> {
            return {std::make_shared<UITestRootViewTableViewCell>(std::string(identifier))};
        });
    }
    return platform::UINib::nibWithNibName(identifier, bundle);
}

}  // namespace kelvane
