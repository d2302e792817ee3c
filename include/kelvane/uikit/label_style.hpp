#pragma once

// The `Kelvane` style property of labels. Main thread only.

#include <kelvane/platform/ui_label.hpp>

namespace kelvane::Kelvane {

/// The label's adjusts-font-size-to-fit-width flag.
bool adjustsFontSizeToFitWidthText(const platform::UILabel& label);
void setAdjustsFontSizeToFitWidthText(platform::UILabel& label, bool adjusts);

}  // namespace kelvane::Kelvane
