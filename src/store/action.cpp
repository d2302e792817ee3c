#include <kelvane/store/action.hpp>

#include <typeinfo>

namespace kelvane {

void Action::appendPrinted(std::string& out) const {
    out += qualifiedTypeName(typeid(*this));
}

}  // namespace kelvane
