#include <kelvane/uikit/dk_button.hpp>

namespace kelvane {

bool DKButton::pointInside(platform::CGPoint point, const platform::UIEvent* /*event*/) const {
    const platform::CGRect bounds = this->bounds();
    const platform::CGRect touchArea{
        {bounds.origin.x - touchMargin, bounds.origin.y - touchMargin},
        {bounds.size.width + 2 * touchMargin, bounds.size.height + 2 * touchMargin}};
    return touchArea.contains(point);
}

}  // namespace kelvane
