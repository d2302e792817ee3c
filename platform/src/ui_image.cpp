#include <cmath>

#include <kelvane/platform/ui_image.hpp>

namespace kelvane::platform {

UIImage::UIImage(CGSize size, UIImageRenderingMode renderingMode)
    : size_(size), renderingMode_(renderingMode) {}

std::shared_ptr<UIImage> UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const {
    return std::make_shared<UIImage>(size_, mode);
}

std::shared_ptr<UIImage> UIImage::imageDrawnInContextOfSize(CGSize size) const {
    const auto drawable = [](CGFloat side) { return std::isfinite(side) && side > 0; };
    if (!drawable(size.width) || !drawable(size.height)) {
        return nullptr;
    }
    return std::make_shared<UIImage>(size);
}

}  // namespace kelvane::platform
