#include "ModelerTestUtil.h"

#include <gtest/gtest.h>

using namespace AModeler;
using namespace mtest;

namespace {

const double kPi = 3.14159265358979323846;

// Area of a regular n-gon of circumradius r.
double ngonArea(int n, double r) { return 0.5 * n * r * r * std::sin(2.0 * kPi / n); }

void expectExtents(const Body& b, const Point3d& lo, const Point3d& hi, double tol = 1e-9)
{
    const Interval3d box = b.interval();
    ASSERT_FALSE(box.isEmpty());
    EXPECT_NEAR(box.lower().x, lo.x, tol);
    EXPECT_NEAR(box.lower().y, lo.y, tol);
    EXPECT_NEAR(box.lower().z, lo.z, tol);
    EXPECT_NEAR(box.upper().x, hi.x, tol);
    EXPECT_NEAR(box.upper().y, hi.y, tol);
    EXPECT_NEAR(box.upper().z, hi.z, tol);
}

} // namespace

TEST(ModelerPrimitives, BoxFromAnyDiagonalIsValidWithDocumentedFaceOrder)
{
    const Body b = Body::box(Point3d(1, 2, 3), Vector3d(-2, 4, -6));
    ASSERT_TRUE(b.isValid(3));
    EXPECT_EQ(b.faceCount(), 6);
    EXPECT_EQ(b.edgeCount(), 24);
    EXPECT_EQ(b.vertexCount(), 8);
    EXPECT_EQ(b.triangleCount(), 12);
    EXPECT_NEAR(b.volume(), 48.0, 1e-12);
    expectExtents(b, Point3d(-1, 2, -3), Point3d(1, 6, 3));
    const Vector3d normals[6] = {Vector3d(0, 0, -1), Vector3d(0, 0, 1), Vector3d(0, -1, 0),
                                 Vector3d(1, 0, 0),  Vector3d(0, 1, 0), Vector3d(-1, 0, 0)};
    int i = 0;
    for (Face* f : facesOf(b)) {
        EXPECT_TRUE(f->plane().normal().isEqual(normals[i], 1e-12)) << i;
        EXPECT_NEAR(f->area(), i < 2 ? 8.0 : (i % 2 == 0 ? 12.0 : 24.0), 1e-12) << i;
        for (Edge* e : loopOf(f)) {
            EXPECT_TRUE(e->isEulerEdge());
            EXPECT_FALSE(e->isBridge() || e->isApprox() || e->isOnCircle());
        }
        ++i;
    }
    EXPECT_THROW(Body::box(Point3d(), Vector3d(1, 0, 1)), ErrorCode);
    EXPECT_THROW(Body::box(Point3d(NAN, 0, 0), Vector3d(1, 1, 1)), ErrorCode);
}

TEST(ModelerPrimitives, CylinderVolumeEndFacesAndEdgeKinds)
{
    for (int n : {3, 7, 16, 64}) {
        const Body c = Body::cylinder(Line3d(Point3d(1, 1, 1), Point3d(1, 1, 6)), 2.0, n);
        ASSERT_TRUE(c.isValid(3)) << n;
        EXPECT_EQ(c.faceCount(), n + 2);
        EXPECT_NEAR(c.volume(), ngonArea(n, 2.0) * 5.0, 1e-9) << n;
        const std::vector<Face*> f = facesOf(c);
        // The two end faces close the list: base, then far end.
        EXPECT_NEAR(f[n]->plane().normal().z, -1.0, 1e-12);
        EXPECT_NEAR(f[n + 1]->plane().normal().z, 1.0, 1e-12);
        EXPECT_NEAR(f[n]->plane().signedDistanceTo(Point3d(0, 0, 1)), 0.0, 1e-12);
        int approx = 0, circle = 0, full = 0;
        for (Face* face : f)
            for (Edge* e : loopOf(face)) {
                approx += e->isApprox();
                circle += e->isOnCircle();
                full += e->isOnFullCircle();
                if (e->isOnCircle()) {
                    EXPECT_NEAR(e->circle().radius(), 2.0, 1e-12);
                }
            }
        // Smooth-shading normals: radial on the sides, axial on the ends.
        for (Edge* e : loopOf(f[0])) {
            const Vector3d radial = Vector3d(e->startPoint().x - 1, e->startPoint().y - 1, 0).normalized();
            EXPECT_TRUE(e->vertexNormal().isEqual(radial, 1e-12));
        }
        for (Edge* e : loopOf(f[n + 1]))
            EXPECT_TRUE(e->vertexNormal().isEqual(Vector3d(0, 0, 1), 1e-12));
        EXPECT_EQ(approx, 2 * n);      // the side seams, both halves
        EXPECT_EQ(circle, 4 * n);      // end-face chords and their side-face partners
        EXPECT_EQ(full, 2 * n);        // only the end-face loops go all round
    }
}

TEST(ModelerPrimitives, ObliqueCylinderKeepsEndFacesParallelToTheBase)
{
    const Vector3d baseNormal = Vector3d(0, 1, 1).normalized();
    const Body c = Body::cylinder(Line3d(Point3d(), Point3d(0, 0, 4)), baseNormal, 1.0, 32);
    ASSERT_TRUE(c.isValid(3));
    // A sheared prism: base area times height along the base normal.
    EXPECT_NEAR(c.volume(), ngonArea(32, 1.0) * 4.0 * baseNormal.z, 1e-9);
    const std::vector<Face*> f = facesOf(c);
    EXPECT_TRUE(f[32]->plane().normal().isEqual(-baseNormal, 1e-12));
    EXPECT_TRUE(f[33]->plane().normal().isEqual(baseNormal, 1e-12));
    EXPECT_THROW(Body::cylinder(Line3d(Point3d(), Point3d(0, 0, 4)), Vector3d(1, 0, 0), 1.0, 32), ErrorCode);
    EXPECT_THROW(Body::cylinder(Line3d(Point3d(), Point3d(0, 0, 4)), 1.0, 2), ErrorCode);
    EXPECT_THROW(Body::cylinder(Line3d(Point3d(), Point3d(0, 0, 0)), 1.0, 8), ErrorCode);
}

TEST(ModelerPrimitives, ConeFrustumAndApexes)
{
    const int n = 24;
    const double h = 3.0, r1 = 2.0, r2 = 0.5;
    const Body fr = Body::cone(Line3d(Point3d(), Point3d(0, 0, h)), Vector3d(0, 0, 1), r1, r2, n);
    ASSERT_TRUE(fr.isValid(3));
    const double a1 = ngonArea(n, r1), a2 = ngonArea(n, r2);
    EXPECT_NEAR(fr.volume(), h / 3.0 * (a1 + a2 + std::sqrt(a1 * a2)), 1e-9);
    EXPECT_EQ(fr.faceCount(), n + 2);

    const Body apex = Body::cone(Line3d(Point3d(), Point3d(0, 0, h)), Vector3d(0, 0, 1), r1, 0.0, n);
    ASSERT_TRUE(apex.isValid(3));
    EXPECT_EQ(apex.faceCount(), n + 1);  // no face at the apex end
    EXPECT_EQ(apex.vertexCount(), n + 1);
    EXPECT_NEAR(apex.volume(), a1 * h / 3.0, 1e-9);
    expectExtents(apex, Point3d(-r1, -r1, 0), Point3d(r1, r1, h), 1e-2);

    const Body inverted = Body::cone(Line3d(Point3d(), Point3d(0, 0, h)), Vector3d(0, 0, 1), 0.0, r1, n);
    ASSERT_TRUE(inverted.isValid(3));
    EXPECT_NEAR(inverted.volume(), a1 * h / 3.0, 1e-9);
    EXPECT_THROW(Body::cone(Line3d(Point3d(), Point3d(0, 0, h)), Vector3d(0, 0, 1), 0.0, 0.0, n), ErrorCode);
    EXPECT_THROW(Body::cone(Line3d(Point3d(), Point3d(0, 0, h)), Vector3d(0, 0, 1), -1.0, 1.0, n), ErrorCode);
}

TEST(ModelerPrimitives, PipeHasBridgedAnnulusEnds)
{
    const int n = 20;
    const Body p = Body::pipe(Line3d(Point3d(0, 0, -1), Point3d(0, 0, 2)), Vector3d(0, 0, 1), 3.0, 2.0, n);
    ASSERT_TRUE(p.isValid(3));
    EXPECT_EQ(p.faceCount(), 2 * n + 2);
    EXPECT_NEAR(p.volume(), (ngonArea(n, 3.0) - ngonArea(n, 2.0)) * 3.0, 1e-9);
    const std::vector<Face*> f = facesOf(p);
    for (int k : {2 * n, 2 * n + 1}) {
        int bridges = 0, full = 0;
        const std::vector<Edge*> loop = loopOf(f[k]);
        EXPECT_EQ(loop.size(), static_cast<size_t>(2 * n + 2));
        for (Edge* e : loop) {
            bridges += e->isBridge();
            full += e->isOnFullCircle();
            EXPECT_EQ(e->isBridge(), !e->isOnCircle());
        }
        EXPECT_EQ(bridges, 2);
        EXPECT_EQ(full, 2 * n);
        EXPECT_NEAR(f[k]->area(), ngonArea(n, 3.0) - ngonArea(n, 2.0), 1e-9);
    }
    EXPECT_EQ(p.triangleCount(), 2 * n * 2 + 2 * (2 * n));  // 2n quads, two annuli of 2n triangles
    EXPECT_THROW(Body::pipe(Line3d(Point3d(), Point3d(0, 0, 1)), Vector3d(0, 0, 1), 2.0, 2.0, n), ErrorCode);
}

TEST(ModelerPrimitives, SphereIsAStackOfFrustums)
{
    for (int n : {4, 9, 32}) {
        const double r = 2.5;
        const Body s = Body::sphere(Point3d(1, -2, 3), r, n);
        ASSERT_TRUE(s.isValid(3)) << n;
        const int bands = n / 2;
        EXPECT_EQ(s.faceCount(), bands * n);
        EXPECT_EQ(s.vertexCount(), (bands - 1) * n + 2);
        double v = 0.0;
        for (int k = 0; k < bands; ++k) {
            const double p0 = kPi * k / bands, p1 = kPi * (k + 1) / bands;
            const double a0 = ngonArea(n, r * std::sin(p0)), a1 = ngonArea(n, r * std::sin(p1));
            const double h = r * (std::cos(p0) - std::cos(p1));
            v += h / 3.0 * (a0 + a1 + std::sqrt(a0 * a1));
        }
        EXPECT_NEAR(s.volume(), v, 1e-9) << n;
        double vol;
        Point3d centroid;
        double inertia[3][3];
        s.massProperties(vol, centroid, inertia);
        EXPECT_NEAR(vol, v, 1e-9);
        EXPECT_TRUE(centroid.isEqual(Point3d(1, -2, 3), 1e-9));
        for (Face* f : facesOf(s))
            for (Edge* e : loopOf(f))
                EXPECT_TRUE(e->isApprox());
        // The pole is a closed smooth fan: its normal points along the axis.
        for (Edge* e : loopOf(s.faceList()))
            if (e->startPoint().z > 3 + r - 1e-9) {
                EXPECT_TRUE(e->vertexNormal().isEqual(Vector3d(0, 0, 1), 1e-12));
            }
    }
    EXPECT_THROW(Body::sphere(Point3d(), 1.0, 3), ErrorCode);
    EXPECT_THROW(Body::sphere(Point3d(), 0.0, 8), ErrorCode);
}

TEST(ModelerPrimitives, MassPropertiesOfABoxMatchTheClosedForm)
{
    const double a = 2.0, b = 3.0, c = 5.0;
    const Body box = Body::box(Point3d(10, 20, 30), Vector3d(a, b, c));
    double vol;
    Point3d g;
    double I[3][3];
    box.massProperties(vol, g, I);
    EXPECT_NEAR(vol, a * b * c, 1e-9);
    EXPECT_TRUE(g.isEqual(Point3d(11, 21.5, 32.5), 1e-9));
    const double m = a * b * c;
    EXPECT_NEAR(I[0][0], m * (b * b + c * c) / 12.0, 1e-7);
    EXPECT_NEAR(I[1][1], m * (a * a + c * c) / 12.0, 1e-7);
    EXPECT_NEAR(I[2][2], m * (a * a + b * b) / 12.0, 1e-7);
    EXPECT_NEAR(I[0][1], 0.0, 1e-7);
    EXPECT_NEAR(I[1][2], 0.0, 1e-7);
}
