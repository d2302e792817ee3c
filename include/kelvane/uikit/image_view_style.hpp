#pragma once

// The `Kelvane` style property of image views. Main thread only.

#include <kelvane/platform/ui_image_view.hpp>

namespace kelvane::Kelvane {

/// True when the image view has an image drawn as a template; false otherwise, also without one.
bool templateImage(const platform::UIImageView& imageView);
/// Replaces the image by a copy drawn as a template (true) or with the automatic rendering mode
/// (false), whatever its mode was. Without an image nothing changes.
void setTemplateImage(platform::UIImageView& imageView, bool isTemplate);

}  // namespace kelvane::Kelvane
