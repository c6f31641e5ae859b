#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

using namespace AModeler;

namespace {
const double kPi = 3.14159265358979323846;
}

TEST(ModelerValues, TransformsComposeInvertAndConvertFromRows)
{
    const Transf3d r = Transf3d::rotation(kPi / 2, Vector3d(0, 0, 1), Point3d(1, 0, 0));
    EXPECT_TRUE(r.apply(Point3d(2, 0, 0)).isEqual(Point3d(1, 1, 0), 1e-12));
    EXPECT_TRUE(r.apply(Vector3d(1, 0, 0)).isEqual(Vector3d(0, 1, 0), 1e-12));
    const Transf3d t = Transf3d::translation(Vector3d(0, 0, 5));
    EXPECT_TRUE((t * r).apply(Point3d(2, 0, 0)).isEqual(Point3d(1, 1, 5), 1e-12));  // r first
    Transf3d inv = t * r;
    ASSERT_TRUE(inv.invert());
    EXPECT_TRUE(inv.apply(Point3d(1, 1, 5)).isEqual(Point3d(2, 0, 0), 1e-12));
    double rows[16];
    (t * r).toRowMajor(rows);
    EXPECT_DOUBLE_EQ(rows[3], 1.0);   // translation in the last column
    EXPECT_DOUBLE_EQ(rows[11], 5.0);
    const Transf3d back = Transf3d::fromRowMajor(rows);
    EXPECT_TRUE(back.apply(Point3d(2, 0, 0)).isEqual(Point3d(1, 1, 5), 1e-12));
    double scale = 0.0;
    EXPECT_TRUE((Transf3d::scaling(2.5) * r).isSimilarity(scale));
    EXPECT_DOUBLE_EQ(scale, 2.5);
    EXPECT_LT(Transf3d::mirroring(Point3d(), Vector3d(0, 1, 0)).determinant3(), 0.0);
    double shear[4][4] = {{1, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    EXPECT_FALSE(Transf3d(shear).isSimilarity(scale));
    double singular[4][4] = {{1, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    Transf3d s(singular);
    EXPECT_FALSE(s.invert());
    EXPECT_DOUBLE_EQ(s(1, 0), 2.0);  // unchanged
}

TEST(ModelerValues, CircleTessellationFollowsTheFacetRule)
{
    const Circle3d c(Point3d(1, 1, 0), Vector3d(0, 0, 2), 2.0);
    EXPECT_TRUE(c.normal().isEqual(Vector3d(0, 0, 1), 0));
    const std::vector<Point3d> full = c.tessellate(7);
    ASSERT_EQ(full.size(), 7u);
    for (const Point3d& p : full)
        EXPECT_NEAR(p.distanceTo(c.center()), 2.0, 1e-12);
    std::vector<Point3d> quarter;
    EXPECT_EQ(c.tessellate(Point3d(3, 1, 0), Point3d(1, 3, 0), 16, quarter), 4);
    ASSERT_EQ(quarter.size(), 5u);
    EXPECT_TRUE(quarter[2].isEqual(Point3d(1 + std::sqrt(2.0), 1 + std::sqrt(2.0), 0), 1e-12));
    // Counterclockwise about the axis: the long way from (1,3) to (3,1).
    std::vector<Point3d> threeQuarters;
    EXPECT_EQ(c.tessellate(Point3d(1, 3, 0), Point3d(3, 1, 0), 16, threeQuarters), 12);
    EXPECT_LT(threeQuarters[6].x, 0.0);
    std::vector<Point3d> round;
    EXPECT_EQ(c.tessellate(Point3d(3, 1, 0), Point3d(3, 1, 0), 16, round), 16);
    EXPECT_EQ(Circle3d::arcChordCount(kPi / 2 * 0.99985, 16), 4);  // within the rounding allowance
    EXPECT_EQ(Circle3d::arcChordCount(kPi / 2 * 0.99, 16), 3);
    EXPECT_EQ(Circle3d::arcChordCount(0.01, 16), 1);
    std::vector<Point3d> none;
    EXPECT_EQ(Circle3d().tessellate(Point3d(), Point3d(1, 0, 0), 16, none), 0);
    EXPECT_TRUE(none.empty());
}

TEST(ModelerValues, PlanesIntervalsAndVectors)
{
    const Plane p(Point3d(0, 0, 2), Vector3d(0, 0, 3));
    EXPECT_DOUBLE_EQ(p.signedDistanceTo(Point3d(5, 5, 5)), 3.0);
    EXPECT_DOUBLE_EQ((-p).signedDistanceTo(Point3d(5, 5, 5)), -3.0);
    EXPECT_TRUE(p.project(Point3d(1, 2, 9)).isEqual(Point3d(1, 2, 2), 0));
    EXPECT_FALSE(Plane(Point3d(), Point3d(1, 0, 0), Point3d(2, 0, 0)).isValid());
    Interval3d a(Point3d(1, 1, 1), Point3d(0, 0, 0));
    EXPECT_DOUBLE_EQ(a.volume(), 1.0);
    const Interval3d u = a + Interval3d(Point3d(2, 2, 2), Point3d(3, 3, 3));
    EXPECT_DOUBLE_EQ(u.volume(), 27.0);
    EXPECT_TRUE(u.contains(Point3d(1.5, 1.5, 1.5)));
    EXPECT_FALSE(a.contains(Point3d(1.5, 0.5, 0.5)));
    EXPECT_TRUE(a.contains(Point3d(1.5, 0.5, 0.5), 0.5));
    EXPECT_TRUE(Interval3d().isEmpty());
    EXPECT_TRUE(a.enlarge(-0.6).isEmpty());
    const Vector3d z(0, 0, 1);
    EXPECT_NEAR(Vector3d(1, 0, 0).angleTo(Vector3d(0, -1, 0), z), 1.5 * kPi, 1e-12);
    for (const Vector3d& v : {Vector3d(1, 0, 0), Vector3d(0, 0, -3), Vector3d(1, 2, 3)}) {
        const Vector3d q = v.perpendicular();
        EXPECT_NEAR(q.length(), 1.0, 1e-12);
        EXPECT_NEAR(q.dot(v), 0.0, 1e-12);
    }
    EXPECT_TRUE(Vector3d().perpendicular().isNull());
    EXPECT_STREQ(errorCodeText(eBadStream), "bad persistent stream");
}
