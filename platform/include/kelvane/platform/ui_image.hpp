#pragma once

#include <cstdint>
#include <memory>

#include <kelvane/platform/geometry.hpp>
#include <kelvane/platform/object.hpp>

namespace kelvane::platform {

/// How an image is drawn: as it is, or as a template tinted by its view. Raw values are the
/// platform's.
enum class UIImageRenderingMode : std::int64_t {
    automatic = 0,
    alwaysOriginal = 1,
    alwaysTemplate = 2,
};

/// An image: immutable, headless (a size in points and a rendering mode, no pixels). Operations
/// that "change" an image return a new one.
class UIImage : public Object {
  public:
    explicit UIImage(CGSize size,
                     UIImageRenderingMode renderingMode = UIImageRenderingMode::automatic);

    CGSize size() const { return size_; }
    UIImageRenderingMode renderingMode() const { return renderingMode_; }

    /// A copy of this image with the given rendering mode.
    std::shared_ptr<UIImage> imageWithRenderingMode(UIImageRenderingMode mode) const;

    /// What drawing this image stretched into a new bitmap context of `size` (not opaque, at the
    /// screen's scale) and taking the context's image gives: a new image of that size, with the
    /// automatic rendering mode. Null when no bitmap of that size can exist (a side that is not a
    /// positive, finite number), as the platform gives no image for such a context.
    std::shared_ptr<UIImage> imageDrawnInContextOfSize(CGSize size) const;

  private:
    CGSize size_;
    UIImageRenderingMode renderingMode_;
};

}  // namespace kelvane::platform
