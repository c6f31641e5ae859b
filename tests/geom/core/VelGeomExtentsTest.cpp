#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelGeomExtents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {
using P = VelGeomPoint3d;
using V = VelGeomVector3d;
const double kPi = std::acos(-1.0);
} // namespace

TEST(VelGeomExtents, GrowsPointByPoint)
{
    VelGeomExtents e;
    EXPECT_FALSE(e.isValid());
    EXPECT_EQ(e.minPoint().x, 1e20);
    EXPECT_EQ(e.maxPoint().z, -1e20);
    e.extend(P(1, 2, 3));
    EXPECT_TRUE(e.isValid());
    EXPECT_TRUE(e.minPoint() == P(1, 2, 3));
    EXPECT_TRUE(e.maxPoint() == P(1, 2, 3));
    e.extend(P(-1, 5, 3));
    EXPECT_TRUE(e.minPoint() == P(-1, 2, 3));
    EXPECT_TRUE(e.maxPoint() == P(1, 5, 3));
    EXPECT_EQ(e.count(), 2);
    VelGeomExtents f;
    f.extend(e);
    EXPECT_EQ(f.count(), 2);
    EXPECT_TRUE(f.maxPoint() == P(1, 5, 3));
    P c;
    e.getCenter(c);
    EXPECT_TRUE(c == P(0, 3.5, 3));
    P o;
    V u, v, w;
    e.get(o, u, v, w);
    EXPECT_TRUE(o == P(-1, 2, 3));
    EXPECT_TRUE(u == V(2, 0, 0));
    EXPECT_TRUE(v == V(0, 3, 0));
    EXPECT_TRUE(w == V(0, 0, 0));
    e.inflate(0.5);
    EXPECT_TRUE(e.minPoint() == P(-1.5, 1.5, 2.5));
    // set(origin, u, v, w) takes the origin and the far corner only.
    VelGeomExtents g;
    g.set(P(0, 0, 0), V(1, 0, 0), V(0, -2, 0), V(0, 0, 3));
    EXPECT_TRUE(g.minPoint() == P(0, -2, 0));
    EXPECT_TRUE(g.maxPoint() == P(1, 0, 3));
    EXPECT_EQ(g.count(), 2);
}

TEST(VelGeomExtents, InclusiveOverlapAndStrictSeparation)
{
    const VelGeomExtents a(P(0, 0, 0), P(1, 1, 1)), b(P(1, 0, 0), P(2, 1, 1)), c(P(1.5, 0, 0), P(2, 1, 1));
    EXPECT_FALSE(a.isDisjoint(b));
    EXPECT_TRUE(a.isInsideOrIntersecting(b));
    EXPECT_TRUE(a.isDisjoint(c));
    EXPECT_FALSE(a.isInsideOrIntersecting(c));
    EXPECT_TRUE(a.contains(P(1, 1, 1)));
    EXPECT_FALSE(a.contains(P(1, 1, 1 + 1e-12)));
    const VelGeomExtents above(P(0, 0, 1.01), P(1, 1, 2));
    EXPECT_TRUE(a.isDisjoint(above));
}

TEST(VelGeomExtents, ArcEdgesIncludeTheirExtremes)
{
    // Random arcs in random planes: the extents must equal the bounds of a
    // dense sampling of the arc (up to the sampling error) and contain it.
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> u(-1, 1), ang(0.2, 2 * kPi - 0.2), r(0.5, 5);
    for (int trial = 0; trial < 60; ++trial) {
        V n(u(rng), u(rng), u(rng));
        n.normalize();
        const V x = n.perpVector();
        const V y = n.crossProduct(x);
        const P c(u(rng) * 10, u(rng) * 10, u(rng) * 10);
        const double radius = r(rng), a0 = ang(rng), sweep = ang(rng);
        auto at = [&](double t) { return c + x * (radius * std::cos(t)) + y * (radius * std::sin(t)); };
        const P p1 = at(a0), p2 = at(a0 + sweep);
        VelGeomExtents e;
        e.extend(VelGeomVertexInfo(radius, c, n), p1, p2);
        P lo(1e300, 1e300, 1e300), hi(-1e300, -1e300, -1e300);
        for (int k = 0; k <= 4000; ++k) {
            const P p = at(a0 + sweep * k / 4000);
            lo.set(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi.set(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
        const double slack = radius * 1e-6 + 1e-9;
        EXPECT_NEAR(e.minPoint().x, lo.x, slack) << trial;
        EXPECT_NEAR(e.minPoint().y, lo.y, slack) << trial;
        EXPECT_NEAR(e.minPoint().z, lo.z, slack) << trial;
        EXPECT_NEAR(e.maxPoint().x, hi.x, slack) << trial;
        EXPECT_NEAR(e.maxPoint().y, hi.y, slack) << trial;
        EXPECT_NEAR(e.maxPoint().z, hi.z, slack) << trial;
    }
    // A closed edge is the full circle.
    VelGeomExtents full;
    full.extend(VelGeomVertexInfo(2.0, P(0, 0, 0), V::kZAxis), P(2, 0, 0), P(2, 0, 0));
    EXPECT_NEAR(full.minPoint().x, -2.0, 1e-12);
    EXPECT_NEAR(full.maxPoint().y, 2.0, 1e-12);
    EXPECT_NEAR(full.minPoint().y, -2.0, 1e-12);
    // A straight edge takes its two ends only.
    VelGeomExtents s;
    s.extend(VelGeomVertexInfo::kNone, P(0, 0, 0), P(3, 4, 0));
    EXPECT_EQ(s.count(), 2);
    EXPECT_TRUE(s.maxPoint() == P(3, 4, 0));
}

#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"

TEST(VelGeomExtents, OfCurves)
{
    VelGeomExtents e;
    e.extend(P(1, 1, 1));
    VelGeomLine3d(P(0, 0, 0), V(1, 0, 0)).getExtents(e);
    EXPECT_FALSE(e.isValid());  // unbounded curves give an empty record
    VelGeomLineSeg3d seg(P(3, 0, 1), P(-1, 2, 1));
    seg.getExtents(e);
    EXPECT_TRUE(e.minPoint() == P(-1, 0, 1));
    EXPECT_TRUE(e.maxPoint() == P(3, 2, 1));
    // A quarter arc from (2,0,0) to (0,2,0) about z: no axis extreme inside,
    // the half arc to (-2,0,0) passes y = 2.
    const VelGeomCircArc3d quarter(P(0, 0, 0), V::kZAxis, 2.0, P(2, 0, 0), P(0, 2, 0));
    quarter.getExtents(e);
    EXPECT_NEAR(e.maxPoint().x, 2.0, 1e-12);
    EXPECT_NEAR(e.maxPoint().y, 2.0, 1e-12);
    EXPECT_NEAR(e.minPoint().x, 0.0, 1e-12);
    const VelGeomCircArc3d half(P(0, 0, 0), V::kZAxis, 2.0, P(2, 0, 0), P(-2, 0, 0));
    half.getExtents(e);
    EXPECT_NEAR(e.maxPoint().y, 2.0, 1e-12);
    EXPECT_NEAR(e.minPoint().y, 0.0, 1e-12);
    const VelGeomCircArc3d circle(P(5, 5, 5), V(1, 1, 0), 1.0);
    circle.getExtents(e);
    EXPECT_NEAR(e.maxPoint().z, 6.0, 1e-12);
    EXPECT_NEAR(e.maxPoint().x, 5 + std::sqrt(0.5), 1e-12);
    // A composite: the union of its members; an empty record adds nothing.
    VelArray<VelGeomCurve3d*> members;
    members.append(new VelGeomLineSeg3d(P(2, 0, 0), P(2, -3, 0)));
    members.append(new VelGeomCircArc3d(P(0, -3, 0), V::kZAxis, 2.0, P(2, -3, 0), P(-2, -3, 0)));
    VelArray<int> owned;
    owned.append(1);
    owned.append(1);
    VelGeomCompositeCurve3d chain(members, owned);
    VelGeomExtents c;
    chain.getExtents(c);
    ASSERT_TRUE(c.isValid());
    EXPECT_NEAR(c.minPoint().y, -3.0, 1e-12);
    EXPECT_NEAR(c.maxPoint().y, 0.0, 1e-12);  // the arc's top (y = -1) lies below the segment's end
    EXPECT_NEAR(c.minPoint().x, -2.0, 1e-12);
    VelGeomExtents grown = c;
    grown.extend(VelGeomExtents());
    EXPECT_TRUE(grown.minPoint() == c.minPoint());
    EXPECT_TRUE(grown.maxPoint() == c.maxPoint());
}
