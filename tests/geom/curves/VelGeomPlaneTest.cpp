#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using P = VelGeomPoint3d;
using V = VelGeomVector3d;

const VelGeomTol kTight(1e-12, 1e-12);

void expectSamePlane(const VelGeomPlane& a, const VelGeomPlane& b)
{
    EXPECT_EQ(a.A(), b.A());
    EXPECT_EQ(a.B(), b.B());
    EXPECT_EQ(a.C(), b.C());
    EXPECT_EQ(a.D(), b.D());
    P o1, o2;
    V u1, v1, u2, v2;
    a.get(o1, u1, v1);
    b.get(o2, u2, v2);
    EXPECT_EQ(o1, o2);
    EXPECT_EQ(u1, u2);
    EXPECT_EQ(v1, v2);
}

}  // namespace

TEST(VelGeomPlane, NamedPlanesAreWhatTheCoefficientsGive)
{
    expectSamePlane(VelGeomPlane::kXYPlane, VelGeomPlane(0, 0, 1, 0));
    expectSamePlane(VelGeomPlane::kYZPlane, VelGeomPlane(1, 0, 0, 0));
    expectSamePlane(VelGeomPlane::kZXPlane, VelGeomPlane(0, 1, 0, 0));
    expectSamePlane(VelGeomPlane(), VelGeomPlane::kXYPlane);
    P o;
    V u, v;
    VelGeomPlane::kZXPlane.get(o, u, v);
    EXPECT_EQ(u, V(-1, 0, 0));
    EXPECT_EQ(v, V(0, 0, 1));
}

TEST(VelGeomPlane, Construction)
{
    const VelGeomPlane z2(0, 0, 2, -4);
    EXPECT_EQ(z2.normal(), V(0, 0, 1));
    EXPECT_EQ(z2.D(), -2.0);
    EXPECT_EQ(z2.pointOnPlane(), P(0, 0, 2));
    const VelGeomPlane oblique(1, 1, 0, -2);
    EXPECT_TRUE(oblique.normal().isEqualTo(V(1, 1, 0).normal(), kTight));
    EXPECT_NEAR(oblique.D(), -std::sqrt(2.0), 1e-15);
    EXPECT_TRUE(oblique.pointOnPlane().isEqualTo(P(1, 1, 0), kTight));
    // All-zero coefficients give the degenerate plane.
    const VelGeomPlane none(0, 0, 0, 5);
    EXPECT_EQ(none.normal(), V(0, 0, 0));

    // The order of the points fixes the sign of the normal.
    const VelGeomPlane three(P(0, 0, 0), P(1, 0, 0), P(0, 1, 0));
    EXPECT_EQ(three.normal(), V(0, 0, -1));
    EXPECT_EQ(three.pointOnPlane(), P(1, 0, 0));
    const VelGeomPlane reversed(P(0, 1, 0), P(1, 0, 0), P(0, 0, 0));
    EXPECT_EQ(reversed.normal(), V(0, 0, 1));
    EXPECT_TRUE(three == reversed);  // the same plane all the same

    // Colinear points and parallel vectors give a degenerate plane.
    const VelGeomPlane line(P(0, 0, 0), P(1, 1, 1), P(2, 2, 2));
    EXPECT_EQ(line.A(), 0.0);
    EXPECT_EQ(line.D(), 0.0);
    const VelGeomPlane par(P(1, 2, 3), V(1, 0, 0), V(-2, 0, 0));
    EXPECT_EQ(par.normal(), V(0, 0, 0));
    EXPECT_EQ(par.pointOnPlane(), P(1, 2, 3));

    const VelGeomPlane pn(P(0, 0, 3), V(0, 0, -5));
    EXPECT_EQ(pn.normal(), V(0, 0, -1));
    EXPECT_EQ(pn.D(), 3.0);
    P o;
    V u, v;
    pn.get(o, u, v);
    EXPECT_TRUE(u.isPerpendicularTo(pn.normal()));
    EXPECT_TRUE(u.crossProduct(v).isCodirectionalTo(pn.normal()));

    // Three points read back rebuild the plane.
    const VelGeomPlane spanned(P(1, 1, 1), V(2, 0, 0), V(0, 0, 3));
    P p1, p2, p3;
    spanned.get(p1, p2, p3);
    const VelGeomPlane rebuilt(p1, p2, p3);
    EXPECT_EQ(rebuilt.normal(), spanned.normal());
    EXPECT_EQ(rebuilt.D(), spanned.D());
    V x, y, z;
    spanned.getCS(o, x, y, z);
    EXPECT_EQ(x, V(1, 0, 0));
    EXPECT_EQ(z, V(0, -1, 0));
    EXPECT_EQ(y, V(0, 0, 1));
}

TEST(VelGeomPlane, PointQueries)
{
    const VelGeomPlane z2(0, 0, 1, -2);
    EXPECT_EQ(VelGeomPlane::kXYPlane.distanceTo(P(5, 5, 7)), 7.0);
    EXPECT_EQ(z2.distanceTo(P(5, 5, 7)), 5.0);
    EXPECT_EQ(z2.distanceTo(P(5, 5, -7)), 9.0);
    EXPECT_EQ(z2.getClosestPointTo(P(5, 5, -7)), P(5, 5, 2));
    EXPECT_TRUE(z2.isOn(P(0, 0, 2 + 0.5e-10)));
    EXPECT_FALSE(z2.isOn(P(0, 0, 2 + 1e-10)));
    EXPECT_TRUE(z2.isOn(P(0, 0, 2 + 1e-10), VelGeomTol(1e-9, 1e-9)));
    EXPECT_TRUE(z2.isOn(VelGeomLine3d(P(3, 3, 2), V(1, -1, 0))));
    EXPECT_FALSE(z2.isOn(VelGeomLine3d(P(3, 3, 2), V(1, -1, 1e-6))));
    EXPECT_TRUE(z2.isParallel(VelGeomPlane::kXYPlane));
    EXPECT_FALSE(z2.isCoplanarTo(VelGeomPlane::kXYPlane));
    EXPECT_TRUE(z2.isCoplanarTo(VelGeomPlane(P(9, 9, 2), V(0, 0, -1))));
    EXPECT_TRUE(z2 != VelGeomPlane::kXYPlane);
    EXPECT_TRUE(z2 == VelGeomPlane(P(9, 9, 2), V(0, 0, -1)));

    // Projection of random points: on the plane, and along the normal.
    const VelGeomPlane p(P(1, 2, 3), V(1, -2, 0.5));
    std::mt19937 gen(53);
    std::uniform_real_distribution<double> u(-100.0, 100.0);
    for (int k = 0; k < 50; ++k) {
        const P q(u(gen), u(gen), u(gen));
        const P f = p.getClosestPointTo(q);
        EXPECT_TRUE(p.isOn(f, VelGeomTol(1e-11, 1e-11)));
        EXPECT_TRUE((q - f).isParallelTo(p.normal(), VelGeomTol(1e-9, 1e-9)) || q.isEqualTo(f));
        EXPECT_NEAR(p.distanceTo(q), std::fabs(p.normal().dotProduct(q - P(1, 2, 3))), 1e-10);
    }
}

TEST(VelGeomPlane, MovingAndTransforming)
{
    VelGeomPlane z2(0, 0, 1, -2);
    z2 += V(1, 1, 3);
    EXPECT_EQ(z2.D(), -5.0);
    EXPECT_TRUE(z2.isOn(P(-7, 4, 5)));
    const VelGeomPlane moved = VelGeomPlane::kXYPlane + V(0, 0, -1);
    EXPECT_TRUE(moved.isOn(P(3, 3, -1)));
    EXPECT_TRUE(VelGeomPlane::kXYPlane.isOn(P(3, 3, 0)));

    // Points on the plane stay on it when both are transformed.
    const VelGeomMatrix3d m = VelGeomMatrix3d::translation(V(3, -1, 2)) *
                              VelGeomMatrix3d::rotation(0.8, V(1, 2, -1)) *
                              VelGeomMatrix3d::scale(P(1, 1, 1), 2.5);
    VelGeomPlane p(P(1, 2, 3), V(1, -2, 0.5));
    VelGeomPlane t = p;
    t.transformBy(m);
    EXPECT_TRUE(t.isOn(t.pointOnPlane(), VelGeomTol(1e-9, 1e-9)));
    std::mt19937 gen(59);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    P o;
    V a, b;
    p.get(o, a, b);
    for (int k = 0; k < 20; ++k) {
        P q = o + a * u(gen) + b * u(gen);
        ASSERT_TRUE(p.isOn(q, VelGeomTol(1e-9, 1e-9)));
        q.transformBy(m);
        EXPECT_TRUE(t.isOn(q, VelGeomTol(1e-9, 1e-9)));
    }
    // A rotation of z = 2 about x by 90 degrees gives y = -2.
    VelGeomPlane r(0, 0, 1, -2);
    r.transformBy(VelGeomMatrix3d::rotationX(std::acos(-1.0) / 2));
    EXPECT_TRUE(r.normal().isEqualTo(V(0, -1, 0), kTight));
    EXPECT_TRUE(r.isOn(P(5, -2, 7), VelGeomTol(1e-12, 1e-12)));
}

TEST(VelGeomPlane, LineIntersections)
{
    const VelGeomPlane& xy = VelGeomPlane::kXYPlane;
    P p(9, 9, 9);
    EXPECT_TRUE(xy.intersectWith(VelGeomLineSeg3d(P(0, 0, -1), P(0, 0, 1)), p));
    EXPECT_EQ(p, P(0, 0, 0));
    p.set(9, 9, 9);
    EXPECT_FALSE(xy.intersectWith(VelGeomLineSeg3d(P(0, 0, 1), P(0, 0, 3)), p));
    EXPECT_EQ(p, P(0, 0, 0));  // written all the same
    EXPECT_TRUE(xy.intersectWith(VelGeomLine3d(P(0, 0, 1), P(1, 1, 3)), p));
    EXPECT_TRUE(p.isEqualTo(P(-0.5, -0.5, 0), kTight));
    EXPECT_TRUE(xy.intersectWith(VelGeomRay3d(P(1, 0, 1), V(0, 0, -1)), p));
    EXPECT_FALSE(xy.intersectWith(VelGeomRay3d(P(1, 0, 1), V(0, 0, 1)), p));
    EXPECT_EQ(p, P(1, 0, 0));
    EXPECT_FALSE(xy.intersectWith(VelGeomLine3d(P(0, 0, 1), V(1, 0, 0)), p));
    // Segment ends just inside and just outside the plane under gTol.
    EXPECT_TRUE(xy.intersectWith(VelGeomLineSeg3d(P(0, 0, 0.5e-10), P(0, 0, 1)), p));
    EXPECT_FALSE(xy.intersectWith(VelGeomLineSeg3d(P(0, 0, 2e-10), P(0, 0, 1)), p));
    EXPECT_TRUE(xy.intersectWith(VelGeomLineSeg3d(P(0, 0, 1), P(0, 0, -0.5e-10)), p));

    VelArray<P> pts;
    EXPECT_TRUE(xy.intersectWith(static_cast<const VelGeomCurve3d&>(VelGeomLineSeg3d(P(1, 1, -1), P(1, 1, 1))), pts));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 1, 0));
    EXPECT_FALSE(xy.intersectWith(static_cast<const VelGeomCurve3d&>(VelGeomLineSeg3d(P(1, 1, 1), P(1, 1, 2))), pts));
    EXPECT_EQ(pts.length(), 0);
    EXPECT_TRUE(xy.intersectWith(static_cast<const VelGeomCurve3d&>(VelGeomLine3d(P(1, 1, 1), P(1, 1, 2))), pts));
    EXPECT_FALSE(xy.intersectWith(static_cast<const VelGeomCurve3d&>(VelGeomRay3d(P(1, 1, 1), P(1, 1, 2))), pts));
    EXPECT_TRUE(xy.intersectWith(static_cast<const VelGeomCurve3d&>(VelGeomRay3d(P(1, 1, 1), P(1, 1, 0.5))), pts));
}

TEST(VelGeomPlane, PlanePlaneIntersections)
{
    VelGeomLine3d line;
    EXPECT_TRUE(VelGeomPlane::kXYPlane.intersectWith(VelGeomPlane::kYZPlane, line));
    EXPECT_EQ(line.direction(), V(0, 1, 0));
    EXPECT_TRUE(line.isOn(P(0, 0, 0)));

    // x + y + z = 3 and x = y meet in the line through (1, 1, 1) along (1, 1, -2).
    const VelGeomPlane a(1, 1, 1, -3), b(1, -1, 0, 0);
    ASSERT_TRUE(a.intersectWith(b, line));
    EXPECT_TRUE(line.direction().isParallelTo(V(1, 1, -2)));
    EXPECT_TRUE(line.isOn(P(1, 1, 1), VelGeomTol(1e-12, 1e-12)));
    EXPECT_TRUE(a.isOn(line, VelGeomTol(1e-12, 1e-12)));
    EXPECT_TRUE(b.isOn(line, VelGeomTol(1e-12, 1e-12)));

    // The determinant pairs in turn: x = 1 with z = 2 (xz), y = 1 with z = 2 (yz).
    line = VelGeomPlane(1, 0, 0, -1).intersectWith(VelGeomPlane(0, 0, 1, -2));
    EXPECT_EQ(line.pointOnLine(), P(1, 0, 2));
    line = VelGeomPlane(0, 1, 0, -1).intersectWith(VelGeomPlane(0, 0, 1, -2));
    EXPECT_EQ(line.pointOnLine(), P(0, 1, 2));

    // Parallel planes: no line by the checked form, a line anyway by the other.
    const VelGeomPlane z2(0, 0, 1, -2);
    EXPECT_FALSE(z2.intersectWith(VelGeomPlane::kXYPlane, line));
    line = z2.intersectWith(VelGeomPlane::kXYPlane);
    EXPECT_EQ(line.pointOnLine(), P(0, 0, 0));
    EXPECT_EQ(line.direction(), V(0, 0, 0));

    // Three planes.
    P p;
    EXPECT_TRUE(VelGeomPlane(1, 0, 0, -1).intersectWith(VelGeomPlane(0, 1, 0, -2), VelGeomPlane(0, 0, 1, -3), p));
    EXPECT_TRUE(p.isEqualTo(P(1, 2, 3), kTight));
    EXPECT_TRUE(a.intersectWith(b, z2, p));
    EXPECT_TRUE(p.isEqualTo(P(0.5, 0.5, 2), kTight));
    EXPECT_FALSE(VelGeomPlane::kXYPlane.intersectWith(VelGeomPlane(1, 0, 0, -1), VelGeomPlane(1, 0, 1, 0), p));
}
