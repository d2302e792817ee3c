#pragma once

#include <any>
#include <map>
#include <string>

#include <kelvane/platform/object.hpp>

namespace kelvane::platform {

/// The attribute name of the text colour; its value is a `std::shared_ptr<UIColor>`.
inline constexpr const char* NSForegroundColorAttributeName = "NSColor";

/// Text with attributes. Immutable. Headless: the attributes apply to the whole text (no ranges).
class NSAttributedString : public Object {
  public:
    using Attributes = std::map<std::string, std::any>;

    explicit NSAttributedString(std::string string, Attributes attributes = {});

    const std::string& string() const { return string_; }
    const Attributes& attributes() const { return attributes_; }
    /// The value of the attribute `name`; empty when the text has no such attribute.
    std::any attribute(const std::string& name) const;

  private:
    std::string string_;
    Attributes attributes_;
};

}  // namespace kelvane::platform
