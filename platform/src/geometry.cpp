#include <cmath>

#include <kelvane/platform/geometry.hpp>

namespace kelvane::platform {

CGFloat CGRect::width() const {
    return std::fabs(size.width);
}

CGFloat CGRect::height() const {
    return std::fabs(size.height);
}

bool CGRect::contains(CGPoint point) const {
    const CGFloat minX = std::fmin(origin.x, origin.x + size.width);
    const CGFloat minY = std::fmin(origin.y, origin.y + size.height);
    // Written so that any NaN (in the point or the rectangle) makes a comparison false.
    return point.x >= minX && point.x < minX + width() && point.y >= minY &&
           point.y < minY + height();
}

}  // namespace kelvane::platform
