// The cleaning pass: tiny edges at every place of the ring, collinear and
// co-circular merges, the two-vertex rules and the one-vertex circle.

#include "geom/contours/VelGeomAugPolygon.h"
#include "geom/core/VelGeomBase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

namespace {
const double kPi = std::acos(-1.0);
using P = VelGeomPoint3d;
using V = VelGeomVector3d;
using Info = VelGeomVertexInfo;
using Poly = VelGeomAugPolygon;

// An arc about +z (ccw) or -z (cw) round the centre.
Info arc(double cx, double cy, double r, bool ccw = true)
{
    return Info(r, P(cx, cy, 0), ccw ? V::kZAxis : -V::kZAxis);
}

Poly make(const std::vector<P>& pts, const std::vector<Info>& infos)
{
    VelArray<P> v;
    VelArray<Info> in;
    for (const P& p : pts)
        v.append(p);
    for (const Info& i : infos)
        in.append(i);
    return Poly(v, in);
}

Poly makeStraight(const std::vector<P>& pts) { return make(pts, std::vector<Info>(pts.size(), Info::kNone)); }

bool hasVertex(const Poly& poly, const P& p, double eps = 1e-9)
{
    for (int i = 0; i < poly.getVertices().length(); ++i)
        if (poly.getVertices()[i].distanceTo(p) < eps)
            return true;
    return false;
}

int arcCount(const Poly& poly)
{
    int n = 0;
    for (int i = 0; i < poly.getVertexInfo().length(); ++i)
        n += poly.getVertexInfo()[i].isArc();
    return n;
}

// Every arc's end points on its circle: a merge or a removal that leaves an
// arc starting off its circle is a fault.
void expectArcsConsistent(const Poly& poly, double eps)
{
    const int n = poly.getVertices().length();
    for (int i = 0; i < n; ++i) {
        const Info& info = poly.getVertexInfo()[i];
        if (!info.isArc())
            continue;
        EXPECT_NEAR(poly.getVertices()[i].distanceTo(info.getCenter()), info.getRadius(), eps) << "edge " << i;
        EXPECT_NEAR(poly.getVertices()[(i + 1) % n].distanceTo(info.getCenter()), info.getRadius(), eps)
            << "edge " << i;
    }
}

const std::vector<P> kSquare = {P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)};
}  // namespace

TEST(VelGeomAugPolygonCleaning, CollinearVerticesAndSpikesGo)
{
    // An extra vertex in the middle of an edge.
    Poly mid = makeStraight({P(0, 0, 0), P(5, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)});
    EXPECT_EQ(mid.getLength(), 4);
    EXPECT_EQ(mid.isValid(), Poly::kValid);
    EXPECT_FALSE(hasVertex(mid, P(5, 0, 0)));
    EXPECT_TRUE(mid.getNormal().isEqualTo(V::kZAxis));

    // A collinear run over vertex 0: the start lies inside the bottom edge
    // and the closing edge continues it.
    Poly wrap = makeStraight({P(5, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0), P(0, 0, 0), P(2, 0, 0)});
    EXPECT_EQ(wrap.getLength(), 4);
    EXPECT_EQ(wrap.isValid(), Poly::kValid);
    for (const P& c : kSquare)
        EXPECT_TRUE(hasVertex(wrap, c));
    EXPECT_NEAR(wrap.getArea(), 100.0, 1e-9);

    // A spike out of the right side and back along the same line.
    Poly spike = makeStraight(
        {P(0, 0, 0), P(10, 0, 0), P(10, 5, 0), P(15, 5, 0), P(10, 5, 0), P(10, 10, 0), P(0, 10, 0)});
    EXPECT_EQ(spike.getLength(), 4);
    EXPECT_EQ(spike.isValid(), Poly::kValid);
    EXPECT_FALSE(hasVertex(spike, P(15, 5, 0)));
    EXPECT_NEAR(spike.getArea(), 100.0, 1e-9);

    // A spike that runs back past its foot along its own line.
    Poly back = makeStraight({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0), P(0, 4, 0), P(0, 7, 0),
                              P(0, 2, 0)});
    EXPECT_EQ(back.getLength(), 4);
    EXPECT_NEAR(back.getArea(), 100.0, 1e-9);
}

TEST(VelGeomAugPolygonCleaning, SlotSidesDoNotMergeAcrossTheirArcs)
{
    // A stadium: two parallel straight sides joined by half circles. The
    // sides are parallel but never neighbours, so both stay.
    Poly slot = make({P(0, 0, 0), P(10, 0, 0), P(10, 4, 0), P(0, 4, 0)},
                     {Info::kNone, arc(10, 2, 2), Info::kNone, arc(0, 2, 2)});
    EXPECT_EQ(slot.getLength(), 4);
    EXPECT_EQ(slot.isValid(), Poly::kValid);
    EXPECT_EQ(arcCount(slot), 2);
    EXPECT_NEAR(slot.getArea(), 40.0 + kPi * 4.0, 1e-9);
}

TEST(VelGeomAugPolygonCleaning, TinyStraightEdgesAtStartMiddleAndWrap)
{
    for (double gap : {0.005, 5e-6}) {
        // At the start: vertices 0 and 1 almost coincide.
        Poly start = makeStraight({P(0, 0, 0), P(gap, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)});
        EXPECT_EQ(start.getLength(), 4) << gap;
        EXPECT_EQ(start.isValid(), Poly::kValid);
        EXPECT_NEAR(start.getArea(), 100.0, 10 * gap);
        // In the middle, off the line so that only the short-edge rule can
        // remove it.
        Poly middle = makeStraight({P(0, 0, 0), P(10, 0, 0), P(10, gap * 0.6, 0), P(10 - gap * 0.8, gap * 0.6, 0),
                                    P(10, 10, 0), P(0, 10, 0)});
        EXPECT_EQ(middle.getLength(), 4) << gap;
        EXPECT_EQ(middle.isValid(), Poly::kValid);
        EXPECT_NEAR(middle.getArea(), 100.0, 100 * gap);
        // Across the wrap: the last vertex almost on the first.
        Poly wrap = makeStraight({P(0, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0), P(-gap * 0.6, gap * 0.8, 0)});
        EXPECT_EQ(wrap.getLength(), 4) << gap;
        EXPECT_EQ(wrap.isValid(), Poly::kValid);
        EXPECT_NEAR(wrap.getArea(), 100.0, 100 * gap);
    }
}

TEST(VelGeomAugPolygonCleaning, TinyArcBeforeAStraightEdgeTakesItsInfoAlong)
{
    // Edge 1 is an arc of length 4e-6 on a big circle, followed by a straight
    // edge. The arc and its info go; the straight edge starts at the arc's
    // start, and no arc description is left on it.
    const double r = 100.0;
    const double a = 4e-8;  // radians: arc length 4e-6
    const P s(10, 0, 0);
    const P c(10 - r, 0, 0);
    const P e(c.x + r * std::cos(a), r * std::sin(a), 0);
    Poly poly = make({P(0, 0, 0), s, e, P(10, 10, 0), P(0, 10, 0)},
                     {Info::kNone, Info(r, c, V::kZAxis), Info::kNone, Info::kNone, Info::kNone});
    ASSERT_EQ(poly.getLength(), 4);
    EXPECT_EQ(arcCount(poly), 0);
    EXPECT_TRUE(hasVertex(poly, s, 1e-12));
    EXPECT_EQ(poly.isValid(), Poly::kValid);

    // The same on the closing edge: vertex 0 goes, the tiny arc's start takes
    // its place with the first edge's info, so the contour keeps its start
    // edge and every later info stays with its edge.
    const P s2(0, 0, 0);
    const P e2(r * std::sin(a), r - r * std::cos(a), 0);  // on the circle round (0, r)
    const Info right(P(10, 0, 0), P(10, 10, 0), V::kZAxis, 0.2);
    Poly wrap = make({e2, P(10, 0, 0), P(10, 10, 0), P(0, 10, 0), s2},
                     {Info::kNone, right, Info::kNone, Info::kNone, Info(r, P(0, r, 0), V::kZAxis)});
    ASSERT_EQ(wrap.getLength(), 4);
    EXPECT_TRUE(wrap.getVertices()[0].isEqualTo(s2));
    EXPECT_FALSE(wrap.getVertexInfo()[0].isArc());
    EXPECT_TRUE(wrap.getVertexInfo()[1] == right);
    EXPECT_TRUE(wrap.getVertices()[1].isEqualTo(P(10, 0, 0)));
    EXPECT_EQ(arcCount(wrap), 1);
    EXPECT_EQ(wrap.isValid(), Poly::kValid);
}

TEST(VelGeomAugPolygonCleaning, ShortArcBetweenArcsOnlyGoesWhenTwoShareACircle)
{
    const double r = 5.0;
    auto on = [&](double t) { return P(r * std::cos(t), r * std::sin(t), 0); };
    // A circle of a long arc, a short one (0.005 long) and two long ones: the
    // short one goes, the rest merges, and the circle ends as three arcs.
    const double d = 0.001;
    Poly one = make({on(0), on(2.0), on(2.0 + d), on(4.0)}, {arc(0, 0, r), arc(0, 0, r), arc(0, 0, r), arc(0, 0, r)});
    EXPECT_EQ(one.getLength(), 3);
    EXPECT_EQ(one.isValid(), Poly::kValid);
    EXPECT_NEAR(one.getArea(), kPi * r * r, 1e-9);
    expectArcsConsistent(one, 1e-9);

    // A short arc on its own circle between arcs of two other circles stays.
    const P v1(10, 0, 0);
    const P v2(9 + std::cos(0.005), std::sin(0.005), 0);  // 0.005 along the unit circle round (9, 0)
    const Info A(std::sqrt(125.0), P(5, 10, 0), V::kZAxis);  // (0,0) to (10,0), bulging out below
    const Info N(v2, P(10, 10, 0), V::kZAxis, 0.2);
    Poly keep = make({P(0, 0, 0), v1, v2, P(10, 10, 0), P(0, 10, 0)},
                     {A, Info(1.0, P(9, 0, 0), V::kZAxis), N, Info::kNone, Info::kNone});
    EXPECT_EQ(keep.getLength(), 5);
    EXPECT_EQ(arcCount(keep), 3);

    // The short arc continues the previous arc: the previous arc takes it
    // over and still ends on its own circle, and the next arc keeps its own
    // start point.
    const P c(5, 10, 0);
    const double R = std::sqrt(125.0);
    const double t2 = std::atan2(-10.0, 5.0);  // (10, 0) on that circle
    const P w1(c.x + R * std::cos(t2 - 0.005 / R), c.y + R * std::sin(t2 - 0.005 / R), 0);
    const Info N2(P(10, 0, 0), P(10, 10, 0), V::kZAxis, 0.2);
    Poly cont = make({P(0, 0, 0), w1, P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)},
                     {Info(R, c, V::kZAxis), Info(R, c, V::kZAxis), N2, Info::kNone, Info::kNone});
    ASSERT_EQ(cont.getLength(), 4);
    EXPECT_TRUE(hasVertex(cont, P(10, 0, 0), 1e-12));
    EXPECT_FALSE(hasVertex(cont, w1, 1e-6));
    expectArcsConsistent(cont, 1e-9);
    EXPECT_EQ(cont.isValid(), Poly::kValid);
}

TEST(VelGeomAugPolygonCleaning, CoCircularArcsMergeAndTheCircleStaysThreeVertices)
{
    // A circle of four quarter arcs: the quarters merge, but never into an
    // arc that closes on itself; two arcs are left and the longer is split.
    const double r = 3.0;
    Poly q = make({P(r, 0, 0), P(0, r, 0), P(-r, 0, 0), P(0, -r, 0)},
                  {arc(0, 0, r), arc(0, 0, r), arc(0, 0, r), arc(0, 0, r)});
    EXPECT_EQ(q.getLength(), 3);
    EXPECT_EQ(q.isValid(), Poly::kValid);
    EXPECT_EQ(arcCount(q), 3);
    EXPECT_NEAR(q.getArea(), kPi * r * r, 1e-9);
    expectArcsConsistent(q, 1e-9);
    EXPECT_TRUE(q.getNormal().isEqualTo(V::kZAxis));

    // Centres a little apart still merge; the merged arc is recentred so
    // that both its ends lie on it.
    const double t = 3 * kPi / 4;
    const P end(r * std::cos(t), r * std::sin(t), 0);
    Poly near = make({P(r, 0, 0), P(0, r, 0), end},
                     {Info(r, P(0.003, 0.002, 0), V::kZAxis), arc(0, 0, r), Info::kNone});
    ASSERT_EQ(near.getLength(), 3);  // one merged arc and the chord, then split as a two-vertex contour
    EXPECT_EQ(near.isValid(), Poly::kValid);
    EXPECT_EQ(arcCount(near), 2);
    expectArcsConsistent(near, 1e-9);
    for (int i = 0; i < 3; ++i) {
        if (near.getVertexInfo()[i].isArc()) {
            EXPECT_TRUE(near.getVertexInfo()[i].getCenter().isEqualTo(P(0, 0, 0), VelGeomTol(1e-9, 1e-9)));
        }
    }
    EXPECT_NEAR(near.getArea(), r * r / 2 * (t - std::sin(t)), 1e-9);  // the circular segment
}

TEST(VelGeomAugPolygonCleaning, SameCircleOppositeSenseDoesNotMerge)
{
    // A quarter arc ccw, then an arc of the same circle cw: it runs back
    // over the first. Merging would hide that and turn the contour into a
    // clean half disc.
    const double r = 2.0;
    Poly poly = make({P(r, 0, 0), P(0, r, 0), P(-r, 0, 0)}, {arc(0, 0, r), arc(0, 0, r, false), Info::kNone});
    EXPECT_EQ(poly.getLength(), 3);
    EXPECT_EQ(arcCount(poly), 2);
    EXPECT_EQ(poly.isValid(), Poly::kSelfIntersecting);
}

TEST(VelGeomAugPolygonCleaning, TwoVertexResults)
{
    // Two straight edges enclose nothing.
    Poly straight = makeStraight({P(0, 0, 0), P(5, 0, 0)});
    EXPECT_EQ(straight.isValid(), Poly::kTooFewVertices);
    EXPECT_EQ(straight.getLength(), 2);
    // A straight edge and an arc: the arc is split at its midpoint.
    Poly half = make({P(-1, 0, 0), P(1, 0, 0)}, {Info::kNone, arc(0, 0, 1)});
    ASSERT_EQ(half.getLength(), 3);
    EXPECT_EQ(half.isValid(), Poly::kValid);
    EXPECT_TRUE(hasVertex(half, P(0, 1, 0), 1e-12));
    EXPECT_NEAR(half.getArea(), kPi / 2, 1e-12);
    EXPECT_TRUE(half.getNormal().isEqualTo(V::kZAxis));
    // Two half circles of one circle: three vertices and valid.
    Poly circle = make({P(-1, 0, 0), P(1, 0, 0)}, {arc(0, 0, 1), arc(0, 0, 1)});
    ASSERT_EQ(circle.getLength(), 3);
    EXPECT_EQ(circle.isValid(), Poly::kValid);
    EXPECT_NEAR(circle.getArea(), kPi, 1e-12);
    // The second (longer) arc is the one split: a quarter and three quarters.
    Poly unequal = make({P(1, 0, 0), P(0, 1, 0)}, {arc(0, 0, 1), arc(0, 0, 1)});
    ASSERT_EQ(unequal.getLength(), 3);
    EXPECT_TRUE(hasVertex(unequal, P(-std::sqrt(0.5), -std::sqrt(0.5), 0), 1e-12));
    // Out along a half circle and back along it: nothing enclosed.
    Poly back = make({P(-1, 0, 0), P(1, 0, 0)}, {arc(0, 0, 1), arc(0, 0, 1, false)});
    EXPECT_EQ(back.isValid(), Poly::kTooFewVertices);
    EXPECT_EQ(back.getLength(), 2);
    // Equal radii, opposite senses, different centres: a crescent, kept.
    const double rc = std::sqrt(2.0);
    Poly crescent = make({P(-1, 0, 0), P(1, 0, 0)}, {arc(0, 1, rc), arc(0, -1, rc, false)});
    ASSERT_EQ(crescent.getLength(), 3);
    EXPECT_EQ(crescent.isValid(), Poly::kValid);
    // Lune between the minor arc below the chord (centre (0,1)) and the major
    // arc below it (centre (0,-1)): the major disc part minus the minor one.
    const double segMinor = rc * rc / 2 * (kPi / 2) - 1.0;    // circular segment of 90 degrees
    const double segMajor = kPi * rc * rc - segMinor;         // the rest of its circle
    EXPECT_NEAR(crescent.getArea(), segMajor - segMinor, 1e-9);
}

TEST(VelGeomAugPolygonCleaning, OneVertexCircle)
{
    Poly circle = make({P(2, 0, 0)}, {arc(0, 0, 2)});
    EXPECT_EQ(circle.getLength(), 1);
    EXPECT_EQ(circle.isValid(), Poly::kValid);
    EXPECT_NEAR(circle.getArea(), 4 * kPi, 1e-12);
    EXPECT_TRUE(circle.getNormal().isEqualTo(V::kZAxis));
    const VelArray<P> approx = circle.getApproxVertices();
    EXPECT_GE(approx.length(), 4);
    for (int i = 0; i < approx.length(); ++i)
        EXPECT_NEAR(approx[i].distanceTo(P(0, 0, 0)), 2.0, 1e-12);

    // A circle smaller than its absolute error still gives four points.
    Poly tiny = make({P(0.1, 0, 0)}, {arc(0, 0, 0.1)});
    const VelArray<P> four = tiny.getApproxVertices();
    ASSERT_EQ(four.length(), 4);
    EXPECT_NEAR(four[1].x, 0.0, 1e-15);
    EXPECT_NEAR(four[1].y, 0.1, 1e-15);
    EXPECT_NEAR(four[2].x, -0.1, 1e-15);

    EXPECT_EQ(make({P(0, 0, 0)}, {Info::kNone}).isValid(), Poly::kTooFewVertices);
    EXPECT_EQ(make({P(0, 0, 0)}, {arc(0, 0, 0)}).isValid(), Poly::kTooFewVertices);
    EXPECT_EQ(make({}, {}).isValid(), Poly::kTooFewVertices);
}

TEST(VelGeomAugPolygonCleaning, ValidityOfCrossingAndBadInput)
{
    Poly bow = makeStraight({P(0, 0, 0), P(10, 10, 0), P(10, 0, 0), P(0, 10, 0)});
    EXPECT_EQ(bow.isValid(), Poly::kSelfIntersecting);
    // Different list lengths: refused as a whole.
    VelArray<P> v;
    v.append(P(0, 0, 0));
    v.append(P(1, 0, 0));
    v.append(P(0, 1, 0));
    VelArray<Info> in;
    in.append(Info::kNone);
    Poly odd(v, in);
    EXPECT_EQ(odd.getLength(), 0);
    EXPECT_EQ(odd.isValid(), Poly::kTooFewVertices);
    // A non-number coordinate: unusable, not crashed, not valid.
    Poly nan = makeStraight({P(0, 0, 0), P(std::nan(""), 0, 0), P(0, 1, 0)});
    EXPECT_EQ(nan.isValid(), Poly::kTooFewVertices);
    // coreAppend without cleaning leaves the state alone until reinitialize.
    Poly built;
    for (const P& p : {P(0, 0, 0), P(5, 0, 0), P(10, 0, 0), P(10, 10, 0), P(0, 10, 0)})
        built.coreAppend(p, 0);
    EXPECT_EQ(built.isValid(), Poly::kNotChecked);
    EXPECT_EQ(built.getLength(), 5);
    built.reinitialize(0);
    EXPECT_EQ(built.getLength(), 5);
    EXPECT_EQ(built.isValid(), Poly::kValid);
    built.reinitialize(1);
    EXPECT_EQ(built.getLength(), 4);
    built.removeLast(1);
    EXPECT_EQ(built.isValid(), Poly::kValid);  // a triangle
    built.removeLast(1);
    EXPECT_EQ(built.isValid(), Poly::kTooFewVertices);
    const V normal = built.getNormal();
    built.reset();
    EXPECT_EQ(built.getLength(), 0);
    EXPECT_EQ(built.isValid(), Poly::kNotChecked);
    EXPECT_TRUE(built.getNormal() == normal);
}
