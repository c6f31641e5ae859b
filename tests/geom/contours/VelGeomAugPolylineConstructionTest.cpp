// Constructions of the augmented polyline (bulges, corner fillets, polygons),
// copies, editing and reversal. Fillet geometry is checked against the
// tangent construction worked out independently (tangent points, centre
// distances, sweep), lengths against analytic values.

#include "geom/contours/VelGeomAugPolygon.h"
#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/core/VelGeomTol.h"

#include "AugPolylineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace augpl_test;

// A point at fraction f of the contour's arc edge i, by rotation about the
// info's own axis.
P arcPoint(const VelGeomAugPolyline& pl, int i, double angle)
{
    const Info& info = pl.getVertexInfo()[i];
    const V n = info.getNormal().normal();
    const V r = pl.getVertices()[i] - info.getCenter();
    const V rot = r * std::cos(angle) + n.crossProduct(r) * std::sin(angle) + n * (n.dotProduct(r) * (1 - std::cos(angle)));
    return info.getCenter() + rot;
}

}  // namespace

TEST(VelGeomAugPolylineConstruction, FromBulges)
{
    // A half circle bulging below the chord (positive: counter-clockwise
    // about +z), then a straight edge up.
    VelGeomAugPolyline pl(points({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0)}), kZ, values({1.0, 0.0, 0.0}), 0.1);
    ASSERT_EQ(pl.getLength(), 3);
    const Info& arc = pl.getVertexInfo()[0];
    ASSERT_TRUE(arc.isArc());
    expectPoint(arc.getCenter(), P(1, 0, 0));
    EXPECT_NEAR(arc.getRadius(), 1.0, 1e-12);
    EXPECT_TRUE(arc.getNormal().isEqualTo(kZ));
    EXPECT_EQ(arc.getAbsError(), 0.1);
    EXPECT_FALSE(pl.getVertexInfo()[1].isArc());
    EXPECT_FALSE(pl.getVertexInfo()[2].isArc());
    EXPECT_NEAR(pl.getPerimeter(), kPi + 5.0, 1e-9);
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    expectPoint(arcPoint(pl, 0, kPi / 2), P(1, -1, 0));

    // A negative bulge turns the other way (normal reversed).
    VelGeomAugPolyline neg(points({P(0, 0, 0), P(2, 0, 0)}), kZ, values({-1.0, 0.0}), 0.3);
    EXPECT_TRUE(neg.getVertexInfo()[0].getNormal().isEqualTo(-kZ));
    EXPECT_TRUE(neg.getNormal().isEqualTo(-kZ));

    // One bulge too few: nothing is built.
    VelGeomAugPolyline bad(points({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0)}), kZ, values({1.0, 0.0}), 0.3);
    EXPECT_EQ(bad.getLength(), 0);
    EXPECT_EQ(bad.isValid(), VelGeomAugPolyline::kTooFewVertices);
    EXPECT_TRUE(bad.getNormal().isEqualTo(kZ));
}

TEST(VelGeomAugPolylineConstruction, RightAngleFillet)
{
    VelGeomAugPolyline pl(kZ, points({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}), values({0, 2, 0}), 0.05, 1, 1, 0);
    ASSERT_EQ(pl.getLength(), 4);
    expectPoint(pl.getVertices()[1], P(8, 0, 0));
    expectPoint(pl.getVertices()[2], P(10, 2, 0));
    const Info& arc = pl.getVertexInfo()[1];
    ASSERT_TRUE(arc.isArc());
    expectPoint(arc.getCenter(), P(8, 2, 0));
    EXPECT_NEAR(arc.getRadius(), 2.0, 1e-12);
    EXPECT_EQ(arc.getAbsError(), 0.05);
    // The short way round: a quarter circle, so the contour stays tangent.
    EXPECT_NEAR(pl.getPerimeter(), 8.0 + kPi + 8.0, 1e-9);
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    EXPECT_TRUE(pl.getNormal().isEqualTo(kZ));
}

TEST(VelGeomAugPolylineConstruction, FilletAtAnyAngleIsTangent)
{
    for (double deg : {20.0, 60.0, 100.0, 150.0, 175.0}) {
        // The edges meet at the origin at deg degrees: the first comes along
        // the x axis, the second leaves at 180 - deg.
        const double theta = deg * kPi / 180.0;
        const P corner(0, 0, 0);
        const V dir(-std::cos(theta), std::sin(theta), 0);
        const double r = 1.5;
        VelGeomAugPolyline pl(kZ, points({P(-10, 0, 0), corner, corner + dir * 10.0}), values({0, -r, 0}), 0.3, 1, 0,
                              0);
        ASSERT_EQ(pl.getLength(), 4) << deg;
        const double t = r / std::tan(theta / 2.0);
        expectPoint(pl.getVertices()[1], P(-t, 0, 0), 1e-9);
        expectPoint(pl.getVertices()[2], corner + dir * t, 1e-9);
        const Info& arc = pl.getVertexInfo()[1];
        // The centre is r from both edge lines.
        EXPECT_NEAR(arc.getCenter().y, r, 1e-9) << deg;
        EXPECT_NEAR(std::fabs((arc.getCenter() - corner).crossProduct(dir).z), r, 1e-9) << deg;
        // Length: both edges less the tangents, plus the turn of pi - theta.
        EXPECT_NEAR(pl.getPerimeter(), 20.0 - 2.0 * t + r * (kPi - theta), 1e-9) << deg;
        EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid) << deg;
    }
}

TEST(VelGeomAugPolylineConstruction, FilletFlagsSelectBySign)
{
    const VelArray<P> zig = points({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(20, 10, 0)});
    const VelArray<double> radii = values({0, 1, -1, 0});
    auto arcs = [](const VelGeomAugPolyline& pl) {
        int k = 0;
        for (int i = 0; i < pl.getLength(); ++i)
            k += pl.getVertexInfo()[i].isArc();
        return k;
    };
    EXPECT_EQ(arcs(VelGeomAugPolyline(kZ, zig, radii, 0.3, 0, 0, 0)), 0);
    EXPECT_EQ(arcs(VelGeomAugPolyline(kZ, zig, radii, 0.3, 1, 0, 0)), 1);
    EXPECT_EQ(arcs(VelGeomAugPolyline(kZ, zig, radii, 0.3, 0, 1, 0)), 1);
    EXPECT_EQ(arcs(VelGeomAugPolyline(kZ, zig, radii, 0.3, 1, 1, 0)), 2);
    // The form with one flag and the unused int.
    EXPECT_EQ(arcs(VelGeomAugPolyline(kZ, zig, 7, radii, 0.3, 1)), 2);
    EXPECT_EQ(arcs(VelGeomAugPolyline(kZ, zig, 7, radii, 0.3, 0)), 0);
    // The end vertices are never rounded.
    EXPECT_EQ(arcs(VelGeomAugPolyline(kZ, zig, values({5, 0, 0, 5}), 0.3, 1, 1, 0)), 0);
    // One radius per vertex is required.
    EXPECT_EQ(VelGeomAugPolyline(kZ, zig, values({0, 1, 0}), 0.3, 1, 1, 0).getLength(), 0);
}

TEST(VelGeomAugPolylineConstruction, FilletsThatDoNotFit)
{
    const VelArray<P> hook = points({P(0, 0, 0), P(1, 0, 0), P(1, 10, 0)});
    // Too long for the first edge: without clamping the polyline is empty.
    VelGeomAugPolyline empty(kZ, hook, values({0, 5, 0}), 0.3, 1, 1, 0);
    EXPECT_EQ(empty.getLength(), 0);
    EXPECT_NE(empty.isValid(), VelGeomAugPolyline::kValid);
    // Clamped to 0.99 of the short edge (a right angle: radius = tangent).
    VelGeomAugPolyline clamped(kZ, hook, values({0, 5, 0}), 0.3, 1, 1, 1);
    ASSERT_EQ(clamped.getLength(), 4);
    EXPECT_NEAR(clamped.getVertexInfo()[1].getRadius(), 0.99, 1e-12);
    expectPoint(clamped.getVertices()[1], P(0.01, 0, 0), 1e-12);
    EXPECT_EQ(clamped.isValid(), VelGeomAugPolyline::kValid);
    // A tangent exactly as long as the edge fits (the tangent point is the
    // start, which is not repeated).
    VelGeomAugPolyline exact(kZ, hook, values({0, 1, 0}), 0.3, 1, 1, 0);
    ASSERT_EQ(exact.getLength(), 3);
    expectPoint(exact.getVertices()[0], P(0, 0, 0));
    EXPECT_TRUE(exact.getVertexInfo()[0].isArc());

    // Two fillets on one edge of length 4 that together need 6.
    const VelArray<P> u = points({P(0, 0, 0), P(10, 0, 0), P(10, 4, 0), P(0, 4, 0)});
    VelGeomAugPolyline overlap(kZ, u, values({0, 3, 3, 0}), 0.3, 1, 1, 0);
    EXPECT_EQ(overlap.getLength(), 0);
    // With clamping the second takes what the first left of the edge.
    VelGeomAugPolyline shared(kZ, u, values({0, 3, 3, 0}), 0.3, 1, 1, 1);
    EXPECT_EQ(shared.isValid(), VelGeomAugPolyline::kValid);
    for (int i = 0; i + 1 < shared.getLength(); ++i)
        if (!shared.getVertexInfo()[i].isArc()) {
            const V d = shared.getVertices()[i + 1] - shared.getVertices()[i];
            EXPECT_GT(d.length(), 0.0);
        }
}

TEST(VelGeomAugPolylineConstruction, TouchingFilletsMergeIntoOneArc)
{
    // Two quarter fillets of radius 5 on a 10-wide U share their tangent point
    // and their circle: one half circle remains.
    VelGeomAugPolyline pl(kZ, points({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)}), values({0, 5, 5, 0}),
                          0.3, 1, 1, 0);
    ASSERT_EQ(pl.getLength(), 4);
    expectPoint(pl.getVertices()[1], P(5, 0, 0), 1e-12);
    expectPoint(pl.getVertices()[2], P(5, 10, 0), 1e-12);
    const Info& arc = pl.getVertexInfo()[1];
    expectPoint(arc.getCenter(), P(5, 5, 0), 1e-9);
    EXPECT_NEAR(pl.getPerimeter(), 10.0 + 5.0 * kPi, 1e-9);
}

TEST(VelGeomAugPolylineConstruction, GivenNormalReplacesTheComputedOne)
{
    // Parallel: the given sense wins.
    VelGeomAugPolyline pl(-kZ, points({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}), values({0, 0, 0}), 0.3, 1, 1, 1);
    EXPECT_TRUE(pl.getNormal().isEqualTo(-kZ));
    // A single straight edge takes any normal perpendicular to it.
    VelGeomAugPolyline line(V(0, 0.6, 0.8), points({P(0, 0, 0), P(10, 0, 0)}), values({0, 0}), 0.3, 1, 1, 1);
    EXPECT_TRUE(line.getNormal().isEqualTo(V(0, 0.6, 0.8)));
    VelGeomAugPolyline slanted(V(1, 0, 1), points({P(0, 0, 0), P(10, 0, 0)}), values({0, 0}), 0.3, 1, 1, 1);
    EXPECT_FALSE(slanted.getNormal().isParallelTo(V(1, 0, 1)));
}

TEST(VelGeomAugPolylineConstruction, FromAndToThePolygon)
{
    VelArray<Info> infos;
    infos.append(Info::kNone);
    infos.append(Info::kNone);
    infos.append(Info(5.0, P(5, 10, 0), kZ));  // half circle over the top
    infos.append(Info::kNone);
    const VelGeomAugPolygon polygon(points({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)}), infos);
    ASSERT_EQ(polygon.isValid(), VelGeomAugPolygon::kValid);

    const VelGeomAugPolyline pl(polygon);
    ASSERT_EQ(pl.getLength(), 5);
    expectPoint(pl.getVertices()[4], pl.getVertices()[0]);
    EXPECT_TRUE(pl.getVertexInfo()[4] == pl.getVertexInfo()[0]);
    EXPECT_TRUE(pl.getNormal().isEqualTo(polygon.getNormal()));
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    // Once around: three sides and the half circle.
    EXPECT_NEAR(pl.getPerimeter(), 30.0 + 5.0 * kPi, 1e-9);

    const VelGeomAugPolygon back = pl.getPolygon();
    ASSERT_EQ(back.getLength(), 4);
    for (int i = 0; i < 4; ++i) {
        expectPoint(back.getVertices()[i], polygon.getVertices()[i]);
        EXPECT_TRUE(back.getVertexInfo()[i] == polygon.getVertexInfo()[i]);
    }
    // Square plus half disc.
    EXPECT_NEAR(back.getArea(), 100.0 + 12.5 * kPi, 1e-9);

    EXPECT_EQ(VelGeomAugPolyline(VelGeomAugPolygon()).getLength(), 0);
}

TEST(VelGeomAugPolylineConstruction, CopiesDoNotTakeTheStartNormal)
{
    VelGeomAugPolyline pl(points({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0)}), VelArray<Info>());
    EXPECT_EQ(pl.getLength(), 0);  // no infos: the lists are cut to the shorter
    pl.append(P(0, 0, 0), Info::kNone, 0);
    pl.append(P(10, 0, 0), Info::kNone, 0);
    pl.append(P(10, 10, 0));
    pl.setStartNormal(V(0, 0, 5));
    EXPECT_TRUE(pl.getStartNormal().isEqualTo(kZ));

    const VelGeomAugPolyline copy(pl);
    EXPECT_EQ(copy.getLength(), 3);
    EXPECT_EQ(copy.isValid(), VelGeomAugPolyline::kValid);
    EXPECT_TRUE(copy.getNormal().isEqualTo(kZ));
    EXPECT_TRUE(copy.getStartNormal().isZeroLength());

    VelGeomAugPolyline target;
    target.setStartNormal(V(1, 0, 0));
    target = pl;
    EXPECT_EQ(target.getLength(), 3);
    EXPECT_TRUE(target.getStartNormal().isEqualTo(V(1, 0, 0)));
    target = target;
    EXPECT_EQ(target.getLength(), 3);
}

TEST(VelGeomAugPolylineConstruction, EditingAndAccess)
{
    VelGeomAugPolyline pl;
    EXPECT_EQ(pl.append(P(0, 0, 0), Info::kNone, 0), 1);
    EXPECT_EQ(pl.append(P(5, 0, 0), Info::kNone, 0), 1);
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kNotChecked);
    EXPECT_EQ(pl.append(P(10, 0, 0)), 1);
    EXPECT_EQ(pl.getLength(), 2);  // cleaned: collinear

    // Indices outside [0, n) are refused and leave the output alone.
    P p(7, 7, 7);
    Info info;
    EXPECT_EQ(pl.getVertexAt(2, p), 0);
    EXPECT_EQ(pl.getVertexAt(-1, p), 0);
    expectPoint(p, P(7, 7, 7));
    EXPECT_EQ(pl.setVertexAt(2, P(1, 1, 1)), 0);
    EXPECT_EQ(pl.setVertexInfoAt(-3, Info::kNone), 0);
    EXPECT_EQ(pl.getVertexInfoAt(5, info), 0);
    EXPECT_EQ(pl.setVertexInfoAt(0, Info(5, P(5, 0, 0), kZ)), 1);

    pl.setDeviation(0.01);
    EXPECT_EQ(pl.getVertexInfo()[0].getAbsError(), 0.01);
    EXPECT_EQ(pl.getVertexInfo()[0].getRadius(), 5.0);

    pl.removeLast();
    pl.removeLast();
    pl.removeLast();
    EXPECT_EQ(pl.getLength(), 0);
    pl.append(P(1, 1, 0));
    pl.reset();
    EXPECT_EQ(pl.getVertexInfo().length(), 0);
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kNotChecked);
    EXPECT_TRUE(pl.getNormal().isZeroLength());
}

TEST(VelGeomAugPolylineConstruction, ReverseRunsTheSameCurveBackwards)
{
    VelGeomAugPolyline pl(points({P(0, 0, 0), P(2, 0, 0), P(2, 5, 0), P(6, 5, 0)}), kZ, values({1.0, 0.0, -0.4, 0.0}),
                          0.3);
    const double length = pl.getPerimeter();
    const P mid = arcPoint(pl, 2, 0.5 * pl.getVertexInfo()[2].includedAngle(pl.getVertices()[2], pl.getVertices()[3]));
    VelGeomAugPolyline r(pl);
    r.reverse();
    ASSERT_EQ(r.getLength(), pl.getLength());
    const int n = static_cast<int>(pl.getLength());
    for (int k = 0; k < n; ++k)
        expectPoint(r.getVertices()[k], pl.getVertices()[n - 1 - k]);
    EXPECT_FALSE(r.getVertexInfo()[n - 1].isArc());
    EXPECT_TRUE(r.getVertexInfo()[0].getNormal().isEqualTo(-pl.getVertexInfo()[2].getNormal()));
    EXPECT_NEAR(r.getPerimeter(), length, 1e-9);
    // The reversed arc still passes through the old arc's middle.
    EXPECT_NEAR(r.distanceTo(mid), 0.0, 1e-9);
    r.reverse();
    for (int k = 0; k < n; ++k) {
        expectPoint(r.getVertices()[k], pl.getVertices()[k]);
        EXPECT_TRUE(r.getVertexInfo()[k] == pl.getVertexInfo()[k]);
    }
}

TEST(VelGeomAugPolylineConstruction, CornerFormRebuildsTheFillets)
{
    const VelArray<P> corners = points({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(20, 12, 0), P(25, 0, 0)});
    const VelArray<double> radii = values({0, 2, -1.5, 1, 0});
    const VelGeomAugPolyline pl(kZ, corners, radii, 0.3, 1, 1, 0);
    ASSERT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    VelArray<P> pts;
    VelArray<double> rs;
    ASSERT_EQ(pl.getFilleted(pts, rs, 0.3, 1), 5);
    for (int i = 0; i < 5; ++i) {
        expectPoint(pts[i], corners[i], 1e-9);
        EXPECT_NEAR(std::fabs(rs[i]), std::fabs(radii[i]), 1e-9);
    }
    // The sign tells the turn about the normal: left, right, right.
    EXPECT_GT(rs[1], 0.0);
    EXPECT_LT(rs[2], 0.0);
    EXPECT_LT(rs[3], 0.0);
    pl.getFilleted(pts, rs, 0.3, 0);
    EXPECT_GT(rs[2], 0.0);
    const VelGeomAugPolyline again(kZ, pts, rs, 0.3, 1, 1, 0);
    EXPECT_NEAR(again.getPerimeter(), pl.getPerimeter(), 1e-9);

    // An arc that fillets no corner becomes chord points within the deviation.
    VelGeomAugPolyline half(points({P(0, 0, 0), P(10, 0, 0)}), kZ, values({1.0, 0.0}), 0.3);
    ASSERT_GT(half.getFilleted(pts, rs, 0.1, 1), 3);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_NEAR(pts[i].distanceTo(P(5, 0, 0)), 5.0, 1e-9);
        EXPECT_EQ(rs[i], 0.0);
    }
    for (int i = 0; i + 1 < pts.length(); ++i)
        EXPECT_GE(((pts[i] - P(5, 0, 0)) + (pts[i + 1] - P(5, 0, 0))).length() / 2.0, 5.0 - 0.1 - 1e-9);
}
