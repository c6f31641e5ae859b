#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace AModeler;
using namespace mtest;

namespace {

const double kPi = 3.14159265358979323846;

Body box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return Body::box(Point3d(x0, y0, z0), Vector3d(x1 - x0, y1 - y0, z1 - z0));
}

double overlap(double a0, double a1, double b0, double b1) { return std::max(0.0, std::min(a1, b1) - std::max(a0, b0)); }

// Analytic volume of the intersection of two axis-aligned boxes.
double boxIntersection(const double a[6], const double b[6])
{
    return overlap(a[0], a[3], b[0], b[3]) * overlap(a[1], a[4], b[1], b[4]) * overlap(a[2], a[5], b[2], b[5]);
}

int holesOf(const Face* f)
{
    int bridges = 0;
    for (Edge* e : loopOf(f))
        bridges += e->isBridge();
    return bridges / 2;
}

} // namespace

TEST(ModelerBoolean, OverlappingBoxesGiveInclusionExclusionVolumes)
{
    const double a[6] = {0, 0, 0, 2, 2, 2};
    const double b[6] = {1, 0.5, -1, 3, 1.5, 1};
    const Body A = box(a[0], a[1], a[2], a[3], a[4], a[5]);
    const Body B = box(b[0], b[1], b[2], b[3], b[4], b[5]);
    const double i = boxIntersection(a, b);
    const Body u = A + B, d = A - B, x = A * B;
    ASSERT_TRUE(u.isValid(3));
    ASSERT_TRUE(d.isValid(3));
    ASSERT_TRUE(x.isValid(3));
    EXPECT_NEAR(u.volume(), 8.0 + 4.0 - i, 1e-9);
    EXPECT_NEAR(d.volume(), 8.0 - i, 1e-9);
    EXPECT_NEAR(x.volume(), i, 1e-9);
    EXPECT_EQ(x.faceCount(), 6);
    // The operands are untouched.
    EXPECT_NEAR(A.volume(), 8.0, 1e-12);
    EXPECT_EQ(A.faceCount(), 6);
}

TEST(ModelerBoolean, PlateMinusThroughPrismHasOneHolePerEndFace)
{
    const Body plate = box(0, 0, 0, 100, 50, 10);
    const Body prism = Body::cylinder(Line3d(Point3d(30, 20, -5), Point3d(30, 20, 15)), 4.0, 32);
    const Body r = plate - prism;
    ASSERT_TRUE(r.isValid(3));
    EXPECT_EQ(r.faceCount(), 6 + 32);
    const double ngon = 0.5 * 32 * 16.0 * std::sin(2 * kPi / 32);
    EXPECT_NEAR(r.volume(), 50000.0 - ngon * 10.0, 1e-7);
    int holed = 0;
    for (Face* f : facesOf(r))
        holed += holesOf(f);
    EXPECT_EQ(holed, 2);
}

TEST(ModelerBoolean, TouchingAndNestedConfigurations)
{
    const Body A = box(0, 0, 0, 1, 1, 1);
    struct Case
    {
        Body b;
        double vb, inter;
    };
    std::vector<Case> cases;
    cases.push_back({box(1, 0, 0, 2, 1, 1), 1.0, 0.0});               // shared face
    cases.push_back({box(1, 0.25, 0.25, 2, 0.75, 0.75), 0.25, 0.0});  // face inside a face
    cases.push_back({box(1, 1, 0, 2, 2, 1), 1.0, 0.0});               // shared edge
    cases.push_back({box(1, 1, 1, 2, 2, 2), 1.0, 0.0});               // shared vertex
    cases.push_back({box(0.25, 0.25, 0.25, 0.75, 0.75, 0.75), 0.125, 0.125});  // nested
    cases.push_back({box(0.25, 0.25, 0.5, 0.75, 0.75, 1), 0.125, 0.125});      // flush pocket
    cases.push_back({box(0, 0, 0, 1, 1, 1), 1.0, 1.0});               // identical
    cases.push_back({box(-1, -1, -1, 2, 2, 2), 27.0, 1.0});           // swallowed
    cases.push_back({box(0, 0, 0.5, 1, 1, 2), 1.5, 0.5});             // coplanar sides
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const Body u = A + c.b, d = A - c.b, x = A * c.b;
        EXPECT_TRUE(u.isValid(3)) << i;
        EXPECT_TRUE(d.isValid(3)) << i;
        EXPECT_TRUE(x.isValid(3)) << i;
        EXPECT_NEAR(u.volume(), 1.0 + c.vb - c.inter, 1e-9) << i;
        EXPECT_NEAR(d.volume(), 1.0 - c.inter, 1e-9) << i;
        EXPECT_NEAR(x.volume(), c.inter, 1e-9) << i;
    }
}
