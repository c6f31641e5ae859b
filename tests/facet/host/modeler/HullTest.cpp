#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace AModeler;
using namespace mtest;

TEST(ModelerHull, CubeCornersAmongInnerPointsGiveTheCube)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> in(0.01, 1.99);
    std::vector<Point3d> pts;
    for (int i = 0; i < 200; ++i)
        pts.emplace_back(in(rng), in(rng), in(rng));
    for (int c = 0; c < 8; ++c)
        pts.emplace_back(c & 1 ? 2 : 0, c & 2 ? 2 : 0, c & 4 ? 2 : 0);
    pts.emplace_back(1, 0, 0);  // on a cube edge
    pts.emplace_back(1, 1, 0);  // on a cube face
    const Body h = Body::convexHull(pts.data(), static_cast<int>(pts.size()));
    ASSERT_TRUE(h.isValid(3));
    EXPECT_EQ(h.faceCount(), 6);  // coplanar hull triangles merged
    EXPECT_NEAR(h.volume(), 8.0, 1e-12);
}

TEST(ModelerHull, RandomHullsContainTheirPointsAndMatchMonteCarlo)
{
    std::mt19937 rng(42);
    std::normal_distribution<double> g(0.0, 1.0);
    for (int round = 0; round < 5; ++round) {
        std::vector<Point3d> pts;
        for (int i = 0; i < 60; ++i)
            pts.emplace_back(g(rng) * 2, g(rng), g(rng) * 0.5 + 3);
        const Body h = Body::convexHull(pts.data(), static_cast<int>(pts.size()));
        ASSERT_TRUE(h.isValid(3));
        const std::vector<Face*> faces = facesOf(h);
        for (const Point3d& p : pts)
            for (Face* f : faces)
                EXPECT_LE(f->plane().signedDistanceTo(p), 1e-9);
        for (Vertex* v = h.vertexList(); v; v = v->next()) {
            bool found = false;
            for (const Point3d& p : pts)
                found = found || p.isEqual(v->point(), 0.0);
            EXPECT_TRUE(found);
        }
        // Monte-Carlo volume with the face half-spaces as the inside test.
        const Interval3d box = h.interval();
        std::uniform_real_distribution<double> ux(box.lower().x, box.upper().x), uy(box.lower().y, box.upper().y),
            uz(box.lower().z, box.upper().z);
        const int samples = 40000;
        int inside = 0;
        for (int s = 0; s < samples; ++s) {
            const Point3d q(ux(rng), uy(rng), uz(rng));
            bool in = true;
            for (Face* f : faces)
                if (f->plane().signedDistanceTo(q) > 0.0) {
                    in = false;
                    break;
                }
            inside += in;
        }
        const double frac = static_cast<double>(inside) / samples;
        const double estimate = frac * box.volume();
        const double sigma = box.volume() * std::sqrt(frac * (1 - frac) / samples);
        EXPECT_NEAR(h.volume(), estimate, 4 * sigma + 1e-9);
    }
}

TEST(ModelerHull, FlatOrTooFewPointsAreRefused)
{
    const Point3d flat[5] = {Point3d(0, 0, 1), Point3d(1, 0, 1), Point3d(0, 1, 1), Point3d(1, 1, 1),
                             Point3d(0.5, 0.2, 1)};
    try {
        Body::convexHull(flat, 5);
        ADD_FAILURE();
    } catch (ErrorCode c) {
        EXPECT_EQ(c, eDegenerateGeometry);
    }
    EXPECT_THROW(Body::convexHull(flat, 3), ErrorCode);
    EXPECT_THROW(Body::convexHull(nullptr, 8), ErrorCode);
}

TEST(ModelerHull, HullOfAnLShapedBody)
{
    const Point3d l[6] = {Point3d(0, 0, 0), Point3d(2, 0, 0), Point3d(2, 1, 0),
                          Point3d(1, 1, 0), Point3d(1, 2, 0), Point3d(0, 2, 0)};
    const Body body = Body::extrusion(l, nullptr, 6, Vector3d(0, 0, 1), Vector3d(0, 0, 1));
    const Body h = body.convexHull();
    ASSERT_TRUE(h.isValid(3));
    EXPECT_NEAR(body.volume(), 3.0, 1e-12);
    EXPECT_NEAR(h.volume(), 3.5, 1e-12);  // the notch's triangle is filled
    EXPECT_EQ(h.faceCount(), 7);
}
