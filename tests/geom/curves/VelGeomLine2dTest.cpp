#include "geom/core/VelGeomMatrix2d.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLineSeg2d.h"
#include "geom/curves/VelGeomRay2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

using P = VelGeomPoint2d;
using V = VelGeomVector2d;

const double kPi = std::acos(-1.0);

VelArray<P> cut(const VelGeomCurve2d& a, const VelGeomCurve2d& b, const VelGeomTol& tol = VelGeomTol::gTol)
{
    VelArray<P> pts;
    a.intersectWith(b, pts, tol);
    return pts;
}

std::unique_ptr<VelGeomLine2d> makeStraight(int kind, const P& a, const P& b)
{
    switch (kind) {
    case 0:
        return std::make_unique<VelGeomLine2d>(a, b);
    case 1:
        return std::make_unique<VelGeomRay2d>(a, b);
    default:
        return std::make_unique<VelGeomLineSeg2d>(a, b);
    }
}

}  // namespace

TEST(VelGeomLine2d, ConstructionAndKinds)
{
    const VelGeomLineSeg2d def;
    EXPECT_EQ(def.getEndPoint(), P(1, 0));
    EXPECT_EQ(def.direction(), V(1, 0));
    const VelGeomLineSeg2d s(P(1, 1), V(0, 3));
    EXPECT_EQ(s.getEndPoint(), P(1, 4));
    EXPECT_EQ(s.getMidPoint(), P(1, 2.5));
    EXPECT_EQ(s.direction(), V(0, 1));
    EXPECT_EQ(s.getLength(), 3.0);
    EXPECT_EQ(VelGeomLine2d::kYAxis.direction(), V(0, 1));
    EXPECT_EQ(VelGeomLine2d::kXAxis.evalPoint(3.0), P(3, 0));
    EXPECT_EQ(VelGeomLine2d().getLength(), 0.0);
    EXPECT_TRUE(s.isKindOf(VelGeomCurve2d::kLine));
    EXPECT_TRUE(VelGeomRay2d().isKindOf(VelGeomCurve2d::kLine));
    EXPECT_FALSE(VelGeomLine2d().isKindOf(VelGeomCurve2d::kRay));
    P p;
    double t = 5;
    EXPECT_FALSE(VelGeomLine2d().hasStartPoint(p));
    EXPECT_FALSE(VelGeomLine2d().hasStartParam(t));
    EXPECT_TRUE(VelGeomRay2d(P(2, 2), V(1, 0)).hasStartPoint(p));
    EXPECT_EQ(p, P(2, 2));
    EXPECT_FALSE(VelGeomRay2d().hasEndPoint(p));
    EXPECT_TRUE(s.hasEndParam(t));
    EXPECT_EQ(t, 1.0);
}

TEST(VelGeomLine2d, LineLineIntersection)
{
    VelArray<P> pts = cut(VelGeomLine2d(P(0, 0), V(1, 0)), VelGeomLine2d(P(1, -1), V(0, 1)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 0));
    EXPECT_EQ(cut(VelGeomLine2d(P(0, 0), V(1, 0)), VelGeomLine2d(P(0, 1), V(-2, 0))).length(), 0);
    EXPECT_EQ(cut(VelGeomLine2d(P(0, 0), V(1, 0)), VelGeomLine2d(P(5, 0), V(2, 0))).length(), 0);

    // With a tolerance fine enough to let nearly parallel lines through,
    // determinants below 1e-15 still count as parallel.
    const VelGeomTol fine(1e-20, 1e-20);
    EXPECT_EQ(cut(VelGeomLine2d(P(0, 0), V(1, 0)), VelGeomLine2d(P(0, 1), V(1, 1e-16)), fine).length(), 0);
    pts = cut(VelGeomLine2d(P(0, 0), V(1, 0)), VelGeomLine2d(P(0, 1), V(1, 1e-14)), fine);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].x / -1e14, 1.0, 1e-6);
    // The parallel test itself takes the tolerance passed in.
    EXPECT_EQ(cut(VelGeomLine2d(P(0, 0), V(1, 0)), VelGeomLine2d(P(0, 1), V(1, 1e-14))).length(), 0);
}

TEST(VelGeomLine2d, PrecisionFloor)
{
    VelGeomTol::precTol.setEqualPoint(1.0);
    cut(VelGeomLine2d(P(0, 0), V(1, 0)), VelGeomLine2d(P(1, -1), V(0, 1)));
    EXPECT_EQ(VelGeomTol::precTol.equalPoint(), 1e-10);
    // Far from the origin the residual of the solved equations raises it.
    const VelArray<P> pts =
        cut(VelGeomLine2d(P(1e8 + 0.1, 3.3), V(0.3, 0.7)), VelGeomLine2d(P(-2e8 + 0.7, 0.9), V(0.8, -0.1)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_GT(VelGeomTol::precTol.equalPoint(), 1e-10);
    EXPECT_LT(VelGeomTol::precTol.equalPoint(), 1e-5);
    VelGeomTol::resetPrecTol();
}

TEST(VelGeomLine2d, SegmentIntersections)
{
    const VelGeomLineSeg2d a(P(0, 0), P(2, 0));
    VelArray<P> pts = cut(a, VelGeomLineSeg2d(P(2, 0), P(3, 0)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(2, 0));
    // Opposite directions touching at their ends meet too.
    pts = cut(a, VelGeomLineSeg2d(P(3, 0), P(2, 0)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(2, 0));
    pts = cut(VelGeomLineSeg2d(P(-1, 0), P(0, 0)), a);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(0, 0));
    pts = cut(VelGeomLineSeg2d(P(0, 0), P(-1, 0)), a);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(0, 0));
    // Overlapping and disjoint colinear segments give no point.
    EXPECT_EQ(cut(a, VelGeomLineSeg2d(P(1, 0), P(3, 0))).length(), 0);
    EXPECT_EQ(cut(a, VelGeomLineSeg2d(P(5, 0), P(3, 0))).length(), 0);

    pts = cut(a, VelGeomLineSeg2d(P(1, -1), P(1, 1)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 0));
    EXPECT_EQ(cut(a, VelGeomLineSeg2d(P(1, 0.5), P(1, 1))).length(), 0);
    // Just beyond the end: on it only under a looser tolerance.
    const VelGeomLineSeg2d across(P(2 + 1e-9, -1), P(2 + 1e-9, 1));
    EXPECT_EQ(cut(a, across).length(), 0);
    EXPECT_EQ(cut(a, across, VelGeomTol(1e-8, 1e-8)).length(), 1);
    EXPECT_EQ(cut(a, VelGeomLineSeg2d(P(2 - 1e-9, -1), P(2 - 1e-9, 1))).length(), 1);
    // A degenerate segment is a point.
    pts = cut(VelGeomLineSeg2d(P(1, 0), P(1, 0)), a);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 0));
}

TEST(VelGeomLine2d, RaysAreHalfLines)
{
    const VelGeomRay2d r(P(0, 0), V(1, 0));
    EXPECT_EQ(cut(r, VelGeomLine2d(P(-1, 0), V(0, 1))).length(), 0);
    VelArray<P> pts = cut(r, VelGeomLineSeg2d(P(3, -1), P(3, 1)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(3, 0));
    EXPECT_EQ(cut(VelGeomLineSeg2d(P(-3, -1), P(-3, 1)), r).length(), 0);
    EXPECT_EQ(cut(VelGeomLineSeg2d(P(3, -1), P(3, 1)), r).length(), 1);
    EXPECT_TRUE(r.isOn(P(0, 0)));
    EXPECT_TRUE(r.isOn(P(7, 0)));
    EXPECT_FALSE(r.isOn(P(-7, 0)));
    EXPECT_EQ(r.getClosestPointTo(P(-3, 3)), P(0, 0));
    EXPECT_EQ(r.getClosestPointTo(P(3, 3)), P(3, 0));
}

TEST(VelGeomLine2d, ParametersAndPointQueries)
{
    const VelGeomLineSeg2d s(P(0, 0), P(4, 0));
    EXPECT_EQ(s.evalPoint(0.25), P(1, 0));
    EXPECT_EQ(s.paramOf(P(1, 0)), 0.25);
    EXPECT_EQ(s.paramOf(P(-2, 0)), -0.5);
    EXPECT_EQ(s.getClosestPointTo(P(5, 3)), P(4, 0));
    EXPECT_EQ(s.getClosestPointTo(P(-1, 3)), P(0, 0));
    EXPECT_EQ(s.getClosestPointTo(P(2, 3)), P(2, 0));
    EXPECT_EQ(s.distanceTo(P(7, 4)), 5.0);
    EXPECT_TRUE(s.isOn(P(4 + 1e-9, 0), VelGeomTol(1e-8, 1e-8)));
    EXPECT_FALSE(s.isOn(P(4 + 1e-9, 0)));
    EXPECT_TRUE(s.isOn(P(4 - 1e-9, 0)));
    EXPECT_FALSE(s.isOn(P(-1e-9, 0)));
    EXPECT_FALSE(s.isOn(P(2, 1e-6)));

    const VelGeomLine2d line(P(0, 0), P(4, 0));
    EXPECT_TRUE(line.isOn(P(-40, 0)));
    EXPECT_TRUE(line.isColinearTo(VelGeomLine2d(P(9, 0), V(-1, 0))));
    EXPECT_FALSE(line.isColinearTo(VelGeomLine2d(P(9, 1), V(-1, 0))));
    EXPECT_TRUE(line.isParallelTo(VelGeomLine2d(P(9, 1), V(-1, 0))));
    EXPECT_EQ(line.getClosestPointTo(P(-3, 2)), P(-3, 0));
}

TEST(VelGeomLine2d, OffsetsMoveToTheLeft)
{
    const VelGeomLineSeg2d s(P(0, 0), P(4, 0));
    VelArray<VelGeomCurve2d*> pieces;
    s.getOffset(1.0, pieces, kOffsetExtExtend);
    ASSERT_EQ(pieces.length(), 1);
    P a, b;
    EXPECT_TRUE(pieces[0]->hasStartPoint(a));
    EXPECT_TRUE(pieces[0]->hasEndPoint(b));
    EXPECT_EQ(a, P(0, 1));
    EXPECT_EQ(b, P(4, 1));
    EXPECT_EQ(pieces[0]->getType(), VelGeomCurve2d::kLineSeg);
    delete pieces[0];
    VelGeomRay2d(P(0, 0), V(0, 2)).getOffset(-1.5, pieces, kOffsetExtNone);
    ASSERT_EQ(pieces.length(), 1);
    EXPECT_TRUE(pieces[0]->hasStartPoint(a));
    EXPECT_EQ(a, P(1.5, 0));
    EXPECT_EQ(pieces[0]->getType(), VelGeomCurve2d::kRay);
    delete pieces[0];
}

TEST(VelGeomLine2d, Transformations)
{
    VelGeomLineSeg2d s(P(1, 0), P(3, 0));
    s.transformBy(VelGeomMatrix2d::rotation(kPi / 2));
    EXPECT_TRUE(s.getEndPoint().isEqualTo(P(0, 3), VelGeomTol(1e-12, 1e-12)));
    EXPECT_TRUE(s.evalPoint(1.0).isEqualTo(P(0, 3), VelGeomTol(1e-12, 1e-12)));
    VelGeomLineSeg2d n(P(0, 0), P(1, 1));
    VelGeomMatrix2d stretch;
    stretch(0, 0) = 3.0;
    n.transformBy(stretch);
    EXPECT_EQ(n.getEndPoint(), P(3, 1));
    EXPECT_TRUE(n.evalPoint(1.0).isEqualTo(P(3, 1), VelGeomTol(1e-12, 1e-12)));
    EXPECT_NEAR(n.paramOf(P(1.5, 0.5)), 0.5, 1e-12);
    VelGeomLineSeg2d m(P(1, 1), P(2, 1));
    m.transformBy(VelGeomMatrix2d::mirroring(VelGeomLine2d::kYAxis));
    EXPECT_EQ(m.getEndPoint(), P(-2, 1));
    EXPECT_TRUE(m.isOn(P(-1.5, 1)));
}

TEST(VelGeomLine2d, ClosestPairIsNoFartherThanAnySampledPair)
{
    VelGeomPoint2d other;
    const VelGeomLineSeg2d a(P(0, 0), P(1, 0));
    EXPECT_EQ(a.getClosestPointTo(VelGeomLineSeg2d(P(2, 1), P(2, 3)), other), P(1, 0));
    EXPECT_EQ(other, P(2, 1));

    std::mt19937 gen(43);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int k = 0; k < 90; ++k) {
        const int k1 = k % 3, k2 = (k / 3) % 3;
        const auto c1 = makeStraight(k1, P(u(gen), u(gen)), P(u(gen), u(gen)));
        const auto c2 = makeStraight(k2, P(u(gen), u(gen)), P(u(gen), u(gen)));
        const P mine = c1->getClosestPointTo(*c2, other);
        const double best = mine.distanceTo(other);
        EXPECT_TRUE(c1->isOn(mine, VelGeomTol(1e-8, 1e-8)));
        EXPECT_TRUE(c2->isOn(other, VelGeomTol(1e-8, 1e-8)));
        const double from1 = k1 == 0 ? -30 : 0, to1 = k1 == 2 ? 1 : 30;
        for (int i = 0; i <= 300; ++i) {
            const P s = c1->evalPoint(from1 + (to1 - from1) * i / 300.0);
            EXPECT_LE(best, c2->distanceTo(s) + 1e-9) << "kinds " << k1 << ", " << k2;
        }
    }
}
