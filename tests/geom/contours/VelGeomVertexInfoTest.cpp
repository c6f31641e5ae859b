#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
const double kPi = std::acos(-1.0);
using P = VelGeomPoint3d;
using V = VelGeomVector3d;

void expectNear(const P& a, const P& b, double eps = 1e-12)
{
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}
} // namespace

TEST(VelGeomVertexInfo, DefaultsLayoutAndEquality)
{
    const VelGeomVertexInfo d;
    EXPECT_EQ(d.getType(), VelGeomVertexInfo::kStraightEdge);
    EXPECT_EQ(d.getRadius(), 0.0);
    EXPECT_EQ(d.getAbsError(), 0.3);
    EXPECT_TRUE(d.getNormal() == V::kZAxis);
    EXPECT_EQ(VelGeomVertexInfo::kNone.getType(), VelGeomVertexInfo::kStraightEdge);
    EXPECT_EQ(static_cast<int>(VelGeomVertexInfo::kArcEdge), 0);
    EXPECT_EQ(static_cast<int>(VelGeomVertexInfo::kStraightEdge), -1);
    // Straight infos are equal whatever else they carry.
    const VelGeomVertexInfo arc(2.0, P(5, 5, 0), V::kZAxis);
    VelGeomVertexInfo odd = arc;
    ASSERT_EQ(odd.expand(1.0), 1);
    EXPECT_TRUE(d == VelGeomVertexInfo::kNone);
    EXPECT_FALSE(d == arc);
    EXPECT_TRUE(arc == VelGeomVertexInfo(2.0 + 0.9e-8, P(5, 5, 0), V::kZAxis));
    EXPECT_FALSE(arc == VelGeomVertexInfo(2.0 + 1.1e-8, P(5, 5, 0), V::kZAxis));
    EXPECT_FALSE(arc == VelGeomVertexInfo(2.0, P(5, 5, 0), -V::kZAxis));
    EXPECT_FALSE(arc == odd);
    // Centre, normal, radius, error, type: in this order.
    const double* f = reinterpret_cast<const double*>(&arc);
    EXPECT_EQ(f[0], 5.0);
    EXPECT_EQ(f[5], 1.0);
    EXPECT_EQ(f[6], 2.0);
    EXPECT_EQ(f[7], 0.3);
}

TEST(VelGeomVertexInfo, BulgeConstructionAndReadBack)
{
    const P p1(0, 0, 0), p2(2, 0, 0);
    const VelGeomVertexInfo ccw(p1, p2, V::kZAxis, 1.0, 0.3);
    ASSERT_TRUE(ccw.isArc());
    expectNear(ccw.getCenter(), P(1, 0, 0));
    EXPECT_NEAR(ccw.getRadius(), 1.0, 1e-15);
    EXPECT_TRUE(ccw.getNormal() == V::kZAxis);
    EXPECT_NEAR(ccw.getBulge(V::kZAxis, p1, p2), 1.0, 1e-12);
    const VelGeomVertexInfo cw(p1, p2, V::kZAxis, -1.0, 0.3);
    expectNear(cw.getCenter(), P(1, 0, 0));
    EXPECT_TRUE(cw.getNormal() == -V::kZAxis);
    EXPECT_NEAR(cw.getBulge(V::kZAxis, p1, p2), -1.0, 1e-12);
    // Seen from the other side the sign flips.
    EXPECT_NEAR(cw.getBulge(-V::kZAxis, p1, p2), 1.0, 1e-12);

    EXPECT_FALSE(VelGeomVertexInfo(p1, p2, V::kZAxis, 0.0, 0.3).isArc());
    EXPECT_FALSE(VelGeomVertexInfo(p1, p2, V::kZAxis, 1e-9, 0.3).isArc());
    EXPECT_FALSE(VelGeomVertexInfo(p1, p2, V::kZAxis, std::nan(""), 0.3).isArc());
}

TEST(VelGeomVertexInfo, BulgeRoundTripOverMinorAndMajorArcs)
{
    // Independent check: the arc's ends lie on the circle, and the apex found
    // from the bulge lies at the sagitta the bulge implies.
    const P p1(1, 2, 0), p2(4, 6, 0);
    for (double b : {0.1, 0.5, 0.99, 1.0, 1.5, 3.0, -0.1, -0.7, -1.0, -2.5}) {
        const VelGeomVertexInfo info(p1, p2, V::kZAxis, b, 0.3);
        ASSERT_TRUE(info.isArc()) << b;
        EXPECT_NEAR(p1.distanceTo(info.getCenter()), info.getRadius(), 1e-9) << b;
        EXPECT_NEAR(p2.distanceTo(info.getCenter()), info.getRadius(), 1e-9) << b;
        EXPECT_NEAR(info.getBulge(V::kZAxis, p1, p2), b, 1e-9) << b;
        // Included angle 4 atan|b|.
        EXPECT_NEAR(info.includedAngle(p1, p2), 4 * std::atan(std::fabs(b)), 1e-9) << b;
        // The bulge vector rebuilds the same arc.
        const VelGeomVertexInfo again(p1, p2, info.getBulgeVector(p1, p2));
        ASSERT_TRUE(again.isArc()) << b;
        expectNear(again.getCenter(), info.getCenter(), 1e-9);
        EXPECT_NEAR(again.getRadius(), info.getRadius(), 1e-9);
        EXPECT_TRUE(again.getNormal().isCodirectionalTo(info.getNormal())) << b;
    }
}

TEST(VelGeomVertexInfo, BulgeVectorSpecialCases)
{
    const P p1(0, 0, 0), p2(2, 0, 0);
    EXPECT_FALSE(VelGeomVertexInfo(p1, p2, V(0, 0, 0)).isArc());
    // Half circle: the centre is the chord midpoint.
    const VelGeomVertexInfo half(p1, p2, V(0, -1, 0));
    expectNear(half.getCenter(), P(1, 0, 0));
    EXPECT_NEAR(half.getRadius(), 1.0, 1e-15);
    EXPECT_TRUE(half.getNormal() == V::kZAxis);
    // A closed edge: the full circle through p1 about p2 - v.
    const VelGeomVertexInfo full(P(3, 0, 0), P(3, 0, 0), V(2, 0, 0));
    expectNear(full.getCenter(), P(1, 0, 0));
    EXPECT_EQ(full.getRadius(), 2.0);
    EXPECT_TRUE(full.getNormal().isPerpendicularTo(V(2, 0, 0)));
    EXPECT_TRUE(full.getBulgeVector(P(3, 0, 0), P(3, 0, 0)) == V(2, 0, 0));
    EXPECT_TRUE(VelGeomVertexInfo::kNone.getBulgeVector(p1, p2) == V(0, 0, 0));
    EXPECT_EQ(VelGeomVertexInfo::kNone.getBulge(V::kZAxis, p1, p2), 0.0);
    EXPECT_EQ(full.getBulge(V::kZAxis, P(3, 0, 0), P(3, 0, 0)), 0.0);
}

TEST(VelGeomVertexInfo, ApproximationByAbsoluteError)
{
    const P p1(0, 0, 0), p2(20, 0, 0);
    const VelGeomVertexInfo half(10.0, P(10, 0, 0), V(0, 0, -1), 0.3);  // clockwise over the top
    const VelArray<VelGeomPoint3d> pts = half.getApproxVertices(p1, p2);
    const int n = static_cast<int>(std::ceil(kPi / (2 * std::acos(9.7 / 10))));
    ASSERT_EQ(n, 7);
    ASSERT_EQ(pts.length(), 7);
    EXPECT_TRUE(pts[0] == p1);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_NEAR(pts[i].distanceTo(P(10, 0, 0)), 10.0, 1e-12);
        EXPECT_GE(pts[i].y, -1e-12);  // the arc runs over the top
    }
    // The chord error of n equal chords stays within the absolute error.
    EXPECT_LE(10.0 * (1 - std::cos(kPi / (2 * n))), 0.3);
    // A tiny absolute error counts as 0.3; a radius below the error gives p1 alone.
    const VelGeomVertexInfo fine(10.0, P(10, 0, 0), V(0, 0, -1), 0.001);
    EXPECT_EQ(fine.getApproxVertices(p1, p2).length(), 7);
    const VelGeomVertexInfo small(0.2, P(0.2, 0, 0), V::kZAxis, 0.3);
    EXPECT_EQ(small.getApproxVertices(P(0, 0, 0), P(0.4, 0, 0)).length(), 1);
    EXPECT_EQ(VelGeomVertexInfo::kNone.getApproxVertices(p1, p2).length(), 0);
    // Coincident ends: a full turn, n = ceil(2 pi / 2 phi) = 13.
    const VelArray<VelGeomPoint3d> circle = half.getApproxVertices(p1, p1);
    EXPECT_EQ(circle.length(), 13);
}

TEST(VelGeomVertexInfo, ApproximationBySegmentCount)
{
    const VelGeomVertexInfo q(1.0, P(0, 0, 0), V::kZAxis);
    VelArray<VelGeomPoint3d> pts;
    // A quarter turn with 16 segments per turn: x = 4, so 4 chords.
    q.getApproxVertices(P(1, 0, 0), P(0, 1, 0), 16, pts);
    ASSERT_EQ(pts.length(), 4);
    expectNear(pts[2], P(std::cos(kPi / 4), std::sin(kPi / 4), 0));
    // x = 3.5 rounds down to 3, x just below 4 by less than 0.001 rounds up.
    pts.setLogicalLength(0);
    q.getApproxVertices(P(1, 0, 0), P(0, 1, 0), 14, pts);
    EXPECT_EQ(pts.length(), 3);
    pts.setLogicalLength(0);
    const double a = 2 * kPi * 3.9995 / 16;  // x = 3.9995
    q.getApproxVertices(P(1, 0, 0), P(std::cos(a), std::sin(a), 0), 16, pts);
    EXPECT_EQ(pts.length(), 4);
    pts.setLogicalLength(0);
    q.getApproxVertices(P(1, 0, 0), P(0, 1, 0), 1, pts);
    EXPECT_EQ(pts.length(), 1);
    // A huge count is limited to 360 chords.
    pts.setLogicalLength(0);
    q.getApproxVertices(P(1, 0, 0), P(1, 0, 0), 100000, pts);
    EXPECT_EQ(pts.length(), 360);
}

TEST(VelGeomVertexInfo, ExpandTransformAndProject)
{
    VelGeomVertexInfo arc(1.0, P(0, 0, 0), V::kZAxis, 0.3);
    EXPECT_EQ(arc.expand(-2.0), 0);
    EXPECT_EQ(arc.getRadius(), 1.0);
    EXPECT_EQ(arc.expand(-1.0), 0);  // radius must stay positive
    EXPECT_EQ(arc.expand(2.0), 1);
    EXPECT_EQ(arc.getRadius(), 3.0);
    VelGeomVertexInfo straight;
    EXPECT_EQ(straight.expand(-5.0), 1);

    VelGeomVertexInfo s = arc;
    ASSERT_EQ(s.transformBy(VelGeomMatrix3d::scale(P(1, 0, 0), 2.0)), 1);
    EXPECT_DOUBLE_EQ(s.getRadius(), 6.0);
    EXPECT_DOUBLE_EQ(s.getAbsError(), 0.6);
    expectNear(s.getCenter(), P(-1, 0, 0));

    VelGeomVertexInfo m = arc;
    ASSERT_EQ(m.transformBy(VelGeomMatrix3d::mirroring(VelGeomPlane(P(0, 0, 5), V::kXAxis))), 1);
    // A mirror in a plane containing the axis direction keeps the normal's
    // direction under the matrix, then the mirror rule reverses it.
    EXPECT_TRUE(m.getNormal() == -V::kZAxis);
    EXPECT_EQ(m.getRadius(), 3.0);

    VelGeomVertexInfo n = arc;
    // Orthogonal axes but two scales: the arc would become an ellipse.
    const VelGeomMatrix3d stretch = VelGeomMatrix3d::scale(P(0, 0, 0), 1.0, 2.0, 1.0);
    EXPECT_EQ(n.transformBy(stretch), 0);
    EXPECT_EQ(n.getRadius(), 3.0);

    VelGeomVertexInfo p(1.0, P(0, 0, 7), V::kZAxis);
    EXPECT_EQ(p.project(VelGeomPlane(P(0, 0, 0), V::kXAxis), V::kXAxis), 0);
    EXPECT_EQ(p.getCenter().z, 7.0);
    ASSERT_EQ(p.project(VelGeomPlane(P(0, 0, 2), V(0, 0, 1)), V(1, 0, 1)), 1);
    expectNear(p.getCenter(), P(-5, 0, 2));
}
