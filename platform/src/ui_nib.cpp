#include <kelvane/platform/bundle.hpp>
#include <kelvane/platform/ui_nib.hpp>
#include <kelvane/platform/ui_view.hpp>

namespace kelvane::platform {

namespace {

void awakeFromNib(UIView& view) {
    for (const auto& subview : view.subviews()) {
        awakeFromNib(*subview);
    }
    view.awakeFromNib();
}

}  // namespace

UINib::UINib(std::string name, std::shared_ptr<Bundle> bundle)
    : name_(std::move(name)), bundle_(bundle ? std::move(bundle) : Bundle::main()) {}

std::shared_ptr<UINib> UINib::nibWithNibName(std::string name, std::shared_ptr<Bundle> bundle) {
    return std::make_shared<UINib>(std::move(name), std::move(bundle));
}

std::vector<std::shared_ptr<Object>> UINib::instantiateWithOwner(Object* owner) const {
    const auto builder = bundle_->nibBuilder(name_);
    if (!builder) {
        return {};
    }
    auto objects = builder(owner);
    for (const auto& object : objects) {
        if (auto* view = dynamic_cast<UIView*>(object.get())) {
            awakeFromNib(*view);
        }
    }
    return objects;
}

}  // namespace kelvane::platform
