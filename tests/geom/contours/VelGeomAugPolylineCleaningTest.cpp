// The cleaning pass of the augmented polyline, its validity and its normal.
// Expected contours are worked out by hand from the cleaning rules; lengths
// and the self-intersection verdict are checked against independent
// computations (analytic arc lengths, an all-pairs intersection test).

#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/core/VelGeomTol.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"

#include "AugPolylineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using namespace augpl_test;

struct Vertex {
    P p;
    Info info;
};

VelGeomAugPolyline make(std::initializer_list<Vertex> vs)
{
    VelArray<P> pts;
    VelArray<Info> infos;
    for (const Vertex& v : vs) {
        pts.append(v.p);
        infos.append(v.info);
    }
    return VelGeomAugPolyline(pts, infos);
}

Vertex S(double x, double y, double z = 0.0) { return {P(x, y, z), Info::kNone}; }
Vertex A(double x, double y, const P& c, double r, const V& n = kZ) { return {P(x, y, 0.0), Info(r, c, n)}; }
P onCircle(const P& c, double r, double deg)
{
    const double a = deg * kPi / 180.0;
    return P(c.x + r * std::cos(a), c.y + r * std::sin(a), c.z);
}
Vertex Aat(const P& c, double r, double deg, const V& n = kZ)
{
    const P p = onCircle(c, r, deg);
    return {p, Info(r, c, n)};
}
Vertex Sat(const P& c, double r, double deg) { return {onCircle(c, r, deg), Info::kNone}; }

void expectVertices(const VelGeomAugPolyline& pl, std::initializer_list<P> expected, double tol = 1e-12)
{
    ASSERT_EQ(pl.getLength(), static_cast<long>(expected.size()));
    int i = 0;
    for (const P& p : expected)
        expectPoint(pl.getVertices()[i++], p, tol);
}

}  // namespace

// ---------------------------------------------------------------- short edges

TEST(VelGeomAugPolylineCleaning, ShortStraightEdgeAtStartMiddleAndEnd)
{
    // The first edge: its start goes, the contour starts at the next vertex.
    expectVertices(make({S(0, 0), S(0.005, 0), S(0.005, 10), S(10, 10)}), {P(0.005, 0, 0), P(0.005, 10, 0), P(10, 10, 0)});
    // In the middle after a straight edge: the edge's start goes, the
    // previous edge runs on to the edge's end.
    expectVertices(make({S(0, 0), S(10, 0), S(10, 0.005), S(10, 10)}), {P(0, 0, 0), P(10, 0.005, 0), P(10, 10, 0)});
    // The last edge: the end vertex survives.
    expectVertices(make({S(0, 0), S(10, 0), S(10, 10), S(10.004, 10)}), {P(0, 0, 0), P(10, 0, 0), P(10.004, 10, 0)});
    // Exactly kMinEdgeLength is not short.
    VelGeomAugPolyline keep = make({S(0, 0), S(10, 0), S(10, 0.01), S(20, 0.01)});
    EXPECT_EQ(keep.getLength(), 4);
}

TEST(VelGeomAugPolylineCleaning, ShortEdgeAfterAnArcKeepsTheArcsEnd)
{
    const P c(10, 10, 0);
    // Straight, a quarter arc ending at (20, 10), then a tiny straight edge.
    VelGeomAugPolyline end = make({S(0, 0), A(10, 0, c, 10), S(20, 10), S(20, 10.005)});
    expectVertices(end, {P(0, 0, 0), P(10, 0, 0), P(20, 10, 0)});
    EXPECT_TRUE(end.getVertexInfo()[1].isArc());
    EXPECT_FALSE(end.getVertexInfo()[2].isArc());
    EXPECT_NEAR(end.getPerimeter(), 10.0 + 5.0 * kPi, 1e-9);

    // In the middle: the tiny straight edge's end goes, so the straight edge
    // after it starts where the arc ends.
    VelGeomAugPolyline mid = make({S(0, 0), A(10, 0, c, 10), S(20, 10), S(20, 10.005), S(20, 30)});
    expectVertices(mid, {P(0, 0, 0), P(10, 0, 0), P(20, 10, 0), P(20, 30, 0)});
    EXPECT_EQ(mid.isValid(), VelGeomAugPolyline::kValid);

    // Below kAbsoluteMinEdgeLength the edge's start goes even after an arc.
    VelGeomAugPolyline tiny = make({S(0, 0), A(10, 0, c, 10), S(20, 10), S(20.000005, 10), S(30, 0)});
    expectVertices(tiny, {P(0, 0, 0), P(10, 0, 0), P(20.000005, 10, 0), P(30, 0, 0)});
}

TEST(VelGeomAugPolylineCleaning, ShortEdgeBetweenArcsOfOneCircleJoinsThem)
{
    const P c(0, 0, 0);
    const double r = 10.0;
    // A 0.005 chord between two arcs of the same circle.
    const double d = 0.0005 * 180.0 / kPi;
    VelGeomAugPolyline pl = make({Aat(c, r, 0), Sat(c, r, 90), Aat(c, r, 90 + d), Sat(c, r, 180)});
    ASSERT_EQ(pl.getLength(), 2);
    expectPoint(pl.getVertices()[0], P(10, 0, 0));
    expectPoint(pl.getVertices()[1], P(-10, 0, 0), 1e-12);
    EXPECT_NEAR(pl.getPerimeter(), r * kPi, 1e-9);
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);

    // Arcs of different circles keep a short edge between them.
    const P c2(20.005, 0, 0);
    VelGeomAugPolyline s = make({Aat(c, r, 90, -kZ), Sat(c, r, 0), Aat(c2, r, 180), Sat(c2, r, 270)});
    EXPECT_EQ(s.getLength(), 4);
}

TEST(VelGeomAugPolylineCleaning, ShortArcEdges)
{
    // A tiny arc at the start goes like a straight edge.
    const P c(0, 0, 0);
    VelGeomAugPolyline pl = make({Aat(c, 1.0, 0), Sat(c, 1.0, 0.2), S(0, 10), S(5, 10)});
    ASSERT_EQ(pl.getLength(), 3);
    expectPoint(pl.getVertices()[0], onCircle(c, 1.0, 0.2));
    // A full-circle edge (equal end vertices) is long, not tiny.
    VelGeomAugPolyline loop = make({S(-10, 1), Aat(c, 1.0, 90), Sat(c, 1.0, 90), S(10, 1)});
    EXPECT_EQ(loop.getLength(), 4);
    EXPECT_NEAR(loop.getPerimeter(), 10.0 + 2.0 * kPi + 10.0, 1e-9);
}

// ---------------------------------------------------------------- merges

TEST(VelGeomAugPolylineCleaning, CollinearRunsMerge)
{
    expectVertices(make({S(0, 0), S(5, 0), S(10, 0)}), {P(0, 0, 0), P(10, 0, 0)});
    expectVertices(make({S(0, 0), S(1, 1), S(2, 2), S(3, 3), S(3, 10), S(3, 20), S(0, 20)}),
                   {P(0, 0, 0), P(3, 3, 0), P(3, 20, 0), P(0, 20, 0)});
    // A spike back along the line is not a collinear run: it stays and makes
    // the contour run back over itself.
    VelGeomAugPolyline spike = make({S(0, 0), S(10, 0), S(5, 0)});
    EXPECT_EQ(spike.getLength(), 3);
    EXPECT_EQ(spike.isValid(), VelGeomAugPolyline::kSelfIntersecting);
}

TEST(VelGeomAugPolylineCleaning, CocircularArcsMerge)
{
    const P c(0, 0, 0);
    VelGeomAugPolyline half = make({Aat(c, 5, 0), Aat(c, 5, 60), Aat(c, 5, 120), Sat(c, 5, 180)});
    ASSERT_EQ(half.getLength(), 2);
    const Info& info = half.getVertexInfo()[0];
    EXPECT_TRUE(info.isArc());
    expectPoint(info.getCenter(), c, 1e-9);
    EXPECT_NEAR(info.getRadius(), 5.0, 1e-12);
    EXPECT_NEAR(half.getPerimeter(), 5.0 * kPi, 1e-9);
    EXPECT_EQ(half.isValid(), VelGeomAugPolyline::kValid);
    // Two vertices with an arc: the arc's normal.
    EXPECT_TRUE(half.getNormal().isEqualTo(kZ));

    // Centres slightly apart (below kMinEdgeLength / 10) still merge, and the
    // merged arc is re-centred so that both ends lie on it.
    VelGeomAugPolyline off = make({Aat(c, 5, 0), Aat(P(0.0004, 0, 0), 5.0004, 60), Sat(c, 5, 150)});
    ASSERT_EQ(off.getLength(), 2);
    const Info& m = off.getVertexInfo()[0];
    EXPECT_NEAR(off.getVertices()[0].distanceTo(m.getCenter()), m.getRadius(), 1e-9);
    EXPECT_NEAR(off.getVertices()[1].distanceTo(m.getCenter()), m.getRadius(), 1e-9);

    // Two half circles make a closed circle edge.
    VelGeomAugPolyline circle = make({Aat(c, 2, 0), Aat(c, 2, 180), Sat(c, 2, 360)});
    ASSERT_EQ(circle.getLength(), 2);
    EXPECT_EQ(circle.getVertices()[0], circle.getVertices()[1]);
    EXPECT_NEAR(circle.getPerimeter(), 4.0 * kPi, 1e-9);
    EXPECT_EQ(circle.isValid(), VelGeomAugPolyline::kValid);
}

TEST(VelGeomAugPolylineCleaning, ArcsThatMustNotMerge)
{
    const P c(0, 0, 0);
    // Same circle, opposite senses: the second arc runs back over the first.
    VelGeomAugPolyline back = make({Aat(c, 5, 0), Aat(c, 5, 90, -kZ), Sat(c, 5, 45)});
    EXPECT_EQ(back.getLength(), 3);
    EXPECT_EQ(back.isValid(), VelGeomAugPolyline::kSelfIntersecting);

    // Same radius, different centres (an S-bend).
    VelGeomAugPolyline s = make({Aat(c, 5, 180), Aat(P(10, 0, 0), 5, 180, -kZ), Sat(P(10, 0, 0), 5, 0)});
    EXPECT_EQ(s.getLength(), 3);
    EXPECT_EQ(s.isValid(), VelGeomAugPolyline::kValid);

    // Radii differing by more than kMinEdgeLength / 10.
    VelGeomAugPolyline r = make({Aat(c, 5, 0), Aat(c, 5.002, 90), Sat(c, 5.002, 150)});
    EXPECT_EQ(r.getLength(), 3);

    // Four arcs of 100 degrees on one circle: one info cannot hold 400
    // degrees, so the last stays apart and the length is kept.
    VelGeomAugPolyline over = make({Aat(c, 1, 0), Aat(c, 1, 100), Aat(c, 1, 200), Aat(c, 1, 300), Sat(c, 1, 400)});
    EXPECT_EQ(over.getLength(), 3);
    EXPECT_NEAR(over.getPerimeter(), 400.0 * kPi / 180.0, 1e-9);
}

// ---------------------------------------------------------------- small results

TEST(VelGeomAugPolylineCleaning, TwoVertexResults)
{
    VelGeomAugPolyline two = make({S(0, 0), S(0.005, 0), S(10, 0)});
    expectVertices(two, {P(0.005, 0, 0), P(10, 0, 0)});
    EXPECT_EQ(two.isValid(), VelGeomAugPolyline::kValid);
    EXPECT_NEAR(two.getNormal().length(), 1.0, 1e-12);
    EXPECT_NEAR(two.getNormal().dotProduct(V(1, 0, 0)), 0.0, 1e-12);

    // The walk stops at two vertices, however short their edge.
    VelGeomAugPolyline small = make({S(0, 0), S(0.004, 0), S(0.004, 0.004)});
    expectVertices(small, {P(0.004, 0, 0), P(0.004, 0.004, 0)});

    VelGeomAugPolyline one = make({S(1, 2)});
    EXPECT_EQ(one.isValid(), VelGeomAugPolyline::kTooFewVertices);
    EXPECT_EQ(VelGeomAugPolyline(VelArray<P>(), VelArray<Info>()).isValid(), VelGeomAugPolyline::kTooFewVertices);
}

TEST(VelGeomAugPolylineCleaning, SingleArcVertexIsAFullCircle)
{
    const P c(1, 1, 0);
    VelGeomAugPolyline pl = make({Aat(c, 3, 30)});
    ASSERT_EQ(pl.getLength(), 2);
    EXPECT_EQ(pl.getVertices()[0], pl.getVertices()[1]);
    EXPECT_FALSE(pl.getVertexInfo()[1].isArc());
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    EXPECT_NEAR(pl.getPerimeter(), 6.0 * kPi, 1e-9);
    EXPECT_TRUE(pl.getNormal().isEqualTo(kZ));
}

TEST(VelGeomAugPolylineCleaning, NearlyClosedEndSnapsOntoTheStart)
{
    VelGeomAugPolyline pl = make({S(0, 0), S(10, 0), S(10, 10), S(0, 10), S(0, 0.00005)});
    ASSERT_EQ(pl.getLength(), 5);
    EXPECT_EQ(pl.getVertices()[4].x, 0.0);
    EXPECT_EQ(pl.getVertices()[4].y, 0.0);
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kValid);
    EXPECT_TRUE(pl.getNormal().isEqualTo(kZ));
    // 2e-4 apart is too far.
    VelGeomAugPolyline open = make({S(0, 0), S(10, 0), S(10, 10), S(0, 10), S(0, 0.0002)});
    EXPECT_EQ(open.getVertices()[4].y, 0.0002);
}

// ---------------------------------------------------------------- normal

TEST(VelGeomAugPolylineCleaning, PlaneNormalOfThreeVertices)
{
    EXPECT_TRUE(make({S(0, 0), S(10, 0), S(10, 10)}).getNormal().isEqualTo(kZ));
    EXPECT_TRUE(make({S(10, 10), S(10, 0), S(0, 0)}).getNormal().isEqualTo(-kZ));
    // In a tilted plane: perpendicular to both edges.
    VelGeomAugPolyline t = make({S(0, 0, 0), S(3, 0, 4), S(3, 5, 4)});
    const V n = t.getNormal();
    EXPECT_NEAR(n.length(), 1.0, 1e-12);
    EXPECT_NEAR(n.dotProduct(V(3, 0, 4)), 0.0, 1e-12);
    EXPECT_NEAR(n.dotProduct(V(0, 5, 0)), 0.0, 1e-12);
    // A concave run: the orientation of the whole contour decides.
    VelGeomAugPolyline l = make({S(0, 0), S(10, 0), S(10, 10), S(5, 10), S(5, 3), S(0, 3)});
    EXPECT_TRUE(l.getNormal().isEqualTo(kZ));
}

TEST(VelGeomAugPolylineCleaning, CollinearVerticesTakeTheArcsMidpointForTheNormal)
{
    // Straight, half circle below the line (counter-clockwise about +z from
    // (2,0) to (4,0)), straight: every vertex on the x axis.
    VelGeomAugPolyline pl = make({S(0, 0), A(2, 0, P(3, 0, 0), 1), S(4, 0), S(6, 0)});
    ASSERT_EQ(pl.getLength(), 5);
    expectPoint(pl.getVertices()[2], P(3, -1, 0), 1e-12);
    EXPECT_TRUE(pl.getVertexInfo()[1].isArc());
    EXPECT_TRUE(pl.getVertexInfo()[2].isArc());
    EXPECT_NEAR(pl.getPerimeter(), 4.0 + kPi, 1e-9);
    EXPECT_TRUE(pl.getNormal().isEqualTo(-kZ));
}

TEST(VelGeomAugPolylineCleaning, InvalidContoursKeepTheirNormal)
{
    VelArray<P> pts;
    VelArray<double> bulges;
    for (const P& p : {P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(5, -5, 0)}) {
        pts.append(p);
        bulges.append(0.0);
    }
    const V stored(0.3, 0.4, 0.0);
    VelGeomAugPolyline pl(pts, stored, bulges, 0.3);
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kSelfIntersecting);
    EXPECT_TRUE(pl.getNormal().isEqualTo(stored));
}

// ---------------------------------------------------------------- validity oracle

namespace {

bool eq(const P& a, const P& b, const VelGeomTol& tol) { return a.isEqualTo(b, tol); }

bool runsBack(const VelGeomCurve3d& a, const VelGeomCurve3d& b, const VelGeomTol& tol)
{
    if (a.getType() == VelGeomCurve3d::kLineSeg && b.getType() == VelGeomCurve3d::kLineSeg) {
        const auto& sa = static_cast<const VelGeomLineSeg3d&>(a);
        const auto& sb = static_cast<const VelGeomLineSeg3d&>(b);
        return sb.direction().isCodirectionalTo(-sa.direction());
    }
    if (a.getType() == VelGeomCurve3d::kCircArc && b.getType() == VelGeomCurve3d::kCircArc) {
        const auto& aa = static_cast<const VelGeomCircArc3d&>(a);
        const auto& ab = static_cast<const VelGeomCircArc3d&>(b);
        return aa.getCenter().isEqualTo(ab.getCenter(), tol) && tol.equal(aa.getRadius(), ab.getRadius()) &&
               aa.getNormal().isCodirectionalTo(-ab.getNormal());
    }
    return false;
}

// The pairwise definition of an open chain of more than two members meeting
// itself, every pair intersected.
bool crossesItself(const VelArray<VelGeomCurve3d*>& c, const VelGeomTol& tol)
{
    const int n = c.length();
    VelArray<P> pts;
    for (int i = 0; i + 1 < n; ++i) {
        P e, s;
        c[i]->hasEndPoint(e);
        c[i + 1]->hasStartPoint(s);
        c[i]->intersectWith(*c[i + 1], pts, tol);
        if (pts.isEmpty() ? !eq(e, s, tol) : (pts.length() != 1 || !eq(pts[0], e, tol)))
            return true;
        if (runsBack(*c[i], *c[i + 1], tol))
            return true;
    }
    P s0;
    c[0]->hasStartPoint(s0);
    c[0]->intersectWith(*c[n - 1], pts, tol);
    for (int k = 0; k < pts.length(); ++k)
        if (!eq(pts[k], s0, tol))
            return true;
    for (int i = 0; i < n; ++i)
        for (int j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;
            if (c[i]->intersectWith(*c[j], pts, tol))
                return true;
        }
    return false;
}

}  // namespace

TEST(VelGeomAugPolylineCleaning, ValidityAgreesWithThePairwiseDefinition)
{
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> step(-1.0, 1.0);
    std::uniform_real_distribution<double> bulge(-1.5, 1.5);
    std::uniform_int_distribution<int> kind(0, 2);
    const VelGeomTol tol(VelGeomAugPolyline::kMinEdgeLength / 1000.0, VelGeomAugPolyline::kMinEdgeLength / 1000.0);
    int crossing = 0, clean = 0;
    for (int round = 0; round < 300; ++round) {
        // Random walks in a box of size ~10 cross themselves often enough to
        // exercise both answers.
        const int n = 4 + round % 20;
        VelArray<P> pts;
        VelArray<double> bulges;
        P p(0, 0, 0);
        for (int i = 0; i < n; ++i) {
            pts.append(p);
            bulges.append(kind(rng) == 0 ? bulge(rng) : 0.0);
            p = P(p.x + 3.0 * step(rng), p.y + 3.0 * step(rng), 0.0);
        }
        const VelGeomAugPolyline pl(pts, kZ, bulges, 0.3);
        VelArray<VelGeomCurve3d*> curves;
        pl.getCurves(curves);
        if (curves.length() > 2) {
            const bool expected = crossesItself(curves, tol);
            EXPECT_EQ(pl.isValid() == VelGeomAugPolyline::kSelfIntersecting, expected) << "round " << round;
            (expected ? crossing : clean)++;
        }
        VelGeomAugPolyline::deleteCurves(curves);
    }
    EXPECT_GT(crossing, 30);
    EXPECT_GT(clean, 30);
}

TEST(VelGeomAugPolylineCleaning, BadInput)
{
    const double nan = std::nan("");
    VelGeomAugPolyline pl = make({S(0, 0), S(nan, 1), S(5, 5)});
    EXPECT_EQ(pl.isValid(), VelGeomAugPolyline::kTooFewVertices);
    VelGeomAugPolyline arc = make({S(0, 0), A(5, 0, P(6, 0, 0), nan), S(7, 0), S(9, 9)});
    EXPECT_EQ(arc.isValid(), VelGeomAugPolyline::kTooFewVertices);

    // Nothing but an arc of radius 0 (a degenerate arc's polyline).
    VelGeomAugPolyline dot = make({A(1, 1, P(1, 1, 0), 0.0), S(1, 1)});
    EXPECT_EQ(dot.isValid(), VelGeomAugPolyline::kTooFewVertices);

    // Lists that are not parallel.
    VelArray<P> pts;
    pts.append(P(0, 0, 0));
    pts.append(P(1, 0, 0));
    VelArray<Info> infos;
    infos.append(Info::kNone);
    VelGeomAugPolyline uneven(pts, infos);
    EXPECT_EQ(uneven.getLength(), 0);
    EXPECT_EQ(uneven.isValid(), VelGeomAugPolyline::kTooFewVertices);

    // Refused edits leave the contour as it was.
    VelGeomAugPolyline good = make({S(0, 0), S(10, 0), S(10, 10)});
    EXPECT_EQ(good.expand(nan), 0);
    EXPECT_EQ(good.getVertices()[1].x, 10.0);
    good.setStartNormal(V(nan, 0, 1));
    EXPECT_TRUE(good.getStartNormal().isZeroLength());
    VelArray<VelGeomAugPolyline> pieces;
    EXPECT_EQ(good.split(P(10, 5, 0), nan, pieces), 0);
    EXPECT_EQ(good.split(P(10, 5, 0), -1.0, pieces), 0);
    EXPECT_EQ(good.elongate(5.0, false, true, false, nan), 1);  // straight: the margin is not used
    EXPECT_EQ(good.getVertices()[2].y, 15.0);
}
