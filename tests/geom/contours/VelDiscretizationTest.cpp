#include "geom/contours/VelDiscretization.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
using P2 = VelGeomPoint2d;

struct WidthGuard {
    ~WidthGuard() { VelDiscretization::m_dfDiscretizationIntervalLength = 10.0; }
};

VelArray<P2> pts(std::initializer_list<P2> list)
{
    VelArray<P2> a;
    for (const P2& p : list)
        a.append(p);
    return a;
}
} // namespace

TEST(VelDiscretization, SegmentsAreCutIntoStripsOfBoundedWidth)
{
    WidthGuard restore;
    VelArray<P2> h = pts({P2(25, 1), P2(0, 1)});
    const VelArray<VelGeomExtents> boxes = VelDiscretization::sampleLine(h);
    EXPECT_EQ(h[0].x, 0.0);  // sorted in the caller's array
    ASSERT_EQ(boxes.length(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(boxes[i].maxPoint().x - boxes[i].minPoint().x, 25.0 / 3, 1e-12);
        EXPECT_EQ(boxes[i].minPoint().z, 0.0);
    }
    EXPECT_EQ(boxes[2].maxPoint().x, 25.0);

    VelArray<P2> shortOne = pts({P2(0, 0), P2(3, 4)});
    EXPECT_EQ(VelDiscretization::sampleLine(shortOne).length(), 1);

    VelArray<P2> point = pts({P2(2, 2), P2(2, 2)});
    const VelArray<VelGeomExtents> widened = VelDiscretization::sampleLine(point);
    ASSERT_EQ(widened.length(), 1);
    EXPECT_EQ(widened[0].minPoint().x, 1.0);
    EXPECT_EQ(widened[0].maxPoint().y, 3.0);

    VelArray<P2> vertical = pts({P2(1, 0), P2(1, 50)});
    EXPECT_EQ(VelDiscretization::sampleLine(vertical).length(), 1);

    // A slanted segment: the strips cover it and each is at most one width wide.
    VelArray<P2> slant = pts({P2(0, 0), P2(35, 20)});
    const VelArray<VelGeomExtents> s = VelDiscretization::sampleLine(slant);
    ASSERT_EQ(s.length(), 4);
    EXPECT_NEAR(s[3].maxPoint().x, 35.0, 1e-12);
    EXPECT_NEAR(s[3].maxPoint().y, 20.0, 1e-12);
    for (int i = 0; i < 4; ++i) {
        EXPECT_LE(s[i].maxPoint().x - s[i].minPoint().x, 10.0);
        EXPECT_NEAR(s[i].maxPoint().y / s[i].maxPoint().x, 20.0 / 35.0, 1e-12);
    }

    VelDiscretization::m_dfDiscretizationIntervalLength = 5.0;
    VelArray<P2> longOne = pts({P2(0, 0), P2(39, 0)});
    EXPECT_EQ(VelDiscretization::sampleLine(longOne).length(), 8);
    VelDiscretization::m_dfDiscretizationIntervalLength = 10.0;
    EXPECT_EQ(VelDiscretization::sampleLine(longOne).length(), 4);

    VelArray<P2> wrong = pts({P2(0, 0)});
    EXPECT_EQ(VelDiscretization::sampleLine(wrong).length(), 0);
}

TEST(VelDiscretization, RectanglesAreCutIntoExactSliceBoxes)
{
    // A 40 x 6 rectangle turned by 30 degrees.
    const double a = std::acos(-1.0) / 6;
    const VelGeomVector2d u(std::cos(a), std::sin(a)), v(-std::sin(a), std::cos(a));
    const P2 o(5, 5);
    VelArray<P2> r = pts({o + u * 40.0 + v * 6.0, o, o + v * 6.0, o + u * 40.0});
    const VelArray<VelGeomExtents> boxes = VelDiscretization::sampleRectangle(r, 0);
    for (int i = 0; i + 1 < 4; ++i)
        EXPECT_LE(r[i].x, r[i + 1].x);
    ASSERT_GT(boxes.length(), 3);
    double covered = boxes[0].minPoint().x;
    for (int i = 0; i < boxes.length(); ++i) {
        EXPECT_LE(boxes[i].maxPoint().x - boxes[i].minPoint().x, 10.0 + 1e-9);
        EXPECT_NEAR(boxes[i].minPoint().x, covered, 1e-9);  // strips follow each other
        covered = boxes[i].maxPoint().x;
        // Every box is tight: the rectangle's slice touches its top and bottom.
        const double xa = boxes[i].minPoint().x, xb = boxes[i].maxPoint().x;
        double lo = 1e300, hi = -1e300;
        for (int k = 0; k <= 400; ++k)
            for (int m = 0; m <= 40; ++m) {
                const P2 p = o + u * (40.0 * k / 400) + v * (6.0 * m / 40);
                if (p.x >= xa - 1e-9 && p.x <= xb + 1e-9) {
                    lo = std::min(lo, p.y);
                    hi = std::max(hi, p.y);
                }
            }
        EXPECT_NEAR(boxes[i].minPoint().y, lo, 0.2);
        EXPECT_NEAR(boxes[i].maxPoint().y, hi, 0.2);
        EXPECT_LE(boxes[i].minPoint().y, lo + 1e-9);
        EXPECT_GE(boxes[i].maxPoint().y, hi - 1e-9);
    }
    EXPECT_NEAR(covered, (o + u * 40.0 + v * 6.0).x > (o + u * 40.0).x ? (o + u * 40.0 + v * 6.0).x : (o + u * 40.0).x,
                1e-9);

    VelArray<P2> again = r;
    const VelArray<VelGeomExtents> withWhole = VelDiscretization::sampleRectangle(again, 1);
    ASSERT_EQ(withWhole.length(), boxes.length() + 1);
    EXPECT_NEAR(withWhole[0].minPoint().x, r[0].x, 1e-12);
    EXPECT_NEAR(withWhole[0].maxPoint().x, r[3].x, 1e-12);

    // Axis-parallel, or smaller than one strip: one box of all corners.
    VelArray<P2> axis = pts({P2(0, 0), P2(50, 0), P2(50, 3), P2(0, 3)});
    EXPECT_EQ(VelDiscretization::sampleRectangle(axis, 0).length(), 1);
    VelArray<P2> small = pts({P2(0, 0), P2(3, 1), P2(2, 4), P2(-1, 3)});
    EXPECT_EQ(VelDiscretization::sampleRectangle(small, 0).length(), 1);
    VelArray<P2> wrong = pts({P2(0, 0), P2(1, 1)});
    EXPECT_EQ(VelDiscretization::sampleRectangle(wrong, 0).length(), 0);
}
