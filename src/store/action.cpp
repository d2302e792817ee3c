#include <kelvane/core/printed.hpp>
#include <kelvane/store/action.hpp>

namespace kelvane {

void Action::appendPrinted(std::string& out) const {
    appendPrintedInstance(out, *this);
}

}  // namespace kelvane
