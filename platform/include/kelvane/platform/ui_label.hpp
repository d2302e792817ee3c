#pragma once

#include <optional>
#include <string>

#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

/// A view that shows a line of text.
class UILabel : public UIView {
  public:
    using UIView::UIView;

    /// Absent: no text.
    const std::optional<std::string>& text() const { return text_; }
    void setText(std::optional<std::string> text) { text_ = std::move(text); }

    /// Whether the font shrinks so that the text fits the label's width.
    bool adjustsFontSizeToFitWidth() const { return adjustsFontSizeToFitWidth_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts) { adjustsFontSizeToFitWidth_ = adjusts; }

  private:
    std::optional<std::string> text_;
    bool adjustsFontSizeToFitWidth_ = false;
};

}  // namespace kelvane::platform
