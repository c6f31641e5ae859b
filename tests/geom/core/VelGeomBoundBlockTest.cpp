#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelGeomBoundBlock2d.h"
#include "geom/core/VelGeomBoundBlock3d.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
using P = VelGeomPoint3d;
using V = VelGeomVector3d;
const double kPi = std::acos(-1.0);

VelGeomBoundBlock3d cube(const P& at, double s = 1.0)
{
    return VelGeomBoundBlock3d(at, V(s, 0, 0), V(0, s, 0), V(0, 0, s));
}

// Coordinates of p in the block's edge basis (full blocks only).
void coords(const VelGeomBoundBlock3d& b, const P& p, double out[3])
{
    P c;
    V u, v, w;
    b.get(c, u, v, w);
    const V d = p - c;
    const double vol = u.dotProduct(v.crossProduct(w));
    out[0] = d.dotProduct(v.crossProduct(w)) / vol;
    out[1] = u.dotProduct(d.crossProduct(w)) / vol;
    out[2] = u.dotProduct(v.crossProduct(d)) / vol;
}
} // namespace

TEST(VelGeomBoundBlock3d, SetDropsRedundantDirections)
{
    VelGeomBoundBlock3d b(P(0, 0, 0), V(1, 0, 0), V(2, 0, 0), V(0, 0, 1));
    P c;
    V u, v, w;
    b.get(c, u, v, w);
    EXPECT_TRUE(u == V(1, 0, 0));
    EXPECT_TRUE(v == V(0, 0, 0));
    EXPECT_TRUE(w == V(0, 0, 1));
    EXPECT_EQ(b.dimension(), 2);
    // w in the plane of u and v is dropped.
    VelGeomBoundBlock3d flat(P(1, 1, 1), V(1, 0, 0), V(0, 1, 0), V(3, 4, 0));
    flat.get(c, u, v, w);
    EXPECT_TRUE(w == V(0, 0, 0));
    EXPECT_EQ(VelGeomBoundBlock3d().dimension(), 0);
    VelGeomBoundBlock3d seg;
    seg.set(P(1, 2, 3), P(4, 6, 3));
    EXPECT_EQ(seg.dimension(), 1);
    P lo, hi;
    seg.getMinMaxPoints(lo, hi);
    EXPECT_TRUE(lo == P(1, 2, 3));
    EXPECT_TRUE(hi == P(4, 6, 3));
}

TEST(VelGeomBoundBlock3d, ContainmentOfEveryDimension)
{
    const VelGeomBoundBlock3d point(P(1, 1, 1), V(), V(), V());
    EXPECT_TRUE(point.contains(P(1 + 0.9e-8, 1, 1)));
    EXPECT_FALSE(point.contains(P(1 + 1.1e-8, 1, 1)));
    VelGeomBoundBlock3d seg;
    seg.set(P(0, 0, 0), P(2, 2, 0));
    EXPECT_TRUE(seg.contains(P(1, 1, 0)));
    EXPECT_FALSE(seg.contains(P(3, 3, 0)));
    EXPECT_FALSE(seg.contains(P(1, 1, 0.001)));
    // A sheared parallelogram: inside the bounding rectangle is not enough.
    const VelGeomBoundBlock3d para(P(0, 0, 0), V(2, 0, 0), V(1, 1, 0), V());
    EXPECT_TRUE(para.contains(P(2.5, 0.5, 0)));
    EXPECT_FALSE(para.contains(P(0.2, 0.8, 0)));  // in the rectangle, outside the parallelogram
    EXPECT_FALSE(para.contains(P(1, 0.5, 0.01)));
    EXPECT_TRUE(para.contains(P(3, 1, 0)));  // far corner, inclusive
    // A rotated cube.
    VelGeomBoundBlock3d rc = cube(P(0, 0, 0));
    rc.transformBy(VelGeomMatrix3d::rotation(kPi / 4, V::kZAxis));
    EXPECT_TRUE(rc.contains(P(0, 0.7, 0.5)));
    EXPECT_FALSE(rc.contains(P(0.6, 0.1, 0.5)));
    EXPECT_TRUE(rc.contains(P(0, 0.7, 1)));  // on the top face
}

TEST(VelGeomBoundBlock3d, ExtendGrowsAlongOwnDirections)
{
    VelGeomBoundBlock3d b;
    b.extend(P(2, 0, 0));  // point -> segment
    EXPECT_EQ(b.dimension(), 1);
    b.extend(P(-1, 0, 0));  // behind the corner: the corner moves, the far end stays
    P c;
    V u, v, w;
    b.get(c, u, v, w);
    EXPECT_TRUE(c == P(-1, 0, 0));
    EXPECT_TRUE(u == V(3, 0, 0));
    b.extend(P(1, 0, 0));  // inside: unchanged
    b.get(c, u, v, w);
    EXPECT_TRUE(u == V(3, 0, 0));
    b.extend(P(0, 2, 0));  // off the line -> parallelogram
    EXPECT_EQ(b.dimension(), 2);
    b.extend(P(5, -1, 0));  // in the plane: both edges grow
    EXPECT_TRUE(b.contains(P(5, -1, 0)));
    EXPECT_TRUE(b.contains(P(-1, 0, 0)));
    b.extend(P(0, 0, 4));  // off the plane -> full block
    EXPECT_EQ(b.dimension(), 3);
    b.extend(P(7, 7, -3));
    for (const P& p : {P(2, 0, 0), P(-1, 0, 0), P(0, 2, 0), P(5, -1, 0), P(0, 0, 4), P(7, 7, -3)})
        EXPECT_TRUE(b.contains(p)) << p.x << " " << p.y << " " << p.z;
}

TEST(VelGeomBoundBlock3d, ExtendByAnArcTakesItsBulge)
{
    // Half circle from (2,0,0) to (-2,0,0) counter-clockwise about z: over the top.
    const VelGeomVertexInfo half(2.0, P(0, 0, 0), V::kZAxis);
    VelGeomBoundBlock3d b;
    b.extend(half, P(2, 0, 0), P(-2, 0, 0));
    P lo, hi;
    b.getMinMaxPoints(lo, hi);
    EXPECT_NEAR(hi.y, 2.0, 1e-9);
    EXPECT_NEAR(lo.y, 0.0, 1e-9);
    EXPECT_NEAR(lo.x, -2.0, 1e-9);
    EXPECT_TRUE(b.contains(P(0, 2, 0)));
}

TEST(VelGeomBoundBlock3d, DisjointnessOfCubes)
{
    EXPECT_FALSE(cube(P(0, 0, 0)).isDisjoint(cube(P(1, 0, 0))));  // touching faces
    EXPECT_TRUE(cube(P(0, 0, 0)).isDisjoint(cube(P(1.5, 0, 0))));
    // Rotated by 45 degrees about z and moved: the bounds overlap, a face
    // normal of the rotated cube separates.
    VelGeomBoundBlock3d r = cube(P(0, 0, 0));
    r.transformBy(VelGeomMatrix3d::rotation(kPi / 4, V::kZAxis));
    r.transformBy(VelGeomMatrix3d::translation(V(1.6, 0.5, 0)));
    EXPECT_TRUE(cube(P(0, 0, 0)).isDisjoint(r));
    EXPECT_TRUE(r.isDisjoint(cube(P(0, 0, 0))));
    P lo, hi;
    r.getMinMaxPoints(lo, hi);
    EXPECT_LT(lo.x, 1.0);  // the bounds alone would not tell
    r.transformBy(VelGeomMatrix3d::translation(V(-0.3, 0, 0)));
    EXPECT_FALSE(cube(P(0, 0, 0)).isDisjoint(r));
}

TEST(VelGeomBoundBlock3d, DisjointnessOfDegenerateBlocks)
{
    const VelGeomBoundBlock3d c = cube(P(0, 0, 0));
    const VelGeomBoundBlock3d inside(P(0.5, 0.5, 0.5), V(), V(), V());
    const VelGeomBoundBlock3d outside(P(1.5, 0.5, 0.5), V(), V(), V());
    EXPECT_FALSE(c.isDisjoint(inside));
    EXPECT_FALSE(inside.isDisjoint(c));
    EXPECT_TRUE(c.isDisjoint(outside));
    EXPECT_FALSE(inside.isDisjoint(VelGeomBoundBlock3d(P(0.5, 0.5, 0.5), V(), V(), V())));

    VelGeomBoundBlock3d s1, s2, s3, s4;
    s1.set(P(0, 0, 0), P(2, 0, 0));
    s2.set(P(1, 0, 0), P(3, 0, 0));  // colinear, overlapping
    s3.set(P(2.5, 0, 0), P(3, 0, 0));  // colinear, apart
    s4.set(P(1, -1, 0), P(1, 1, 0));  // crossing
    EXPECT_FALSE(s1.isDisjoint(s2));
    EXPECT_TRUE(s1.isDisjoint(s3));
    EXPECT_FALSE(s1.isDisjoint(s4));
    VelGeomBoundBlock3d skew;
    skew.set(P(1, -1, 1), P(1, 1, 1));
    EXPECT_TRUE(s1.isDisjoint(skew));

    // A square in z = 0 and segments against it.
    const VelGeomBoundBlock3d sq(P(0, 0, 0), V(1, 0, 0), V(0, 1, 0), V());
    VelGeomBoundBlock3d through, above, inPlane, inPlaneOut;
    through.set(P(0.5, 0.5, -1), P(0.5, 0.5, 1));
    above.set(P(0.5, 0.5, 0.5), P(0.7, 0.2, 2));
    inPlane.set(P(0.5, 0.5, 0), P(3, 0.5, 0));
    inPlaneOut.set(P(1.2, 0, 0), P(3, 0.5, 0));
    EXPECT_FALSE(sq.isDisjoint(through));
    EXPECT_TRUE(sq.isDisjoint(above));
    EXPECT_FALSE(sq.isDisjoint(inPlane));
    EXPECT_TRUE(sq.isDisjoint(inPlaneOut));
    VelGeomBoundBlock3d missesEdge;  // crosses the plane outside the square
    missesEdge.set(P(1.5, 0.5, -1), P(1.5, 0.5, 1));
    EXPECT_TRUE(sq.isDisjoint(missesEdge));

    // Two squares: coplanar, parallel, crossing.
    const VelGeomBoundBlock3d sq2(P(0.5, 0.5, 0), V(1, 0, 0), V(0, 1, 0), V());
    const VelGeomBoundBlock3d sq3(P(2, 0, 0), V(1, 0, 0), V(0, 1, 0), V());
    const VelGeomBoundBlock3d lifted(P(0, 0, 1), V(1, 0, 0), V(0, 1, 0), V());
    const VelGeomBoundBlock3d crossing(P(0.5, -1, -1), V(0, 3, 0), V(0, 0, 2), V());
    const VelGeomBoundBlock3d crossingAway(P(0.5, 1.5, -1), V(0, 3, 0), V(0, 0, 2), V());
    EXPECT_FALSE(sq.isDisjoint(sq2));
    EXPECT_TRUE(sq.isDisjoint(sq3));
    EXPECT_TRUE(sq.isDisjoint(lifted));
    EXPECT_FALSE(sq.isDisjoint(crossing));
    EXPECT_TRUE(sq.isDisjoint(crossingAway));
}

TEST(VelGeomBoundBlock3d, DisjointnessAgreesWithSampling)
{
    std::mt19937 rng(21);
    std::uniform_real_distribution<double> pos(-1.8, 1.8), len(0.3, 1.5), ang(0, 2 * kPi);
    int decided = 0;
    for (int trial = 0; trial < 160; ++trial) {
        auto randomBlock = [&] {
            VelGeomBoundBlock3d b(P(0, 0, 0), V(len(rng), 0, 0), V(0, len(rng), 0), V(0, 0, len(rng)));
            b.transformBy(VelGeomMatrix3d::rotation(ang(rng), V(pos(rng), pos(rng), pos(rng) + 2)));
            b.transformBy(VelGeomMatrix3d::translation(V(pos(rng), pos(rng), pos(rng))));
            return b;
        };
        const VelGeomBoundBlock3d a = randomBlock(), b = randomBlock();
        // Sample a grid in a; a sample deep inside b proves overlap; a minimum
        // sampled distance beyond the grid's reach proves separation.
        const int n = 7;
        P c;
        V u, v, w;
        a.get(c, u, v, w);
        P bc;
        V bu, bv, bw;
        b.get(bc, bu, bv, bw);
        bool overlap = false;
        double minDist = 1e300;
        for (int i = 0; i <= n && !overlap; ++i)
            for (int j = 0; j <= n && !overlap; ++j)
                for (int k = 0; k <= n && !overlap; ++k) {
                    const P p = c + u * (double(i) / n) + v * (double(j) / n) + w * (double(k) / n);
                    double t[3];
                    coords(b, p, t);
                    if (t[0] > 0.01 && t[0] < 0.99 && t[1] > 0.01 && t[1] < 0.99 && t[2] > 0.01 && t[2] < 0.99)
                        overlap = true;
                    for (int ii = 0; ii <= n; ++ii)
                        for (int jj = 0; jj <= n; ++jj)
                            for (int kk = 0; kk <= n; ++kk) {
                                const P q = bc + bu * (double(ii) / n) + bv * (double(jj) / n) + bw * (double(kk) / n);
                                minDist = std::min(minDist, p.distanceTo(q));
                            }
                }
        const double reach = (u.length() + v.length() + w.length() + bu.length() + bv.length() + bw.length()) / n;
        if (overlap) {
            ++decided;
            EXPECT_FALSE(a.isDisjoint(b)) << trial;
            EXPECT_FALSE(b.isDisjoint(a)) << trial;
        } else if (minDist > 2 * reach) {
            ++decided;
            EXPECT_TRUE(a.isDisjoint(b)) << trial;
            EXPECT_TRUE(b.isDisjoint(a)) << trial;
        }
    }
    EXPECT_GT(decided, 60);
}

TEST(VelGeomBoundBlock3d, SwellAndSlice)
{
    VelGeomBoundBlock3d b = cube(P(0, 0, 0));
    b.swell(0.5);
    P c;
    V u, v, w;
    b.get(c, u, v, w);
    EXPECT_TRUE(c == P(-0.5, -0.5, -0.5));
    EXPECT_TRUE(u == V(2, 0, 0));
    EXPECT_TRUE(w == V(0, 0, 2));
    VelGeomBoundBlock3d sq(P(0, 0, 0), V(1, 0, 0), V(0, 1, 0), V());
    sq.swell(1.0);
    sq.get(c, u, v, w);
    EXPECT_TRUE(w == V(0, 0, 0));  // flat stays flat
    EXPECT_TRUE(c == P(-1, -1, 0));

    // Keep the part above z = 0.25 of a unit cube: re-anchored at the first
    // corner above the plane, the w edge cut to the crossing.
    VelGeomBoundBlock3d s = cube(P(0, 0, 0));
    s.slice(VelGeomPlane(P(0, 0, 0.25), V::kZAxis));
    s.get(c, u, v, w);
    EXPECT_TRUE(c == P(0, 0, 1));
    EXPECT_TRUE(w == V(0, 0, -0.75));
    EXPECT_TRUE(s.contains(P(0.5, 0.5, 0.5)));
    EXPECT_FALSE(s.contains(P(0.5, 0.5, 0.1)));
    // Wholly below: empty; fewer than four corners below: unchanged.
    VelGeomBoundBlock3d gone = cube(P(0, 0, 0));
    gone.slice(VelGeomPlane(P(0, 0, 5), V::kZAxis));
    EXPECT_EQ(gone.dimension(), 0);
    VelGeomBoundBlock3d kept = cube(P(0, 0, 0));
    kept.slice(VelGeomPlane(P(0.1, 0.1, 0.1), V(1, 1, 1)));  // cuts off one corner
    kept.get(c, u, v, w);
    EXPECT_TRUE(c == P(0, 0, 0));
    EXPECT_TRUE(u == V(1, 0, 0));
    VelGeomBoundBlock3d above = cube(P(0, 0, 0));
    above.slice(VelGeomPlane(P(0, 0, -1), V::kZAxis));
    above.get(c, u, v, w);
    EXPECT_TRUE(c == P(0, 0, 0));
}

TEST(VelGeomBoundBlock2d, ContainExtendAndDisjoint)
{
    using P2 = VelGeomPoint2d;
    using V2 = VelGeomVector2d;
    const VelGeomBoundBlock2d sq(P2(0, 0), V2(1, 0), V2(0, 1));
    EXPECT_TRUE(sq.contains(P2(1, 1)));
    EXPECT_FALSE(sq.contains(P2(1.01, 0.5)));
    const VelGeomBoundBlock2d para(P2(0, 0), V2(2, 0), V2(1, 1));
    EXPECT_FALSE(para.contains(P2(0.2, 0.8)));
    EXPECT_TRUE(para.contains(P2(2.5, 0.5)));
    EXPECT_EQ(VelGeomBoundBlock2d(P2(0, 0), V2(1, 0), V2(3, 0)).dimension(), 1);

    EXPECT_FALSE(sq.isDisjoint(VelGeomBoundBlock2d(P2(1, 0), V2(1, 0), V2(0, 1))));
    EXPECT_TRUE(sq.isDisjoint(VelGeomBoundBlock2d(P2(1.5, 0), V2(1, 0), V2(0, 1))));
    // A diamond whose bounds overlap the square's but which lies beyond its corner.
    const VelGeomBoundBlock2d diamond(P2(1.6, 1.0), V2(0.5, 0.5), V2(-0.5, 0.5));
    EXPECT_TRUE(sq.isDisjoint(diamond));
    EXPECT_TRUE(diamond.isDisjoint(sq));
    VelGeomBoundBlock2d s1, s2, s3;
    s1.set(P2(0, 0), P2(2, 0));
    s2.set(P2(1, 0), P2(3, 0));
    s3.set(P2(2.5, 0), P2(3, 0));
    EXPECT_FALSE(s1.isDisjoint(s2));
    EXPECT_TRUE(s1.isDisjoint(s3));
    EXPECT_FALSE(sq.isDisjoint(s1));

    VelGeomBoundBlock2d b;
    b.extend(P2(2, 0));
    b.extend(P2(-1, 0));
    b.extend(P2(0, 3));
    b.extend(P2(4, -2));
    for (const P2& p : {P2(2, 0), P2(-1, 0), P2(0, 3), P2(4, -2)})
        EXPECT_TRUE(b.contains(p));
    b.swell(0.5);
    EXPECT_TRUE(b.contains(P2(4.3, -2.3)));
}

#include "geom/core/VelGeomBoundingBox2d.h"

TEST(VelGeomBoundingBox2d, StrictOverlapAndTolerantContainment)
{
    using P2 = VelGeomPoint2d;
    VelArray<P2> pts;
    pts.append(P2(1, 0));
    pts.append(P2(0, 1));
    pts.append(P2(0.5, 0.2));
    const VelGeomBoundingBox2d box(pts);
    EXPECT_EQ(box.minX(), 0.0);
    EXPECT_EQ(box.maxX(), 1.0);
    EXPECT_EQ(box.maxY(), 1.0);
    VelGeomBoundingBox2d same = box;
    same.update(VelArray<P2>());  // an empty array changes nothing
    EXPECT_EQ(same.maxX(), 1.0);
    const VelGeomBoundingBox2d right(1, 2, 0, 1);
    EXPECT_FALSE(box.intersectWith(right));  // touching is not intersecting
    EXPECT_TRUE(box.intersectWith(VelGeomBoundingBox2d(0.999, 2, 0, 1)));
    EXPECT_TRUE(box.contains(P2(1 + 0.5e-10, 0.5)));
    EXPECT_FALSE(box.contains(P2(1 + 2e-10, 0.5)));
    EXPECT_TRUE(box.contains(VelGeomBoundingBox2d(0.1, 0.9, 0.1, 0.9), 0.0));
    EXPECT_FALSE(box.contains(VelGeomBoundingBox2d(-0.1, 0.9, 0.1, 0.9), 0.05));
    EXPECT_TRUE(box.contains(VelGeomBoundingBox2d(-0.1, 0.9, 0.1, 0.9), 0.1));
    EXPECT_TRUE(box.insideY(1.0));
    EXPECT_FALSE(box.insideY(1.0 + 1e-15));
    VelGeomBoundingBox2d moved = box;
    moved.translateBy(VelGeomVector2d(2, -1));
    EXPECT_EQ(moved.minX(), 2.0);
    EXPECT_EQ(moved.maxY(), 0.0);
}
