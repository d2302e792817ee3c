#pragma once

#include <memory>

#include <kelvane/platform/ui_image.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

/// A view that shows an image.
class UIImageView : public UIView {
  public:
    using UIView::UIView;
    /// A view showing `image`, framed at (0, 0) with the image's size (zero without an image).
    explicit UIImageView(std::shared_ptr<UIImage> image);

    /// Null: no image.
    std::shared_ptr<UIImage> image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> image) { image_ = std::move(image); }

  private:
    std::shared_ptr<UIImage> image_;
};

}  // namespace kelvane::platform
