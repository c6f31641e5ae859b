#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

using namespace AModeler;
using namespace mtest;

namespace {

const double kPi = 3.14159265358979323846;

// Chord points of a counterclockwise arc in the xy plane (start included,
// end excluded), computed here independently of the modeler.
void appendArc(std::vector<Point3d>& out, const Point3d& a, const Point3d& b, const Point3d& c, int facets)
{
    double t0 = std::atan2(a.y - c.y, a.x - c.x), t1 = std::atan2(b.y - c.y, b.x - c.x);
    double sweep = t1 - t0;
    while (sweep <= 1e-12)
        sweep += 2 * kPi;
    const int n = std::max(1, static_cast<int>(std::floor(sweep * facets / (2 * kPi) + 0.001)));
    const double r = std::hypot(a.x - c.x, a.y - c.y);
    for (int i = 0; i < n; ++i)
        out.push_back(Point3d(c.x + r * std::cos(t0 + sweep * i / n), c.y + r * std::sin(t0 + sweep * i / n), a.z));
}

struct RoundedPlate
{
    std::vector<Point3d> pts{Point3d(0, 0, 0), Point3d(10, 0, 0), Point3d(10, 5, 0), Point3d(5, 10, 0),
                             Point3d(0, 10, 0)};
    PolygonVertexData arc{PolygonVertexData::kArc, Circle3d(Point3d(5, 5, 0), Vector3d(0, 0, 1), 5.0), 16};
    std::vector<PolygonVertexData*> vd{nullptr, nullptr, &arc, nullptr, nullptr};

    std::vector<Point3d> chords() const
    {
        std::vector<Point3d> out{pts[0], pts[1]};
        appendArc(out, pts[2], pts[3], arc.circle().center(), 16);
        out.push_back(pts[3]);
        out.push_back(pts[4]);
        return out;
    }
};

} // namespace

TEST(ModelerExtrusion, ArcProfileVolumeIsShoelaceTimesHeight)
{
    RoundedPlate p;
    const double area = shoelace(p.chords());
    for (const Vector3d& dir : {Vector3d(0, 0, 3), Vector3d(0, 0, -3), Vector3d(1, 2, 3)}) {
        const Body b = Body::extrusion(p.pts.data(), p.vd.data(), 5, Vector3d(0, 0, 1), dir);
        ASSERT_TRUE(b.isValid(3));
        EXPECT_NEAR(b.volume(), area * std::fabs(dir.z), 1e-9);
        // 4 straight edges and 4 chords of the quarter arc; the end faces last.
        ASSERT_EQ(b.faceCount(), 10);
        const std::vector<Face*> f = facesOf(b);
        EXPECT_TRUE(f[8]->plane().normal().isEqual(Vector3d(0, 0, dir.z > 0 ? -1 : 1), 1e-12));
        EXPECT_NEAR(f[8]->plane().signedDistanceTo(Point3d()), 0.0, 1e-12);
        EXPECT_NEAR(f[9]->area(), area, 1e-9);
        int approx = 0, onCircle = 0;
        for (Face* face : f)
            for (Edge* e : loopOf(face)) {
                approx += e->isApprox();
                onCircle += e->isOnCircle();
                EXPECT_FALSE(e->isOnFullCircle());
            }
        EXPECT_EQ(approx, 6);     // three smooth seams inside the arc
        EXPECT_EQ(onCircle, 16);  // 4 chords at each end, both halves
        // The side faces follow the profile from its first point.
        int onFirstEdge = 0;
        for (Edge* e : loopOf(f[0]))
            onFirstEdge += e->vertex()->point().isEqual(Point3d(0, 0, 0), 1e-12) ||
                           e->vertex()->point().isEqual(Point3d(10, 0, 0), 1e-12);
        EXPECT_EQ(onFirstEdge, 2);
    }
}

TEST(ModelerExtrusion, EitherWindingGivesTheSameSolid)
{
    const Point3d ccw[4] = {Point3d(0, 0, 0), Point3d(4, 0, 0), Point3d(4, 3, 0), Point3d(0, 3, 0)};
    const Point3d cw[4] = {ccw[0], ccw[3], ccw[2], ccw[1]};
    const Body a = Body::extrusion(ccw, nullptr, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 2));
    const Body b = Body::extrusion(cw, nullptr, 4, Vector3d(0, 0, -1), Vector3d(0, 0, 2));
    ASSERT_TRUE(a.isValid(3));
    ASSERT_TRUE(b.isValid(3));
    EXPECT_NEAR(a.volume(), 24.0, 1e-12);
    EXPECT_NEAR(b.volume(), 24.0, 1e-12);
    // Repeated closing point and a duplicate are merged, not made into empty edges.
    const Point3d dup[6] = {ccw[0], ccw[1], ccw[1], ccw[2], ccw[3], ccw[0]};
    const Body c = Body::extrusion(dup, nullptr, 6, Vector3d(0, 0, 1), Vector3d(0, 0, 2));
    ASSERT_TRUE(c.isValid(3));
    EXPECT_EQ(c.faceCount(), 6);
}

TEST(ModelerExtrusion, SingleArcVertexIsAFullCircle)
{
    const Point3d p(5, 0, 0);
    PolygonVertexData arc(PolygonVertexData::kArc, Circle3d(Point3d(), Vector3d(0, 0, 1), 5.0), 12);
    PolygonVertexData* vd[1] = {&arc};
    const Body b = Body::extrusion(&p, vd, 1, Vector3d(0, 0, 1), Vector3d(0, 0, 2));
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), 14);
    EXPECT_NEAR(b.volume(), 0.5 * 12 * 25 * std::sin(2 * kPi / 12) * 2, 1e-9);
    for (Edge* e : loopOf(facesOf(b)[13]))
        EXPECT_TRUE(e->isOnFullCircle());
}

TEST(ModelerExtrusion, ScaledExtrusionIsAFrustumAndTwistSplitsSides)
{
    const Point3d sq[4] = {Point3d(-1, -1, 0), Point3d(1, -1, 0), Point3d(1, 1, 0), Point3d(-1, 1, 0)};
    const Body fr = Body::extrusion(sq, nullptr, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 3), Point3d(0, 0, 7), 0.5, 0.0);
    ASSERT_TRUE(fr.isValid(3));
    EXPECT_EQ(fr.faceCount(), 6);
    EXPECT_NEAR(fr.volume(), 3.0 / 3.0 * (4.0 + 1.0 + 2.0), 1e-9);
    const Interval3d top = facesOf(fr)[5]->interval();
    EXPECT_NEAR(top.lower().x, -0.5, 1e-12);
    EXPECT_NEAR(top.upper().z, 3.0, 1e-12);

    const Body tw = Body::extrusion(sq, nullptr, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 3), Point3d(), 1.0, 0.6);
    ASSERT_TRUE(tw.isValid(3));
    EXPECT_EQ(tw.faceCount(), 10);  // each bent side as two triangles
    int approx = 0;
    for (Face* f : facesOf(tw))
        for (Edge* e : loopOf(f))
            approx += e->isApprox();
    EXPECT_EQ(approx, 8);
    // Sections are rotated squares of area 4, so the volume lies between the
    // inscribed and the circumscribed prisms.
    EXPECT_GT(tw.volume(), 2.0 * 3.0);
    EXPECT_LT(tw.volume(), 4.0 * 3.0);
}

TEST(ModelerExtrusion, BadProfilesAreRefused)
{
    const Point3d sq[4] = {Point3d(0, 0, 0), Point3d(1, 0, 0), Point3d(1, 1, 0), Point3d(0, 1, 0)};
    const Point3d bent[4] = {Point3d(0, 0, 0), Point3d(1, 0, 0), Point3d(1, 1, 0.1), Point3d(0, 1, 0)};
    const Point3d line[3] = {Point3d(0, 0, 0), Point3d(1, 0, 0), Point3d(2, 0, 0)};
    auto code = [](auto fn) {
        try {
            fn();
        } catch (ErrorCode c) {
            return c;
        }
        return eOk;
    };
    EXPECT_EQ(code([&] { Body::extrusion(bent, nullptr, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 1)); }), eNotPlanar);
    EXPECT_EQ(code([&] { Body::extrusion(sq, nullptr, 4, Vector3d(0, 0, 1), Vector3d(1, 0, 0)); }),
              eDegenerateGeometry);
    EXPECT_EQ(code([&] { Body::extrusion(line, nullptr, 3, Vector3d(0, 0, 1), Vector3d(0, 0, 1)); }),
              eDegenerateGeometry);
    EXPECT_EQ(code([&] { Body::extrusion(nullptr, nullptr, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 1)); }),
              eInvalidInput);
    EXPECT_EQ(code([&] { Body::extrusion(sq, nullptr, 4, Vector3d(0, 0, 0), Vector3d(0, 0, 1)); }),
              eDegenerateGeometry);
    PolygonVertexData coarse(PolygonVertexData::kArc, Circle3d(Point3d(0.5, 0, 0), Vector3d(0, 0, 1), 0.5), 2);
    PolygonVertexData* vd[4] = {&coarse, nullptr, nullptr, nullptr};
    EXPECT_EQ(code([&] { Body::extrusion(sq, vd, 4, Vector3d(0, 0, 1), Vector3d(0, 0, 1)); }), eInvalidInput);
}
