// VelGeomBase constants and comparators, and the VelGeom helpers.
#include <cmath>  // before the library header: its INFINITY macro must not break it

#include "geom/core/VelGeom.h"
#include "geom/core/VelGeomBase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

TEST(VelGeomBase, Constants)
{
    EXPECT_EQ(VelGeomBase::PI, std::acos(-1.0));
    EXPECT_EQ(VelGeomBase::PIDIV180, std::acos(-1.0) / 180.0);
    EXPECT_EQ(VelGeomBase::PIDIV180, 0.017453292519943295);
    EXPECT_EQ(VelGeomBase::INFINITY, 1e35);
    EXPECT_TRUE(std::isfinite(VelGeomBase::INFINITY));
    EXPECT_EQ(VelGeom::gradToRad(180.0), VelGeomBase::PI);
    const VelGeomVector2d v = VelGeom::gradToVector2d(90.0);
    EXPECT_NEAR(v.x, 0.0, 1e-16);
    EXPECT_EQ(v.y, 1.0);
}

TEST(VelGeomBase, ComparatorsSortAlongTheDirectionGlobals)
{
    VelArray<VelGeomPoint3d> pts;
    pts.append(VelGeomPoint3d(0, 3, 0));
    pts.append(VelGeomPoint3d(5, 1, 0));
    pts.append(VelGeomPoint3d(-2, 2, 9));
    VelGeomBase::vPtsSortDir.set(0, -1, 0);
    pts.sort(VelGeomBase::sortPointsByDir);
    EXPECT_EQ(pts[0].y, 3.0);
    EXPECT_EQ(pts[1].y, 2.0);
    EXPECT_EQ(pts[2].y, 1.0);
    const VelGeomPoint3d a(1, 0, 0), b(1, 5, 5);
    VelGeomBase::vPtsSortDir.set(1, 0, 0);
    EXPECT_EQ(VelGeomBase::sortPointsByDir(&a, &b), 0);
    VelGeomBase::vPtsSortDir.set(0, 0, 0);

    VelArray<VelGeomPoint2d> p2;
    p2.append(VelGeomPoint2d(1, 1));
    p2.append(VelGeomPoint2d(-1, 2));
    VelGeomBase::vPtsSortDir2d.set(1, 0);
    p2.sort(VelGeomBase::sortPointsByDir2d);
    EXPECT_EQ(p2[0].x, -1.0);
    VelGeomBase::vPtsSortDir2d.set(0, 0);
}

TEST(VelGeom, OrthogonalWithinPointZeroNineDegrees)
{
    using V = VelGeomVector3d;
    EXPECT_TRUE(VelGeom::orthogonal(V(1, 0, 0), V(0, 1, 0)));
    EXPECT_TRUE(VelGeom::orthogonal(V(1, 0, 0), V(-1, 0, 0)));
    EXPECT_FALSE(VelGeom::orthogonal(V(1, 0, 0), V(1, 1, 0)));
    EXPECT_TRUE(VelGeom::orthogonal(V(0, 0, 0), V(1, 1, 0)));  // zero counts as perpendicular
    const double deg = VelGeomBase::PI / 180.0;
    auto dir = [](double a) { return V(std::cos(a), std::sin(a), 0); };
    EXPECT_TRUE(VelGeom::orthogonal(V(1, 0, 0), dir(0.08 * deg)));
    EXPECT_FALSE(VelGeom::orthogonal(V(1, 0, 0), dir(0.1 * deg)));
    EXPECT_TRUE(VelGeom::orthogonal(V(1, 0, 0), dir((90 - 0.08) * deg)));
    EXPECT_FALSE(VelGeom::orthogonal(V(1, 0, 0), dir((90 - 0.1) * deg)));
    EXPECT_TRUE(VelGeom::orthogonal(V(1, 0, 0), dir((180 - 0.08) * deg)));
}

TEST(VelGeom, SortPointsInDirectionIsStable)
{
    VelArray<VelGeomPoint3d> pts;
    // Equal projections onto (0,0,2) must keep their order (x tells them apart).
    const double zs[] = {3, 1, 2, 1, 3, 0, 1};
    for (int i = 0; i < 7; ++i)
        pts.append(VelGeomPoint3d(i, 0, zs[i]));
    VelGeom::sortPointsInDirection(VelGeomVector3d(0, 0, 2), pts);
    const double expectX[] = {5, 1, 3, 6, 2, 0, 4};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(pts[i].x, expectX[i]) << i;

    // Against a brute-force bubble sort on random data with many ties.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-3, 3);
    VelArray<VelGeomPoint3d> random;
    for (int i = 0; i < 200; ++i)
        random.append(VelGeomPoint3d(coord(rng), coord(rng), i));
    std::vector<VelGeomPoint3d> bubble(random.asArrayPtr(), random.asArrayPtr() + random.length());
    VelGeomVector3d dir(1, -1, 0);
    VelGeomVector3d unit = dir;
    unit.normalize();
    for (size_t i = 1; i < bubble.size(); ++i)
        for (size_t j = bubble.size() - 1; j >= i; --j)
            if (unit.dotProduct(bubble[j].asVector()) < unit.dotProduct(bubble[j - 1].asVector()))
                std::swap(bubble[j], bubble[j - 1]);
    VelGeom::sortPointsInDirection(dir, random);
    for (int i = 0; i < random.length(); ++i)
        EXPECT_EQ(random[i].z, bubble[static_cast<size_t>(i)].z) << i;
}

TEST(VelGeom, RemoveEqualIsGreedyAndInclusive)
{
    auto line = [] {
        VelArray<VelGeomPoint3d> p;
        p.append(VelGeomPoint3d(0, 0, 0));
        p.append(VelGeomPoint3d(0.5, 0, 0));
        p.append(VelGeomPoint3d(1.0, 0, 0));
        return p;
    };
    VelArray<VelGeomPoint3d> a = line();
    VelGeom::removeEqual(a, 0.6);
    ASSERT_EQ(a.length(), 2);
    EXPECT_EQ(a[0].x, 0.0);
    EXPECT_EQ(a[1].x, 1.0);
    VelArray<VelGeomPoint3d> b = line();
    VelGeom::removeEqual(b, 0.5);  // 0.5 lies within the inclusive bound
    ASSERT_EQ(b.length(), 2);
    EXPECT_EQ(b[1].x, 1.0);
    VelArray<VelGeomPoint3d> c = line();
    VelGeom::removeEqual(c, 0.49);
    EXPECT_EQ(c.length(), 3);
    VelArray<VelGeomPoint3d> empty;
    VelGeom::removeEqual(empty, 1.0);
    EXPECT_TRUE(empty.isEmpty());
    // The result replaces the input by assignment: grow step 8.
    EXPECT_EQ(a.growLength(), 8);
    EXPECT_EQ(a.physicalLength(), 8);

    // Exact duplicates only with a zero tolerance.
    VelArray<VelGeomPoint2d> d;
    d.append(VelGeomPoint2d(1, 1));
    d.append(VelGeomPoint2d(1, 1));
    d.append(VelGeomPoint2d(1, 1 + 1e-12));
    VelGeom::removeEqual(d, 0.0);
    EXPECT_EQ(d.length(), 2);
}

TEST(VelGeom, RemoveEqualMatchesAPairwiseWalkOnRandomClouds)
{
    std::mt19937 rng(11);
    for (double tol : {0.05, 0.3, 1.0}) {
        std::uniform_real_distribution<double> u(-3, 3);
        VelArray<VelGeomPoint3d> p3;
        VelArray<VelGeomPoint2d> p2;
        for (int i = 0; i < 600; ++i) {
            p3.append(VelGeomPoint3d(u(rng), u(rng), u(rng) * 0.2));
            p2.append(VelGeomPoint2d(u(rng), u(rng)));
        }
        // The plain walk: a point survives when no earlier survivor is within tol.
        std::vector<VelGeomPoint3d> want3;
        for (int i = 0; i < p3.length(); ++i) {
            bool keep = true;
            for (const auto& s : want3)
                keep = keep && !((s - p3[i]).length() <= tol);
            if (keep)
                want3.push_back(p3[i]);
        }
        std::vector<VelGeomPoint2d> want2;
        for (int i = 0; i < p2.length(); ++i) {
            bool keep = true;
            for (const auto& s : want2)
                keep = keep && !((s - p2[i]).length() <= tol);
            if (keep)
                want2.push_back(p2[i]);
        }
        VelGeom::removeEqual(p3, tol);
        VelGeom::removeEqual(p2, tol);
        ASSERT_EQ(p3.length(), static_cast<int>(want3.size())) << tol;
        ASSERT_EQ(p2.length(), static_cast<int>(want2.size())) << tol;
        for (int i = 0; i < p3.length(); ++i)
            EXPECT_EQ(p3[i].x, want3[static_cast<size_t>(i)].x);
        for (int i = 0; i < p2.length(); ++i)
            EXPECT_EQ(p2[i].y, want2[static_cast<size_t>(i)].y);
    }
}

TEST(VelGeom, PolygonNormalClosesTheRingAndFollowsTheRightHandRule)
{
    VelArray<VelGeomPoint3d> sq;
    sq.append(VelGeomPoint3d(0, 0, 0));
    sq.append(VelGeomPoint3d(10, 0, 0));
    sq.append(VelGeomPoint3d(10, 10, 0));
    sq.append(VelGeomPoint3d(0, 10, 0));
    const VelGeomVector3d n = VelGeom::polygonNormal(sq);
    EXPECT_EQ(n.x, 0.0);
    EXPECT_EQ(n.y, 0.0);
    EXPECT_EQ(n.z, 1.0);
    ASSERT_EQ(sq.length(), 5);
    EXPECT_TRUE(sq.last() == sq.first());
    // Already closed: no further point is added; reversed order flips the normal.
    sq.reverse();
    const VelGeomVector3d r = VelGeom::polygonNormal(sq);
    EXPECT_EQ(sq.length(), 5);
    EXPECT_EQ(r.z, -1.0);
}

TEST(VelGeom, PolygonNormalOfConcaveAndSmallRings)
{
    // An L-shape in the plane x = 2, clockwise seen from +x: normal -x.
    // The first long edge sees vertices on both sides, so the fallback runs.
    VelArray<VelGeomPoint3d> l;
    const double yz[][2] = {{0, 0}, {0, 4}, {2, 4}, {2, 2}, {4, 2}, {4, 0}};
    for (auto& c : yz)
        l.append(VelGeomPoint3d(2, c[0], c[1]));
    const VelGeomVector3d n = VelGeom::polygonNormal(l);
    EXPECT_NEAR(n.x, -1.0, 1e-12);
    EXPECT_NEAR(n.y, 0.0, 1e-12);
    EXPECT_NEAR(n.z, 0.0, 1e-12);

    // Every edge shorter than one unit (in |x|+|y|+|z|): straight to the fallback.
    VelArray<VelGeomPoint3d> small;
    small.append(VelGeomPoint3d(0, 0, 0));
    small.append(VelGeomPoint3d(0.3, 0, 0));
    small.append(VelGeomPoint3d(0.3, 0.3, 0));
    const VelGeomVector3d s = VelGeom::polygonNormal(small);
    EXPECT_NEAR(s.z, 1.0, 1e-12);

    // All points equal: the zero vector comes back.
    VelArray<VelGeomPoint3d> same;
    for (int i = 0; i < 4; ++i)
        same.append(VelGeomPoint3d(1, 1, 1));
    const VelGeomVector3d z = VelGeom::polygonNormal(same);
    EXPECT_EQ(z.length(), 0.0);
}

TEST(VelGeom, ConcaveFallbackEqualsTheDoubleSumOfCrossProducts)
{
    // Random star-shaped, non-convex ring tilted in space, far from the origin.
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> rad(2, 10);
    VelArray<VelGeomPoint3d> ring;
    const int m = 40;
    for (int k = 0; k < m; ++k) {
        const double a = 2 * VelGeomBase::PI * k / m, r = rad(rng);
        const double u = r * std::cos(a), v = r * std::sin(a);
        ring.append(VelGeomPoint3d(1000 + u, 2000 + 0.6 * v, -500 + 0.8 * v));
    }
    ring.append(ring[0]);
    VelGeomVector3d brute(0, 0, 0);
    const int n = ring.length();
    for (int i = 0; i <= n - 3; ++i)
        for (int j = 0; j <= n - 2; ++j)
            if (j != i && j != i + 1)
                brute += (ring[i + 1] - ring[i]).crossProduct(ring[j] - ring[i]);
    brute.normalize();
    const VelGeomVector3d n1 = VelGeom::polygonNormal(ring);
    EXPECT_NEAR(n1.x, brute.x, 1e-9);
    EXPECT_NEAR(n1.y, brute.y, 1e-9);
    EXPECT_NEAR(n1.z, brute.z, 1e-9);
    // The plane of the ring has normal (0, -0.8, 0.6).
    EXPECT_NEAR(n1.y, -0.8, 1e-9);
    EXPECT_NEAR(n1.z, 0.6, 1e-9);
}
