#include <typeinfo>

#include <kelvane/events/event.hpp>

namespace kelvane {

std::string Event::description() const {
    return unqualifiedTypeName(typeid(*this));
}

}  // namespace kelvane
