#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/core/VelGeomVector3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <type_traits>

namespace {
const double kPi = std::acos(-1.0);
}

TEST(VelGeomPointVector, PlainValuesWithFixedLayoutAndConstants)
{
    static_assert(std::is_trivially_copyable<VelGeomPoint3d>::value, "");
    static_assert(std::is_trivially_copyable<VelGeomVector2d>::value, "");
    static_assert(sizeof(VelGeomPoint3d) == 3 * sizeof(double), "");
    static_assert(sizeof(VelGeomPoint2d) == 2 * sizeof(double), "");
    const double xyz[] = {1, 2, 3};
    const VelGeomVector3d v(xyz);
    EXPECT_EQ(reinterpret_cast<const double*>(&v)[2], 3.0);
    EXPECT_EQ(VelGeomVector3d().lengthSqrd(), 0.0);
    EXPECT_EQ(VelGeomPoint2d().x, 0.0);
    EXPECT_EQ(VelGeomVector2d::kIdentity.length(), 0.0);
    EXPECT_EQ(VelGeomVector3d::kZAxis.z, 1.0);
    EXPECT_EQ(VelGeomVector2d::kYAxis.y, 1.0);
    EXPECT_EQ(VelGeomPoint3d::kOrigin.x, 0.0);
    double out[3] = {0, 0, 0};
    EXPECT_EQ(v.getArray(out), 1);
    EXPECT_EQ(out[1], 2.0);
}

TEST(VelGeomPointVector, ElementAccessFallsBackToX)
{
    VelGeomPoint3d p(1, 2, 3);
    EXPECT_EQ(p[0], 1.0);
    EXPECT_EQ(p[2], 3.0);
    EXPECT_EQ(p[5], 1.0);
    EXPECT_EQ(p[-1], 1.0);
    p[7] = 9;  // the writing form too
    EXPECT_EQ(p.x, 9.0);
    VelGeomVector2d v(4, 5);
    EXPECT_EQ(v[1], 5.0);
    EXPECT_EQ(v[2], 4.0);
    EXPECT_EQ(VelGeomVector3d(1, 2, 3)[3], 1.0);
}

TEST(VelGeomPointVector, AffineArithmetic)
{
    const VelGeomPoint3d p(1, 2, 3), q(4, 6, 3);
    const VelGeomVector3d d = q - p;
    EXPECT_EQ(d.length(), 5.0);
    EXPECT_EQ(p.distanceTo(q), 5.0);
    EXPECT_TRUE(p + d == q);
    EXPECT_TRUE(q - d == p);
    VelGeomPoint3d r = p;
    r += d;
    r -= d;
    r *= 2;
    EXPECT_TRUE(r == VelGeomPoint3d(2, 4, 6));
    r /= 4;
    EXPECT_TRUE(r == VelGeomPoint3d(0.5, 1, 1.5));
    EXPECT_EQ((VelGeomVector3d(2, 0, 0) / 4.0).x, 0.5);
    EXPECT_TRUE(VelGeomVector3d(1, 0, 0) * VelGeomVector3d(0, 1, 0) == VelGeomVector3d(0, 0, 1));
    EXPECT_TRUE(VelGeomVector3d(0, 1, 0).crossProduct(VelGeomVector3d(1, 0, 0)) == VelGeomVector3d(0, 0, -1));
    VelGeomVector3d n(1, -2, 3);
    n.negate();
    EXPECT_TRUE(n == VelGeomVector3d(-1, 2, -3));
    EXPECT_TRUE(-n == VelGeomVector3d(1, -2, 3));

    VelGeomPoint2d a(1, 1);
    const VelGeomVector2d w(2, 3);
    EXPECT_TRUE(a + w == VelGeomPoint2d(3, 4));
    EXPECT_TRUE((a + w) - a == w);
    EXPECT_TRUE(a * 3 == VelGeomPoint2d(3, 3));
    EXPECT_TRUE(a / 2 == VelGeomPoint2d(0.5, 0.5));
    VelGeomPoint2d s;
    s.setToSum(a, w);
    EXPECT_TRUE(s == VelGeomPoint2d(3, 4));
    VelGeomVector2d t;
    t.setToSum(w, w);
    EXPECT_TRUE(t == VelGeomVector2d(4, 6));
    t.setToProduct(w, -1);
    EXPECT_TRUE(t == -w);
    EXPECT_EQ(w.dotProduct(VelGeomVector2d(1, -1)), -1.0);
    EXPECT_TRUE(w.perpVector() == VelGeomVector2d(-3, 2));
    a.scaleBy(3, VelGeomPoint2d(1, 0));
    EXPECT_TRUE(a == VelGeomPoint2d(1, 3));
}

TEST(VelGeomPointVector, TwoDimensionalEqualityIsInclusiveThreeDimensionalStrict)
{
    const VelGeomTol& g = VelGeomTol::gTol;
    // Exactly representable offsets around the bound 1e-10 (a power-of-two scale).
    const VelGeomTol t(0.25, 0.25);
    EXPECT_TRUE(VelGeomPoint2d(0, 0).isEqualTo(VelGeomPoint2d(0.25, 0), t));
    EXPECT_FALSE(VelGeomPoint3d(0, 0, 0).isEqualTo(VelGeomPoint3d(0.25, 0, 0), t));
    EXPECT_TRUE(VelGeomPoint2d(0, 0).isEqualTo(VelGeomPoint2d(1e-10, 0), g));
    EXPECT_FALSE(VelGeomPoint3d(0, 0, 0).isEqualTo(VelGeomPoint3d(1e-10, 0, 0), g));
    EXPECT_TRUE(VelGeomPoint3d(0, 0, 0).isEqualTo(VelGeomPoint3d(0.9e-10, 0, 0), g));
    // Vectors: strict in both dimensions.
    EXPECT_FALSE(VelGeomVector2d(0, 0).isEqualTo(VelGeomVector2d(0.25, 0), t));
    EXPECT_FALSE(VelGeomVector3d(0, 0, 0).isEqualTo(VelGeomVector3d(0.25, 0, 0), t));
    EXPECT_FALSE(VelGeomVector3d(0.25, 0, 0).isZeroLength(t));
    EXPECT_TRUE(VelGeomVector3d(0.2, 0, 0).isZeroLength(t));
}

TEST(VelGeomPointVector, OperatorEqualsOfThreeDimensionalTypesIgnoresTolerances)
{
    const VelGeomPoint3d p(1, 2, 3);
    EXPECT_TRUE(p == VelGeomPoint3d(1 + 0.9e-8, 2, 3));
    EXPECT_FALSE(p == VelGeomPoint3d(1, 2 + 1.1e-8, 3));
    EXPECT_TRUE(p != VelGeomPoint3d(1, 2, 3 - 1.1e-8));
    EXPECT_TRUE(VelGeomVector3d(0, 0, 0) == VelGeomVector3d(0.9e-8, -0.9e-8, 0.9e-8));
    EXPECT_FALSE(VelGeomVector3d(0, 0, 0) == VelGeomVector3d(0, 0, 1.1e-8));
    // Though isEqualTo with gTol says these differ.
    EXPECT_FALSE(p.isEqualTo(VelGeomPoint3d(1 + 0.9e-8, 2, 3)));
    // 2D operator== follows gTol.
    EXPECT_FALSE(VelGeomPoint2d(0, 0) == VelGeomPoint2d(1e-9, 0));
    EXPECT_TRUE(VelGeomPoint2d(0, 0) != VelGeomPoint2d(1e-9, 0));
    EXPECT_TRUE(VelGeomPoint2d(0, 0) == VelGeomPoint2d(1e-10, 0));
    EXPECT_FALSE(VelGeomVector2d(0, 0) == VelGeomVector2d(1e-10, 0));
    EXPECT_TRUE(VelGeomVector2d(0, 0) == VelGeomVector2d(0.5e-10, 0));
}

TEST(VelGeomPointVector, DirectionPredicates)
{
    const VelGeomTol& g = VelGeomTol::gTol;
    using V = VelGeomVector3d;
    EXPECT_TRUE(V(1, 0, 0).isParallelTo(V(-3, 0, 0), g));
    EXPECT_FALSE(V(1, 0, 0).isCodirectionalTo(V(-3, 0, 0), g));
    EXPECT_TRUE(V(1, 0, 0).isCodirectionalTo(V(3, 0, 0), g));
    EXPECT_FALSE(V(1, 0, 0).isParallelTo(V(1, 1e-6, 0), g));
    EXPECT_TRUE(V(1, 0, 0).isParallelTo(V(1, 1e-6, 0), VelGeomTol(1e-10, 1e-5)));
    EXPECT_TRUE(V(1, 0, 0).isPerpendicularTo(V(0, 0, 5), g));
    EXPECT_FALSE(V(1, 1e-6, 0).isPerpendicularTo(V(1, 0, 0), g));
    // A zero vector is perpendicular to everything and parallel to nothing non-zero.
    EXPECT_TRUE(V(0, 0, 0).isPerpendicularTo(V(1, 0, 0), g));
    EXPECT_FALSE(V(0, 0, 0).isParallelTo(V(1, 0, 0), g));

    using W = VelGeomVector2d;
    EXPECT_TRUE(W(2, 2).isParallelTo(W(-1, -1), g));
    EXPECT_FALSE(W(2, 2).isCodirectionalTo(W(-1, -1), g));
    EXPECT_TRUE(W(2, 0).isPerpendicularTo(W(0, -7), g));
    EXPECT_TRUE(W(0.6, 0.8).isUnitLength(g));
    EXPECT_FALSE(W(0.6, 0.9).isUnitLength(g));
    EXPECT_TRUE(W(0, 0).isUnitLength(g));  // the normal of zero is zero
}

TEST(VelGeomPointVector, NormalisationRules)
{
    const VelGeomTol& g = VelGeomTol::gTol;
    EXPECT_TRUE(VelGeomVector3d(0, 0, 0).normal(g) == VelGeomVector3d(0, 0, 0));
    const VelGeomVector3d tiny(1e-11, 0, 0);
    EXPECT_EQ(tiny.normal(g).x, 1e-11);
    VelGeomVector3d t2 = tiny;
    t2.normalize();
    EXPECT_EQ(t2.x, 1.0);
    VelGeomVector3d zero;
    zero.normalize();
    EXPECT_EQ(zero.length(), 0.0);
    // At exactly the tolerance the vector is normalised (inclusive).
    const VelGeomTol quarter(0.25, 0.25);
    EXPECT_EQ(VelGeomVector3d(0.25, 0, 0).normal(quarter).x, 1.0);
    EXPECT_EQ(VelGeomVector3d(0.125, 0, 0).normal(quarter).x, 0.125);
    VelGeomVector2d w(0.25, 0);
    w.normalize(quarter);
    EXPECT_EQ(w.x, 1.0);
    EXPECT_EQ(VelGeomVector2d(0.125, 0).normal(quarter).x, 0.125);
    EXPECT_DOUBLE_EQ(VelGeomVector2d(3, 4).normal().y, 0.8);
}

TEST(VelGeomPointVector, PerpVectorAndLargestElement)
{
    const VelGeomVector3d a = VelGeomVector3d(0.01, 0.01, 1).perpVector();
    const VelGeomVector3d ea = VelGeomVector3d(1, 0, -0.01) / std::sqrt(1.0001);
    EXPECT_NEAR(a.x, ea.x, 1e-15);
    EXPECT_NEAR(a.z, ea.z, 1e-15);
    EXPECT_EQ(a.y, 0.0);
    const VelGeomVector3d b = VelGeomVector3d(0, 0.02, 1).perpVector();
    EXPECT_EQ(b.x, -1.0);
    EXPECT_EQ(b.y, 0.0);
    EXPECT_EQ(b.z, 0.0);
    // At |x| = 1/64 exactly the bound is not met: (-y, x, 0).
    const VelGeomVector3d c = VelGeomVector3d(0.015625, 0, 1).perpVector();
    EXPECT_EQ(c.y, 1.0);
    EXPECT_EQ(c.z, 0.0);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < 200; ++i) {
        const VelGeomVector3d v(u(rng), u(rng), u(rng));
        const VelGeomVector3d p = v.perpVector();
        EXPECT_NEAR(p.length(), 1.0, 1e-14);
        EXPECT_NEAR(p.dotProduct(v), 0.0, 1e-14);
    }

    using V = VelGeomVector3d;
    EXPECT_EQ(V(1, 2, 3).largestElement(), 2);
    EXPECT_EQ(V(1, 3, 3).largestElement(), 1);  // y ties z: y
    EXPECT_EQ(V(3, 3, 1).largestElement(), 0);  // y ties x: x
    EXPECT_EQ(V(3, 1, 3).largestElement(), 0);  // x ties z: x
    EXPECT_EQ(V(-1, 0, -4).largestElement(), 2);
    EXPECT_EQ(VelGeomVector2d(1, -2).largestElement(), 1);
    EXPECT_EQ(VelGeomVector2d(2, -2).largestElement(), 0);
}

TEST(VelGeomPointVector, TwoDimensionalAngles)
{
    using W = VelGeomVector2d;
    EXPECT_EQ(W(1, 0).angle(), 0.0);
    EXPECT_DOUBLE_EQ(W(0, -1).angle(), 1.5 * kPi);
    EXPECT_DOUBLE_EQ(W(-1, 0).angle(), kPi);
    EXPECT_EQ(W(1e-11, 1e-11).angle(), 0.0);
    EXPECT_DOUBLE_EQ(W(1, 0).angleTo(W(0, 1), false, false), kPi / 2);
    EXPECT_DOUBLE_EQ(W(1, 0).angleTo(W(0, 1), false, true), 1.5 * kPi);
    EXPECT_DOUBLE_EQ(W(1, 0).angleTo(W(1, 0), false, false), 2 * kPi);
    EXPECT_DOUBLE_EQ(W(1, 0).angleTo(W(1, 0), false, true), 2 * kPi);
    EXPECT_DOUBLE_EQ(W(0, 1).angleTo(W(1, 0), false, true), kPi / 2);
    EXPECT_DOUBLE_EQ(W(1, 0).angleTo(W(-1, -1), true, false), 0.75 * kPi);
    EXPECT_EQ(W(0, 0).angleTo(W(1, 0)), 0.0);
    EXPECT_EQ(W(1, 0).angleTo(W(0, 0), true), 0.0);
    // Equal unit directions undirected: 0, not NaN.
    const W d(0.1, 0.7);
    EXPECT_EQ(d.angleTo(d * 3.0, true), 0.0);
}

TEST(VelGeomPointVector, ThreeDimensionalUnsignedAngle)
{
    using V = VelGeomVector3d;
    EXPECT_EQ(V(1, 0, 0).angleTo(V(5, 0, 0)), 0.0);
    EXPECT_EQ(V(1, 0, 0).angleTo(V(-5, 0, 0)), kPi);
    EXPECT_DOUBLE_EQ(V(1, 0, 0).angleTo(V(1, 1, 0)), kPi / 4);
    EXPECT_DOUBLE_EQ(V(0, 0, 2).angleTo(V(0, 3, 0)), kPi / 2);
    EXPECT_EQ(V(0, 0, 0).angleTo(V(1, 0, 0)), 0.0);
    EXPECT_EQ(V(0, 0, 0).angleTo(V(0, 0, 0)), 0.0);
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int i = 0; i < 100; ++i) {
        const V a(u(rng), u(rng), u(rng)), b(u(rng), u(rng), u(rng));
        // Independent oracle: atan2 of |a x b| and a.b.
        const double want = std::atan2(a.crossProduct(b).length(), a.dotProduct(b));
        EXPECT_NEAR(a.angleTo(b), want, 1e-9);
    }
}
