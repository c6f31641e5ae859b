#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCylinder.h"
#include "geom/curves/VelGeomHelix.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

using P = VelGeomPoint3d;
using V = VelGeomVector3d;

const double kPi = VelGeomBase::PI;

// Distance of p from the infinite line through a along unit d.
double lineDistance(const P& p, const P& a, const V& d)
{
    const V w = p - a;
    return (w - d * w.dotProduct(d)).length();
}

double segmentDistance(const P& p, const P& a, const P& b)
{
    const V d = b - a;
    double t = (p - a).dotProduct(d) / d.lengthSqrd();
    t = std::max(0.0, std::min(1.0, t));
    return (a + d * t - p).length();
}

VelGeomHelix zHelix(double length, double radius = 1.0, double separation = 2.0, bool ccw = true)
{
    return VelGeomHelix(P(0, 0, 0), P(0, 0, length), radius, separation, V(1, 0, 0), ccw);
}

}  // namespace

TEST(VelGeomHelix, TurnsAboutItsAxis)
{
    const VelGeomHelix h = zHelix(10);
    EXPECT_EQ(h.evalPoint(0.0), P(1, 0, 0));
    EXPECT_EQ(h.evalPoint(0.1), P(-1, 0, 1));  // half a turn
    EXPECT_EQ(h.evalPoint(0.2), P(1, 0, 2));   // a full turn
    EXPECT_EQ(h.evalPoint(0.05), P(0, 1, 0.5));
    EXPECT_EQ(zHelix(10, 1, 2, false).evalPoint(0.05), P(0, -1, 0.5));
    double last = 0.0;
    EXPECT_EQ(h.getNumSpires(last), 5);
    EXPECT_DOUBLE_EQ(last, 2 * kPi);
    EXPECT_EQ(zHelix(9).getNumSpires(last), 5);
    EXPECT_NEAR(last, kPi, 1e-9);
    EXPECT_EQ(zHelix(9, 1, 2, false).getNumSpires(last), 5);
    EXPECT_NEAR(last, kPi, 1e-9);
    EXPECT_EQ(zHelix(8.5).getNumSpires(last), 5);
    EXPECT_NEAR(last, kPi / 2, 1e-9);
    // 1.1 / 0.1 rounds to a little above 11: still 11 complete turns.
    const VelGeomHelix fine(P(0, 0, 0), P(0, 0, 1.1), 1.0, 0.1, V(1, 0, 0), true);
    EXPECT_EQ(fine.getNumSpires(last), 11);
    EXPECT_DOUBLE_EQ(last, 2 * kPi);

    // Independently: every point lies at the radius from the axis, at the
    // height t * length, turned by 2 pi h / separation from the x axis.
    const VelGeomHelix g(P(1, 2, 3), V(0, 0, 7), 2.5, 1.3, V(0, 1, 0), true);
    for (int i = 0; i <= 50; ++i) {
        const double t = i / 50.0;
        const P p = g.evalPoint(t);
        EXPECT_NEAR(lineDistance(p, P(1, 2, 3), V(0, 0, 1)), 2.5, 1e-12);
        EXPECT_NEAR(p.z - 3.0, 7.0 * t, 1e-12);
        const double turn = 2 * kPi * 7.0 * t / 1.3 + kPi / 2;
        EXPECT_NEAR(p.x, 1 + 2.5 * std::cos(turn), 1e-9);
        EXPECT_NEAR(p.y, 2 + 2.5 * std::sin(turn), 1e-9);
        EXPECT_NEAR(g.paramOf(p), t, 1e-12);
    }
    // Beyond the ends the parameter stays on the axis segment.
    EXPECT_DOUBLE_EQ(g.paramOf(P(1, 2, 100)), 1.0);
    EXPECT_DOUBLE_EQ(g.paramOf(P(1, 2, -100)), 0.0);
}

TEST(VelGeomHelix, ConstructionAndStartVector)
{
    const VelGeomHelix d;
    EXPECT_DOUBLE_EQ(d.getRadius(), 10.0);
    EXPECT_DOUBLE_EQ(d.getSeparation(), 1.0);
    EXPECT_TRUE(d.isCCW());
    EXPECT_EQ(d.getStartVector(), V(1, 0, 0).perpVector());
    EXPECT_EQ(d.getType(), VelGeomCurve3d::kLineSeg);

    // Projected into the plane across the axis, then normalised.
    VelGeomHelix h(P(0, 0, 0), V(0, 0, 4), 1.0, 1.0, V(3, 0, 5), true);
    EXPECT_EQ(h.getStartVector(), V(1, 0, 0));
    const VelGeomHelix fromSeg(VelGeomLineSeg3d(P(0, 0, 0), P(0, 0, 4)), 1.0, 1.0, V(0, 2, 0), false);
    EXPECT_EQ(fromSeg.getStartVector(), V(0, 1, 0));
    EXPECT_FALSE(fromSeg.isCCW());
    // Along the axis there is nothing to project: the perpVector instead,
    // and the setter refuses.
    const VelGeomHelix along(P(0, 0, 0), V(0, 0, 4), 1.0, 1.0, V(0, 0, 1), true);
    EXPECT_TRUE(along.getStartVector().isPerpendicularTo(V(0, 0, 1)));
    EXPECT_TRUE(along.getStartVector().isUnitLength());
    EXPECT_FALSE(h.setStartVector(V(0, 0, -2)));
    EXPECT_EQ(h.getStartVector(), V(1, 0, 0));
    EXPECT_TRUE(h.setStartVector(V(0, 5, 1)));
    EXPECT_EQ(h.getStartVector(), V(0, 1, 0));
    h.setRadius(2);
    h.setSeparation(3);
    h.setCCW(false);
    const VelGeomHelix copy(h);
    EXPECT_DOUBLE_EQ(copy.getRadius(), 2.0);
    EXPECT_DOUBLE_EQ(copy.getSeparation(), 3.0);
    EXPECT_FALSE(copy.isCCW());

    // copy() keeps the helix, not just its axis.
    std::unique_ptr<VelGeomCurve3d> c(h.copy());
    EXPECT_EQ(c->evalPoint(0.3), h.evalPoint(0.3));
    EXPECT_DOUBLE_EQ(c->getLength(), h.getLength());
}

TEST(VelGeomHelix, LengthIsTheArcLength)
{
    for (const VelGeomHelix& h : {zHelix(10), zHelix(9, 3, 0.7), zHelix(4, 0.5, 5, false)}) {
        double sum = 0.0;
        const int n = 200000;
        for (int i = 0; i < n; ++i)
            sum += h.evalPoint(double(i) / n).distanceTo(h.evalPoint(double(i + 1) / n));
        EXPECT_NEAR(h.getLength(), sum, 1e-6 * sum);
    }
    EXPECT_DOUBLE_EQ(zHelix(6, 1, 0).getLength(), 6.0);  // no rise per turn: no turning
    EXPECT_EQ(zHelix(6, 1, 0).evalPoint(0.5), P(1, 0, 3));
}

TEST(VelGeomHelix, ApproximationStaysWithinTheDeviation)
{
    EXPECT_TRUE(zHelix(10).getApproxVertices(1.0).isEmpty());
    EXPECT_TRUE(zHelix(10).getApproxVertices(2.0).isEmpty());
    EXPECT_TRUE(zHelix(10).getApproxVertices(0.0).isEmpty());
    EXPECT_TRUE(zHelix(10).getApproxVertices(-0.1).isEmpty());
    for (const VelGeomHelix& h : {zHelix(10), zHelix(9), zHelix(3, 2, 0.4, false), zHelix(7, 0.5, 6)}) {
        for (double dev : {0.3 * h.getRadius(), 0.01 * h.getRadius()}) {
            const VelArray<P> pts = h.getApproxVertices(dev);
            ASSERT_GE(pts.length(), 2);
            EXPECT_EQ(pts.first(), h.evalPoint(0.0));
            EXPECT_EQ(pts.last(), h.evalPoint(1.0));
            const int k = pts.length() - 1;
            double worst = 0.0;
            for (int i = 0; i < k; ++i) {
                EXPECT_EQ(pts[i], h.evalPoint(double(i) / k));
                for (int s = 1; s < 16; ++s) {
                    const P q = h.evalPoint((i + s / 16.0) / k);
                    worst = std::max(worst, segmentDistance(q, pts[i], pts[i + 1]));
                }
            }
            EXPECT_LE(worst, dev * (1 + 1e-9));
            // and not far fewer chords than needed: one fewer would stray.
            EXPECT_GT(worst, 0.25 * dev);
        }
    }
}

TEST(VelGeomHelix, AxisQueriesAndTransforms)
{
    const VelGeomHelix h = zHelix(10);
    // The segment's queries answer for the axis, not for the longer helix.
    EXPECT_TRUE(h.isOn(P(0, 0, 9.5)));
    EXPECT_FALSE(h.isOn(P(0, 0, 12)));
    EXPECT_EQ(h.getClosestPointTo(P(0, 0, 20)), P(0, 0, 10));
    EXPECT_EQ(h.getClosestPointTo(P(3, 0, 4)), P(0, 0, 4));
    VelArray<P> pts;
    EXPECT_FALSE(VelGeomLineSeg3d(P(-1, 0, 12), P(1, 0, 12)).intersectWith(h, pts));

    const VelGeomMatrix3d moves[] = {
        VelGeomMatrix3d::rotation(0.8, V(1, 1, 0), P(2, 0, 1)) * VelGeomMatrix3d::translation(V(3, -1, 2)),
        VelGeomMatrix3d::scale(P(1, 1, 1), 2.5), VelGeomMatrix3d::mirroring(VelGeomPlane(P(0, 0, 0), V(1, 0.3, 0)))};
    for (const VelGeomMatrix3d& m : moves) {
        VelGeomHelix t = h;
        t.transformBy(m);
        for (double s : {0.0, 0.13, 0.5, 0.77, 1.0}) {
            P expect = h.evalPoint(s);
            expect.transformBy(m);
            EXPECT_LT(t.evalPoint(s).distanceTo(expect), 1e-9) << s;
        }
    }
}

TEST(VelGeomCylinder, LineThroughAnInfiniteCylinder)
{
    const VelGeomCylinder c(1.0, P(0, 0, 0), V(0, 0, 1));
    EXPECT_EQ(c.getAxisKind(), VelGeomCylinder::kInfiniteAxis);
    int count = -1;
    P p1, p2;
    ASSERT_TRUE(c.intersectWith(VelGeomLine3d(P(-5, 0, 3), V(1, 0, 0)), count, p1, p2));
    ASSERT_EQ(count, 2);
    EXPECT_NEAR(std::fabs(p1.x), 1.0, 1e-12);
    EXPECT_NEAR(p1.x, -p2.x, 1e-12);
    EXPECT_EQ(P(0, p1.y, p1.z), P(0, 0, 3));
    EXPECT_EQ(P(0, p2.y, p2.z), P(0, 0, 3));
    // Parallel to the axis: nothing.
    EXPECT_FALSE(c.intersectWith(VelGeomLine3d(P(0.5, 0, 0), V(0, 0, 1)), count, p1, p2));
    EXPECT_EQ(count, 0);
    // Passing by.
    EXPECT_FALSE(c.intersectWith(VelGeomLine3d(P(-5, 2, 3), V(1, 0, 0)), count, p1, p2));
    EXPECT_EQ(count, 0);
    // A ray and a segment keep their own points only.
    ASSERT_TRUE(c.intersectWith(VelGeomRay3d(P(0, 0, 3), V(1, 0, 0)), count, p1, p2));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(p1, P(1, 0, 3));
    ASSERT_TRUE(c.intersectWith(VelGeomLineSeg3d(P(-5, 0, 3), P(0, 0, 3)), count, p1, p2));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(p1, P(-1, 0, 3));
    EXPECT_TRUE(c.intersectWith(VelGeomLineSeg3d(P(-0.5, 0, 3), P(0.5, 0, 3)), count, p1, p2));
    EXPECT_EQ(count, 0);

    // Slanted lines against an oblique cylinder: every point on the line
    // and at the radius from the axis.
    const P base(1, -2, 0.5);
    const V axis = V(1, 2, 2) / 3.0;
    const VelGeomCylinder oblique(2.0, base, axis * 3.0);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-4, 4);
    int hits = 0;
    for (int i = 0; i < 200; ++i) {
        const P q(u(rng), u(rng), u(rng));
        const V d(u(rng), u(rng), u(rng));
        const VelGeomLine3d line(q, d);
        const bool r = oblique.intersectWith(line, count, p1, p2);
        // Independent closest approach of the line to the axis.
        const V n = axis.crossProduct(d.normal());
        const double gap = n.length() > 1e-9 ? std::fabs((q - base).dotProduct(n / n.length())) : 1e9;
        if (gap < 2.0 - 1e-6) {
            ASSERT_TRUE(r);
            ASSERT_EQ(count, 2);
            ++hits;
            for (const P& p : {p1, p2}) {
                EXPECT_NEAR(lineDistance(p, base, axis), 2.0, 1e-7);
                EXPECT_LT(lineDistance(p, q, d.normal()), 1e-7);
            }
        } else if (gap > 2.0 + 1e-6) {
            EXPECT_FALSE(r);
            EXPECT_EQ(count, 0);
        }
    }
    EXPECT_GT(hits, 20);
}

TEST(VelGeomCylinder, FiniteCylinderEndsAtItsCaps)
{
    const VelGeomCylinder c(1.0, VelGeomLineSeg3d(P(0, 0, 0), P(0, 0, 1)));
    EXPECT_EQ(c.getAxisKind(), VelGeomCylinder::kSegmentAxis);
    int count = -1;
    P p1, p2;
    // The carrier meets the surface, the points lie beyond the cap.
    EXPECT_TRUE(c.intersectWith(VelGeomLine3d(P(-5, 0, 3), V(1, 0, 0)), count, p1, p2));
    EXPECT_EQ(count, 0);
    ASSERT_TRUE(c.intersectWith(VelGeomLine3d(P(-5, 0, 0.5), V(1, 0, 0)), count, p1, p2));
    EXPECT_EQ(count, 2);
    // A slanted line that leaves through the top cap keeps one point.
    ASSERT_TRUE(c.intersectWith(VelGeomLine3d(P(-1, 0, 0.5), V(1, 0, 1)), count, p1, p2));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(p1, P(-1, 0, 0.5));

    // Copies own their own axis.
    VelGeomCylinder copy(c);
    VelGeomCylinder assigned;
    EXPECT_EQ(assigned.getAxisKind(), VelGeomCylinder::kNoAxis);
    EXPECT_FALSE(assigned.intersectWith(VelGeomLine3d(P(-5, 0, 0.5), V(1, 0, 0)), count, p1, p2));
    EXPECT_EQ(count, 0);
    assigned = c;
    VelGeomCylinder& alias = assigned;
    assigned = alias;
    {
        VelGeomCylinder gone(c);
    }
    for (const VelGeomCylinder* k : {&copy, &assigned}) {
        EXPECT_EQ(k->getAxisKind(), VelGeomCylinder::kSegmentAxis);
        ASSERT_TRUE(k->intersectWith(VelGeomLine3d(P(-5, 0, 0.5), V(1, 0, 0)), count, p1, p2));
        EXPECT_EQ(count, 2);
    }
    assigned = VelGeomCylinder();
    EXPECT_EQ(assigned.getAxisKind(), VelGeomCylinder::kNoAxis);

    // No direction, no axis; no positive radius, nothing.
    EXPECT_EQ(VelGeomCylinder(1.0, P(0, 0, 0), V(0, 0, 0)).getAxisKind(), VelGeomCylinder::kNoAxis);
    EXPECT_EQ(VelGeomCylinder(1.0, VelGeomLineSeg3d(P(1, 1, 1), P(1, 1, 1))).getAxisKind(), VelGeomCylinder::kNoAxis);
    EXPECT_FALSE(VelGeomCylinder(0.0, P(0, 0, 0), V(0, 0, 1))
                     .intersectWith(VelGeomLine3d(P(-5, 0, 0), V(1, 0, 0)), count, p1, p2));
}
