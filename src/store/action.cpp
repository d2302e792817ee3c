#include <typeinfo>

#include <kelvane/store/action.hpp>

namespace kelvane {

void Action::appendPrinted(std::string& out) const {
    out += qualifiedTypeName(typeid(*this));
}

}  // namespace kelvane
