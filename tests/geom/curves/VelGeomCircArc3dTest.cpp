#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using P = VelGeomPoint3d;
using V = VelGeomVector3d;
using Arc = VelGeomCircArc3d;

const double kPi = std::acos(-1.0);

void expectNear(const P& p, const P& q, double eps = 1e-9)
{
    EXPECT_NEAR(p.x, q.x, eps);
    EXPECT_NEAR(p.y, q.y, eps);
    EXPECT_NEAR(p.z, q.z, eps);
}

void expectNear(const V& p, const V& q, double eps = 1e-9) { expectNear(P(p.x, p.y, p.z), P(q.x, q.y, q.z), eps); }

VelArray<P> cut(const VelGeomCurve3d& a, const VelGeomCurve3d& b, const VelGeomTol& tol = VelGeomTol::gTol)
{
    VelArray<P> pts;
    a.intersectWith(b, pts, tol);
    return pts;
}

bool contains(const VelArray<P>& pts, const P& p, double eps = 1e-9)
{
    for (int i = 0; i < pts.length(); ++i)
        if (pts[i].distanceTo(p) < eps)
            return true;
    return false;
}

// Brute force over n samples of each curve's parameter range [t0, t1].
double sampledDistance(const VelGeomCurve3d& a, const VelGeomCurve3d& b, double b0 = 0, double b1 = 1, int n = 1500)
{
    double best = 1e300;
    for (int i = 0; i <= n; ++i) {
        const P p = a.evalPoint(double(i) / n);
        for (int j = 0; j <= n; ++j)
            best = std::fmin(best, p.distanceTo(b.evalPoint(b0 + (b1 - b0) * j / n)));
    }
    return best;
}

// A rotation that tilts the XY plane into a general position.
const VelGeomMatrix3d& tilt()
{
    static const VelGeomMatrix3d m = VelGeomMatrix3d::translation(V(1, -2, 3)) *
                                     VelGeomMatrix3d::rotation(0.7, V(1, 2, -0.5)) *
                                     VelGeomMatrix3d::rotation(0.3, V(0, 0, 1));
    return m;
}

P tilted(P p) { return p.transformBy(tilt()); }
V tilted(V v) { return v.transformBy(tilt()); }

}  // namespace

TEST(VelGeomCircArc3d, Constructors)
{
    const Arc def;
    EXPECT_EQ(def.getArcType(), Arc::kDegenerate);
    EXPECT_EQ(def.getLength(), 0.0);
    EXPECT_EQ(def.getRadius(), 0.0);

    const Arc full(P(1, 2, 3), V(0, 0, 5), 2);
    EXPECT_EQ(full.getArcType(), Arc::kFullCircle);
    EXPECT_EQ(full.getNormal(), V(0, 0, 1));
    EXPECT_EQ(full.getStartVector(), V(0, 0, 5).perpVector());
    EXPECT_NEAR(full.getLength(), 4 * kPi, 1e-14);
    EXPECT_EQ(full.getType(), VelGeomCurve3d::kCircArc);
    EXPECT_TRUE(full.isKindOf(VelGeomCurve3d::kCircArc));
    EXPECT_FALSE(full.isKindOf(VelGeomCurve3d::kLine));

    const Arc fromVector(P(0, 0, 0), V(0, 0, 1), 2, V(0, 3, 0));
    EXPECT_EQ(fromVector.getStartPoint(), P(0, 2, 0));
    EXPECT_EQ(fromVector.getArcType(), Arc::kFullCircle);

    // A sweep of 2*pi given explicitly is still an arc.
    EXPECT_EQ(Arc(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), 2 * kPi).getArcType(), Arc::kArc);

    const Arc ends(P(0, 0, 0), V(0, 0, 1), 1, P(3, 0, 0), P(0, -2, 0));
    EXPECT_NEAR(ends.getIncludedAngle(), 3 * kPi / 2, 1e-12);
    expectNear(ends.getEndPoint(), P(0, -1, 0));
    const Arc endsBelow(P(0, 0, 0), V(0, 0, -1), 1, P(3, 0, 0), P(0, -2, 0));
    EXPECT_NEAR(endsBelow.getIncludedAngle(), kPi / 2, 1e-12);
    const Arc vectors(P(0, 0, 0), V(0, 0, 1), 1, V(0, 4, 0), V(-1, 0, 0));
    EXPECT_NEAR(vectors.getIncludedAngle(), kPi / 2, 1e-12);

    // Angle form: equal angles make a full turn.
    const Arc angles(P(0, 0, 0), V(0, 0, 1), V(1, 0, 0), 2, kPi / 2, kPi);
    expectNear(angles.getStartPoint(), P(0, 2, 0));
    expectNear(angles.getEndPoint(), P(-2, 0, 0));
    const Arc wrap(P(0, 0, 0), V(0, 0, 1), V(1, 0, 0), 1, 3 * kPi / 2, kPi / 2);
    EXPECT_NEAR(wrap.getIncludedAngle(), kPi, 1e-14);
    expectNear(wrap.getMidPoint(), P(1, 0, 0));
    EXPECT_NEAR(Arc(P(0, 0, 0), V(0, 0, 1), V(1, 0, 0), 1, 1.0, 1.0).getIncludedAngle(), 2 * kPi, 1e-15);

    EXPECT_NEAR(angles.getStartAngle(V(1, 0, 0)), kPi / 2, 1e-14);
    const VelGeomArc3d pair = angles.getArc();
    expectNear(pair.startVector, V(0, 1, 0));
    expectNear(pair.endVector, V(-1, 0, 0));
}

TEST(VelGeomCircArc3d, ThreePointArcs)
{
    const Arc up(P(1, 0, 0), P(0, 1, 0), P(-1, 0, 0));
    expectNear(up.getCenter(), P(0, 0, 0));
    EXPECT_NEAR(up.getRadius(), 1, 1e-12);
    expectNear(up.getNormal(), V(0, 0, 1));
    EXPECT_NEAR(up.getIncludedAngle(), kPi, 1e-12);
    const Arc down(P(1, 0, 0), P(0, -1, 0), P(-1, 0, 0));
    expectNear(down.getNormal(), V(0, 0, -1));
    EXPECT_NEAR(down.getIncludedAngle(), kPi, 1e-12);

    const Arc major(P(1, 0, 0), P(0, 1, 0), P(0, -1, 0));
    EXPECT_NEAR(major.getIncludedAngle(), 3 * kPi / 2, 1e-12);
    expectNear(major.getNormal(), V(0, 0, 1));
    expectNear(major.getEndPoint(), P(0, -1, 0));
    EXPECT_TRUE(major.isOn(P(-1, 0, 0)));
    EXPECT_FALSE(major.isOn(P(std::sqrt(0.5), -std::sqrt(0.5), 0)));

    // The passing point near either end, and the mirror image.
    for (double at : {5.0, 45.0, 85.0}) {
        const double a = at * kPi / 180;
        const Arc q(P(1, 0, 0), P(std::cos(a), std::sin(a), 0), P(0, 1, 0));
        expectNear(q.getNormal(), V(0, 0, 1));
        EXPECT_NEAR(q.getIncludedAngle(), kPi / 2, 1e-12) << at;
        const Arc m(P(1, 0, 0), P(std::cos(a), -std::sin(a), 0), P(0, -1, 0));
        expectNear(m.getNormal(), V(0, 0, -1));
        EXPECT_NEAR(m.getIncludedAngle(), kPi / 2, 1e-12) << at;
    }

    // In a general plane: centre, normal and sweep follow the points.
    const P c(0, 0, 0);
    const Arc general(tilted(P(2, 0, 0)), tilted(P(0, 2, 0)), tilted(P(0, -2, 0)));
    expectNear(general.getCenter(), tilted(c));
    EXPECT_NEAR(general.getRadius(), 2, 1e-9);
    expectNear(general.getNormal(), tilted(V(0, 0, 1)));
    EXPECT_NEAR(general.getIncludedAngle(), 3 * kPi / 2, 1e-9);
    expectNear(general.getEndPoint(), tilted(P(0, -2, 0)));
    EXPECT_TRUE(general.getStartVector().isPerpendicularTo(general.getNormal(), VelGeomTol(1e-9, 1e-9)));

    EXPECT_EQ(Arc(P(0, 0, 0), P(1, 1, 1), P(2, 2, 2)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0, 0), P(0, 0, 0), P(2, 2, 2)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0, 0), P(1, 0, 0), P(0, 0, 0)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0, 0), P(1, 0, std::nan("")), P(0, 1, 0)).getArcType(), Arc::kDegenerate);
    EXPECT_EQ(Arc(P(0, 0, 0), P(1, 1, 1), P(2, 2, 2)).getLength(), 0.0);
}

TEST(VelGeomCircArc3d, EvaluationAndDirectedAngles)
{
    const Arc arc(tilted(P(2, 0, 0)), tilted(P(0, 2, 0)), tilted(P(0, -2, 0)));
    expectNear(arc.evalPoint(0), arc.getStartPoint());
    expectNear(arc.evalPoint(1), arc.getEndPoint());
    expectNear(arc.getMidPoint(), arc.evalPoint(0.5));
    expectNear(arc.getMidPoint(), tilted(P(-std::sqrt(2.0), std::sqrt(2.0), 0)));
    for (double t : {0.0, 0.1, 0.5, 0.9, 1.0})
        EXPECT_NEAR(arc.paramOf(arc.evalPoint(t)), t, 1e-9) << t;
    double t0 = 5, t1 = 5;
    EXPECT_TRUE(arc.hasStartParam(t0) && arc.hasEndParam(t1));
    EXPECT_EQ(t0, 0.0);
    EXPECT_EQ(t1, 1.0);

    // The start, and within the tolerance before it; the tolerance after the
    // end; off the circle.
    const Arc q(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), kPi / 2);
    EXPECT_TRUE(q.isOn(P(1, 0, 0)));
    EXPECT_EQ(q.paramOf(P(1, 0, 0)), 0.0);
    EXPECT_TRUE(q.isOn(P(std::cos(1e-11), -std::sin(1e-11), 0)));
    EXPECT_FALSE(q.isOn(P(std::cos(1e-9), -std::sin(1e-9), 0)));
    EXPECT_TRUE(q.isOn(P(std::cos(kPi / 2 + 1e-11), std::sin(kPi / 2 + 1e-11), 0)));
    EXPECT_FALSE(q.isOn(P(std::cos(kPi / 2 + 1e-9), std::sin(kPi / 2 + 1e-9), 0)));
    EXPECT_FALSE(q.isOn(P(0, 1 + 1e-9, 0)));
    // The plane is not tested beyond the distance.
    EXPECT_TRUE(q.isOn(P(std::sqrt(0.5), 0, std::sqrt(0.5))));
    // A large radius keeps the tolerance along the arc.
    const Arc big(P(0, 0, 0), V(0, 0, 1), 1000, P(1000, 0, 0), 1.0);
    EXPECT_FALSE(big.isOn(P(1000 * std::cos(1e-11), -1000 * std::sin(1e-11), 0)));
    // The same arc seen from the other side of its plane.
    const Arc below(P(0, 0, 0), V(0, 0, -1), 1, P(1, 0, 0), kPi / 2);
    EXPECT_TRUE(below.isOn(P(0, -1, 0)));
    EXPECT_FALSE(below.isOn(P(0, 1, 0)));

    // Full circle: its start has the parameter 0; a sliver holds its start.
    const Arc full(P(0, 0, 0), V(0, 0, 1), 1, V(1, 0, 0));
    EXPECT_EQ(full.paramOf(P(1, 0, 0)), 0.0);
    EXPECT_NEAR(full.paramOf(P(0, -1, 0)), 0.75, 1e-12);
    const Arc sliver(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), 1e-12);
    EXPECT_TRUE(sliver.isOn(P(1, 0, 0)));
    EXPECT_FALSE(sliver.isOn(P(std::cos(1e-6), std::sin(1e-6), 0)));

    expectNear(q.tangentVector(P(0, 2, 0)), V(-2, 0, 0));
    EXPECT_EQ(q.tangentVector(P(0, 0, 0)), VelGeomVector3d::kIdentity);
}

TEST(VelGeomCircArc3d, ClosestPointToPoint)
{
    const Arc q(P(0, 0, 0), V(0, 0, 1), 2, P(2, 0, 0), kPi / 2);
    expectNear(q.getClosestPointTo(P(3, 3, 7)), P(std::sqrt(2.0), std::sqrt(2.0), 0));
    expectNear(q.getClosestPointTo(P(3, -0.1, 1)), P(2, 0, 0));
    expectNear(q.getClosestPointTo(P(-3, 0.1, 1)), P(0, 2, 0));
    expectNear(q.getClosestPointTo(P(0, 0, 5)), P(2, 0, 0));
    // Against samples, on a tilted major arc.
    const Arc arc(tilted(P(2, 0, 0)), tilted(P(0, 2, 0)), tilted(P(0, -2, 0)));
    for (const P& p : {P(0, 0, 0), P(5, 5, 5), P(-3, 1, 2), tilted(P(1, -1, 0.5))}) {
        const double d = arc.distanceTo(p);
        for (int i = 0; i <= 400; ++i)
            EXPECT_LE(d, arc.evalPoint(i / 400.0).distanceTo(p) + 1e-12);
    }
}

TEST(VelGeomCircArc3d, MirrorsAndTransforms)
{
    const Arc arc(tilted(P(2, 0, 0)), tilted(P(0, 2, 0)), tilted(P(0, -2, 0)));
    const VelGeomMatrix3d mirror = VelGeomMatrix3d::mirroring(VelGeomPlane(P(0, 0, 1), V(1, 1, 0)));
    Arc image(arc);
    image.transformBy(mirror);
    V n = arc.getNormal();
    n.transformBy(mirror);
    expectNear(image.getNormal(), -n);
    EXPECT_EQ(image.getIncludedAngle(), arc.getIncludedAngle());
    for (double t : {0.0, 0.3, 0.5, 1.0}) {
        P p = arc.evalPoint(t);
        p.transformBy(mirror);
        expectNear(image.evalPoint(t), p);
    }
    // Rotation and uniform scale.
    const VelGeomMatrix3d m = VelGeomMatrix3d::rotation(1.0, V(0, 1, 1), P(1, 1, 1)) * VelGeomMatrix3d::scale(P(0, 0, 0), 3);
    Arc moved(arc);
    moved.transformBy(m);
    EXPECT_NEAR(moved.getRadius(), 6, 1e-9);
    for (double t : {0.0, 0.5, 1.0}) {
        P p = arc.evalPoint(t);
        p.transformBy(m);
        expectNear(moved.evalPoint(t), p, 1e-8);
    }
    std::unique_ptr<VelGeomCurve3d> copy(arc.copy());
    expectNear(copy->evalPoint(0.5), arc.evalPoint(0.5));
    VelGeomCurve3d* circle = arc.getInfiniteCurve();
    EXPECT_EQ(static_cast<Arc*>(circle)->getArcType(), Arc::kFullCircle);
    EXPECT_TRUE(circle->isOn(tilted(P(std::sqrt(2.0), -std::sqrt(2.0), 0))));
    VelGeomCurve3d::deleteCurve(circle);
    EXPECT_EQ(circle, nullptr);
}

TEST(VelGeomCircArc3d, Offsets)
{
    const Arc arc(P(0, 0, 0), V(0, 0, 1), 2, P(2, 0, 0), kPi / 2);
    VelArray<VelGeomCurve3d*> pieces;
    arc.getOffset(1, V(0, 0, -3), pieces, kOffsetExtNone);
    ASSERT_EQ(pieces.length(), 1);
    EXPECT_EQ(static_cast<Arc*>(pieces[0])->getRadius(), 3.0);
    VelGeomCurve3d::deleteCurve(pieces[0]);
    arc.getOffset(1, V(0, 0, 1), pieces, kOffsetExtNone);
    ASSERT_EQ(pieces.length(), 1);
    EXPECT_EQ(static_cast<Arc*>(pieces[0])->getRadius(), 1.0);
    VelGeomCurve3d::deleteCurve(pieces[0]);
    // Collapsing, and a normal across the arc's plane.
    arc.getOffset(2, V(0, 0, 1), pieces, kOffsetExtNone);
    EXPECT_TRUE(pieces.isEmpty());
    arc.getOffset(-2, V(0, 0, -1), pieces, kOffsetExtNone);
    EXPECT_TRUE(pieces.isEmpty());
    arc.getOffset(1, V(0, 1, 1), pieces, kOffsetExtNone);
    EXPECT_TRUE(pieces.isEmpty());

    // 3D offsets: the radius follows the start direction, the plane the normal.
    VelGeomCurve3d* result = nullptr;
    ASSERT_EQ(arc.get3dOffset(V(0.5, 7, 3), result), 1);
    const Arc* off = static_cast<const Arc*>(result);
    EXPECT_EQ(off->getRadius(), 2.5);
    expectNear(off->getCenter(), P(0, 0, 3));
    expectNear(off->getStartPoint(), P(2.5, 0, 3));
    VelGeomCurve3d::deleteCurve(result);
    ASSERT_EQ(arc.get3dOffset(V(0, 5, -1), result), 1);
    EXPECT_EQ(static_cast<const Arc*>(result)->getRadius(), 2.0);
    expectNear(static_cast<const Arc*>(result)->getCenter(), P(0, 0, -1));
    VelGeomCurve3d::deleteCurve(result);
    EXPECT_EQ(arc.get3dOffset(V(-2, 0, 1), result), 0);
    EXPECT_EQ(result, nullptr);
}

TEST(VelGeomCircArc3d, TangentAndPerpendicularPoints)
{
    const Arc circle(P(0, 0, 0), V(0, 0, 1), 1, V(1, 0, 0));
    VelArray<P> t = circle.getTanIntersections(P(2, 0, 0), 0);
    ASSERT_EQ(t.length(), 2);
    expectNear(t[0], P(0.5, std::sqrt(3.0) / 2, 0));
    expectNear(t[1], P(0.5, -std::sqrt(3.0) / 2, 0));
    // Each tangent really passes through the point.
    for (int i = 0; i < 2; ++i)
        EXPECT_NEAR((t[i] - P(0, 0, 0)).dotProduct(P(2, 0, 0) - t[i]), 0, 1e-12);
    const Arc upper(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), kPi);
    t = upper.getTanIntersections(P(2, 0, 0), 0);
    ASSERT_EQ(t.length(), 1);
    expectNear(t[0], P(0.5, std::sqrt(3.0) / 2, 0));
    EXPECT_EQ(upper.getTanIntersections(P(2, 0, 0), 1).length(), 2);
    EXPECT_TRUE(circle.getTanIntersections(P(0.5, 0, 0), 1).isEmpty());
    EXPECT_TRUE(circle.getTanIntersections(P(0, 0, 0), 1).isEmpty());
    // A point above the plane is seen from its foot.
    t = circle.getTanIntersections(P(2, 0, 4), 1);
    ASSERT_EQ(t.length(), 2);
    expectNear(t[0], P(0.5, std::sqrt(3.0) / 2, 0));

    VelArray<P> f = circle.getPerpIntersections(P(3, 4, 2), 0);
    ASSERT_EQ(f.length(), 2);
    expectNear(f[0], P(0.6, 0.8, 0));
    expectNear(f[1], P(-0.6, -0.8, 0));
    f = upper.getPerpIntersections(P(3, 4, 2), 0);
    ASSERT_EQ(f.length(), 1);
    expectNear(f[0], P(0.6, 0.8, 0));
    EXPECT_EQ(upper.getPerpIntersections(P(3, 4, 2), 1).length(), 2);
}

TEST(VelGeomCircArc3d, CutByPlane)
{
    const Arc half(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), kPi);
    Arc keepStart(half);
    ASSERT_EQ(keepStart.cutAt(VelGeomPlane::kYZPlane, 1, 0), 1);
    EXPECT_NEAR(keepStart.getIncludedAngle(), kPi / 2, 1e-12);
    expectNear(keepStart.getEndPoint(), P(0, 1, 0));
    expectNear(keepStart.getStartPoint(), P(1, 0, 0));
    Arc keepEnd(half);
    ASSERT_EQ(keepEnd.cutAt(VelGeomPlane::kYZPlane, 0, 0), 1);
    expectNear(keepEnd.getStartPoint(), P(0, 1, 0));
    expectNear(keepEnd.getEndPoint(), P(-1, 0, 0));
    EXPECT_NEAR(keepEnd.getIncludedAngle(), kPi / 2, 1e-12);

    // Beyond the arc: only the whole circle reaches the plane; of two points
    // the one nearer the plane's origin is taken.
    const Arc quarter(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), kPi / 2);
    const VelGeomPlane beyond(P(-0.5, -5, 0), V(1, 0, 0));
    Arc unchanged(quarter);
    EXPECT_EQ(unchanged.cutAt(beyond, 1, 0), 0);
    EXPECT_EQ(unchanged.getIncludedAngle(), kPi / 2);
    Arc grown(quarter);
    ASSERT_EQ(grown.cutAt(beyond, 1, 1), 1);
    expectNear(grown.getEndPoint(), P(-0.5, -std::sqrt(3.0) / 2, 0));
    EXPECT_NEAR(grown.getIncludedAngle(), 4 * kPi / 3, 1e-12);
    // A plane parallel to the arc's plane misses.
    EXPECT_EQ(unchanged.cutAt(VelGeomPlane::kXYPlane, 1, 1), 0);
    // A full circle cut becomes an arc.
    Arc circle(P(0, 0, 0), V(0, 0, 1), 1, V(1, 0, 0));
    ASSERT_EQ(circle.cutAt(VelGeomPlane(P(0, 3, 0), V(1, 0, 0)), 1, 0), 1);
    EXPECT_EQ(circle.getArcType(), Arc::kArc);
    expectNear(circle.getEndPoint(), P(0, 1, 0));
}

TEST(VelGeomCircArc3d, ArcArcIntersections)
{
    // Coplanar in a tilted plane: the planar answer carried along.
    const Arc a(tilted(P(0, 0, 0)), tilted(V(0, 0, 1)) - tilted(V(0, 0, 0)), 1);
    const V n = tilted(V(0, 0, 1)) - tilted(V(0, 0, 0));
    const Arc b(tilted(P(1, 0, 0)), n, 1);
    VelArray<P> pts = cut(a, b);
    ASSERT_EQ(pts.length(), 2);
    EXPECT_TRUE(contains(pts, tilted(P(0.5, std::sqrt(3.0) / 2, 0))));
    EXPECT_TRUE(contains(pts, tilted(P(0.5, -std::sqrt(3.0) / 2, 0))));
    for (int i = 0; i < pts.length(); ++i)
        EXPECT_TRUE(a.isOn(pts[i], VelGeomTol(1e-9, 1e-9)) && b.isOn(pts[i], VelGeomTol(1e-9, 1e-9)));
    // Tangent.
    pts = cut(Arc(P(0, 0, 0), V(0, 0, 1), 1), Arc(P(2, 0, 0), V(0, 0, -1), 1));
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(1, 0, 0));

    // One circle, opposite normals: the same sense is told by the normals.
    const Arc first(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), kPi / 2);
    const Arc next(P(0, 0, 0), V(0, 0, 1), 1, P(0, 1, 0), kPi / 2);
    const Arc backwards(P(0, 0, 0), V(0, 0, -1), 1, P(-1, 0, 0), kPi / 2);
    pts = cut(first, next);
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(0, 1, 0));
    pts = cut(first, backwards);
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(0, 1, 0));
    EXPECT_TRUE(cut(first, Arc(P(0, 0, 0), V(0, 0, -1), 1, P(0, 1, 0), kPi / 2)).isEmpty());

    // Parallel planes apart.
    EXPECT_TRUE(cut(Arc(P(0, 0, 0), V(0, 0, 1), 1), Arc(P(0.5, 0, 1), V(0, 0, 1), 1)).isEmpty());

    // Crossing planes: only points of both arcs on the common line.
    const Arc flat(P(0, 0, 0), V(0, 0, 1), 1);
    const Arc upright(P(0, 0, 0), V(0, 1, 0), 1);
    pts = cut(flat, upright);
    ASSERT_EQ(pts.length(), 2);
    EXPECT_TRUE(contains(pts, P(1, 0, 0)) && contains(pts, P(-1, 0, 0)));
    const Arc uprightQuarter(P(0, 0, 0), V(0, 1, 0), 1, P(1, 0, 0), kPi / 2);  // to (0, 0, -1)
    pts = cut(flat, uprightQuarter);
    ASSERT_EQ(pts.length(), 1);
    expectNear(pts[0], P(1, 0, 0));
    const Arc flatHalf(P(0, 0, 0), V(0, 0, 1), 1, P(0, 1, 0), kPi);  // through (-1, 0, 0)
    pts = cut(flatHalf, uprightQuarter);
    EXPECT_TRUE(pts.isEmpty());
    // Circles through the common line at different points.
    EXPECT_TRUE(cut(flat, Arc(P(3, 0, 0), V(0, 1, 0), 1)).isEmpty());
    // Tilted crossing: both circles through p and q.
    const P p(1, 2, 0), q(-1, 0.5, 1);
    const Arc one(p, q, P(0, 0, 3));
    const Arc two(q, P(2, -1, -1), p);
    pts = cut(one, two, VelGeomTol(1e-8, 1e-8));
    ASSERT_EQ(pts.length(), 2);
    EXPECT_TRUE(contains(pts, p, 1e-7) && contains(pts, q, 1e-7));

    // A default (normal-less) arc meets nothing.
    EXPECT_TRUE(cut(Arc(), flat).isEmpty());
}

TEST(VelGeomCircArc3d, ClosestPointsInSpecialPositions)
{
    P onOther;
    const Arc circle(P(0, 0, 0), V(0, 0, 1), 1);
    // A line along the normal.
    const VelGeomLine3d vertical(P(3, 0, 5), V(0, 0, 1));
    expectNear(circle.getClosestPointTo(vertical, onOther), P(1, 0, 0));
    expectNear(onOther, P(3, 0, 0));
    // A line parallel to the plane, above it.
    const VelGeomLine3d above(P(7, 3, 2), V(1, 0, 0));
    expectNear(circle.getClosestPointTo(above, onOther), P(0, 1, 0));
    expectNear(onOther, P(0, 3, 2));
    // ... and one whose shadow crosses the circle.
    const VelGeomLineSeg3d shadow(P(-5, 0.5, 2), P(5, 0.5, 2));
    const P mine = circle.getClosestPointTo(shadow, onOther);
    EXPECT_NEAR(mine.distanceTo(onOther), 2, 1e-12);
    EXPECT_TRUE(circle.isOn(mine));
    EXPECT_TRUE(shadow.isOn(onOther));
    // A segment above the plane whose shadow ends short of the circle.
    const VelGeomLineSeg3d shortSeg(P(3, -1, 1), P(3, 1, 1));
    circle.getClosestPointTo(shortSeg, onOther);
    EXPECT_NEAR(circle.distanceTo(shortSeg), std::sqrt(5.0), 1e-12);

    // Parallel planes: disjoint shadows, crossing shadows.
    const Arc farAbove(P(5, 0, 2), V(0, 0, -1), 1);
    expectNear(circle.getClosestPointTo(farAbove, onOther), P(1, 0, 0));
    expectNear(onOther, P(4, 0, 2));
    const Arc overlapAbove(P(1, 0, 2), V(0, 0, 1), 1);
    EXPECT_NEAR(circle.distanceTo(overlapAbove), 2, 1e-12);
    // Nested shadows.
    const Arc bigAbove(P(0, 0, 1), V(0, 0, 1), 5);
    const Arc smallBelow(P(2, 0, 0), V(0, 0, 1), 1);
    expectNear(smallBelow.getClosestPointTo(bigAbove, onOther), P(3, 0, 0));
    expectNear(onOther, P(5, 0, 1));
}

TEST(VelGeomCircArc3d, ClosestPointsInGeneralPosition)
{
    P onOther;
    const VelGeomTol loose(1e-7, 1e-7);
    // Arcs in crossing planes, and a tilted segment, against samples.
    const Arc flat(P(0, 0, 0), V(0, 0, 1), 1, P(1, 0, 0), 1.5);
    const Arc side(P(3, 0, 0), V(1, 0, 0), 1);
    const Arc sideArc(P(2.5, 0.5, 0.5), V(1, 0.2, 0), 1, P(2.5, 0.5, 1.5), 1.0);
    const Arc major(tilted(P(2, 0, 0)), tilted(P(0, 2, 0)), tilted(P(0, -2, 0)));
    const VelGeomLineSeg3d seg(P(2, -3, 1), P(-1, 4, 2));
    const VelGeomCurve3d* others[] = {&side, &sideArc, &seg, &major};
    for (const VelGeomCurve3d* o : others) {
        const P mine = flat.getClosestPointTo(*o, onOther);
        EXPECT_TRUE(flat.isOn(mine, loose));
        EXPECT_TRUE(o->isOn(onOther, loose));
        EXPECT_LE(mine.distanceTo(onOther), sampledDistance(flat, *o) + 1e-6);
    }
    // Analytic: the unit circle and the circle in x = 3 of radius 1 about
    // (3, 0, 0) are sqrt(11 - 2 sqrt(10)) apart.
    const Arc circle(P(0, 0, 0), V(0, 0, 1), 1);
    EXPECT_NEAR(circle.distanceTo(side), std::sqrt(11 - 2 * std::sqrt(10.0)), 1e-6);
    // A line in general direction: only a stretch of it is sampled.
    const VelGeomLine3d skew(P(0, 0, 2), V(1, 1, 1));
    const P mine = circle.getClosestPointTo(skew, onOther);
    EXPECT_TRUE(circle.isOn(mine, loose));
    EXPECT_TRUE(skew.isOn(onOther, loose));
    EXPECT_LE(mine.distanceTo(onOther), sampledDistance(circle, skew, -10, 10, 2000) + 1e-6);
}
