#pragma once

// Readable failure messages for geometry values in tests: GoogleTest finds these by
// argument-dependent lookup.

#include <ostream>

#include <kelvane/platform/geometry.hpp>

namespace kelvane::platform {

inline void PrintTo(const CGPoint& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

inline void PrintTo(const CGSize& size, std::ostream* out) {
    *out << "(" << size.width << " x " << size.height << ")";
}

inline void PrintTo(const CGRect& rect, std::ostream* out) {
    *out << "(" << rect.origin.x << ", " << rect.origin.y << ", " << rect.size.width << " x "
         << rect.size.height << ")";
}

}  // namespace kelvane::platform
