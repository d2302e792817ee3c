#include <kelvane/uikit/label_style.hpp>

namespace kelvane::Kelvane {

bool adjustsFontSizeToFitWidthText(const platform::UILabel& label) {
    return label.adjustsFontSizeToFitWidth();
}

void setAdjustsFontSizeToFitWidthText(platform::UILabel& label, bool adjusts) {
    label.setAdjustsFontSizeToFitWidth(adjusts);
}

}  // namespace kelvane::Kelvane
