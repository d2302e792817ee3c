#include <kelvane/platform/ui_button.hpp>

namespace kelvane::platform {

namespace {

std::uint64_t key(UIControlState state) {
    return static_cast<std::uint64_t>(state);
}

// The value of the current state, else of the normal state, else none.
template <class Map>
const typename Map::mapped_type* currentOf(const Map& values, UIControlState state) {
    for (const auto candidate : {state, UIControlState::normal}) {
        if (const auto found = values.find(key(candidate)); found != values.end()) {
            return &found->second;
        }
    }
    return nullptr;
}

// Makes a part of the button (its image view, its title label) the first time it is needed.
template <class Part>
void makeOnce(UIButton& button, std::shared_ptr<Part>& part) {
    if (!part) {
        part = std::make_shared<Part>();
        button.addSubview(part);
    }
}

}  // namespace

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
    const auto found = images_.find(key(state));
    return found != images_.end() ? found->second : nullptr;
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state) {
    if (image) {
        images_[key(state)] = std::move(image);
        makeOnce(*this, imageView_);
    } else {
        images_.erase(key(state));
    }
    refreshContent();
}

std::optional<std::string> UIButton::titleForState(UIControlState state) const {
    const auto found = titles_.find(key(state));
    return found != titles_.end() ? std::optional(found->second) : std::nullopt;
}

void UIButton::setTitle(std::optional<std::string> title, UIControlState state) {
    if (title) {
        titles_[key(state)] = std::move(*title);
        makeOnce(*this, titleLabel_);
    } else {
        titles_.erase(key(state));
    }
    refreshContent();
}

void UIButton::stateDidChange() {
    UIControl::stateDidChange();
    refreshContent();
}

void UIButton::refreshContent() {
    if (imageView_) {
        const auto* image = currentOf(images_, state());
        imageView_->setImage(image != nullptr ? *image : nullptr);
    }
    if (titleLabel_) {
        const auto* title = currentOf(titles_, state());
        titleLabel_->setText(title != nullptr ? std::optional(*title) : std::nullopt);
    }
}

}  // namespace kelvane::platform
