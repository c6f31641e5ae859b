#include "geom/core/VelGeomMatrix2d.h"
#include "geom/curves/VelGeomCircArc2d.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLineSeg2d.h"
#include "geom/curves/VelGeomRay2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using P = VelGeomPoint2d;
using V = VelGeomVector2d;
using Arc = VelGeomCircArc2d;

const double kPi = std::acos(-1.0);

P polar(double r, double a, const P& c = P(0, 0)) { return P(c.x + r * std::cos(a), c.y + r * std::sin(a)); }

VelArray<P> cut(const VelGeomCurve2d& a, const VelGeomCurve2d& b, const VelGeomTol& tol = VelGeomTol::gTol)
{
    VelArray<P> pts;
    a.intersectWith(b, pts, tol);
    return pts;
}

// Brute-force distance between two bounded curves over n samples each.
double sampledDistance(const VelGeomCurve2d& a, const VelGeomCurve2d& b, int n = 1500)
{
    double best = 1e300;
    for (int i = 0; i <= n; ++i) {
        const P p = a.evalPoint(double(i) / n);
        for (int j = 0; j <= n; ++j)
            best = std::fmin(best, p.distanceTo(b.evalPoint(double(j) / n)));
    }
    return best;
}

void expectNear(const P& p, const P& q, double eps = 1e-9)
{
    EXPECT_NEAR(p.x, q.x, eps);
    EXPECT_NEAR(p.y, q.y, eps);
}

}  // namespace

TEST(VelGeomCircArc2d, DefaultAndPlainConstructors)
{
    const Arc def;
    EXPECT_EQ(def.getArcType(), Arc::kFullCircle);
    EXPECT_EQ(def.getCenter(), P(0, 0));
    EXPECT_EQ(def.getRadius(), 1.0);
    EXPECT_EQ(def.getStartVector(), V(1, 0));
    EXPECT_FALSE(def.isClockWise());
    EXPECT_NEAR(def.getLength(), 2 * kPi, 1e-15);
    EXPECT_EQ(def.getType(), VelGeomCurve2d::kCircArc);
    EXPECT_TRUE(def.isKindOf(VelGeomCurve2d::kCircArc));
    EXPECT_FALSE(def.isKindOf(VelGeomCurve2d::kLine));

    const Arc full(P(1, 2), 3, V(0, 5));
    EXPECT_EQ(full.getStartVector(), V(0, 1));
    EXPECT_EQ(full.getStartPoint(), P(1, 5));
    EXPECT_EQ(full.getArcType(), Arc::kFullCircle);

    // An included angle of 2*pi makes a full circle, anything else an arc.
    EXPECT_EQ(Arc(P(0, 0), 1, P(2, 0), 2 * kPi, true).getArcType(), Arc::kFullCircle);
    EXPECT_EQ(Arc(P(0, 0), 1, P(2, 0), 2 * kPi - 1e-6, true).getArcType(), Arc::kArc);

    // From end points: the directed angle in the given sense; the radius is
    // taken as given, not from the points.
    const Arc ccw(P(0, 0), 2, P(5, 0), P(0, 7), false);
    EXPECT_NEAR(ccw.getIncludedAngle(), kPi / 2, 1e-12);
    EXPECT_EQ(ccw.getRadius(), 2.0);
    expectNear(ccw.getEndPoint(), P(0, 2));
    const Arc cw(P(0, 0), 2, P(5, 0), P(0, 7), true);
    EXPECT_NEAR(cw.getIncludedAngle(), 3 * kPi / 2, 1e-12);
    expectNear(cw.getEndPoint(), P(0, 2));
    expectNear(cw.getMidPoint(), polar(2, -3 * kPi / 4));
}

TEST(VelGeomCircArc2d, AngleConstructorBothSenses)
{
    const Arc ccw(P(1, 1), 2, 0.0, kPi / 2, V(3, 0), false);
    EXPECT_NEAR(ccw.getIncludedAngle(), kPi / 2, 1e-15);
    expectNear(ccw.getStartPoint(), P(3, 1));
    expectNear(ccw.getEndPoint(), P(1, 3));

    // Clockwise from 0 to pi/2 runs the long way round.
    const Arc cw(P(1, 1), 2, 0.0, kPi / 2, V(3, 0), true);
    EXPECT_NEAR(cw.getIncludedAngle(), 3 * kPi / 2, 1e-15);
    expectNear(cw.getEndPoint(), P(1, 3));
    expectNear(cw.evalPoint(1.0 / 3), P(1, -1));

    // Both angles are counter-clockwise from the reference, so either sense
    // runs from the start angle to the end angle.
    const Arc cw2(P(0, 0), 1, kPi / 2, 0.0, V(1, 0), true);
    expectNear(cw2.getStartPoint(), P(0, 1));
    EXPECT_NEAR(cw2.getIncludedAngle(), kPi / 2, 1e-15);
    expectNear(cw2.getEndPoint(), P(1, 0));
    expectNear(cw2.getMidPoint(), polar(1, kPi / 4));
    const Arc cw3(P(0, 0), 1, kPi, kPi / 2, V(0, 1), true);
    expectNear(cw3.getStartPoint(), P(0, -1));
    expectNear(cw3.getEndPoint(), P(-1, 0));

    // Wrapping start > end counter-clockwise.
    const Arc wrap(P(0, 0), 1, 3 * kPi / 2, kPi / 2, V(1, 0), false);
    EXPECT_NEAR(wrap.getIncludedAngle(), kPi, 1e-15);
    expectNear(wrap.getMidPoint(), P(1, 0));

    // Equal angles: a zero sweep, not a full circle.
    const Arc zero(P(0, 0), 1, 1.0, 1.0, V(1, 0), false);
    EXPECT_EQ(zero.getIncludedAngle(), 0.0);
    EXPECT_EQ(zero.getArcType(), Arc::kArc);
    const Arc full(P(0, 0), 1, 0.0, 2 * kPi, V(1, 0), false);
    EXPECT_EQ(full.getArcType(), Arc::kFullCircle);

    Arc s;
    s.set(P(0, 0), 1, 0.0, kPi, V(0, 1), false);
    expectNear(s.getEndPoint(), P(0, -1));
}

TEST(VelGeomCircArc2d, ThreePointSenseAndSweep)
{
    const Arc ccw(P(1, 0), P(0, 1), P(-1, 0));
    EXPECT_EQ(ccw.getArcType(), Arc::kArc);
    expectNear(ccw.getCenter(), P(0, 0));
    EXPECT_NEAR(ccw.getRadius(), 1, 1e-12);
    EXPECT_NEAR(ccw.getIncludedAngle(), kPi, 1e-12);
    EXPECT_FALSE(ccw.isClockWise());
    const Arc cw(P(-1, 0), P(0, 1), P(1, 0));
    EXPECT_TRUE(cw.isClockWise());
    EXPECT_NEAR(cw.getIncludedAngle(), kPi, 1e-12);

    // The passing point near either end still decides the sense, and the
    // mirror images turn the other way.
    for (double at : {10.0, 45.0, 80.0}) {
        const double a = at * kPi / 180;
        const Arc up(P(1, 0), polar(1, a), P(0, 1));
        EXPECT_FALSE(up.isClockWise()) << at;
        EXPECT_NEAR(up.getIncludedAngle(), kPi / 2, 1e-12) << at;
        EXPECT_TRUE(up.isOn(polar(1, a))) << at;
        const Arc down(P(1, 0), polar(1, -a), P(0, -1));
        EXPECT_TRUE(down.isClockWise()) << at;
        EXPECT_NEAR(down.getIncludedAngle(), kPi / 2, 1e-12) << at;
        EXPECT_TRUE(down.isOn(polar(1, -a))) << at;
    }

    // Major arcs: the passing point beyond the chord's far side.
    for (double at : {100.0, 135.0, 260.0}) {
        const double a = at * kPi / 180;
        const Arc major(P(1, 0), polar(1, a), polar(1, 3 * kPi / 2));
        EXPECT_FALSE(major.isClockWise()) << at;
        EXPECT_NEAR(major.getIncludedAngle(), 3 * kPi / 2, 1e-12) << at;
        EXPECT_TRUE(major.isOn(polar(1, a))) << at;
        EXPECT_FALSE(major.isOn(polar(1, -kPi / 4))) << at;
        const Arc mirrored(P(1, 0), polar(1, -a), polar(1, -3 * kPi / 2));
        EXPECT_TRUE(mirrored.isClockWise()) << at;
        EXPECT_NEAR(mirrored.getIncludedAngle(), 3 * kPi / 2, 1e-12) << at;
        EXPECT_TRUE(mirrored.isOn(polar(1, -a))) << at;
    }

    // Off-origin arc: centre and radius against the analytic circle.
    const P c(3, -2);
    const Arc off(polar(5, 0.3, c), polar(5, 2.0, c), polar(5, 4.0, c));
    expectNear(off.getCenter(), c);
    EXPECT_NEAR(off.getRadius(), 5, 1e-9);
    EXPECT_NEAR(off.getIncludedAngle(), 3.7, 1e-9);
    expectNear(off.getEndPoint(), polar(5, 4.0, c));
}

TEST(VelGeomCircArc2d, DegenerateConstructions)
{
    const Arc collinear(P(0, 0), P(1, 1), P(2, 2));
    EXPECT_EQ(collinear.getArcType(), Arc::kDegenerate);
    EXPECT_EQ(collinear.getRadius(), 0.0);
    EXPECT_EQ(collinear.getIncludedAngle(), 0.0);
    EXPECT_EQ(Arc(P(0, 0), P(0, 0), P(2, 2)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0), P(1, 5), P(0, 0)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0), P(1, 5), P(1, 5)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0), P(1, std::nan("")), P(3, 1)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0), P(2, 0), 0.0, false).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0), P(2, 0), 0.0, true).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0), P(2, 0), std::nan(""), false).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(1, 1), P(1, 1), 0.5, false).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(collinear.getLength(), 0.0);
}

TEST(VelGeomCircArc2d, BulgeAndHeight)
{
    for (double bulge : {1.0, -1.0}) {
        const Arc half(P(0, 0), P(2, 0), bulge, false);
        EXPECT_EQ(half.getArcType(), Arc::kArc);
        expectNear(half.getCenter(), P(1, 0));
        EXPECT_NEAR(half.getRadius(), 1, 1e-12);
        EXPECT_NEAR(half.getIncludedAngle(), kPi, 1e-12);
        EXPECT_FALSE(half.isClockWise());
        expectNear(half.getStartPoint(), P(0, 0));
        expectNear(half.getEndPoint(), P(2, 0));
        expectNear(half.getMidPoint(), P(1, -1));
    }
    // Quarter and three-quarter sweeps: tan(pi/8) and tan(3pi/8).
    const Arc quarter(P(0, 0), P(2, 0), std::tan(kPi / 8), false);
    expectNear(quarter.getCenter(), P(1, 1));
    EXPECT_NEAR(quarter.getRadius(), std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(quarter.getIncludedAngle(), kPi / 2, 1e-12);
    expectNear(quarter.getEndPoint(), P(2, 0));
    const Arc major(P(0, 0), P(2, 0), std::tan(3 * kPi / 8), false);
    expectNear(major.getCenter(), P(1, -1));
    EXPECT_NEAR(major.getIncludedAngle(), 3 * kPi / 2, 1e-12);
    expectNear(major.getEndPoint(), P(2, 0));
    expectNear(major.getMidPoint(), P(1, -1 - std::sqrt(2.0)));

    // Heights: the apex lies to the right of p1 -> p2.
    const Arc low(P(0, 0), P(2, 0), 1.0, true);
    expectNear(low.getCenter(), P(1, 0));
    expectNear(low.getMidPoint(), P(1, -1));
    EXPECT_FALSE(low.isClockWise());
    const Arc high(P(0, 0), P(2, 0), -3.0, true);
    expectNear(high.getCenter(), P(1, -4.0 / 3));
    EXPECT_NEAR(high.getRadius(), 5.0 / 3, 1e-12);
    EXPECT_NEAR(high.getIncludedAngle(), 2 * kPi - std::acos(7.0 / 25), 1e-12);
    expectNear(high.getMidPoint(), P(1, -3));
    expectNear(high.getEndPoint(), P(2, 0));

    Arc s;
    s.set(P(0, 0), P(2, 0), 1.0, false);
    expectNear(s.getCenter(), P(1, 0));
    s.set(P(1, 0), P(0, 1), P(-1, 0));
    EXPECT_NEAR(s.getIncludedAngle(), kPi, 1e-12);
    s.set(P(4, 4), 2, V(1, 1));
    EXPECT_EQ(s.getArcType(), Arc::kFullCircle);
}

TEST(VelGeomCircArc2d, EvalAndParamInBothSenses)
{
    for (bool cw : {false, true}) {
        const Arc arc(P(2, 1), 3, V(0, 1), kPi / 2, cw);
        const double s = cw ? -1 : 1;
        expectNear(arc.evalPoint(0.5), polar(3, kPi / 2 + s * kPi / 4, P(2, 1)));
        expectNear(arc.evalPoint(0), arc.getStartPoint());
        expectNear(arc.evalPoint(1), arc.getEndPoint());
        expectNear(arc.getEndPoint(), cw ? P(5, 1) : P(-1, 1));
        for (double t : {0.0, 0.2, 0.5, 0.99, 1.0})
            EXPECT_NEAR(arc.paramOf(arc.evalPoint(t)), t, 1e-12) << cw << " " << t;
        // Beyond the end in the arc's sense.
        EXPECT_NEAR(arc.paramOf(polar(3, kPi / 2 + s * kPi, P(2, 1))), 2.0, 1e-12);
        // Direction of travel.
        const V tangent = arc.tangentVector(arc.getStartPoint());
        EXPECT_TRUE(tangent.isEqualTo(cw ? V(1, 0) : V(-1, 0), VelGeomTol(1e-12, 1e-12)));
        double t0 = 5, t1 = 5;
        EXPECT_TRUE(arc.hasStartParam(t0));
        EXPECT_TRUE(arc.hasEndParam(t1));
        EXPECT_EQ(t0, 0.0);
        EXPECT_EQ(t1, 1.0);
    }
    VelArray<P> samples;
    Arc(P(0, 0), 1, V(1, 0), kPi, false).getSamplePoints(3, samples);
    ASSERT_EQ(samples.length(), 3);
    expectNear(samples[1], P(0, 1));
}

TEST(VelGeomCircArc2d, DirectedAngleNearZeroAndFullTurn)
{
    const double eps = 1e-11, far = 1e-9;
    for (bool cw : {false, true}) {
        const double s = cw ? -1 : 1;
        const Arc quarter(P(0, 0), 1, V(1, 0), kPi / 2, cw);
        // The start itself, and within the tolerance before it.
        EXPECT_TRUE(quarter.isOn(P(1, 0)));
        EXPECT_EQ(quarter.paramOf(P(1, 0)), 0.0);
        EXPECT_TRUE(quarter.isOn(polar(1, -s * eps)));
        EXPECT_FALSE(quarter.isOn(polar(1, -s * far)));
        // The end, and the tolerance beyond it.
        EXPECT_TRUE(quarter.isOn(polar(1, s * (kPi / 2 + eps))));
        EXPECT_FALSE(quarter.isOn(polar(1, s * (kPi / 2 + far))));
        // Off the circle.
        EXPECT_FALSE(quarter.isOn(polar(1 + far, s * 0.5)));
        EXPECT_TRUE(quarter.isOn(polar(1 + far, s * 0.5), VelGeomTol(1e-8, 1e-8)));

        // A sweep just short of a full turn leaves a gap before the start.
        const Arc almost(P(0, 0), 1, V(1, 0), 2 * kPi - 1e-3, cw);
        EXPECT_EQ(almost.getArcType(), Arc::kArc);
        EXPECT_FALSE(almost.isOn(polar(1, -s * 0.5e-3)));
        EXPECT_TRUE(almost.isOn(polar(1, -s * (1e-3 - eps))));
        EXPECT_TRUE(almost.isOn(P(1, 0)));

        // A sweep near 0 holds little more than its start.
        const Arc sliver(P(0, 0), 1, V(1, 0), 1e-12, cw);
        EXPECT_TRUE(sliver.isOn(P(1, 0)));
        EXPECT_FALSE(sliver.isOn(polar(1, s * 1e-6)));
        EXPECT_FALSE(sliver.isOn(polar(1, -s * 1e-6)));

        // The start of a full circle has the parameter 0.
        const Arc full(P(0, 0), 1, V(1, 0), 2 * kPi, cw);
        EXPECT_EQ(full.paramOf(P(1, 0)), 0.0);
        EXPECT_NEAR(full.paramOf(polar(1, s * kPi)), 0.5, 1e-12);
        EXPECT_TRUE(full.isOn(polar(1, s * 5.0)));
    }
}

TEST(VelGeomCircArc2d, ClosestPointToPoint)
{
    const Arc arc(P(0, 0), 2, V(1, 0), kPi / 2, false);
    expectNear(arc.getClosestPointTo(P(3, 3)), polar(2, kPi / 4));
    // Outside the sweep: the nearer end; the start on a tie.
    expectNear(arc.getClosestPointTo(P(5, -1)), P(2, 0));
    expectNear(arc.getClosestPointTo(P(-1, 5)), P(0, 2));
    expectNear(arc.getClosestPointTo(P(-1, -1)), P(2, 0));
    expectNear(arc.getClosestPointTo(P(0, 0)), P(2, 0));
    // The clockwise mirror image.
    const Arc cw(P(0, 0), 2, V(1, 0), kPi / 2, true);
    expectNear(cw.getClosestPointTo(P(3, -3)), polar(2, -kPi / 4));
    expectNear(cw.getClosestPointTo(P(3, 3)), P(2, 0));
    // Against samples: nothing on the arc is nearer.
    for (const P& q : {P(0.3, 0.1), P(-4, 2), P(1, -7), P(2.5, 2.5)}) {
        const double d = arc.distanceTo(q);
        for (int i = 0; i <= 400; ++i)
            EXPECT_LE(d, arc.evalPoint(i / 400.0).distanceTo(q) + 1e-12);
    }
}

TEST(VelGeomCircArc2d, TransformsKeepThePointSet)
{
    const Arc arc(P(1, 2), 3, V(1, 0), kPi / 2, false);
    const VelGeomMatrix2d mirrors[] = {
        VelGeomMatrix2d::mirroring(VelGeomLine2d(P(0, 0), V(0, 1))),
        // A scaled reflection must turn the sense round as well.
        VelGeomMatrix2d::scaling(2.0) * VelGeomMatrix2d::mirroring(VelGeomLine2d(P(0, 5), V(1, 1))),
    };
    for (const VelGeomMatrix2d& m : mirrors) {
        Arc image(arc);
        image.transformBy(m);
        EXPECT_TRUE(image.isClockWise());
        EXPECT_NEAR(image.getIncludedAngle(), kPi / 2, 1e-15);
        for (double t : {0.0, 0.25, 0.5, 1.0}) {
            P p = arc.evalPoint(t);
            p.transformBy(m);
            expectNear(image.evalPoint(t), p, 1e-9);
        }
    }
    Arc moved(arc);
    moved.transformBy(VelGeomMatrix2d::rotation(kPi / 2, P(1, 2)) * VelGeomMatrix2d::scaling(0.5, P(1, 2)));
    EXPECT_FALSE(moved.isClockWise());
    EXPECT_NEAR(moved.getRadius(), 1.5, 1e-12);
    expectNear(moved.getStartPoint(), P(1, 3.5));
    expectNear(moved.getEndPoint(), P(-0.5, 2));
}

TEST(VelGeomCircArc2d, OffsetsAndCollapse)
{
    VelArray<VelGeomCurve2d*> pieces;
    const Arc ccw(P(0, 0), 1, V(1, 0), kPi, false);
    ccw.getOffset(2, pieces, kOffsetExtNone);
    ASSERT_EQ(pieces.length(), 1);
    const Arc* grown = static_cast<const Arc*>(pieces[0]);
    EXPECT_EQ(grown->getRadius(), 3.0);
    EXPECT_FALSE(grown->isClockWise());
    EXPECT_EQ(grown->getIncludedAngle(), kPi);
    delete pieces[0];

    const Arc cw(P(0, 0), 1, V(1, 0), kPi, true);
    cw.getOffset(1, pieces, kOffsetExtNone);
    EXPECT_TRUE(pieces.isEmpty());
    cw.getOffset(0.5, pieces, kOffsetExtNone);
    ASSERT_EQ(pieces.length(), 1);
    EXPECT_EQ(static_cast<const Arc*>(pieces[0])->getRadius(), 0.5);
    delete pieces[0];
    // The offset is emptied first and collapses within the tolerance.
    cw.getOffset(1 - 1e-11, pieces, kOffsetExtNone);
    EXPECT_TRUE(pieces.isEmpty());
    ccw.getOffset(-1, pieces, kOffsetExtNone);
    EXPECT_TRUE(pieces.isEmpty());
    // Negative distances move a clockwise arc outwards.
    cw.getOffset(-1, pieces, kOffsetExtNone);
    ASSERT_EQ(pieces.length(), 1);
    EXPECT_EQ(static_cast<const Arc*>(pieces[0])->getRadius(), 2.0);
    delete pieces[0];

    std::unique_ptr<VelGeomCurve2d> copy(ccw.copy());
    EXPECT_EQ(static_cast<const Arc&>(*copy).getRadius(), 1.0);
}

TEST(VelGeomCircArc2d, CrossingAndTouchingCircles)
{
    const Arc a(P(0, 0), 1, V(1, 0));
    const Arc b(P(1, 0), 1, V(1, 0));
    VelArray<P> pts = cut(a, b);
    ASSERT_EQ(pts.length(), 2);
    expectNear(pts[0], P(0.5, std::sqrt(3.0) / 2));
    expectNear(pts[1], P(0.5, -std::sqrt(3.0) / 2));
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(a.isOn(pts[i]) && b.isOn(pts[i]));

    // Only the points inside both sweeps count, whatever the senses.
    const Arc upper(P(0, 0), 1, V(1, 0), kPi, false);
    const Arc upperCw(P(0, 0), 1, V(-1, 0), kPi, true);
    const Arc lowerOther(P(1, 0), 1, V(0, -1), kPi / 2, true);  // from (1,-1) to (0,0) clockwise
    for (const Arc* u : {&upper, &upperCw}) {
        pts = cut(*u, b);
        ASSERT_EQ(pts.length(), 1);
        expectNear(pts[0], P(0.5, std::sqrt(3.0) / 2));
        EXPECT_FALSE(cut(*u, lowerOther).length() > 0);
    }
    pts = cut(a, lowerOther);
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(0.5, -std::sqrt(3.0) / 2));

    // Tangent from outside and from inside: one point.
    pts = cut(a, Arc(P(2, 0), 1, V(1, 0)));
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(1, 0));
    pts = cut(Arc(P(0, 0), 2, V(0, 1)), Arc(P(1, 0), 1, V(0, 1)));
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(2, 0));
    // A tangent point that is an end of both arcs comes back exactly.
    const Arc left(P(0, 0), 1, P(1, 0), kPi / 3, false);
    const Arc right(P(2, 0), 1, P(1, 0), kPi / 3, false);
    pts = cut(left, right);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0].x, left.getStartPoint().x);
    EXPECT_EQ(pts[0].y, left.getStartPoint().y);

    // Apart, nested, and within the tolerance of touching.
    EXPECT_TRUE(cut(a, Arc(P(3, 0), 1, V(1, 0))).isEmpty());
    EXPECT_TRUE(cut(Arc(P(0, 0), 5, V(1, 0)), Arc(P(1, 0), 1, V(1, 0))).isEmpty());
    EXPECT_EQ(cut(a, Arc(P(2 + 1e-11, 0), 1, V(1, 0))).length(), 1);
    EXPECT_TRUE(cut(a, Arc(P(2 + 1e-9, 0), 1, V(1, 0))).isEmpty());

    // The intersection is symmetric in the point set.
    const Arc c(P(0.3, 0.7), 1.4, V(0, 1), 5.0, true);
    const Arc d(P(1.1, -0.2), 0.9, V(-1, 0), 4.0, false);
    const VelArray<P> cd = cut(c, d), dc = cut(d, c);
    ASSERT_EQ(cd.length(), dc.length());
    for (int i = 0; i < cd.length(); ++i) {
        EXPECT_TRUE(c.isOn(cd[i]) && d.isOn(cd[i]));
        EXPECT_TRUE(cd[i] == dc[0] || cd[i] == dc[dc.length() - 1]);
    }
}

TEST(VelGeomCircArc2d, ArcsOfOneCircleShareOnlyTheirEnds)
{
    const Arc first(P(0, 0), 1, V(1, 0), kPi / 2, false);
    const Arc next(P(0, 0), 1, V(0, 1), kPi / 2, false);           // continues first
    const Arc nextReversed(P(0, 0), 1, V(-1, 0), kPi / 2, true);   // the same, run backwards
    const Arc rest(P(0, 0), 1, V(0, 1), 3 * kPi / 2, false);       // closes the circle
    const Arc overlapping(P(0, 0), 1, V(0.5, 0.5), kPi / 2, false);

    VelArray<P> pts = cut(first, next);
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(0, 1));
    pts = cut(first, nextReversed);
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(0, 1));
    // Both ends shared: the end comes first.
    pts = cut(first, rest);
    ASSERT_EQ(pts.length(), 2);
    expectNear(pts[0], P(0, 1));
    expectNear(pts[1], P(1, 0));
    // Overlap without shared ends, and another radius: nothing.
    EXPECT_TRUE(cut(first, overlapping).isEmpty());
    EXPECT_TRUE(cut(first, Arc(P(0, 0), 2, V(0, 1), kPi / 2, false)).isEmpty());
    // The same sense backwards: next's end is not first's start.
    EXPECT_TRUE(cut(first, Arc(P(0, 0), 1, V(0, 1), kPi / 2, true)).isEmpty());
}

TEST(VelGeomCircArc2d, ClosestPointsBetweenArcs)
{
    VelGeomPoint2d onOther;
    // Apart: on the line of centres.
    const Arc a(P(0, 0), 1, V(1, 0));
    const Arc far(P(5, 0), 1, V(0, 1));
    expectNear(a.getClosestPointTo(far, onOther), P(1, 0));
    expectNear(onOther, P(4, 0));
    EXPECT_NEAR(a.distanceTo(far), 3, 1e-12);

    // Nested: on the ray from the inner centre away from the outer one.
    const Arc big(P(0, 0), 5, V(1, 0));
    const Arc small(P(2, 0), 1, V(1, 0));
    expectNear(big.getClosestPointTo(small, onOther), P(5, 0));
    expectNear(onOther, P(3, 0));
    expectNear(small.getClosestPointTo(big, onOther), P(3, 0));
    expectNear(onOther, P(5, 0));

    // Partial arcs facing away from each other fall back to their ends;
    // checked against samples of both arcs.
    const Arc awayLeft(P(0, 0), 1, V(0, 1), kPi, false);     // the left half
    const Arc awayRight(P(4, 0), 1, V(0, -1), kPi, false);   // the right half
    const Arc tilted(P(1, 3), 2, V(1, 1), 2.0, true);
    const Arc inside(P(0.5, 0), 3, V(0, 1), 1.0, false);
    const std::pair<const Arc*, const Arc*> pairs[] = {
        {&awayLeft, &awayRight}, {&awayLeft, &tilted}, {&tilted, &awayRight}, {&inside, &awayLeft}};
    for (const auto& pr : pairs) {
        const P mine = pr.first->getClosestPointTo(*pr.second, onOther);
        EXPECT_TRUE(pr.first->isOn(mine, VelGeomTol(1e-9, 1e-9)));
        EXPECT_TRUE(pr.second->isOn(onOther, VelGeomTol(1e-9, 1e-9)));
        EXPECT_LE(mine.distanceTo(onOther), sampledDistance(*pr.first, *pr.second) + 1e-9);
    }
    // Crossing arcs: the intersection itself.
    const P mine = a.getClosestPointTo(Arc(P(1, 0), 1, V(1, 0)), onOther);
    EXPECT_EQ(mine, onOther);
    EXPECT_TRUE(a.isOn(mine));
}
