// Derived geometry of the augmented polyline: curves, lengths, extents,
// approximations, closest points, frame normals, offsets, elongation,
// transformations, splitting; and the polylines the curves hand out. Results
// are compared with analytic values and with densely sampled contours.

#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include "AugPolylineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using namespace augpl_test;

VelGeomAugPolyline bulged(std::initializer_list<P> ps, std::initializer_list<double> bs, const V& n = kZ)
{
    return VelGeomAugPolyline(points(ps), n, values(bs), 0.3);
}

// The contour sampled densely from its infos alone: a straight edge by
// interpolation, an arc by rotating its start about its own axis.
VelArray<P> sample(const VelGeomAugPolyline& pl, int perEdge = 2000)
{
    VelArray<P> out;
    const int n = static_cast<int>(pl.getLength());
    for (int i = 0; i + 1 < n; ++i) {
        const P a = pl.getVertices()[i], b = pl.getVertices()[i + 1];
        const Info& info = pl.getVertexInfo()[i];
        double sweep = 0.0;
        if (info.isArc()) {
            const V u = a - info.getCenter(), w = b - info.getCenter();
            const V nn = info.getNormal().normal();
            sweep = std::atan2(u.crossProduct(w).dotProduct(nn), u.dotProduct(w));
            if (sweep <= 0.0)
                sweep += 2.0 * kPi;
        }
        for (int k = 0; k <= perEdge; ++k) {
            const double f = static_cast<double>(k) / perEdge;
            if (!info.isArc()) {
                out.append(a + (b - a) * f);
            } else {
                const V nn = info.getNormal().normal();
                const V r = a - info.getCenter();
                const double t = sweep * f;
                out.append(info.getCenter() + r * std::cos(t) + nn.crossProduct(r) * std::sin(t) +
                           nn * (nn.dotProduct(r) * (1 - std::cos(t))));
            }
        }
    }
    return out;
}

double sampledDistance(const VelArray<P>& samples, const P& p)
{
    double best = 1e300;
    for (int i = 0; i < samples.length(); ++i)
        best = std::min(best, samples[i].distanceTo(p));
    return best;
}

}  // namespace

// ---------------------------------------------------------------- curves and lengths

TEST(VelGeomAugPolylineGeometry, CurvesPerEdge)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0), P(6, 5, 0)}, {1.0, 0.0, -0.4, 0.0});
    VelArray<VelGeomCurve3d*> curves;
    curves.append(new VelGeomLineSeg3d());  // not emptied first
    pl.getCurves(curves);
    ASSERT_EQ(curves.length(), 4);
    EXPECT_EQ(curves[1]->getType(), VelGeomCurve3d::kCircArc);
    EXPECT_EQ(curves[2]->getType(), VelGeomCurve3d::kLineSeg);
    EXPECT_EQ(curves[3]->getType(), VelGeomCurve3d::kCircArc);
    // Each curve runs between its vertices.
    for (int i = 1; i < 4; ++i) {
        P s, e;
        ASSERT_TRUE(curves[i]->hasStartPoint(s));
        ASSERT_TRUE(curves[i]->hasEndPoint(e));
        expectPoint(s, pl.getVertices()[i - 1], 1e-9);
        expectPoint(e, pl.getVertices()[i], 1e-9);
    }
    VelGeomAugPolyline::deleteCurves(curves);
    EXPECT_EQ(curves.length(), 0);

    // Half circle of radius 1, then 5 straight, then an arc of bulge 0.4 on
    // a chord of 4: angle 4 atan(0.4), radius 2 / sin(2 atan(0.4)).
    const double a = 4.0 * std::atan(0.4);
    EXPECT_NEAR(pl.getPerimeter(), kPi + 5.0 + a * 2.0 / std::sin(a / 2.0), 1e-9);

    // An arc info of radius 0 gives no curve.
    VelGeomAugPolyline zero;
    zero.append(P(0, 0, 0), Info(0.0, P(0, 0, 0), kZ), 0);
    zero.append(P(1, 0, 0), Info::kNone, 0);
    zero.append(P(1, 1, 0), Info::kNone, 0);
    zero.getCurves(curves);
    EXPECT_EQ(curves.length(), 1);
    VelGeomAugPolyline::deleteCurves(curves);

    // One vertex with an arc info (not cleaned): the full circle when the
    // vertex is on it.
    VelGeomAugPolyline one;
    one.append(P(3, 0, 0), Info(2.0, P(1, 0, 0), kZ), 0);
    one.getCurves(curves);
    ASSERT_EQ(curves.length(), 1);
    EXPECT_NEAR(curves[0]->getLength(), 4.0 * kPi, 1e-12);
    P s;
    curves[0]->hasStartPoint(s);
    expectPoint(s, P(3, 0, 0), 1e-12);
    VelGeomAugPolyline::deleteCurves(curves);
    EXPECT_NEAR(one.getPerimeter(), 4.0 * kPi, 1e-12);
    VelGeomAugPolyline off;
    off.append(P(3.1, 0, 0), Info(2.0, P(1, 0, 0), kZ), 0);
    off.getCurves(curves);
    EXPECT_EQ(curves.length(), 0);
}

TEST(VelGeomAugPolylineGeometry, ExtentsIncludeArcExtremes)
{
    // Half circle below (0,0)-(2,0), then up to (2, 5).
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0)}, {1.0, 0.0, 0.0});
    P lo, hi;
    ASSERT_EQ(pl.getExtents(lo, hi), 1);
    expectPoint(lo, P(0, -1, 0), 1e-9);
    expectPoint(hi, P(2, 5, 0), 1e-9);
    // A full circle of radius 2 about (1, 1) in a tilted plane.
    const V n = V(0, 1, 1).normal();
    VelGeomAugPolyline circle;
    circle.append(P(3, 1, 1) - V(0, 0, 1), Info(2.0, P(1, 1, 0), n));
    circle.getExtents(lo, hi);
    const double reach = 2.0 * std::sqrt(0.5);
    EXPECT_NEAR(lo.x, -1.0, 1e-9);
    EXPECT_NEAR(hi.x, 3.0, 1e-9);
    EXPECT_NEAR(lo.y, 1.0 - reach, 1e-9);
    EXPECT_NEAR(hi.z, reach, 1e-9);
    EXPECT_EQ(VelGeomAugPolyline().getExtents(lo, hi), 0);
}

TEST(VelGeomAugPolylineGeometry, ApproxVerticesStayWithinTheError)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(20, 0, 0), P(20, 5, 0)}, {1.0, 0.0, 0.0});
    const VelArray<P> pts = pl.getApproxVertices();
    // Half circle of radius 10 at 0.3: 7 chord points, then (20,0) and (20,5).
    ASSERT_EQ(pts.length(), 9);
    expectPoint(pts[0], P(0, 0, 0));
    expectPoint(pts[7], P(20, 0, 0));
    expectPoint(pts[8], P(20, 5, 0));
    for (int i = 0; i + 1 < 8; ++i) {
        const P mid = pts[i] + (pts[i + 1] - pts[i]) * 0.5;
        EXPECT_LE(10.0 - mid.distanceTo(P(10, 0, 0)), 0.3 + 1e-9);
        EXPECT_NEAR(pts[i].distanceTo(P(10, 0, 0)), 10.0, 1e-9);
    }
    EXPECT_EQ(VelGeomAugPolyline().getApproxVertices().length(), 0);
}

TEST(VelGeomAugPolylineGeometry, ClosestPointsAgreeWithSampling)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(4, 0, 0), P(4, 6, 0), P(9, 6, 0), P(12, 1, 0)},
                                   {0.7, 0.0, -0.8, 0.3, 0.0});
    ASSERT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    const VelArray<P> samples = sample(pl);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-5.0, 15.0);
    for (int k = 0; k < 100; ++k) {
        const P p(u(rng), u(rng), u(rng) * 0.2);
        int edge = -1;
        const P q = pl.getClosestPointTo(p, edge);
        ASSERT_GE(edge, 0);
        ASSERT_LT(edge, pl.getLength() - 1);
        const double d = pl.distanceTo(p);
        EXPECT_NEAR(d, q.distanceTo(p), 1e-12);
        // Never farther than the nearest sample, and not much nearer.
        const double ds = sampledDistance(samples, p);
        EXPECT_LE(d, ds + 1e-9);
        EXPECT_GE(d, ds - 0.01);
        // q lies on its edge.
        VelArray<VelGeomCurve3d*> curves;
        pl.getCurves(curves);
        EXPECT_LT(curves[edge]->distanceTo(q), 1e-9);
        VelGeomAugPolyline::deleteCurves(curves);
    }
    int edge = 5;
    EXPECT_EQ(VelGeomAugPolyline().distanceTo(P(1, 1, 1)), 1e35);
    VelGeomAugPolyline().getClosestPointTo(P(1, 1, 1), edge);
    EXPECT_EQ(edge, -1);
    VelGeomAugPolyline single;
    single.append(P(1, 2, 3), Info::kNone, 0);
    expectPoint(single.getClosestPointTo(P(5, 5, 5), edge), P(1, 2, 3));
    EXPECT_EQ(edge, 0);
    EXPECT_NEAR(single.distanceTo(P(1, 2, 4)), 1.0, 1e-12);
}

// ---------------------------------------------------------------- frame normals

TEST(VelGeomAugPolylineGeometry, FrameNormalsOfStraightPaths)
{
    VelArray<V> normals;
    VelGeomAugPolyline straight = bulged({P(0, 0, 0), P(5, 0, 0), P(5, 0, 0.004), P(9, 0, 0)}, {0, 0, 0, 0});
    EXPECT_EQ(straight.get3dNormals(normals), 0);  // no start normal
    VelGeomAugPolyline line;
    for (int i = 0; i < 6; ++i)
        line.append(P(i * i, 2.0 * i * i, 0), Info::kNone, 0);
    line.setStartNormal(V(0, 0, 3));
    ASSERT_EQ(line.get3dNormals(normals), 1);
    ASSERT_EQ(normals.length(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(normals[i].isEqualTo(kZ));

    // A path in space: every frame normal stays a unit vector perpendicular
    // to its edge, and normals[0] is the start normal.
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(-4.0, 4.0);
    VelGeomAugPolyline path;
    P p(0, 0, 0);
    for (int i = 0; i < 12; ++i) {
        path.append(p, Info::kNone, 0);
        p = P(p.x + 5.0 + u(rng), p.y + u(rng), p.z + u(rng));
    }
    path.append(p);
    const V first = path.getVertices()[1] - path.getVertices()[0];
    const V start = first.perpVector();
    path.setStartNormal(start);
    normals.setLogicalLength(0);
    ASSERT_EQ(path.get3dNormals(normals), 1);
    ASSERT_EQ(normals.length(), path.getLength() - 1);
    EXPECT_TRUE(normals[0].isEqualTo(start));
    for (int i = 0; i < normals.length(); ++i) {
        const V d = (path.getVertices()[i + 1] - path.getVertices()[i]).normal();
        EXPECT_NEAR(normals[i].length(), 1.0, 1e-9);
        EXPECT_NEAR(normals[i].dotProduct(d), 0.0, 1e-9) << i;
    }
}

TEST(VelGeomAugPolylineGeometry, FrameNormalsRoundArcs)
{
    // Straight along x, a quarter turn to the left of radius 2, straight
    // along y; the start normal lies in the plane, to the left of travel.
    VelGeomAugPolyline pl;
    pl.append(P(0, 0, 0), Info::kNone, 0);
    pl.append(P(5, 0, 0), Info(2.0, P(5, 2, 0), kZ), 0);
    pl.append(P(7, 2, 0), Info::kNone, 0);
    pl.append(P(7, 9, 0));
    ASSERT_EQ(pl.getLength(), 4);
    pl.setStartNormal(V(0, 1, 0));
    VelArray<V> normals;
    ASSERT_EQ(pl.get3dNormals(normals), 1);
    ASSERT_EQ(normals.length(), 3);
    EXPECT_TRUE(normals[1].isEqualTo(V(0, 1, 0)));
    // After the quarter turn the left of travel is -x.
    EXPECT_TRUE(normals[2].isEqualTo(V(-1, 0, 0)));

    // Along the arc the normal turns with it: at 30 degrees of the quarter.
    V n;
    const double t = kPi / 6.0;
    const P onArc(5 + 2 * std::sin(t), 2 - 2 * std::cos(t), 0);
    ASSERT_EQ(pl.get3dNormalAtPoint(onArc + V(0, 0, 1), n), 1);
    EXPECT_TRUE(n.isEqualTo(V(-std::sin(t), std::cos(t), 0)));
    ASSERT_EQ(pl.get3dNormalAtPoint(P(7.5, 6, 0), n), 1);
    EXPECT_TRUE(n.isEqualTo(V(-1, 0, 0)));
    VelGeomAugPolyline none(pl);
    EXPECT_EQ(none.get3dNormalAtPoint(P(7.5, 6, 0), n), 0);
}

// ---------------------------------------------------------------- offsets

TEST(VelGeomAugPolylineGeometry, ExpandOffsetsToTheRight)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}, {0, 0, 0});
    ASSERT_TRUE(pl.getNormal().isEqualTo(kZ));
    ASSERT_EQ(pl.expand(1.0), 1);
    ASSERT_EQ(pl.getLength(), 3);
    expectPoint(pl.getVertices()[0], P(0, -1, 0), 1e-9);
    expectPoint(pl.getVertices()[1], P(11, -1, 0), 1e-9);
    expectPoint(pl.getVertices()[2], P(11, 10, 0), 1e-9);

    // With arcs, offset to the inside of both corners: every point of the
    // offset lies at the distance from the original, and the arcs keep their
    // centres.
    VelGeomAugPolyline orig = bulged({P(0, 0, 0), P(4, 0, 0), P(8, 0, 0), P(12, 3, 0)}, {0.0, 0.5, 0.0, 0.0});
    ASSERT_EQ(orig.isValid(), VelGeomAugPolyline::kValid);
    VelGeomAugPolyline moved(orig);
    ASSERT_EQ(moved.expand(0.5), 1);
    ASSERT_EQ(moved.getLength(), orig.getLength());
    const VelArray<P> s = sample(moved, 200);
    for (int i = 0; i < s.length(); i += 7)
        EXPECT_NEAR(orig.distanceTo(s[i]), 0.5, 1e-7);
    expectPoint(moved.getVertexInfo()[1].getCenter(), orig.getVertexInfo()[1].getCenter(), 1e-9);

    // Zero does nothing; an offset that collapses the arc fails and changes
    // nothing.
    VelGeomAugPolyline arc = bulged({P(0, 0, 0), P(2, 0, 0)}, {1.0, 0.0});
    EXPECT_EQ(arc.expand(0.0), 1);
    EXPECT_EQ(arc.getLength(), 2);
    EXPECT_EQ(arc.expand(-2.0), 0);
    EXPECT_NEAR(arc.getVertexInfo()[0].getRadius(), 1.0, 1e-12);
    ASSERT_EQ(arc.expand(2.0), 1);
    EXPECT_NEAR(arc.getVertexInfo()[0].getRadius(), 3.0, 1e-12);
    // Without a plane there is no side.
    VelGeomAugPolyline flat;
    flat.append(P(0, 0, 0), Info::kNone, 0);
    flat.append(P(1, 0, 0), Info::kNone, 0);
    EXPECT_EQ(flat.expand(1.0), 0);
}

TEST(VelGeomAugPolylineGeometry, ThreeDimensionalOffset)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}, {0, 0, 0});
    VelGeomAugPolyline out;
    ASSERT_EQ(pl.get3dOffset(V(0, 0, 2), out), 1);
    ASSERT_EQ(out.getLength(), 3);
    for (int i = 0; i < 3; ++i)
        expectPoint(out.getVertices()[i], pl.getVertices()[i] + V(0, 0, 2), 1e-9);
}

// ---------------------------------------------------------------- elongation

TEST(VelGeomAugPolylineGeometry, ElongateStraightEnds)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}, {0, 0, 0});
    EXPECT_EQ(pl.elongate(0.005, false, false, false, 0.0), 1);
    expectPoint(pl.getVertices()[2], P(10, 10, 0));
    ASSERT_EQ(pl.elongate(5.0, false, false, false, 0.0), 1);
    expectPoint(pl.getVertices()[2], P(10, 15, 0));
    ASSERT_EQ(pl.elongate(2.0, true, false, false, 0.0), 1);
    expectPoint(pl.getVertices()[0], P(-2, 0, 0));
    ASSERT_EQ(pl.elongate(1.0, true, false, true, 0.0), 1);
    ASSERT_EQ(pl.getLength(), 4);
    expectPoint(pl.getVertices()[0], P(-3, 0, 0));
    ASSERT_EQ(pl.elongate(1.0, false, false, true, 0.0), 1);
    ASSERT_EQ(pl.getLength(), 5);
    expectPoint(pl.getVertices()[4], P(10, 16, 0));
    EXPECT_FALSE(pl.getVertexInfo()[4].isArc());
    VelGeomAugPolyline one;
    one.append(P(0, 0, 0), Info::kNone, 0);
    EXPECT_EQ(one.elongate(1.0, false, false, false, 0.0), 0);
}

TEST(VelGeomAugPolylineGeometry, ElongateArcEnds)
{
    // Half circle of radius 1 from (0,0) to (2,0), below the chord.
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(2, 0, 0)}, {1.0, 0.0});
    VelGeomAugPolyline copy(pl);
    EXPECT_EQ(copy.elongate(10.0, false, false, false, 0.0), 0);
    expectPoint(copy.getVertices()[1], P(2, 0, 0));
    ASSERT_EQ(copy.elongate(10.0, false, true, false, 0.1), 1);
    const Info& info = copy.getVertexInfo()[0];
    EXPECT_NEAR(info.includedAngle(copy.getVertices()[0], copy.getVertices()[1]), 2.0 * kPi - 0.1, 1e-9);
    // A quarter further along, counter-clockwise about +z: (1, 1).
    VelGeomAugPolyline q(pl);
    ASSERT_EQ(q.elongate(kPi / 2.0, false, false, false, 0.0), 1);
    expectPoint(q.getVertices()[1], P(1, 1, 0), 1e-12);
    // And at the start the arc grows backwards, again to (1, 1).
    VelGeomAugPolyline b(pl);
    ASSERT_EQ(b.elongate(kPi / 2.0, true, false, true, 0.0), 1);
    ASSERT_EQ(b.getLength(), 3);
    expectPoint(b.getVertices()[0], P(1, 1, 0), 1e-12);
    EXPECT_TRUE(b.getVertexInfo()[0].isArc());
    EXPECT_NEAR(b.getPerimeter(), 1.5 * kPi, 1e-9);
}

TEST(VelGeomAugPolylineGeometry, ElongationThatRunsIntoTheContour)
{
    // A hook whose last edge, prolonged, meets the first edge at (10, 0).
    VelGeomAugPolyline pl = bulged({P(10, 0, 0), P(0, 0, 0), P(0, 10, 0), P(10, 10, 0), P(10, 5, 0)}, {0, 0, 0, 0, 0});
    VelGeomAugPolyline refused(pl);
    EXPECT_EQ(refused.elongate(10.0, false, false, false, 0.0), 0);
    expectPoint(refused.getVertices()[4], P(10, 5, 0));
    ASSERT_EQ(pl.elongate(10.0, false, true, false, 0.0), 1);
    // 90 percent of the way from (10, 10) to the hit.
    expectPoint(pl.getVertices()[4], P(10, 1, 0), 1e-9);
}

// ---------------------------------------------------------------- transformations

TEST(VelGeomAugPolylineGeometry, TransformKeepsOrChordsArcs)
{
    const VelGeomAugPolyline pl(points({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0)}), kZ, values({1.0, 0.0, 0.0}), 0.02);
    const double length = pl.getPerimeter();
    VelGeomAugPolyline scaled(pl);
    scaled.setStartNormal(kZ);
    scaled.transformBy(VelGeomMatrix3d::scale(P(0, 0, 0), 2.0));
    ASSERT_EQ(scaled.getLength(), 3);
    EXPECT_TRUE(scaled.getVertexInfo()[0].isArc());
    EXPECT_NEAR(scaled.getVertexInfo()[0].getRadius(), 2.0, 1e-12);
    EXPECT_NEAR(scaled.getPerimeter(), 2.0 * length, 1e-9);
    EXPECT_NEAR(scaled.getStartNormal().length(), 2.0, 1e-12);  // transformed, not renormalised

    // A mirror in the x = 1 plane maps the arc onto itself reversed in sense.
    VelGeomAugPolyline mirrored(pl);
    mirrored.transformBy(VelGeomMatrix3d::mirroring(VelGeomPlane(P(1, 0, 0), V(1, 0, 0))));
    expectPoint(mirrored.getVertices()[1], P(0, 0, 0), 1e-12);
    EXPECT_NEAR(mirrored.distanceTo(P(1, -1, 0)), 0.0, 1e-9);
    EXPECT_NEAR(mirrored.getPerimeter(), length, 1e-9);

    // Non-uniform: the half circle becomes chords (an ellipse's points).
    VelGeomAugPolyline squashed(pl);
    squashed.transformBy(VelGeomMatrix3d::scale(P(0, 0, 0), 1.0, 3.0, 1.0));
    for (int i = 0; i < squashed.getLength(); ++i)
        EXPECT_FALSE(squashed.getVertexInfo()[i].isArc());
    EXPECT_GT(squashed.getLength(), 4);
    EXPECT_EQ(squashed.isValid(), VelGeomAugPolyline::kValid);
    const VelArray<P> before = pl.getApproxVertices();
    for (int i = 1; i + 1 < before.length() - 1; ++i) {
        P q = before[i];
        q.transformBy(VelGeomMatrix3d::scale(P(0, 0, 0), 1.0, 3.0, 1.0));
        EXPECT_NEAR(squashed.distanceTo(q), 0.0, 1e-9);
    }
}

TEST(VelGeomAugPolylineGeometry, ProjectOntoAPlane)
{
    // An arc in a plane parallel to XY, raised, projected down: stays an arc.
    VelGeomAugPolyline pl;
    pl.append(P(0, 0, 4), Info(1.0, P(1, 0, 4), kZ), 0);
    pl.append(P(2, 0, 4), Info::kNone, 0);
    pl.append(P(2, 5, 7));
    pl.project(VelGeomPlane::kXYPlane, kZ);
    ASSERT_EQ(pl.getLength(), 3);
    EXPECT_TRUE(pl.getVertexInfo()[0].isArc());
    expectPoint(pl.getVertexInfo()[0].getCenter(), P(1, 0, 0));
    expectPoint(pl.getVertices()[2], P(2, 5, 0));
    EXPECT_NEAR(pl.getPerimeter(), kPi + 5.0, 1e-9);
    // An arc standing upright becomes chord points on the plane.
    VelGeomAugPolyline up;
    up.append(P(0, 0, 0), Info(1.0, P(1, 0, 0), V(0, 1, 0)), 0);
    up.append(P(2, 0, 0));
    up.project(VelGeomPlane::kXYPlane, V(0, 0, 1));
    for (int i = 0; i < up.getLength(); ++i) {
        EXPECT_FALSE(up.getVertexInfo()[i].isArc());
        EXPECT_NEAR(up.getVertices()[i].z, 0.0, 1e-12);
    }
}

// ---------------------------------------------------------------- pieces

TEST(VelGeomAugPolylineGeometry, SplitLeavesTheGap)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}, {0, 0, 0});
    VelArray<VelGeomAugPolyline> pieces;
    ASSERT_EQ(pl.split(P(11, 4, 0), 2.0, pieces), 2);
    ASSERT_EQ(pieces.length(), 2);
    ASSERT_EQ(pieces[0].getLength(), 3);
    expectPoint(pieces[0].getVertices()[2], P(10, 3, 0), 1e-12);
    ASSERT_EQ(pieces[1].getLength(), 2);
    expectPoint(pieces[1].getVertices()[0], P(10, 5, 0), 1e-12);
    EXPECT_NEAR(pieces[0].getPerimeter() + pieces[1].getPerimeter(), pl.getPerimeter() - 2.0, 1e-9);
    // On an arc the gap is measured along it.
    VelGeomAugPolyline arc = bulged({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0)}, {1.0, 0.0, 0.0});
    pieces.setLogicalLength(0);
    ASSERT_EQ(arc.split(P(1, -3, 0), 0.5, pieces), 2);
    EXPECT_NEAR(pieces[0].getPerimeter(), kPi / 2.0 - 0.25, 1e-9);
    EXPECT_NEAR(pieces[1].getPerimeter(), kPi / 2.0 - 0.25 + 5.0, 1e-9);
    // A gap reaching past the start leaves one piece; at an end nothing.
    pieces.setLogicalLength(0);
    EXPECT_EQ(pl.split(P(1, 0, 0), 4.0, pieces), 1);
    EXPECT_NEAR(pieces[0].getPerimeter(), 17.0, 1e-9);
    EXPECT_EQ(pl.split(P(-1, 0, 0), 1.0, pieces), 0);
    EXPECT_EQ(pl.split(P(10, 12, 0), 1.0, pieces), 0);
    EXPECT_EQ(pieces.length(), 1);
}

TEST(VelGeomAugPolylineGeometry, SetEndAtPoint)
{
    const VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}, {0, 0, 0});
    VelGeomAugPolyline beyond(pl);
    ASSERT_EQ(beyond.setEndAtPoint(P(11, 14, 0), false), 1);
    expectPoint(beyond.getVertices()[2], P(10, 14, 0), 1e-12);
    VelGeomAugPolyline inside(pl);
    ASSERT_EQ(inside.setEndAtPoint(P(4, 1, 0), false), 1);
    ASSERT_EQ(inside.getLength(), 2);
    expectPoint(inside.getVertices()[1], P(4, 0, 0), 1e-12);
    VelGeomAugPolyline start(pl);
    ASSERT_EQ(start.setEndAtPoint(P(11, 4, 0), true), 1);
    ASSERT_EQ(start.getLength(), 2);
    expectPoint(start.getVertices()[0], P(10, 4, 0), 1e-12);
    VelGeomAugPolyline before(pl);
    ASSERT_EQ(before.setEndAtPoint(P(-3, -1, 0), true), 1);
    expectPoint(before.getVertices()[0], P(-3, 0, 0), 1e-12);
    VelGeomAugPolyline same(pl);
    EXPECT_EQ(same.setEndAtPoint(P(10, 10, 0), false), 0);
    // Past the end of an arc the vertex moves round its circle.
    VelGeomAugPolyline arc = bulged({P(0, 0, 0), P(2, 0, 0)}, {1.0, 0.0});
    ASSERT_EQ(arc.setEndAtPoint(P(1, 3, 0), false), 1);
    expectPoint(arc.getVertices()[1], P(1, 1, 0), 1e-9);
}

TEST(VelGeomAugPolylineGeometry, SamplePolysCoverTheContour)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0), P(9, 5, 0)}, {1.0, 0.0, 0.0, 0.0});
    VelArray<VelGeomAugPolyline> polys;
    VelArray<int> indices;
    const int n = pl.getSamplePolys(1.5, polys, indices);
    const double total = pl.getPerimeter();
    ASSERT_EQ(n, static_cast<int>(std::ceil(total / 1.5)));
    ASSERT_EQ(indices.length(), n);
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const double len = polys[i].getPerimeter();
        EXPECT_LE(len, 1.5 + 1e-9);
        sum += len;
        if (i + 1 < n) {
            EXPECT_NEAR(len, 1.5, 1e-9);
            expectPoint(polys[i].getVertices()[polys[i].getLength() - 1], polys[i + 1].getVertices()[0], 1e-9);
        }
    }
    EXPECT_NEAR(sum, total, 1e-9);
    EXPECT_EQ(indices[0], 0);
    EXPECT_EQ(indices[n - 1], 2);
    EXPECT_EQ(pl.getSamplePolys(0.0, polys, indices), 0);
}

TEST(VelGeomAugPolylineGeometry, FilletPolyLineReplacesOnlyWhenValid)
{
    VelGeomAugPolyline pl = bulged({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}, {0, 0, 0});
    EXPECT_EQ(pl.FilletPolyLine(values({0, 2, 0}), 2, 0.3), 0);
    ASSERT_EQ(pl.FilletPolyLine(values({0, 2, 0}), 3, 0.3), 1);
    EXPECT_EQ(pl.getLength(), 4);
    EXPECT_NEAR(pl.getPerimeter(), 16.0 + kPi, 1e-9);
    // Now it has an arc: the corners are gone.
    EXPECT_EQ(pl.FilletPolyLine(values({0, 1, 1, 0}), 4, 0.3), 0);
    EXPECT_EQ(pl.getLength(), 4);
}

// ---------------------------------------------------------------- curves as polylines

TEST(VelGeomAugPolylineGeometry, CurvesGiveTheirPolylines)
{
    const VelGeomLineSeg3d seg(P(1, 1, 0), P(4, 5, 0));
    VelGeomAugPolyline pl = seg.getAugPolyline();
    ASSERT_EQ(pl.getLength(), 2);
    expectPoint(pl.getVertices()[1], P(4, 5, 0));
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    VelGeomAugPolyline viaRef;
    seg.getAugPolyline(viaRef);
    EXPECT_EQ(viaRef.getLength(), 2);

    const VelGeomCircArc3d arc(P(0, 0, 0), kZ, 2.0, P(2, 0, 0), kPi / 2.0);
    pl = arc.getAugPolyline();
    ASSERT_EQ(pl.getLength(), 2);
    EXPECT_TRUE(pl.getVertexInfo()[0].isArc());
    EXPECT_NEAR(pl.getPerimeter(), kPi, 1e-12);
    const VelGeomCircArc3d circle(P(0, 0, 0), kZ, 2.0);
    pl = circle.getAugPolyline();
    ASSERT_EQ(pl.getLength(), 2);
    EXPECT_EQ(pl.getVertices()[0], pl.getVertices()[1]);
    EXPECT_NEAR(pl.getPerimeter(), 4.0 * kPi, 1e-12);

    EXPECT_EQ(VelGeomLine3d(P(0, 0, 0), V(1, 0, 0)).getAugPolyline().getLength(), 0);
    EXPECT_EQ(VelGeomRay3d(P(0, 0, 0), V(1, 0, 0)).getAugPolyline().getLength(), 0);

    // A composite: one vertex per member, not cleaned.
    VelArray<VelGeomCurve3d*> members;
    members.append(new VelGeomLineSeg3d(P(0, 0, 0), P(1, 0, 0)));
    members.append(new VelGeomLineSeg3d(P(1, 0, 0), P(2, 0, 0)));
    members.append(new VelGeomCircArc3d(P(2, 1, 0), kZ, 1.0, P(2, 0, 0), kPi));
    VelArray<int> flags;
    for (int i = 0; i < 3; ++i)
        flags.append(1);
    const VelGeomCompositeCurve3d comp(members, flags);
    pl = comp.getAugPolyline();
    ASSERT_EQ(pl.getLength(), 4);
    expectPoint(pl.getVertices()[3], P(2, 2, 0), 1e-12);
    EXPECT_TRUE(pl.getVertexInfo()[2].isArc());
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kNotChecked);
    VelGeomCompositeCurve3d empty(VelArray<VelGeomCurve3d*>{});
    EXPECT_EQ(empty.getAugPolyline().getLength(), 0);
}

TEST(VelGeomAugPolylineGeometry, ProjectedClosestPointOfArcs)
{
    // Seen from above, the upper half of the unit circle is nearest to a
    // point above (0, 3) at its top.
    const VelGeomCircArc3d half(P(0, 0, 0), kZ, 1.0, P(1, 0, 0), kPi);
    expectPoint(half.projClosestPointTo(P(0, 3, 7), kZ), P(0, 1, 0), 1e-6);
    const V toward = V(5, 0.5, 0).normal();
    expectPoint(half.projClosestPointTo(P(5, 0.5, -2), kZ), P(toward.x, toward.y, 0), 1e-6);
    // Seen sideways along y, the arc's point under the line of sight.
    const P side = half.projClosestPointTo(P(0.5, -10, 0), V(0, 1, 0));
    EXPECT_NEAR(side.x, 0.5, 1e-6);
    EXPECT_NEAR(side.y, std::sqrt(0.75), 1e-6);
    // A composite uses the same search.
    VelArray<VelGeomCurve3d*> members;
    members.append(new VelGeomLineSeg3d(P(-3, 1, 0), P(0, 1, 0)));
    members.append(new VelGeomCircArc3d(P(0, 0, 0), -kZ, 1.0, P(0, 1, 0), kPi / 2.0));
    VelArray<int> flags;
    flags.append(1);
    flags.append(1);
    const VelGeomCompositeCurve3d comp(members, flags);
    expectPoint(comp.projClosestPointTo(P(2, 0, 5), kZ), P(1, 0, 0), 1e-6);
    expectPoint(comp.projClosestPointTo(P(-2, 4, 5), kZ), P(-2, 1, 0), 1e-6);
}
