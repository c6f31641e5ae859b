// Areas against densely sampled contours, orientation, editing, transforms,
// conversions, the constructors, and the self-intersection test against an
// all-pairs reference.

#include "geom/contours/VelGeomAugPolygon.h"
#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomCurve3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {
const double kPi = std::acos(-1.0);
using P = VelGeomPoint3d;
using V = VelGeomVector3d;
using Info = VelGeomVertexInfo;
using Poly = VelGeomAugPolygon;

// A contour in the xy plane: each vertex with the bulge of its edge
// (positive: counter-clockwise about +z).
struct Edge {
    double x, y, bulge;
};

// Star-shaped contours: angles increasing, radii and bulges random.
std::vector<Edge> randomStar(std::mt19937& g, int n, double rMin, double rMax, double maxBulge)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> angles(n);
    for (int i = 0; i < n; ++i)
        angles[i] = (i + 0.15 + 0.7 * unit(g)) * 2 * kPi / n;
    std::vector<Edge> edges(n);
    for (int i = 0; i < n; ++i) {
        const double r = rMin + (rMax - rMin) * unit(g);
        const double b = unit(g) < 0.25 ? 0.0 : maxBulge * (2 * unit(g) - 1);
        edges[i] = {r * std::cos(angles[i]), r * std::sin(angles[i]), b};
    }
    return edges;
}

// The oracle: every arc sampled densely from its own centre (computed here
// from the bulge), then the shoelace formula over all points.
std::vector<std::pair<double, double>> sample(const std::vector<Edge>& edges, int perArc)
{
    std::vector<std::pair<double, double>> pts;
    const int n = static_cast<int>(edges.size());
    for (int i = 0; i < n; ++i) {
        const Edge& a = edges[i];
        const Edge& b = edges[(i + 1) % n];
        pts.push_back({a.x, a.y});
        if (a.bulge == 0.0)
            continue;
        const double theta = 4 * std::atan(a.bulge);
        const double cx = b.x - a.x, cy = b.y - a.y;
        const double c = std::hypot(cx, cy);
        const double k = (c / 2) / std::tan(theta / 2);
        const double mx = (a.x + b.x) / 2 - cy / c * k, my = (a.y + b.y) / 2 + cx / c * k;
        for (int s = 1; s < perArc; ++s) {
            const double t = theta * s / perArc;
            const double ux = a.x - mx, uy = a.y - my;
            pts.push_back({mx + ux * std::cos(t) - uy * std::sin(t), my + ux * std::sin(t) + uy * std::cos(t)});
        }
    }
    return pts;
}

double shoelace(const std::vector<std::pair<double, double>>& pts)
{
    double s = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const auto& a = pts[i];
        const auto& b = pts[(i + 1) % pts.size()];
        s += a.first * b.second - a.second * b.first;
    }
    return s / 2;
}

double polylineLength(const std::vector<std::pair<double, double>>& pts)
{
    double s = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const auto& a = pts[i];
        const auto& b = pts[(i + 1) % pts.size()];
        s += std::hypot(b.first - a.first, b.second - a.second);
    }
    return s;
}

double shoelace(const VelArray<P>& pts)
{
    std::vector<std::pair<double, double>> v;
    for (int i = 0; i < pts.length(); ++i)
        v.push_back({pts[i].x, pts[i].y});
    return shoelace(v);
}

// The polygon of the edges, built without cleaning.
Poly raw(const std::vector<Edge>& edges)
{
    Poly poly;
    const int n = static_cast<int>(edges.size());
    for (int i = 0; i < n; ++i) {
        const P a(edges[i].x, edges[i].y, 0), b(edges[(i + 1) % n].x, edges[(i + 1) % n].y, 0);
        poly.coreAppend(a, 0, edges[i].bulge == 0.0 ? Info::kNone : Info(a, b, V::kZAxis, edges[i].bulge));
    }
    return poly;
}

std::vector<Edge> reversed(const std::vector<Edge>& edges)
{
    const int n = static_cast<int>(edges.size());
    std::vector<Edge> out(n);
    for (int k = 0; k < n; ++k) {
        out[k] = edges[n - 1 - k];
        out[k].bulge = -edges[(n - 2 - k + n) % n].bulge;
    }
    return out;
}

Poly square(double s)
{
    Poly poly;
    poly.coreAppend(P(0, 0, 0));
    poly.coreAppend(P(s, 0, 0));
    poly.coreAppend(P(s, s, 0));
    poly.coreAppend(P(0, s, 0));
    poly.reinitialize(1);
    return poly;
}

// A 10 x 10 square whose top edge is an outward half circle.
Poly bulgedSquare()
{
    Poly poly;
    poly.coreAppend(P(0, 0, 0));
    poly.coreAppend(P(10, 0, 0));
    poly.coreAppend(P(10, 10, 0), 0, Info(5.0, P(5, 10, 0), V::kZAxis));
    poly.coreAppend(P(0, 10, 0));
    poly.reinitialize(1);
    return poly;
}

int arcCount(const Poly& poly)
{
    int n = 0;
    for (int i = 0; i < poly.getVertexInfo().length(); ++i)
        n += poly.getVertexInfo()[i].isArc();
    return n;
}

bool sameVector(const V& a, const V& b, double eps) { return (a - b).length() < eps; }

// All pairs of edge curves: neighbours may share only their joint, other
// pairs nothing.
bool pairwiseSelfIntersecting(const VelArray<VelGeomCurve3d*>& c, const VelGeomTol& tol)
{
    const int n = c.length();
    VelArray<P> pts;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            pts.setLogicalLength(0);
            c[i]->intersectWith(*c[j], pts, tol);
            P joint;
            const bool next = j == i + 1, wrap = i == 0 && j == n - 1;
            if (next)
                c[j]->hasStartPoint(joint);
            else if (wrap)
                c[i]->hasStartPoint(joint);
            for (int k = 0; k < pts.length(); ++k)
                if (!((next || wrap) && pts[k].isEqualTo(joint, tol)))
                    return true;
        }
    return false;
}
}  // namespace

TEST(VelGeomAugPolygon, SignedAreaOfSquaresArcsAndCircles)
{
    EXPECT_TRUE(square(1).getSignedArea().isEqualTo(V(0, 0, 1), VelGeomTol(1e-12, 1e-12)));
    EXPECT_TRUE(Poly().getSignedArea() == V::kIdentity);
    // The top edge replaced by an outward half circle adds pi / 8.
    Poly bump;
    bump.coreAppend(P(0, 0, 0));
    bump.coreAppend(P(1, 0, 0));
    bump.coreAppend(P(1, 1, 0), 0, Info(0.5, P(0.5, 1, 0), V::kZAxis));
    bump.coreAppend(P(0, 1, 0));
    bump.reinitialize(1);
    EXPECT_NEAR(bump.getSignedArea().z, 1 + kPi / 8, 1e-14);
    // The same half circle inward takes it away, and a clockwise contour has
    // its area vector along -z.
    Poly dent;
    dent.coreAppend(P(0, 0, 0));
    dent.coreAppend(P(1, 0, 0));
    dent.coreAppend(P(1, 1, 0), 0, Info(0.5, P(0.5, 1, 0), -V::kZAxis));
    dent.coreAppend(P(0, 1, 0));
    EXPECT_NEAR(dent.getSignedArea().z, 1 - kPi / 8, 1e-14);
    Poly cw;
    for (const P& p : {P(0, 0, 0), P(0, 2, 0), P(3, 2, 0), P(3, 0, 0)})
        cw.coreAppend(p);
    EXPECT_NEAR(cw.getSignedArea().z, -6, 1e-14);
    EXPECT_TRUE(cw.polygonNormal() == V(0, 0, -1));
    // One-vertex circles: the info's normal, straight ones nothing.
    Poly circle;
    circle.coreAppend(P(2, 0, 0), 0, Info(2.0, P(0, 0, 0), V(0, 0, -3)));
    EXPECT_TRUE(circle.getSignedArea().isEqualTo(V(0, 0, -4 * kPi), VelGeomTol(1e-12, 1e-12)));
    Poly dot;
    dot.coreAppend(P(2, 0, 0));
    EXPECT_TRUE(dot.getSignedArea() == V::kIdentity);
    // A repeated first vertex closes the list itself.
    Poly closed;
    for (const P& p : {P(0, 0, 0), P(2, 0, 0), P(2, 2, 0), P(0, 0, 0)})
        closed.coreAppend(p);
    EXPECT_NEAR(closed.getSignedArea().z, 2, 1e-14);
}

TEST(VelGeomAugPolygon, AreaMatchesSampledContours)
{
    std::mt19937 g(17);
    for (int round = 0; round < 200; ++round) {
        const int n = 3 + round % 12;
        const std::vector<Edge> edges = randomStar(g, n, 4.0, 10.0, 1.5);
        const double expected = shoelace(sample(edges, 10000));
        const Poly poly = raw(edges);
        // Sampling loses up to ~1e-5 on these sizes; a wrong segment term costs O(1).
        EXPECT_NEAR(poly.getSignedArea().z, expected, 1e-4) << round;
        // Placed anywhere in space the area vector follows the plane.
        const V axis(std::cos(round), std::sin(round * 0.7), 0.3 + std::sin(round * 1.3));
        const VelGeomMatrix3d m =
            VelGeomMatrix3d::translation(V(round, -2.0 * round, 7)) * VelGeomMatrix3d::rotation(0.1 * round, axis);
        Poly moved = poly;
        moved.transformBy(m);
        V expectedVec(0, 0, expected);
        expectedVec.transformBy(m);
        EXPECT_TRUE(sameVector(moved.getSignedArea(), expectedVec, 1e-4)) << round;
        EXPECT_EQ(arcCount(moved), arcCount(poly));
    }
}

TEST(VelGeomAugPolygon, MakeCCWOnBothSenses)
{
    // A square given clockwise is reversed; the counter-clockwise one stays.
    Poly cw;
    for (const P& p : {P(0, 0, 0), P(0, 10, 0), P(10, 10, 0), P(10, 0, 0)})
        cw.coreAppend(p);
    cw.reinitialize(1);
    EXPECT_TRUE(cw.getNormal().isEqualTo(V(0, 0, -1)));
    ASSERT_EQ(cw.makeCCW(V(0, 0, 5)), 1);
    EXPECT_TRUE(cw.getNormal() == V(0, 0, 1));
    EXPECT_TRUE(cw.polygonNormal() == V(0, 0, 1));
    EXPECT_NEAR(cw.getArea(), 100, 1e-12);
    EXPECT_TRUE(cw.getVertices()[0] == P(10, 0, 0));
    EXPECT_TRUE(cw.getVertices()[1] == P(10, 10, 0));
    Poly ccw = square(10);
    const Poly before = ccw;
    ASSERT_EQ(ccw.makeCCW(V(0, 0, 1)), 1);
    EXPECT_TRUE(ccw.getVertices()[1] == before.getVertices()[1]);
    // Not parallel, or nothing to turn about: refused, unchanged.
    EXPECT_EQ(ccw.makeCCW(V(1, 0, 0)), 0);
    EXPECT_EQ(ccw.makeCCW(V(0, 0.01, 1)), 0);
    EXPECT_EQ(ccw.makeCCW(V::kIdentity), 0);
    EXPECT_TRUE(ccw.getNormal() == V(0, 0, 1));
    EXPECT_EQ(Poly().makeCCW(V::kZAxis), 0);

    // Random contours with arcs given clockwise come back as the
    // counter-clockwise contour: same area vector, same arcs reversed.
    std::mt19937 g(5);
    for (int round = 0; round < 50; ++round) {
        const std::vector<Edge> edges = randomStar(g, 4 + round % 9, 4.0, 10.0, 0.8);
        const Poly forward = raw(edges);
        Poly back = raw(reversed(edges));
        EXPECT_NEAR(back.getSignedArea().z, -forward.getSignedArea().z, 1e-9);
        ASSERT_EQ(back.makeCCW(V::kZAxis), 1);
        EXPECT_TRUE(sameVector(back.getSignedArea(), forward.getSignedArea(), 1e-9)) << round;
        EXPECT_NEAR(shoelace(back.getApproxVertices()), shoelace(forward.getApproxVertices()), 1e-6) << round;
    }

    // A one-vertex circle turns by reversing its arc.
    Poly circle;
    circle.coreAppend(P(1, 0, 0), 0, Info(1.0, P(0, 0, 0), -V::kZAxis));
    ASSERT_EQ(circle.makeCCW(V::kZAxis), 1);
    EXPECT_TRUE(circle.getVertexInfo()[0].getNormal() == V::kZAxis);
}

TEST(VelGeomAugPolygon, RotateSetDeviationAndRemoveEqual)
{
    std::mt19937 g(3);
    const Poly poly = raw(randomStar(g, 7, 4.0, 10.0, 0.8));
    Poly r = poly;
    ASSERT_EQ(r.rotate(true, 3), 1);
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(r.getVertices()[(i + 3) % 7] == poly.getVertices()[i]);
        EXPECT_TRUE(r.getVertexInfo()[(i + 3) % 7] == poly.getVertexInfo()[i]);
    }
    EXPECT_NEAR(r.getSignedArea().z, poly.getSignedArea().z, 1e-9);
    ASSERT_EQ(r.rotate(false, 3), 1);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(r.getVertices()[i] == poly.getVertices()[i]);
    EXPECT_EQ(r.rotate(true, 7), 1);
    EXPECT_TRUE(r.getVertices()[0] == poly.getVertices()[0]);
    EXPECT_EQ(r.rotate(true, 8), 0);
    EXPECT_EQ(r.rotate(false, -1), 0);
    EXPECT_TRUE(r.getVertices()[0] == poly.getVertices()[0]);

    Poly fine = poly;
    const int coarse = fine.getApproxVertices().length();
    fine.setDeviation(0.01);
    for (int i = 0; i < 7; ++i) {
        const Info& info = fine.getVertexInfo()[i];
        EXPECT_EQ(info.getAbsError(), info.isArc() ? 0.01 : poly.getVertexInfo()[i].getAbsError());
    }
    if (arcCount(poly) > 0) {
        EXPECT_GT(fine.getApproxVertices().length(), coarse);
    }

    // A run of three short edges collapses to its middle vertex, which
    // takes the info of the edge leaving the run.
    Poly run;
    for (const P& p : {P(0, 0, 0), P(10, 0, 0), P(10, 0.001, 0), P(10, 0.002, 0), P(10, 0.003, 0), P(10, 10, 0),
                       P(0, 10, 0)})
        run.coreAppend(p);
    run.removeEqual(0.0015);
    ASSERT_EQ(run.getLength(), 4);
    EXPECT_TRUE(run.getVertices()[1] == P(10, 0.002, 0));
    EXPECT_TRUE(run.getVertices()[2] == P(10, 10, 0));
    // A run over the first vertex.
    Poly wrap;
    for (const P& p : {P(0, 0.001, 0), P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0), P(0, 0.002, 0)})
        wrap.coreAppend(p);
    wrap.removeEqual(0.0015);
    ASSERT_EQ(wrap.getLength(), 4);
    int found = 0;
    for (int i = 0; i < 4; ++i)
        for (const P& p : {P(0, 0.001, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)})
            found += wrap.getVertices()[i] == p;
    EXPECT_EQ(found, 4);
    // A run that ends on the first vertex.
    Poly last;
    for (const P& p : {P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0), P(0, 0.002, 0), P(0, 0.001, 0)})
        last.coreAppend(p);
    last.removeEqual(0.0015);
    ASSERT_EQ(last.getLength(), 4);
    EXPECT_TRUE(last.getVertices()[0] == P(0, 0.001, 0));
    EXPECT_TRUE(last.getVertices()[1] == P(10, 0, 0));
    // Arc edges count along the arc: a long thin arc is not collapsed
    // although its ends are close.
    Poly arcs;
    arcs.coreAppend(P(0, 0, 0));
    arcs.coreAppend(P(10, 0, 0), 0, Info(1.0, P(10, 1, 0), V::kZAxis));  // almost the whole circle
    arcs.coreAppend(P(10 - std::sin(0.001), 1 - std::cos(0.001), 0));
    arcs.coreAppend(P(0, 10, 0));
    const int before = arcs.getLength();
    arcs.removeEqual(0.0015);
    EXPECT_EQ(arcs.getLength(), before);
    // Everything short: the middle vertex alone, straight.
    Poly tiny;
    for (const P& p : {P(0, 0, 0), P(0.001, 0, 0), P(0, 0.001, 0)})
        tiny.coreAppend(p, 0, Info(0.0007, P(0.0005, 0.0005, 0), V::kZAxis));
    tiny.removeEqual(0.01);
    ASSERT_EQ(tiny.getLength(), 1);
    EXPECT_FALSE(tiny.getVertexInfo()[0].isArc());
}

TEST(VelGeomAugPolygon, TransformAndProject)
{
    std::mt19937 g(11);
    const std::vector<Edge> edges = randomStar(g, 9, 4.0, 10.0, 0.8);
    const Poly poly = raw(edges);
    const double area = poly.getSignedArea().z;

    Poly scaled = poly;
    scaled.transformBy(VelGeomMatrix3d::scale(P(1, 2, 0), 2.0));
    EXPECT_NEAR(scaled.getSignedArea().z, 4 * area, 1e-9 * std::fabs(area));
    EXPECT_EQ(arcCount(scaled), arcCount(poly));
    for (int i = 0; i < 9; ++i)
        if (poly.getVertexInfo()[i].isArc()) {
            EXPECT_NEAR(scaled.getVertexInfo()[i].getRadius(), 2 * poly.getVertexInfo()[i].getRadius(), 1e-12);
            EXPECT_NEAR(scaled.getVertexInfo()[i].getAbsError(), 0.6, 1e-12);
        }

    // Unequal scales turn arcs into chords: the area is that of the chord
    // polygon, stretched.
    Poly stretched = poly;
    stretched.transformBy(VelGeomMatrix3d::scale(P(0, 0, 0), 2.0, 1.0, 1.0));
    EXPECT_EQ(arcCount(stretched), 0);
    EXPECT_NEAR(stretched.getSignedArea().z, 2 * shoelace(poly.getApproxVertices()), 1e-9 * std::fabs(area));

    // A mirror turns the contour round; the normal follows it.
    Poly mirrored = poly;
    mirrored.reinitialize(0);
    mirrored.transformBy(VelGeomMatrix3d::mirroring(VelGeomPlane(P(0, 0, 0), V(1, 0, 0))));
    EXPECT_NEAR(mirrored.getSignedArea().z, -area, 1e-9 * std::fabs(area));
    EXPECT_TRUE(mirrored.getNormal().isEqualTo(mirrored.polygonNormal(), VelGeomTol(1e-12, 1e-12)));

    // Lifted off the plane and projected back along z: arcs stay.
    Poly lifted = poly;
    lifted.transformBy(VelGeomMatrix3d::translation(V(0, 0, 5)));
    const VelGeomPlane xy(P(0, 0, 0), V::kZAxis);
    ASSERT_EQ(lifted.project(xy, V(0, 0, -1)), 1);
    EXPECT_EQ(arcCount(lifted), arcCount(poly));
    EXPECT_NEAR(lifted.getVertices()[0].z, 0.0, 1e-12);
    EXPECT_NEAR(lifted.getSignedArea().z, area, 1e-9 * std::fabs(area));
    // Tilted by 30 degrees: the arcs are no longer parallel and become
    // chords, and the area shrinks by cos 30.
    Poly tilted = poly;
    tilted.transformBy(VelGeomMatrix3d::rotationX(kPi / 6));
    ASSERT_EQ(tilted.project(xy, V::kZAxis), 1);
    EXPECT_EQ(arcCount(tilted), 0);
    EXPECT_NEAR(tilted.getSignedArea().z, shoelace(poly.getApproxVertices()) * std::cos(kPi / 6), 1e-9 * std::fabs(area));
    EXPECT_TRUE(tilted.getNormal().isEqualTo(area > 0 ? V::kZAxis : -V::kZAxis));
    // A direction within the plane projects nowhere.
    Poly flat = poly;
    EXPECT_EQ(flat.project(xy, V(1, 1, 0)), 0);
    EXPECT_TRUE(flat.getVertices()[0] == poly.getVertices()[0]);
}

TEST(VelGeomAugPolygon, CurvesCompositeAndPointLists)
{
    std::mt19937 g(23);
    for (int round = 0; round < 30; ++round) {
        const std::vector<Edge> edges = randomStar(g, 3 + round % 10, 4.0, 10.0, 1.2);
        const Poly poly = raw(edges);
        VelArray<VelGeomCurve3d*> curves;
        poly.getCurves(curves);
        ASSERT_EQ(curves.length(), static_cast<int>(edges.size()));
        double length = 0.0;
        for (int i = 0; i < curves.length(); ++i) {
            length += curves[i]->getLength();
            EXPECT_EQ(curves[i]->getType(),
                      edges[i].bulge == 0.0 ? VelGeomCurve3d::kLineSeg : VelGeomCurve3d::kCircArc);
        }
        const double sampled = polylineLength(sample(edges, 4000));
        EXPECT_NEAR(length, sampled, 1e-5 * sampled) << round;
        Poly::deleteCurves(curves);
        EXPECT_EQ(curves.length(), 0);

        VelGeomCompositeCurve3d composite;
        poly.getCompositeCurve3d(composite);
        EXPECT_EQ(composite.numCurves(), static_cast<int>(edges.size()));
        EXPECT_NEAR(composite.getLength(), sampled, 1e-5 * sampled);
        P start, end;
        ASSERT_TRUE(composite.hasStartPoint(start));
        ASSERT_TRUE(composite.hasEndPoint(end));
        EXPECT_TRUE(start.isEqualTo(poly.getVertices()[0], VelGeomTol(1e-9, 1e-9)));
        EXPECT_TRUE(end.isEqualTo(poly.getVertices()[0], VelGeomTol(1e-9, 1e-9)));

        // Chord points lie on the contour and close within the error.
        const VelArray<P> approx = poly.getApproxVertices();
        EXPECT_FALSE(approx.last() == approx.first());
        EXPECT_NEAR(shoelace(approx), poly.getSignedArea().z, 0.3 * sampled);

        // Vertices and bulges build the same contour again.
        Poly withNormal = poly;
        withNormal.reinitialize(0);
        VelArray<P> points;
        VelArray<double> bulges;
        ASSERT_EQ(withNormal.get(points, bulges), 1);
        ASSERT_EQ(points.length(), withNormal.getLength());
        Poly again;
        for (int i = 0; i < points.length(); ++i) {
            const P& a = points[i];
            const P& b = points[(i + 1) % points.length()];
            again.coreAppend(a, 0, bulges[i] == 0.0 ? Info::kNone : Info(a, b, withNormal.getNormal(), bulges[i]));
        }
        EXPECT_NEAR(again.getSignedArea().z, poly.getSignedArea().z, 1e-9 * sampled * sampled);
    }
    // The one-vertex circle: one full circle; no bulge form.
    Poly circle;
    circle.coreAppend(P(3, 1, 0), 0, Info(2.0, P(1, 1, 0), V::kZAxis));
    circle.reinitialize(1);
    VelArray<VelGeomCurve3d*> curves;
    circle.getCurves(curves);
    ASSERT_EQ(curves.length(), 1);
    EXPECT_NEAR(curves[0]->getLength(), 4 * kPi, 1e-12);
    P s;
    ASSERT_TRUE(curves[0]->hasStartPoint(s));
    EXPECT_TRUE(s.isEqualTo(P(3, 1, 0), VelGeomTol(1e-12, 1e-12)));
    Poly::deleteCurves(curves);
    VelArray<P> points;
    VelArray<double> bulges;
    points.append(P());
    EXPECT_EQ(circle.get(points, bulges), 0);
    EXPECT_EQ(points.length(), 0);
}

TEST(VelGeomAugPolygon, Constructors)
{
    // Bulges: a closed input list drops its repeated start; one bulge per
    // vertex or none at all.
    VelArray<P> v;
    for (const P& p : {P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0), P(0, 0, 0)})
        v.append(p);
    VelArray<double> b;
    for (double x : {0.0, 0.0, 1.0, 0.0, 0.0})
        b.append(x);
    Poly bulged(v, V::kZAxis, b);
    EXPECT_EQ(bulged.getLength(), 4);
    EXPECT_EQ(bulged.isValid(), Poly::kValid);
    EXPECT_NEAR(bulged.getArea(), 100 + kPi * 25 / 2, 1e-9);
    b.removeLast();
    Poly fourBulges(v, V::kZAxis, b);  // one per distinct vertex is as good
    EXPECT_NEAR(fourBulges.getArea(), bulged.getArea(), 1e-12);
    b.removeLast();
    Poly plain(v, V::kZAxis, b);
    EXPECT_EQ(arcCount(plain), 0);
    EXPECT_NEAR(plain.getArea(), 100, 1e-12);
    // Two vertices and two half circles: a circle, three vertices after
    // cleaning.
    VelArray<P> two;
    two.append(P(0, 0, 0));
    two.append(P(2, 0, 0));
    VelArray<double> halves;
    halves.append(1.0);
    halves.append(1.0);
    Poly circle(two, V::kZAxis, halves);
    EXPECT_EQ(circle.getLength(), 3);
    EXPECT_EQ(circle.isValid(), Poly::kValid);
    EXPECT_NEAR(circle.getArea(), kPi, 1e-12);

    // Corner fillets: a square with radius 1 everywhere, given clockwise.
    VelArray<P> cw;
    for (const P& p : {P(0, 0, 0), P(0, 10, 0), P(10, 10, 0), P(10, 0, 0)})
        cw.append(p);
    VelArray<double> radii;
    for (int i = 0; i < 4; ++i)
        radii.append(1.0);
    Poly round(cw, radii, V::kZAxis, false, true);
    ASSERT_EQ(round.getLength(), 8);
    EXPECT_EQ(round.isValid(), Poly::kValid);
    EXPECT_TRUE(round.getNormal().isEqualTo(V::kZAxis));
    EXPECT_NEAR(round.getArea(), 100 - 4 + kPi, 1e-9);
    for (int i = 0; i < 8; ++i) {
        const Info& info = round.getVertexInfo()[i];
        if (!info.isArc())
            continue;
        EXPECT_NEAR(info.getRadius(), 1.0, 1e-12);
        EXPECT_TRUE(info.getNormal().isEqualTo(V::kZAxis));
        const P c = info.getCenter();
        EXPECT_NEAR(std::min(c.x, 10 - c.x), 1.0, 1e-12);
        EXPECT_NEAR(std::min(c.y, 10 - c.y), 1.0, 1e-12);
    }
    EXPECT_EQ(arcCount(round), 4);
    // Negative radii are rounded only on request.
    VelArray<double> negative;
    for (int i = 0; i < 4; ++i)
        negative.append(-1.0);
    EXPECT_EQ(Poly(cw, negative, V::kZAxis, false, true).getLength(), 4);
    EXPECT_EQ(Poly(cw, negative, V::kZAxis, true, false).getLength(), 8);
    // Fillets meeting exactly in the middle of every side: a circle.
    VelArray<double> five;
    for (int i = 0; i < 4; ++i)
        five.append(5.0);
    Poly disc(cw, five, V::kZAxis, false, true);
    EXPECT_EQ(disc.isValid(), Poly::kValid);
    EXPECT_NEAR(disc.getArea(), kPi * 25, 1e-9);
    // Too long for a side, or two fillets running past each other: empty.
    VelArray<double> big;
    for (int i = 0; i < 4; ++i)
        big.append(i == 0 ? 11.0 : 0.0);
    EXPECT_EQ(Poly(cw, big, V::kZAxis, false, true).getLength(), 0);
    VelArray<double> six;
    for (int i = 0; i < 4; ++i)
        six.append(6.0);
    EXPECT_EQ(Poly(cw, six, V::kZAxis, false, true).getLength(), 0);
    radii.removeLast();
    EXPECT_EQ(Poly(cw, radii, V::kZAxis, false, true).getLength(), 0);

    // Clamping shortens a fillet to 0.99 of its shorter edge.
    VelArray<P> tri;
    for (const P& p : {P(0, 0, 0), P(10, 0, 0), P(0, 10, 0)})
        tri.append(p);
    VelArray<double> corner;
    for (double x : {100.0, 0.0, 0.0})
        corner.append(x);
    Poly clamped(V::kZAxis, tri, corner, 0.3, false, true, true);
    EXPECT_EQ(clamped.isValid(), Poly::kValid);
    ASSERT_EQ(arcCount(clamped), 1);
    for (int i = 0; i < clamped.getLength(); ++i)
        if (clamped.getVertexInfo()[i].isArc()) {
            EXPECT_NEAR(clamped.getVertexInfo()[i].getRadius(), 9.9, 1e-12);
        }
    Poly same(V::kZAxis, tri, 7, corner, 0.3, true);
    EXPECT_EQ(same.getLength(), clamped.getLength());
    EXPECT_NEAR(same.getArea(), clamped.getArea(), 1e-12);
    EXPECT_EQ(Poly(V::kZAxis, tri, corner, 0.3, false, true, false).getLength(), 0);

    // From a polyline running once round: the repeated start goes, the
    // normal comes along, only the validity is computed.
    VelArray<Info> infos;
    for (int i = 0; i < 5; ++i)
        infos.append(Info::kNone);
    const VelGeomAugPolyline line(v, infos);
    const Poly fromLine(line);
    EXPECT_EQ(fromLine.getLength(), 4);
    EXPECT_EQ(fromLine.isValid(), Poly::kValid);
    EXPECT_TRUE(fromLine.getNormal() == line.getNormal());
    // And back: the polyline of a polygon gives the polygon again.
    const VelGeomAugPolyline around(round);
    const Poly back(around);
    ASSERT_EQ(back.getLength(), round.getLength());
    for (int i = 0; i < back.getLength(); ++i) {
        EXPECT_TRUE(back.getVertices()[i] == round.getVertices()[i]);
        EXPECT_TRUE(back.getVertexInfo()[i] == round.getVertexInfo()[i]);
    }
}

TEST(VelGeomAugPolygon, NormalisedCopyAndRefusedRegionOperations)
{
    // A rectangle whose top edge is a deep inward half circle crossing the
    // bottom edge.
    Poly deep;
    deep.coreAppend(P(0, 0, 0));
    deep.coreAppend(P(10, 0, 0));
    deep.coreAppend(P(10, 2, 0), 0, Info(P(10, 2, 0), P(0, 2, 0), V::kZAxis, -1.0));
    deep.coreAppend(P(0, 2, 0));
    const Poly before = deep;
    const Poly coarse = deep.getNormalised(10.0);  // chords within 10: the straight chord
    EXPECT_EQ(coarse.isValid(), Poly::kValid);
    EXPECT_EQ(arcCount(coarse), 0);
    EXPECT_NEAR(coarse.getArea(), 20, 1e-12);
    const Poly fine = deep.getNormalised(0.01);
    EXPECT_EQ(fine.isValid(), Poly::kSelfIntersecting);
    EXPECT_EQ(arcCount(fine), 0);
    EXPECT_GT(fine.getLength(), 20);
    // A valid contour comes back cleaned, arcs untouched.
    const Poly ok = bulgedSquare();
    ASSERT_EQ(ok.isValid(), Poly::kValid);
    EXPECT_EQ(ok.getNormalised(0.01).getLength(), ok.getLength());

    // The region operations are refused without changing anything.
    Poly target = square(10);
    const Poly other = square(5);
    VelArray<Poly> list, holes, result;
    list.append(other);
    VelArray<VelArray<Poly>> holeLists;
    VelArray<VelGeomAugPolyline> cuts;
    VelArray<double> gaps;
    EXPECT_EQ(target.add(other, 0.0), 0);
    EXPECT_EQ(target.add(list, 0.0), 0);
    EXPECT_EQ(target.addWithHoles(other, holes, holes, result, 0.0), 0);
    EXPECT_EQ(target.addWithHoles(list, holes, holeLists, result, 0.0), 0);
    EXPECT_EQ(target.intersect(other, VelGeomTol::gTol), 0);
    EXPECT_EQ(target.separate(VelGeomAugPolyline(), 0.0, result), 0);
    EXPECT_EQ(target.separateBy(cuts, gaps, result), 0);
    EXPECT_EQ(result.length(), 0);
    EXPECT_EQ(target.getLength(), 4);
    EXPECT_NEAR(target.getArea(), 100, 1e-12);
    // getNormalised works on a copy.
    EXPECT_EQ(deep.getLength(), before.getLength());
    EXPECT_EQ(deep.isValid(), Poly::kNotChecked);
}

TEST(VelGeomAugPolygon, SelfIntersectionMatchesAllPairs)
{
    // The validity test skips pairs whose boxes are apart; on random
    // contours it must agree with the plain all-pairs definition.
    std::mt19937 g(29);
    const VelGeomTol tol(Poly::kMinEdgeLength / 1000, Poly::kMinEdgeLength / 1000);
    int crossing = 0, simple = 0;
    for (int round = 0; round < 400; ++round) {
        const int n = 3 + round % 40;
        const std::vector<Edge> edges = randomStar(g, n, 2.0, 10.0, round % 3 == 0 ? 0.3 : 1.0);
        Poly poly = raw(edges);
        poly.reinitialize(0);
        VelArray<VelGeomCurve3d*> curves;
        poly.getCurves(curves);
        const bool expected = pairwiseSelfIntersecting(curves, tol);
        Poly::deleteCurves(curves);
        EXPECT_EQ(poly.isValid() == Poly::kSelfIntersecting, expected) << round;
        EXPECT_NE(poly.isValid(), Poly::kNotChecked);
        (expected ? crossing : simple) += 1;
    }
    EXPECT_GT(crossing, 50);
    EXPECT_GT(simple, 50);

    // Long contours of many small arcs and segments, where most pairs are
    // skipped.
    int longCrossing = 0;
    for (int round = 0; round < 12; ++round) {
        const std::vector<Edge> edges =
            round % 2 ? randomStar(g, 150 + 13 * round, 7.9, 8.0, 0.05) : randomStar(g, 150 + 13 * round, 6.0, 8.0, 0.9);
        Poly poly = raw(edges);
        poly.reinitialize(0);
        VelArray<VelGeomCurve3d*> curves;
        poly.getCurves(curves);
        const bool expected = pairwiseSelfIntersecting(curves, tol);
        Poly::deleteCurves(curves);
        EXPECT_EQ(poly.isValid() == Poly::kSelfIntersecting, expected) << round;
        longCrossing += expected;
    }
    EXPECT_GT(longCrossing, 0);
    EXPECT_LT(longCrossing, 12);
}
