#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc2d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg2d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay2d.h"
#include "geom/curves/VelGeomRay3d.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using P2 = VelGeomPoint2d;
using V2 = VelGeomVector2d;
using P3 = VelGeomPoint3d;
using V3 = VelGeomVector3d;

const double kPi = std::acos(-1.0);

template <class Pt>
bool contains(const VelArray<Pt>& pts, const Pt& p, double eps = 1e-9)
{
    for (int i = 0; i < pts.length(); ++i)
        if (pts[i].distanceTo(p) < eps)
            return true;
    return false;
}

template <class Curve, class Pt>
VelArray<Pt> cut(const Curve& a, const Curve& b, const VelGeomTol& tol = VelGeomTol::gTol)
{
    VelArray<Pt> pts;
    a.intersectWith(b, pts, tol);
    return pts;
}

VelArray<P2> cut2(const VelGeomCurve2d& a, const VelGeomCurve2d& b) { return cut<VelGeomCurve2d, P2>(a, b); }
VelArray<P3> cut3(const VelGeomCurve3d& a, const VelGeomCurve3d& b, const VelGeomTol& tol = VelGeomTol::gTol)
{
    return cut<VelGeomCurve3d, P3>(a, b, tol);
}

}  // namespace

TEST(VelGeomLineArc2d, LinesThroughCircles)
{
    const VelGeomCircArc2d circle(P2(1, 1), 2, V2(1, 0));
    VelArray<P2> pts = cut2(VelGeomLine2d(P2(-5, 1), P2(0, 1)), circle);
    ASSERT_EQ(pts.length(), 2);
    EXPECT_NEAR(pts[0].distanceTo(pts[1]), 4, 1e-12);
    EXPECT_TRUE(contains(pts, P2(-1, 1)) && contains(pts, P2(3, 1)));
    // The arc hands a line back to the line's routine: same points.
    const VelArray<P2> back = cut2(circle, VelGeomLine2d(P2(-5, 1), P2(0, 1)));
    ASSERT_EQ(back.length(), 2);
    EXPECT_TRUE(contains(back, pts[0]) && contains(back, pts[1]));

    // Tangent: one point, also when the line is nearly tangent.
    pts = cut2(VelGeomLine2d(P2(0, 3), V2(1, 0)), circle);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].x, 1, 1e-12);
    EXPECT_NEAR(pts[0].y, 3, 1e-12);
    EXPECT_TRUE(cut2(VelGeomLine2d(P2(0, 3.001), V2(1, 0)), circle).isEmpty());
    // A secant off the centre, checked on both curves.
    pts = cut2(VelGeomLine2d(P2(0, 2), V2(1, 0)), circle);
    ASSERT_EQ(pts.length(), 2);
    EXPECT_TRUE(contains(pts, P2(1 - std::sqrt(3.0), 2)) && contains(pts, P2(1 + std::sqrt(3.0), 2)));
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(circle.isOn(pts[i]));
    // The precision floor is raised only by rounding.
    EXPECT_GE(VelGeomTol::precTol.equalPoint(), 1e-10);
    EXPECT_LT(VelGeomTol::precTol.equalPoint(), 1e-8);
    VelGeomTol::resetPrecTol();
}

TEST(VelGeomLineArc2d, BoundsOfArcsSegmentsAndRays)
{
    // The upper half, in either sense, and its mirror image.
    const VelGeomCircArc2d upper(P2(0, 0), 1, V2(1, 0), kPi, false);
    const VelGeomCircArc2d upperCw(P2(0, 0), 1, V2(-1, 0), kPi, true);
    const VelGeomCircArc2d lower(P2(0, 0), 1, V2(1, 0), kPi, true);
    const VelGeomLine2d vertical(P2(0.6, -5), V2(0, 1));
    for (const VelGeomCircArc2d* a : {&upper, &upperCw}) {
        const VelArray<P2> pts = cut2(vertical, *a);
        ASSERT_EQ(pts.length(), 1);
        EXPECT_NEAR(pts[0].y, 0.8, 1e-12);
    }
    VelArray<P2> pts = cut2(vertical, lower);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].y, -0.8, 1e-12);
    // Through both ends of the half circle.
    pts = cut2(VelGeomLine2d(P2(-3, 0), V2(1, 0)), upper);
    ASSERT_EQ(pts.length(), 2);
    EXPECT_TRUE(contains(pts, P2(1, 0)) && contains(pts, P2(-1, 0)));

    // Segments and rays keep only their own points.
    const VelGeomCircArc2d circle(P2(0, 0), 2, V2(1, 0));
    pts = cut2(VelGeomLineSeg2d(P2(0, 0), P2(5, 0)), circle);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_TRUE(contains(pts, P2(2, 0)));
    EXPECT_TRUE(cut2(VelGeomLineSeg2d(P2(-1, 0), P2(1, 0)), circle).isEmpty());
    pts = cut2(VelGeomRay2d(P2(0, 0), V2(-1, 0)), circle);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_TRUE(contains(pts, P2(-2, 0)));
    pts = cut2(circle, VelGeomRay2d(P2(0, 0), V2(-1, 0)));
    ASSERT_EQ(pts.length(), 1);
    // A segment ending on the circle.
    pts = cut2(VelGeomLineSeg2d(P2(0, 5), P2(0, 2)), circle);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_TRUE(contains(pts, P2(0, 2)));
    // A degenerate arc is never cut.
    EXPECT_TRUE(cut2(vertical, VelGeomCircArc2d(P2(0, 0), P2(1, 1), P2(2, 2))).isEmpty());
}

TEST(VelGeomLineArc2d, ClosestPoints)
{
    const VelGeomCircArc2d upper(P2(0, 0), 1, V2(1, 0), kPi, false);
    P2 onOther;
    // The foot of the centre, seen from either curve.
    const VelGeomLine2d above(P2(-7, 3), V2(1, 0));
    P2 mine = upper.getClosestPointTo(above, onOther);
    EXPECT_NEAR(mine.distanceTo(P2(0, 1)), 0, 1e-12);
    EXPECT_NEAR(onOther.distanceTo(P2(0, 3)), 0, 1e-12);
    mine = above.getClosestPointTo(upper, onOther);
    EXPECT_NEAR(mine.distanceTo(P2(0, 3)), 0, 1e-12);
    EXPECT_NEAR(onOther.distanceTo(P2(0, 1)), 0, 1e-12);
    EXPECT_NEAR(above.distanceTo(upper), 2, 1e-12);
    // The arc faces away from the line: the ends decide.
    const VelGeomLine2d below(P2(0, -3), V2(1, 0));
    mine = upper.getClosestPointTo(below, onOther);
    EXPECT_NEAR(mine.distanceTo(P2(1, 0)), 0, 1e-12);
    EXPECT_NEAR(upper.distanceTo(below), 3, 1e-12);
    // A segment beside the arc, against samples of both.
    const VelGeomLineSeg2d seg(P2(5, 3), P2(6, 2));
    mine = upper.getClosestPointTo(seg, onOther);
    double best = 1e300;
    for (int i = 0; i <= 2000; ++i)
        for (int j = 0; j <= 200; ++j)
            best = std::fmin(best, upper.evalPoint(i / 2000.0).distanceTo(seg.evalPoint(j / 200.0)));
    EXPECT_LE(mine.distanceTo(onOther), best + 1e-12);
    EXPECT_NEAR(mine.distanceTo(onOther), std::sqrt(34.0) - 1, 1e-9);
}

TEST(VelGeomLineArc3d, LinesInTheArcsPlane)
{
    const VelGeomCircArc3d circle(P3(0, 0, 0), V3(0, 0, 1), 5);
    VelArray<P3> pts = cut3(VelGeomLine3d(P3(-9, 0, 0), V3(1, 0, 0)), circle);
    ASSERT_EQ(pts.length(), 2);
    EXPECT_NEAR(pts[0].distanceTo(pts[1]), 10, 1e-12);
    pts = cut3(VelGeomLine3d(P3(-9, 5, 0), V3(1, 0, 0)), circle);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].distanceTo(P3(0, 5, 0)), 0, 1e-12);
    EXPECT_TRUE(cut3(VelGeomLine3d(P3(-9, 5.01, 0), V3(1, 0, 0)), circle).isEmpty());

    // A tilted circle of awkward size: every point is pulled onto the circle.
    const VelGeomMatrix3d m = VelGeomMatrix3d::translation(V3(123.4, -56.7, 8.9)) *
                              VelGeomMatrix3d::rotation(0.9, V3(1, -2, 0.3));
    P3 c(0, 0, 0), a(-1000, 3.7, 0), b(1000, 3.7, 0);
    V3 n(0, 0, 1);
    c.transformBy(m);
    a.transformBy(m);
    b.transformBy(m);
    n.transformBy(m);
    const VelGeomCircArc3d tiltedCircle(c, n, 777.7);
    pts = cut3(VelGeomLine3d(a, b), tiltedCircle);
    ASSERT_EQ(pts.length(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_NEAR(pts[i].distanceTo(c), 777.7, 1e-9);
        EXPECT_TRUE(VelGeomLine3d(a, b).isOn(pts[i], VelGeomTol(1e-9, 1e-9)));
    }
    EXPECT_NEAR(pts[0].distanceTo(pts[1]), 2 * std::sqrt(777.7 * 777.7 - 3.7 * 3.7), 1e-8);
    VelGeomTol::resetPrecTol();

    // A line given by a far point: the quadratic loses digits to
    // cancellation, the refinement brings the points back onto the circle.
    for (double farAway : {123456.789, -345678.9}) {
        const VelGeomCircArc3d unit(P3(0, 0, 0), V3(0, 0, 1), 1);
        const V3 d(0.6, 0.8, 0);
        const P3 foot(-0.4, 0.3, 0);  // 0.5 from the centre
        pts = cut3(VelGeomLine3d(foot + d * farAway, d), unit);
        ASSERT_EQ(pts.length(), 2);
        EXPECT_TRUE(contains(pts, foot + d * std::sqrt(0.75), 1e-10));
        EXPECT_TRUE(contains(pts, foot - d * std::sqrt(0.75), 1e-10));
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(unit.isOn(pts[i]));
    }
    VelGeomTol::resetPrecTol();

    // Partial arcs: only points within the sweep, mirror images included.
    const VelGeomCircArc3d upper(P3(0, 0, 0), V3(0, 0, 1), 1, P3(1, 0, 0), kPi);
    const VelGeomCircArc3d upperBelow(P3(0, 0, 0), V3(0, 0, -1), 1, P3(-1, 0, 0), kPi);
    const VelGeomCircArc3d lower(P3(0, 0, 0), V3(0, 0, -1), 1, P3(1, 0, 0), kPi);
    const VelGeomLine3d vertical(P3(0.6, -5, 0), V3(0, 1, 0));
    for (const VelGeomCircArc3d* arc : {&upper, &upperBelow}) {
        pts = cut3(vertical, *arc);
        ASSERT_EQ(pts.length(), 1);
        EXPECT_NEAR(pts[0].y, 0.8, 1e-12);
    }
    pts = cut3(vertical, lower);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].y, -0.8, 1e-12);
    // Segments and rays filter the carrier's points.
    pts = cut3(VelGeomLineSeg3d(P3(0, 0, 0), P3(0, -3, 0)), lower);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].distanceTo(P3(0, -1, 0)), 0, 1e-12);
    EXPECT_TRUE(cut3(VelGeomLineSeg3d(P3(0, 0, 0), P3(0, 3, 0)), lower).isEmpty());
    pts = cut3(upper, VelGeomRay3d(P3(0, 0, 0), V3(-1, 1, 0)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].distanceTo(P3(-std::sqrt(0.5), std::sqrt(0.5), 0)), 0, 1e-12);
}

TEST(VelGeomLineArc3d, LinesThroughTheArcsPlane)
{
    const VelGeomCircArc3d quarter(P3(0, 0, 0), V3(0, 0, 1), 2, P3(2, 0, 0), kPi / 2);
    // Crossing the plane on the arc, beside it, and on the circle outside
    // the sweep.
    VelArray<P3> pts = cut3(VelGeomLine3d(P3(-0.3, 2, -1), V3(0.3, 0, 1)), quarter);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].distanceTo(P3(0, 2, 0)), 0, 1e-12);
    EXPECT_TRUE(cut3(VelGeomLine3d(P3(0, 1, -1), V3(0, 0, 1)), quarter).isEmpty());
    EXPECT_TRUE(cut3(VelGeomLine3d(P3(0, -2, -1), V3(0, 0, 1)), quarter).isEmpty());
    // A segment that stops short of the plane; a line parallel to it.
    EXPECT_TRUE(cut3(VelGeomLineSeg3d(P3(2, 0, -3), P3(2, 0, -1)), quarter).isEmpty());
    EXPECT_TRUE(cut3(VelGeomLine3d(P3(0, 0, 1), V3(1, 0, 0)), quarter).isEmpty());
    pts = cut3(quarter, VelGeomLineSeg3d(P3(2, 0, -3), P3(2, 0, 1)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_NEAR(pts[0].distanceTo(P3(2, 0, 0)), 0, 1e-12);
}

TEST(VelGeomLineArc3d, PlaneMeetsArc)
{
    // The extents' use: planes through the centre across the arc.
    const VelGeomCircArc3d upright(P3(1, 2, 3), V3(0, 1, 0), 2);
    VelArray<P3> pts;
    pts.append(P3(9, 9, 9));  // not emptied by the arc form
    const VelGeomPlane horizontal(P3(1, 2, 3), V3(0, 0, 1));
    ASSERT_TRUE(horizontal.intersectWith(upright, pts));
    ASSERT_EQ(pts.length(), 3);
    EXPECT_TRUE(contains(pts, P3(3, 2, 3)) && contains(pts, P3(-1, 2, 3)));
    // The curve form empties first.
    const VelGeomCurve3d& asCurve = upright;
    ASSERT_TRUE(horizontal.intersectWith(asCurve, pts));
    EXPECT_EQ(pts.length(), 2);

    int count = -1;
    P3 p1(7, 7, 7), p2(7, 7, 7);
    ASSERT_TRUE(VelGeomPlane(P3(1, 2, 3), V3(1, 0, 0)).intersectWith(upright, count, p1, p2));
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(p1.distanceTo(P3(1, 2, 5)) < 1e-9 || p1.distanceTo(P3(1, 2, 1)) < 1e-9);
    EXPECT_NEAR(p1.distanceTo(p2), 4, 1e-12);

    // Partial arc: one point; a touching plane: one; parallel: none.
    const VelGeomCircArc3d half(P3(0, 0, 0), V3(0, 0, 1), 1, P3(1, 0, 0), kPi);
    p2.set(7, 7, 7);
    ASSERT_TRUE(VelGeomPlane(P3(0.5, 0, 0), V3(1, 0, 0)).intersectWith(half, count, p1, p2));
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(p1.distanceTo(P3(0.5, std::sqrt(0.75), 0)), 0, 1e-12);
    EXPECT_EQ(p2, P3(7, 7, 7));
    ASSERT_TRUE(VelGeomPlane(P3(0, 1, 0), V3(0, 1, 0)).intersectWith(half, count, p1, p2));
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(p1.distanceTo(P3(0, 1, 0)), 0, 1e-12);
    EXPECT_FALSE(VelGeomPlane(P3(0, -0.5, 0), V3(0, 1, 0)).intersectWith(half, count, p1, p2));
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(VelGeomPlane::kXYPlane.intersectWith(half, count, p1, p2));
    pts.setLogicalLength(0);
    EXPECT_FALSE(VelGeomPlane(P3(0, 0, 5), V3(0, 0, 1)).intersectWith(half, pts));
    EXPECT_TRUE(pts.isEmpty());
    EXPECT_FALSE(VelGeomPlane::kXYPlane.intersectWith(VelGeomCircArc3d(), pts));
    // A tilted plane: the points lie on both.
    const VelGeomPlane slanted(P3(0.2, 0.1, 0), V3(1, 1, 1));
    pts.setLogicalLength(0);
    ASSERT_TRUE(slanted.intersectWith(VelGeomCircArc3d(P3(0, 0, 0), V3(0, 0, 1), 1), pts));
    ASSERT_EQ(pts.length(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(slanted.isOn(pts[i], VelGeomTol(1e-9, 1e-9)));
        EXPECT_NEAR(pts[i].distanceTo(P3(0, 0, 0)), 1, 1e-12);
        EXPECT_NEAR(pts[i].z, 0, 1e-12);
    }
}

TEST(VelGeomLineArc3d, ClosestPointsFromTheLineSide)
{
    const VelGeomCircArc3d circle(P3(0, 0, 0), V3(0, 0, 1), 1);
    P3 onOther;
    // The line asks the arc and swaps the roles.
    const VelGeomLine3d above(P3(7, 3, 2), V3(1, 0, 0));
    const P3 mine = above.getClosestPointTo(circle, onOther);
    EXPECT_NEAR(mine.distanceTo(P3(0, 3, 2)), 0, 1e-12);
    EXPECT_NEAR(onOther.distanceTo(P3(0, 1, 0)), 0, 1e-12);
    EXPECT_NEAR(above.distanceTo(circle), std::sqrt(8.0), 1e-12);
    // A segment through the circle: the intersection itself.
    const VelGeomLineSeg3d through(P3(-3, 0, 0), P3(3, 0, 0));
    const P3 hit = through.getClosestPointTo(circle, onOther);
    EXPECT_EQ(hit, onOther);
    EXPECT_TRUE(circle.isOn(hit));
    // A ray pointing away from a partial arc.
    const VelGeomCircArc3d quarter(P3(0, 0, 0), V3(0, 0, 1), 1, P3(1, 0, 0), kPi / 2);
    const VelGeomRay3d away(P3(3, 0, 1), V3(1, 0, 1));
    const P3 r = away.getClosestPointTo(quarter, onOther);
    EXPECT_NEAR(r.distanceTo(P3(3, 0, 1)), 0, 1e-6);
    EXPECT_NEAR(onOther.distanceTo(P3(1, 0, 0)), 0, 1e-6);
}

TEST(VelGeomLineArc3d, ExtendedIntersectionThroughCarriers)
{
    // The segment's line and the arc's circle meet twice; the segment holds
    // neither point, the arc one of them.
    const VelGeomLineSeg3d seg(P3(3, -1, 0), P3(3, 1, 0));
    const VelGeomCircArc3d quarter(P3(0, 0, 0), V3(0, 0, 1), 5, P3(5, 0, 0), kPi / 2);
    VelArray<P3> pts;
    VelArray<VelGeomCurve3d::intersectionLocation> where;
    EXPECT_FALSE(seg.intersectWith(quarter, false, pts, &where));
    EXPECT_TRUE(where.isEmpty());
    ASSERT_TRUE(seg.intersectWith(quarter, true, pts, &where));
    ASSERT_EQ(pts.length(), 2);
    ASSERT_EQ(where.length(), 2);
    for (int i = 0; i < 2; ++i) {
        if (pts[i].distanceTo(P3(3, 4, 0)) < 1e-9)
            EXPECT_EQ(where[i], VelGeomCurve3d::kOnOtherOnly);
        else
            EXPECT_EQ(where[i], VelGeomCurve3d::kOnNeither);
    }
    // From the arc's side the roles turn round.
    where.setLogicalLength(0);
    ASSERT_TRUE(quarter.intersectWith(seg, true, pts, &where));
    ASSERT_EQ(where.length(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(where[i], pts[i].y > 0 ? VelGeomCurve3d::kOnThisOnly : VelGeomCurve3d::kOnNeither);
}
