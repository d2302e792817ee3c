#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <kelvane/platform/ui_control.hpp>
#include <kelvane/platform/ui_image.hpp>
#include <kelvane/platform/ui_image_view.hpp>
#include <kelvane/platform/ui_label.hpp>

namespace kelvane::platform {

/// A control with an image and a title per control state.
///
/// Like the platform's, the button makes its image view and title label when it first needs
/// them: the image view when it first gets an image, the title label when it first gets a title.
/// Both are subviews of the button. They show the image and title of the button's current state,
/// falling back to those of the normal state.
class UIButton : public UIControl {
  public:
    using UIControl::UIControl;

    /// The image set for exactly `state`; null when none is (no fallback).
    std::shared_ptr<UIImage> imageForState(UIControlState state) const;
    /// Sets the image of `state`; null removes it. The images of other states are not touched.
    void setImage(std::shared_ptr<UIImage> image, UIControlState state);
    /// The title set for exactly `state`.
    std::optional<std::string> titleForState(UIControlState state) const;
    void setTitle(std::optional<std::string> title, UIControlState state);

    /// Null until the button first gets an image.
    std::shared_ptr<UIImageView> imageView() const { return imageView_; }
    /// Null until the button first gets a title.
    std::shared_ptr<UILabel> titleLabel() const { return titleLabel_; }

  protected:
    void stateDidChange() override;

  private:
    void refreshContent();

    std::map<std::uint64_t, std::shared_ptr<UIImage>> images_;
    std::map<std::uint64_t, std::string> titles_;
    std::shared_ptr<UIImageView> imageView_;
    std::shared_ptr<UILabel> titleLabel_;
};

}  // namespace kelvane::platform
