#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

using namespace AModeler;
using namespace mtest;

namespace {

const double kPi = 3.14159265358979323846;
const std::vector<int> kNone;

// A square profile face of side s centred on c in the plane with normal n.
Body squareProfile(const Point3d& c, const Vector3d& n, double s)
{
    const Vector3d u = n.perpendicular() * (s / 2), v = n.normalized().cross(n.perpendicular()) * (s / 2);
    const Point3d pts[4] = {c - u - v, c + u - v, c + u + v, c - u + v};
    Body b;
    new Face(pts, nullptr, 4, n, 0, false, &b);
    return b;
}

Body sweep(const Body& profile, const std::vector<Point3d>& path, bool closed,
           const std::vector<PolygonVertexData*>& vd = {}, const Body& end = Body())
{
    return Body::extrusionAlongPath(profile, end, path.data(), vd.empty() ? nullptr : vd.data(),
                                    static_cast<int>(path.size()), closed, true, Point3d::kNull, 1.0, 0.0,
                                    MorphingMap::kNull, false, kNone, kNone);
}

} // namespace

TEST(ModelerSweep, StraightPathEqualsAnExtrusionWithEndFacesFirst)
{
    const Body prof = squareProfile(Point3d(), Vector3d(1, 0, 0), 2.0);
    const Body b = sweep(prof, {Point3d(), Point3d(5, 0, 0)}, false);
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), 6);
    EXPECT_NEAR(b.volume(), 20.0, 1e-12);
    const std::vector<Face*> f = facesOf(b);
    EXPECT_TRUE(f[0]->plane().normal().isEqual(Vector3d(-1, 0, 0), 1e-12));
    EXPECT_TRUE(f[1]->plane().normal().isEqual(Vector3d(1, 0, 0), 1e-12));
    EXPECT_NEAR(f[1]->plane().signedDistanceTo(Point3d(5, 0, 0)), 0.0, 1e-12);
    // The release-15 form without the index lists builds the same body.
    const Point3d path[2] = {Point3d(), Point3d(5, 0, 0)};
    const Body c = Body::extrusionAlongPath(prof, Body(), path, nullptr, 2, false, true, Point3d::kNull, 1.0, 0.0,
                                            MorphingMap::kNull, false);
    EXPECT_EQ(c.faceCount(), 6);
    EXPECT_NEAR(c.volume(), 20.0, 1e-12);
}

TEST(ModelerSweep, MitredPathsKeepAreaTimesCentreLineLength)
{
    const Body prof = squareProfile(Point3d(), Vector3d(1, 0, 0), 2.0);
    const Body l = sweep(prof, {Point3d(), Point3d(10, 0, 0), Point3d(10, 10, 0), Point3d(10, 10, 7)}, false);
    ASSERT_TRUE(l.isValid(3));
    EXPECT_EQ(l.faceCount(), 2 + 3 * 4);
    EXPECT_NEAR(l.volume(), 4.0 * 27.0, 1e-9);
    // The end face is perpendicular to the last segment.
    EXPECT_NEAR(std::fabs(facesOf(l)[1]->plane().normal().z), 1.0, 1e-12);

    const Body ring = sweep(prof, {Point3d(), Point3d(10, 0, 0), Point3d(10, 10, 0), Point3d(0, 10, 0)}, true);
    ASSERT_TRUE(ring.isValid(3));
    EXPECT_EQ(ring.faceCount(), 16);  // no end faces
    EXPECT_NEAR(ring.volume(), 4.0 * 40.0, 1e-9);
    EXPECT_EQ(ring.vertexCount() - ring.edgeCount() / 2 + ring.faceCount(), 0);  // a torus

    // A repeated closing point means the same ring.
    const Body again = sweep(prof, {Point3d(), Point3d(10, 0, 0), Point3d(10, 10, 0), Point3d(0, 10, 0), Point3d()},
                             true);
    EXPECT_EQ(again.faceCount(), 16);
    EXPECT_NEAR(again.volume(), ring.volume(), 1e-9);
}

TEST(ModelerSweep, ArcSegmentsAreFacetedWithSmoothJoints)
{
    const Body prof = squareProfile(Point3d(), Vector3d(1, 0, 0), 2.0);
    PolygonVertexData arc(PolygonVertexData::kArc, Circle3d(Point3d(10, 10, 0), Vector3d(0, 0, 1), 10.0), 16);
    const Body b = sweep(prof, {Point3d(), Point3d(10, 0, 0), Point3d(20, 10, 0)}, false, {nullptr, &arc, nullptr});
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), 2 + 5 * 4);  // one straight segment and four chords
    // Sections inside the arc lie in planes through its axis: each chord's
    // piece is an oblique prism of volume A * R * sin(step).
    EXPECT_NEAR(b.volume(), 4.0 * (10.0 + 4 * 10.0 * std::sin(kPi / 8)), 1e-9);

    int approx = 0;
    for (Face* f : facesOf(b))
        for (Edge* e : loopOf(f))
            approx += e->isApprox();
    EXPECT_EQ(approx, 3 * 4 * 2);  // three inner arc joints, four section edges each
    // The far end face sits at the arc's end, facing along its tangent.
    EXPECT_NEAR(facesOf(b)[1]->plane().signedDistanceTo(Point3d(20, 10, 0)), 0.0, 1e-9);
    EXPECT_NEAR(facesOf(b)[1]->plane().normal().y, 1.0, 1e-9);
}

TEST(ModelerSweep, ProfileWithAHoleAndBlendsIntoAnEndProfile)
{
    // Outer square 4x4 with a 2x2 hole, joined by a bridge.
    Body prof;
    const Point3d outer[4] = {Point3d(0, -2, -2), Point3d(0, 2, -2), Point3d(0, 2, 2), Point3d(0, -2, 2)};
    const Point3d inner[4] = {Point3d(0, -1, -1), Point3d(0, -1, 1), Point3d(0, 1, 1), Point3d(0, 1, -1)};
    Face* face = new Face(outer, nullptr, 4, Vector3d(1, 0, 0), 0, false, &prof);
    Face* hole = new Face(inner, nullptr, 4, Vector3d(-1, 0, 0), 0, false, &prof);
    face->mergeLoop(face->edgeLoop(), hole->edgeLoop());
    hole->setFlagOn(1024);
    prof.deleteMarkedFaces(1024);
    ASSERT_EQ(prof.faceCount(), 1);
    EXPECT_NEAR(face->area(), 12.0, 1e-12);
    const Body b = sweep(prof, {Point3d(), Point3d(3, 0, 0), Point3d(3, 3, 0)}, false);
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), 2 + 2 * 8);
    EXPECT_NEAR(b.volume(), 12.0 * 6.0, 1e-9);

    // Blend a 2x2 square into a 1x1 one along a straight path: a frustum.
    const Body small = squareProfile(Point3d(), Vector3d(0, 0, 1), 2.0);
    const Body tiny = squareProfile(Point3d(0, 0, 3), Vector3d(0, 0, 1), 1.0);
    const Body fr = sweep(small, {Point3d(), Point3d(0, 0, 3)}, false, {}, tiny);
    ASSERT_TRUE(fr.isValid(3));
    EXPECT_NEAR(fr.volume(), 3.0 / 3.0 * (4.0 + 1.0 + 2.0), 1e-9);
}

TEST(ModelerSweep, MorphingMapPairsDifferentVertexCounts)
{
    const Body square = squareProfile(Point3d(), Vector3d(0, 0, 1), 2.0);
    Body tri;
    const Point3d t[3] = {Point3d(-1, -1, 2), Point3d(1, -1, 2), Point3d(0, 1, 2)};
    new Face(t, nullptr, 3, Vector3d(0, 0, 1), 0, false, &tri);
    MorphingMap map;
    map.add(0, 0);
    map.add(1, 1);
    map.add(2, 2);
    map.add(3, 2);
    const Point3d path[2] = {Point3d(), Point3d(0, 0, 2)};
    const Body b = Body::extrusionAlongPath(square, tri, path, nullptr, 2, false, true, Point3d::kNull, 1.0, 0.0, map,
                                            false, kNone, kNone);
    ASSERT_TRUE(b.isValid(3));
    EXPECT_GE(b.faceCount(), 6);
    EXPECT_GT(b.volume(), 0.0);
    MorphingMap skipping;
    skipping.add(0, 0);
    skipping.add(2, 1);
    EXPECT_THROW(Body::extrusionAlongPath(square, tri, path, nullptr, 2, false, true, Point3d::kNull, 1.0, 0.0,
                                          skipping, false, kNone, kNone),
                 ErrorCode);
}

TEST(ModelerSweep, SmoothFlagsAndScaling)
{
    const Body prof = squareProfile(Point3d(), Vector3d(1, 0, 0), 2.0);
    const std::vector<Point3d> path{Point3d(), Point3d(5, 0, 0), Point3d(10, 1, 0), Point3d(15, 3, 0)};
    auto approxCount = [](const Body& b) {
        int n = 0;
        for (Face* f : facesOf(b))
            for (Edge* e : loopOf(f))
                n += e->isApprox();
        return n;
    };
    const Body plain = sweep(prof, path, false);
    EXPECT_EQ(approxCount(plain), 0);
    const Body all = Body::extrusionAlongPath(prof, Body(), path.data(), nullptr, 4, false, true, Point3d::kNull, 1.0,
                                              0.0, MorphingMap::kNull, true, kNone, kNone);
    EXPECT_EQ(approxCount(all), 2 * 4 * 2);
    const Body some = Body::extrusionAlongPath(prof, Body(), path.data(), nullptr, 4, false, true, Point3d::kNull, 1.0,
                                               0.0, MorphingMap::kNull, false, {2}, {0});
    EXPECT_EQ(approxCount(some), 4 * 2 + 3 * 2);

    const Point3d straight[2] = {Point3d(), Point3d(3, 0, 0)};
    const Body cone = Body::extrusionAlongPath(prof, Body(), straight, nullptr, 2, false, true, Point3d(), 0.5, 0.0,
                                               MorphingMap::kNull, false, kNone, kNone);
    ASSERT_TRUE(cone.isValid(3));
    EXPECT_NEAR(cone.volume(), 3.0 / 3.0 * (4.0 + 1.0 + 2.0), 1e-9);
}

TEST(ModelerSweep, RefusesBadInput)
{
    const Body prof = squareProfile(Point3d(), Vector3d(1, 0, 0), 2.0);
    EXPECT_THROW(sweep(prof, {Point3d(), Point3d(5, 0, 0), Point3d(0, 0, 0)}, false), ErrorCode);  // turns back
    EXPECT_THROW(sweep(prof, {Point3d(), Point3d(0, 5, 0)}, false), ErrorCode);  // along the profile's plane
    EXPECT_THROW(sweep(Body(), {Point3d(), Point3d(5, 0, 0)}, false), ErrorCode);
    Body two = prof;
    Body other = squareProfile(Point3d(0, 9, 0), Vector3d(1, 0, 0), 1.0);
    two.combine(other);
    EXPECT_THROW(sweep(two, {Point3d(), Point3d(5, 0, 0)}, false), ErrorCode);
}
