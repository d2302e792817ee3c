#include <kelvane/uikit/button_style.hpp>

namespace kelvane::Kelvane {

using platform::CGSize;
using platform::UIButton;
using platform::UIControlState;
using platform::UIViewContentMode;

CGSize sizeImage(const UIButton& button) {
    const auto imageView = button.imageView();
    const auto image = imageView ? imageView->image() : nullptr;
    return image ? image->size() : CGSize{};
}

void setSizeImage(UIButton& button, CGSize size) {
    const auto imageView = button.imageView();
    const auto image = imageView ? imageView->image() : nullptr;
    if (!image) {
        return;
    }
    // No bitmap of an empty or non-finite size exists; the button keeps its image rather than
    // losing it to a drawing that yields none.
    if (auto drawn = image->imageDrawnInContextOfSize(size)) {
        button.setImage(std::move(drawn), UIControlState::normal);
    }
}

bool adjustsFontSizeToFitWidth(const UIButton& button) {
    const auto label = button.titleLabel();
    return label && label->adjustsFontSizeToFitWidth();
}

void setAdjustsFontSizeToFitWidth(UIButton& button, bool adjusts) {
    if (const auto label = button.titleLabel()) {
        label->setAdjustsFontSizeToFitWidth(adjusts);
    }
}

std::int64_t imageViewContentMode(const UIButton& button) {
    const auto imageView = button.imageView();
    return imageView ? static_cast<std::int64_t>(imageView->contentMode()) : 0;
}

void setImageViewContentMode(UIButton& button, std::int64_t mode) {
    if (const auto imageView = button.imageView()) {
        // The enumeration has a fixed underlying type, so any raw value is a valid one.
        imageView->setContentMode(static_cast<UIViewContentMode>(mode));
    }
}

}  // namespace kelvane::Kelvane
