#include <kelvane/uikit/image_view_style.hpp>

namespace kelvane::Kelvane {

using platform::UIImageRenderingMode;

bool templateImage(const platform::UIImageView& imageView) {
    const auto image = imageView.image();
    return image && image->renderingMode() == UIImageRenderingMode::alwaysTemplate;
}

void setTemplateImage(platform::UIImageView& imageView, bool isTemplate) {
    if (const auto image = imageView.image()) {
        imageView.setImage(image->imageWithRenderingMode(
            isTemplate ? UIImageRenderingMode::alwaysTemplate : UIImageRenderingMode::automatic));
    }
}

}  // namespace kelvane::Kelvane
