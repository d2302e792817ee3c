#pragma once

// The `Kelvane` style properties of buttons: image size, title fitting and image content mode.
// A button without an image view or title label answers with zero values and ignores settings
// that need them. Main thread only.

#include <cstdint>

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/ui_button.hpp>

namespace kelvane::Kelvane {

/// The size of the image that the button's image view shows; (0, 0) without image view or image.
platform::CGSize sizeImage(const platform::UIButton& button);
/// Redraws the image that the image view shows stretched to `size` and makes the result the
/// button's image for the normal state; other states keep theirs. A second call redraws the
/// first call's image. Without image view or image, and for a size that no bitmap can have (a
/// side that is not a positive, finite number), nothing changes.
void setSizeImage(platform::UIButton& button, platform::CGSize size);

/// The title label's adjusts-font-size-to-fit-width flag; false without a title label.
bool adjustsFontSizeToFitWidth(const platform::UIButton& button);
void setAdjustsFontSizeToFitWidth(platform::UIButton& button, bool adjusts);

/// The image view's content mode as its raw value; 0 without an image view.
std::int64_t imageViewContentMode(const platform::UIButton& button);
/// Sets the image view's content mode to the raw value `mode`, without a range check.
void setImageViewContentMode(platform::UIButton& button, std::int64_t mode);

}  // namespace kelvane::Kelvane
