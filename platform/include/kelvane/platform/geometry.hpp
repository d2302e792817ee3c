#pragma once

// Core Graphics geometry: plain values, compared field by field.

namespace kelvane::platform {

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    bool operator==(const CGSize&) const = default;
};

/// A rectangle from its origin and size. A negative width or height extends the rectangle to the
/// left of or above its origin; `width()`, `height()` and `contains()` read it standardised.
struct CGRect {
    CGPoint origin;
    CGSize size;

    bool operator==(const CGRect&) const = default;

    /// The width, never negative (the rectangle read standardised).
    CGFloat width() const;
    /// The height, never negative.
    CGFloat height() const;

    /// The point-in-rectangle test: the minimum edges count as inside, the maximum edges as
    /// outside, so a rectangle of zero width or height contains no point. A coordinate that is
    /// not a number is outside.
    bool contains(CGPoint point) const;
};

}  // namespace kelvane::platform
