#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <kelvane/platform/object.hpp>

namespace kelvane::platform {

class Bundle;

/// An interface file (nib), found by name in a bundle.
///
/// Interface files are not parsed here: a bundle holds, under each nib name, a `Builder` that
/// the host application registers (`Bundle::registerNib`). The builder does what loading the file
/// does: it makes the file's objects, connects the owner's outlets, and returns the top-level
/// objects.
class UINib : public Object {
  public:
    /// Builds a nib's objects for `owner` (the file's owner; may be null) and returns its
    /// top-level objects in order.
    using Builder = std::function<std::vector<std::shared_ptr<Object>>(Object* owner)>;

    /// The nib `name` of `bundle` (the main bundle for null). The nib is looked up when it is
    /// instantiated, so it may be registered later.
    UINib(std::string name, std::shared_ptr<Bundle> bundle);
    static std::shared_ptr<UINib> nibWithNibName(std::string name, std::shared_ptr<Bundle> bundle);

    const std::string& name() const { return name_; }
    /// Never null.
    const std::shared_ptr<Bundle>& bundle() const { return bundle_; }

    /// Builds the nib's objects with `owner` as the file's owner and returns the top-level ones.
    /// Every top-level view and each of its subviews then gets `awakeFromNib()`. A nib that its
    /// bundle does not hold gives no objects.
    std::vector<std::shared_ptr<Object>> instantiateWithOwner(Object* owner) const;

  private:
    std::string name_;
    std::shared_ptr<Bundle> bundle_;
};

}  // namespace kelvane::platform
