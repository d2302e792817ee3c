#include <limits>

#include <kelvane/platform/geometry.hpp>

#include <gtest/gtest.h>

#include "case_name.hpp"
#include "geometry_printers.hpp"

namespace {

using kelvane::platform::CGPoint;
using kelvane::platform::CGRect;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct ContainsCase {
    const char* name;
    CGRect rect;
    CGPoint point;
    bool inside;
    friend void PrintTo(const ContainsCase& c, std::ostream* out) { *out << c.name; }
};

class RectContains : public ::testing::TestWithParam<ContainsCase> {};

TEST_P(RectContains, CountsMinimumEdgesInAndMaximumEdgesOut) {
    EXPECT_EQ(GetParam().rect.contains(GetParam().point), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, RectContains,
    ::testing::Values(
        ContainsCase{"Origin", {{0, 0}, {10, 10}}, {0, 0}, true},
        ContainsCase{"JustInsideMax", {{0, 0}, {10, 10}}, {9.999, 9.999}, true},
        ContainsCase{"MaxX", {{0, 0}, {10, 10}}, {10, 5}, false},
        ContainsCase{"MaxY", {{0, 0}, {10, 10}}, {5, 10}, false},
        ContainsCase{"LeftOfMin", {{0, 0}, {10, 10}}, {-0.001, 5}, false},
        ContainsCase{"ZeroWidth", {{0, 0}, {0, 10}}, {0, 5}, false},
        ContainsCase{"NegativeSizeStandardised", {{10, 10}, {-10, -10}}, {0, 0}, true},
        ContainsCase{"NegativeSizeOldOriginIsMaxEdge", {{10, 10}, {-10, -10}}, {10, 5}, false},
        ContainsCase{"NanPoint", {{0, 0}, {10, 10}}, {nan, 5}, false},
        ContainsCase{"NanWidth", {{0, 0}, {nan, 10}}, {5, 5}, false}),
    kelvane::testing::caseName);

TEST(Geometry, WidthAndHeightReadTheRectangleStandardised) {
    const CGRect rect{{5, 5}, {-3, 4}};
    EXPECT_EQ(rect.width(), 3);
    EXPECT_EQ(rect.height(), 4);
}

}  // namespace
