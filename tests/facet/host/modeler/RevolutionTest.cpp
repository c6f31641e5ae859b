#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

using namespace AModeler;
using namespace mtest;

namespace {

const double kPi = 3.14159265358979323846;

double ngonFactor(int n) { return 0.5 * n * std::sin(2 * kPi / n); }  // n-gon area per r^2

} // namespace

TEST(ModelerRevolution, FullTurnOfARectangleIsAFacetedTube)
{
    const int n = 24;
    const Point3d rect[4] = {Point3d(2, 0, 0), Point3d(3, 0, 0), Point3d(3, 0, 4), Point3d(2, 0, 4)};
    const Body b = Body::axisRevolution(rect, nullptr, 4, Vector3d(0, 1, 0), Line3d(Point3d(), Vector3d(0, 0, 1)),
                                        2 * kPi, n);
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), 2 * n + 2);  // two annuli, two walls of n facets
    EXPECT_NEAR(b.volume(), ngonFactor(n) * (9.0 - 4.0) * 4.0, 1e-9);
    int ringEdges = 0;
    for (Face* f : facesOf(b))
        for (Edge* e : loopOf(f))
            ringEdges += e->isOnCircle();
    EXPECT_EQ(ringEdges, 4 * n * 2);
}

TEST(ModelerRevolution, ProfileTouchingTheAxisGivesACylinder)
{
    const int n = 16;
    const Point3d rect[4] = {Point3d(0, 0, 0), Point3d(3, 0, 0), Point3d(3, 0, 4), Point3d(0, 0, 4)};
    const Body b = Body::axisRevolution(rect, nullptr, 4, Vector3d(0, -1, 0), Line3d(Point3d(), Vector3d(0, 0, 1)),
                                        7.0, n);
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), n + 2);
    EXPECT_EQ(b.vertexCount(), 2 * n);
    EXPECT_NEAR(b.volume(), ngonFactor(n) * 9.0 * 4.0, 1e-9);
}

TEST(ModelerRevolution, PartialTurnEndsWithTheProfileFaces)
{
    const int n = 16;  // a quarter turn gets 4 steps
    const Point3d rect[4] = {Point3d(2, 0, 0), Point3d(3, 0, 0), Point3d(3, 0, 4), Point3d(2, 0, 4)};
    const Body b = Body::axisRevolution(rect, nullptr, 4, Vector3d(0, 1, 0), Line3d(Point3d(), Vector3d(0, 0, 1)),
                                        kPi / 2, n);
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), 1 + 4 + 1 + 4 + 2);
    const double sector = 4 * 0.5 * (9.0 - 4.0) * std::sin(kPi / 8);
    EXPECT_NEAR(b.volume(), sector * 4.0, 1e-9);
    const std::vector<Face*> f = facesOf(b);
    EXPECT_NEAR(f[10]->plane().signedDistanceTo(Point3d(5, 0, 0)), 0.0, 1e-12);  // start face in the y = 0 plane
    EXPECT_NEAR(std::fabs(f[11]->plane().normal().x), 1.0, 1e-12);              // end face in the x = 0 plane
    EXPECT_NEAR(f[10]->area(), 4.0, 1e-12);
    // Negative angles turn the other way.
    const Body back = Body::axisRevolution(rect, nullptr, 4, Vector3d(0, 1, 0), Line3d(Point3d(), Vector3d(0, 0, 1)),
                                           -kPi / 2, n);
    ASSERT_TRUE(back.isValid(3));
    EXPECT_LT(back.interval().lower().y, -2.9);
    EXPECT_NEAR(back.volume(), b.volume(), 1e-9);
}

TEST(ModelerRevolution, EndpointRevolutionOfATriangleIsACone)
{
    const int n = 32;
    const Point3d tri[3] = {Point3d(0, 0, 0), Point3d(2, 0, 0), Point3d(0, 0, 3)};
    const Body b = Body::endpointRevolution(tri, nullptr, 3, Vector3d(0, 1, 0), 2 * kPi, n);
    ASSERT_TRUE(b.isValid(3));
    EXPECT_NEAR(b.volume(), ngonFactor(n) * 4.0 * 3.0 / 3.0, 1e-9);
}

TEST(ModelerRevolution, ArcProfileMatchesScaledPappus)
{
    // Half disc in the xz plane (arc through +x) revolved about z.
    const int n = 20, m = 16;
    const double r = 2.0;
    const Point3d pts[2] = {Point3d(0, 0, r), Point3d(0, 0, -r)};
    PolygonVertexData arc(PolygonVertexData::kArc, Circle3d(Point3d(), Vector3d(0, 1, 0), r), m);
    PolygonVertexData* vd[2] = {&arc, nullptr};
    const Body b = Body::axisRevolution(pts, vd, 2, Vector3d(0, 1, 0), Line3d(Point3d(), Vector3d(0, 0, 1)), 2 * kPi, n);
    ASSERT_TRUE(b.isValid(3));
    // The chord polygon of the half circle in (x, z): area and centroid.
    std::vector<double> xs, zs;
    for (int i = 0; i <= m / 2; ++i) {
        const double t = kPi / 2 - kPi * i / (m / 2);
        xs.push_back(r * std::cos(t));
        zs.push_back(r * std::sin(t));
    }
    double area = 0.0, cx = 0.0;
    for (size_t i = 0; i < xs.size(); ++i) {
        const size_t j = (i + 1) % xs.size();
        const double c = xs[i] * zs[j] - xs[j] * zs[i];
        area += c;
        cx += (xs[i] + xs[j]) * c;
    }
    cx /= 3.0 * area;
    area = std::fabs(area) * 0.5;
    cx = std::fabs(cx);
    const double pappus = 2 * kPi * cx * area;
    EXPECT_NEAR(b.volume(), pappus * ngonFactor(n) / kPi, 1e-9);
    int approx = 0;
    for (Face* f : facesOf(b))
        for (Edge* e : loopOf(f))
            approx += e->isApprox();
    EXPECT_GT(approx, 0);
}

TEST(ModelerRevolution, RefusesAxesThatCrossOrLeaveThePlane)
{
    const Point3d rect[4] = {Point3d(-1, 0, 0), Point3d(3, 0, 0), Point3d(3, 0, 4), Point3d(-1, 0, 4)};
    EXPECT_THROW(Body::axisRevolution(rect, nullptr, 4, Vector3d(0, 1, 0), Line3d(Point3d(), Vector3d(0, 0, 1)), 1.0, 8),
                 ErrorCode);
    const Point3d ok[4] = {Point3d(1, 0, 0), Point3d(3, 0, 0), Point3d(3, 0, 4), Point3d(1, 0, 4)};
    EXPECT_THROW(Body::axisRevolution(ok, nullptr, 4, Vector3d(0, 1, 0), Line3d(Point3d(0, 1, 0), Vector3d(0, 0, 1)), 1.0, 8),
                 ErrorCode);
    EXPECT_THROW(Body::axisRevolution(ok, nullptr, 4, Vector3d(0, 1, 0), Line3d(Point3d(), Vector3d(0, 0, 1)), 0.0, 8),
                 ErrorCode);
}
