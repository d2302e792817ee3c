#pragma once

// The `Kelvane` style properties of every view: border, corners, shadow and masking, each read
// and written through the view's layer. Interface files set them by name (see style_value.hpp);
// host code calls these directly. Main thread only, like the views.

#include <memory>

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/ui_color.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::Kelvane {

/// The layer's border colour as a new colour; null when the layer has none.
std::shared_ptr<platform::UIColor> borderColor(const platform::UIView& view);
/// Sets the layer's border colour; null clears it.
void setBorderColor(platform::UIView& view, const std::shared_ptr<platform::UIColor>& color);

/// Always false: the property only writes.
bool LightWhiteborderColor(const platform::UIView& view);
/// True sets the layer's border colour to white with alpha 0.3; false changes nothing.
void setLightWhiteborderColor(platform::UIView& view, bool light);

platform::CGFloat borderWidth(const platform::UIView& view);
void setBorderWidth(platform::UIView& view, platform::CGFloat width);

/// The layer's corner radius.
platform::CGFloat cornerRadiusView(const platform::UIView& view);
/// Sets the layer's corner radius; masking to bounds is left as it is.
void setCornerRadiusView(platform::UIView& view, platform::CGFloat radius);

/// The layer's shadow colour as a new colour; null when the layer has none.
std::shared_ptr<platform::UIColor> shadowColor(const platform::UIView& view);
/// Sets the layer's shadow colour; null clears it.
void setShadowColor(platform::UIView& view, const std::shared_ptr<platform::UIColor>& color);

float shadowOpacity(const platform::UIView& view);
void setShadowOpacity(platform::UIView& view, float opacity);

platform::CGSize shadowOffset(const platform::UIView& view);
void setShadowOffset(platform::UIView& view, platform::CGSize offset);

platform::CGFloat shadowRadius(const platform::UIView& view);
void setShadowRadius(platform::UIView& view, platform::CGFloat radius);

/// The layer's masks-to-bounds flag.
bool maskToBounds(const platform::UIView& view);
void setMaskToBounds(platform::UIView& view, bool masks);

}  // namespace kelvane::Kelvane
