#include "geom/curves/VelGeomCurve2d.h"
#include "geom/curves/VelGeomCurve3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg2d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <gtest/gtest.h>

namespace {

using P = VelGeomPoint3d;
using V = VelGeomVector3d;

// A segment whose parameter range is declared as [2, 6], to see the base
// sampling use the range it is given.
class ShiftedRange : public VelGeomLineSeg3d
{
public:
    ShiftedRange() : VelGeomLineSeg3d(P(0, 0, 0), P(1, 0, 0)) {}
    bool hasStartParam(double& t) const override
    {
        t = 2.0;
        return true;
    }
    bool hasEndParam(double& t) const override
    {
        t = 6.0;
        return true;
    }
};

// Reports its own destruction, to see deleteCurve reach the derived class.
class Watched : public VelGeomLine3d
{
public:
    explicit Watched(bool& gone) : m_gone(gone) {}
    ~Watched() override { m_gone = true; }

private:
    bool& m_gone;
};

}  // namespace

TEST(VelGeomCurve3d, SamplePointsOverTheParameterRange)
{
    const ShiftedRange c;
    VelArray<P> pts;
    c.getSamplePoints(1, pts);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], c.evalPoint(4.0));
    c.getSamplePoints(3, pts);
    ASSERT_EQ(pts.length(), 3);
    EXPECT_EQ(pts[0], c.evalPoint(2.0));
    EXPECT_EQ(pts[1], c.evalPoint(4.0));
    EXPECT_EQ(pts[2], c.evalPoint(6.0));
    c.getSamplePoints(0, pts);
    EXPECT_EQ(pts.length(), 0);
    pts.append(P(1, 1, 1));
    c.getSamplePoints(-2, pts);
    EXPECT_EQ(pts.length(), 0);
    // An unbounded curve has no samples.
    pts.append(P(1, 1, 1));
    VelGeomLine3d().getSamplePoints(5, pts);
    EXPECT_EQ(pts.length(), 0);
    VelGeomRay3d().getSamplePoints(5, pts);
    EXPECT_EQ(pts.length(), 0);
    VelGeomLineSeg3d(P(0, 0, 0), P(4, 0, 0)).getSamplePoints(5, pts);
    ASSERT_EQ(pts.length(), 5);
    EXPECT_EQ(pts[3], P(3, 0, 0));

    VelArray<VelGeomPoint2d> pts2;
    VelGeomLineSeg2d(VelGeomPoint2d(0, 0), VelGeomPoint2d(0, 2)).getSamplePoints(3, pts2);
    ASSERT_EQ(pts2.length(), 3);
    EXPECT_EQ(pts2[1], VelGeomPoint2d(0, 1));
}

TEST(VelGeomCurve3d, DeleteCurveRunsTheDerivedDestructor)
{
    VelGeomCurve3d* none = nullptr;
    VelGeomCurve3d::deleteCurve(none);
    EXPECT_EQ(none, nullptr);
    bool gone = false;
    VelGeomCurve3d* c = new Watched(gone);
    VelGeomCurve3d::deleteCurve(c);
    EXPECT_EQ(c, nullptr);
    EXPECT_TRUE(gone);
}

TEST(VelGeomCurve3d, ExtendedIntersectionReportsWhereThePointsLie)
{
    const VelGeomLineSeg3d a(P(0, 0, 0), P(1, 0, 0));
    const VelGeomLineSeg3d b(P(2, 1, 0), P(2, 2, 0));
    VelArray<P> pts;
    VelArray<VelGeomCurve3d::intersectionLocation> where;
    EXPECT_TRUE(a.intersectWith(b, true, pts, &where));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(2, 0, 0));
    ASSERT_EQ(where.length(), 1);
    EXPECT_EQ(where[0], VelGeomCurve3d::kOnNeither);
    EXPECT_FALSE(a.intersectWith(b, false, pts, nullptr));
    EXPECT_EQ(pts.length(), 0);

    // The locations are appended; this one and the other one in turn.
    const VelGeomLineSeg3d longer(P(0, 0, 0), P(3, 0, 0));
    EXPECT_TRUE(longer.intersectWith(b, true, pts, &where));
    ASSERT_EQ(where.length(), 2);
    EXPECT_EQ(where[1], VelGeomCurve3d::kOnThisOnly);
    EXPECT_TRUE(b.intersectWith(longer, true, pts, &where));
    ASSERT_EQ(where.length(), 3);
    EXPECT_EQ(where[2], VelGeomCurve3d::kOnOtherOnly);
    const VelGeomLineSeg3d through(P(2, -1, 0), P(2, 2, 0));
    EXPECT_TRUE(longer.intersectWith(through, true, pts, &where));
    EXPECT_EQ(where[3], VelGeomCurve3d::kOnBoth);

    // Without extension the list holds kOnBoth for every point found.
    where.setLogicalLength(0);
    where.append(VelGeomCurve3d::kOnNeither);
    where.append(VelGeomCurve3d::kOnNeither);
    EXPECT_TRUE(longer.intersectWith(through, false, pts, &where));
    ASSERT_EQ(where.length(), 1);
    EXPECT_EQ(where[0], VelGeomCurve3d::kOnBoth);
}

TEST(VelGeomCurve3d, BaseDefaults)
{
    const VelGeomLine3d line;
    EXPECT_EQ(line.getLength(), 0.0);
    EXPECT_EQ(line.getTanIntersections(P(1, 1, 1), 1).length(), 0);
    VelGeomLine3d cutMe;
    EXPECT_EQ(cutMe.cutAt(VelGeomPlane::kYZPlane, 0, 1, VelGeomTol::gTol), 0);
    EXPECT_EQ(cutMe.pointOnLine(), P(0, 0, 0));
    // Distances through the closest points.
    const VelGeomLineSeg3d s(P(0, 0, 0), P(1, 0, 0));
    EXPECT_NEAR(s.distanceTo(VelGeomLineSeg3d(P(4, 4, 0), P(4, 0, 0))), 3.0, 1e-15);
    EXPECT_EQ(s.distanceTo(VelGeomLine3d(P(0.5, 0, -1), V(0, 0, 1))), 0.0);
    EXPECT_EQ(VelGeomLineSeg2d().distanceTo(VelGeomLineSeg2d(VelGeomPoint2d(3, 0), VelGeomPoint2d(5, 0))), 2.0);
}
