#include <kelvane/platform/ui_image_view.hpp>

namespace kelvane::platform {

UIImageView::UIImageView(std::shared_ptr<UIImage> image)
    : UIView(CGRect{{0, 0}, image ? image->size() : CGSize{}}), image_(std::move(image)) {}

}  // namespace kelvane::platform
