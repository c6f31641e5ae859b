#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const double kPi = std::acos(-1.0);

VelGeomPoint3d apply(const VelGeomMatrix3d& m, VelGeomPoint3d p) { return p.transformBy(m); }

VelGeomMatrix3d diag(double a, double b, double c, double d)
{
    VelGeomMatrix3d m;
    m(0, 0) = a;
    m(1, 1) = b;
    m(2, 2) = c;
    m(3, 3) = d;
    return m;
}

void expectNear(const VelGeomPoint3d& p, double x, double y, double z, double tol = 1e-12)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

// Rodrigues' formula: an independent oracle for rotations about any axis.
VelGeomVector3d rodrigues(const VelGeomVector3d& v, VelGeomVector3d k, double a)
{
    k.normalize();
    return v * std::cos(a) + k.crossProduct(v) * std::sin(a) + k * (k.dotProduct(v) * (1.0 - std::cos(a)));
}

VelGeomVector3d rotated(const VelGeomMatrix3d& m, VelGeomVector3d v) { return v.transformBy(m); }

bool sameEntries(const VelGeomMatrix3d& a, const VelGeomMatrix3d& b)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (a(i, j) != b(i, j))
                return false;
    return true;
}

}  // namespace

TEST(VelGeomMatrix3d, RowMajorColumnVectorConvention)
{
    static_assert(sizeof(VelGeomMatrix3d) == 16 * sizeof(double), "");
    VelGeomMatrix3d m = VelGeomMatrix3d::translation(VelGeomVector3d(1, 2, 3));
    EXPECT_EQ(reinterpret_cast<const double*>(&m)[3], 1.0);    // m(0, 3)
    EXPECT_EQ(reinterpret_cast<const double*>(&m)[11], 3.0);   // m(2, 3)
    expectNear(apply(m, VelGeomPoint3d(1, 1, 1)), 2, 3, 4);
    EXPECT_EQ(rotated(m, VelGeomVector3d(1, 1, 1)), VelGeomVector3d(1, 1, 1));
}

TEST(VelGeomMatrix3d, AxisRotations)
{
    expectNear(apply(VelGeomMatrix3d::rotationZ(kPi / 2), VelGeomPoint3d(1, 0, 0)), 0, 1, 0);
    expectNear(apply(VelGeomMatrix3d::rotationX(kPi / 2), VelGeomPoint3d(0, 1, 0)), 0, 0, 1);
    expectNear(apply(VelGeomMatrix3d::rotationY(kPi / 2), VelGeomPoint3d(0, 0, 1)), 1, 0, 0);
    // Negative axes turn the other way round.
    expectNear(apply(VelGeomMatrix3d::rotation(kPi / 2, VelGeomVector3d(0, 0, -1)), VelGeomPoint3d(1, 0, 0)), 0, -1,
               0);
    expectNear(apply(VelGeomMatrix3d::rotation(kPi / 2, VelGeomVector3d(0, -2, 0)), VelGeomPoint3d(1, 0, 0)), 0, 0,
               1);
    expectNear(apply(VelGeomMatrix3d::rotation(kPi / 2, VelGeomVector3d(-3, 0, 0)), VelGeomPoint3d(0, 1, 0)), 0, 0,
               -1);
    // The axis-aligned shortcuts give the elementary matrices exactly.
    EXPECT_TRUE(sameEntries(VelGeomMatrix3d::rotation(0.3, VelGeomVector3d(0, 5, 0)), VelGeomMatrix3d::rotationY(0.3)));
    EXPECT_TRUE(sameEntries(VelGeomMatrix3d::rotation(0.3, VelGeomVector3d(0, 0, -1)), VelGeomMatrix3d::rotationZ(-0.3)));
    // The 120 degree turn about the diagonal permutes the axes.
    expectNear(apply(VelGeomMatrix3d::rotation(2 * kPi / 3, VelGeomVector3d(1, 1, 1)), VelGeomPoint3d(1, 0, 0)), 0,
               1, 0);
}

TEST(VelGeomMatrix3d, GeneralAxisRotationMatchesRodrigues)
{
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int k = 0; k < 200; ++k) {
        const VelGeomVector3d axis(u(gen), u(gen), u(gen));
        if (axis.length() < 0.1)
            continue;
        const double a = 4.0 * u(gen);
        const VelGeomMatrix3d r = VelGeomMatrix3d::rotation(a, axis);
        const VelGeomVector3d v(u(gen), u(gen), u(gen));
        const VelGeomVector3d expected = rodrigues(v, axis, a);
        EXPECT_TRUE(rotated(r, v).isEqualTo(expected, VelGeomTol(1e-12, 1e-12)));
        EXPECT_NEAR(r.det(), 1.0, 1e-12);
        EXPECT_FALSE(r.isMirror());
    }
    // Just off an axis the general construction is used and still exact;
    // within gTol of the axis the elementary rotation is taken.
    const VelGeomVector3d v(0.3, -0.7, 0.2);
    for (const double off : {1e-9, 1e-6}) {
        const VelGeomVector3d axis(1, off, -off);
        const VelGeomMatrix3d r = VelGeomMatrix3d::rotation(1.1, axis);
        EXPECT_TRUE(rotated(r, v).isEqualTo(rodrigues(v, axis, 1.1), VelGeomTol(1e-12, 1e-12))) << off;
        EXPECT_FALSE(sameEntries(r, VelGeomMatrix3d::rotationX(1.1))) << off;
    }
    const VelGeomVector3d nearX(1, 1e-11, -1e-11);
    EXPECT_TRUE(sameEntries(VelGeomMatrix3d::rotation(1.1, nearX), VelGeomMatrix3d::rotationX(1.1)));
    EXPECT_TRUE(rotated(VelGeomMatrix3d::rotation(1.1, nearX), v)
                    .isEqualTo(rodrigues(v, nearX, 1.1), VelGeomTol(1e-10, 1e-10)));
    // A zero axis does not produce non-numbers: no rotation at all.
    const VelGeomMatrix3d none = VelGeomMatrix3d::rotation(1.0, VelGeomVector3d(0, 0, 0));
    EXPECT_TRUE(sameEntries(none, VelGeomMatrix3d()));
}

TEST(VelGeomMatrix3d, RotationAboutACentreAndRoundTrip)
{
    const VelGeomPoint3d c(1, 2, 3);
    const VelGeomVector3d axis(0.2, -1, 0.5);
    const VelGeomMatrix3d r = VelGeomMatrix3d::rotation(0.7, axis, c);
    // Points on the axis stay.
    expectNear(apply(r, c + axis * 2.0), c.x + 0.4, c.y - 2, c.z + 1);
    // Rotating back returns every point.
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(-100.0, 100.0);
    const VelGeomMatrix3d back = VelGeomMatrix3d::rotation(-0.7, axis, c);
    for (int k = 0; k < 50; ++k) {
        const VelGeomPoint3d p(u(gen), u(gen), u(gen));
        EXPECT_TRUE(apply(back, apply(r, p)).isEqualTo(p, VelGeomTol(1e-10, 1e-10)));
        // The distance to the axis is kept.
        const VelGeomLine3d line(c, axis);
        EXPECT_NEAR(line.distanceTo(apply(r, p)), line.distanceTo(p), 1e-9);
    }
}

TEST(VelGeomMatrix3d, CompositionOrder)
{
    const VelGeomMatrix3d t = VelGeomMatrix3d::translation(VelGeomVector3d(1, 2, 3)) *
                              VelGeomMatrix3d::translation(VelGeomVector3d(10, 20, 30));
    expectNear(apply(t, VelGeomPoint3d(0, 0, 0)), 11, 22, 33);
    // translation * rotation rotates first.
    const VelGeomMatrix3d tr =
        VelGeomMatrix3d::translation(VelGeomVector3d(5, 0, 0)) * VelGeomMatrix3d::rotationZ(kPi / 2);
    expectNear(apply(tr, VelGeomPoint3d(1, 0, 0)), 5, 1, 0);
    VelGeomMatrix3d m = VelGeomMatrix3d::rotationZ(kPi / 2);
    m.preMultBy(VelGeomMatrix3d::translation(VelGeomVector3d(5, 0, 0)));
    EXPECT_TRUE(m == tr);
    m = VelGeomMatrix3d::translation(VelGeomVector3d(5, 0, 0));
    m.postMultBy(VelGeomMatrix3d::rotationZ(kPi / 2));
    EXPECT_TRUE(m == tr);
}

TEST(VelGeomMatrix3d, ScalingFactories)
{
    expectNear(apply(VelGeomMatrix3d::scale(VelGeomPoint3d(1, 1, 1), 2.0), VelGeomPoint3d(2, 2, 2)), 3, 3, 3);
    expectNear(apply(VelGeomMatrix3d::scale(VelGeomPoint3d(1, 1, 1), 2.0, 3.0, 4.0), VelGeomPoint3d(2, 2, 2)), 3, 4,
               5);
    VelGeomMatrix3d m;
    m.setToScaling(0.5, 1.0, 2.0);
    expectNear(apply(m, VelGeomPoint3d(2, 2, 2)), 1, 2, 4);
    EXPECT_EQ(m.getScale(), 2.0);
    EXPECT_TRUE(m.isScaledOrtho());
    EXPECT_FALSE(m.isUniScaledOrtho());
    m.setToScaling(3.0);
    EXPECT_TRUE(m.isUniScaledOrtho());
}

TEST(VelGeomMatrix3d, MirroringsAndIsMirror)
{
    const VelGeomMatrix3d xy = VelGeomMatrix3d::mirroring(VelGeomPlane::kXYPlane);
    expectNear(apply(xy, VelGeomPoint3d(1, 2, 3)), 1, 2, -3);
    EXPECT_TRUE(xy.isMirror());
    EXPECT_FALSE(VelGeomMatrix3d::rotationX(kPi).isMirror());
    // The 3D test takes any negative determinant, unlike the 2D one.
    EXPECT_TRUE(diag(-2, 1, 1, 1).isMirror());

    expectNear(apply(VelGeomMatrix3d::mirroring(VelGeomPlane(0, 0, 1, -2)), VelGeomPoint3d(1, 2, 5)), 1, 2, -1);
    const VelGeomPlane oblique(VelGeomPoint3d(1, 1, 1), VelGeomVector3d(1, 1, 1));
    expectNear(apply(VelGeomMatrix3d::mirroring(oblique), VelGeomPoint3d(0, 0, 0)), 2, 2, 2);

    // The line form is the half-turn about the line.
    const VelGeomLine3d line(VelGeomPoint3d(0, 1, 0), VelGeomVector3d(0, 0, 1));
    const VelGeomMatrix3d half = VelGeomMatrix3d::mirroring(line);
    expectNear(apply(half, VelGeomPoint3d(1, 1, 5)), -1, 1, 5);
    expectNear(apply(half, VelGeomPoint3d(0, 1, -4)), 0, 1, -4);
    EXPECT_FALSE(half.isMirror());

    const VelGeomMatrix3d pt = VelGeomMatrix3d::mirroring(VelGeomPoint3d(1, 2, 3));
    expectNear(apply(pt, VelGeomPoint3d(0, 0, 0)), 2, 4, 6);
    EXPECT_TRUE(pt.isMirror());
}

TEST(VelGeomMatrix3d, ParallelProjection)
{
    const VelGeomMatrix3d p = VelGeomMatrix3d::projection(VelGeomPlane::kXYPlane, VelGeomVector3d(1, 0, 1));
    expectNear(apply(p, VelGeomPoint3d(0, 0, 2)), -2, 0, 0);
    const VelGeomMatrix3d q = VelGeomMatrix3d::projection(VelGeomPlane(0, 0, 1, -1), VelGeomVector3d(0, 0, 3));
    expectNear(apply(q, VelGeomPoint3d(3, 4, 7)), 3, 4, 1);
}

TEST(VelGeomMatrix3d, AlignCoordSys)
{
    VelGeomMatrix3d m;
    m.setToAlignCoordSys(VelGeomPoint3d(1, 0, 0), VelGeomVector3d::kXAxis, VelGeomVector3d::kYAxis,
                         VelGeomVector3d::kZAxis, VelGeomPoint3d(0, 0, 0), VelGeomVector3d::kYAxis,
                         -VelGeomVector3d::kXAxis, VelGeomVector3d::kZAxis);
    expectNear(apply(m, VelGeomPoint3d(2, 0, 0)), 0, 1, 0);

    // Coordinates (a, b, c) in the first frame become the same coordinates
    // in the second; the way back is the inverse.
    const VelGeomMatrix3d f1 = VelGeomMatrix3d::rotation(0.4, VelGeomVector3d(1, 2, 3), VelGeomPoint3d(4, 5, 6));
    const VelGeomMatrix3d f2 = VelGeomMatrix3d::rotation(-1.3, VelGeomVector3d(-1, 0, 2), VelGeomPoint3d(0, 1, 0));
    VelGeomPoint3d o1, o2;
    VelGeomVector3d x1, y1, z1, x2, y2, z2;
    f1.getCoordSystem(o1, x1, y1, z1);
    f2.getCoordSystem(o2, x2, y2, z2);
    const VelGeomMatrix3d a = VelGeomMatrix3d::alignCoordSys(o1, x1, y1, z1, o2, x2, y2, z2);
    const VelGeomPoint3d p = apply(a, o1 + x1 * 2.0 - y1 * 3.0 + z1 * 0.5);
    const VelGeomPoint3d q = o2 + x2 * 2.0 - y2 * 3.0 + z2 * 0.5;
    EXPECT_TRUE(p.isEqualTo(q, VelGeomTol(1e-12, 1e-12)));
    const VelGeomMatrix3d b = VelGeomMatrix3d::alignCoordSys(f2, f1);
    EXPECT_TRUE((b * a).isEqualTo(VelGeomMatrix3d(), VelGeomTol(1e-12, 1e-12)));
    EXPECT_TRUE(VelGeomMatrix3d::alignCoordSys(f1, f2).isEqualTo(a, VelGeomTol(1e-12, 1e-12)));
}

TEST(VelGeomMatrix3d, InversionLeavesSingularMatricesUnchanged)
{
    VelGeomMatrix3d zero;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            zero(i, j) = 0.0;
    VelGeomMatrix3d z = zero.inverse();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(z(i, j), 0.0);

    VelGeomMatrix3d twin;
    twin.setCoordSystem(VelGeomPoint3d(1, 2, 3), VelGeomVector3d(1, 2, 3), VelGeomVector3d(1, 2, 3),
                        VelGeomVector3d(0, 0, 1));
    EXPECT_TRUE(twin.isSingular());
    const VelGeomMatrix3d before = twin;
    twin.invert();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(twin(i, j), before(i, j));

    VelGeomMatrix3d tiny = diag(0.9e-8, 1, 1, 1);
    tiny.invert();
    EXPECT_EQ(tiny(0, 0), 0.9e-8);
    VelGeomMatrix3d small = diag(1.1e-8, 1, 1, 1);
    small.invert();
    EXPECT_NEAR(small(0, 0), 1.0 / 1.1e-8, 1e-3);
}

TEST(VelGeomMatrix3d, RandomProductWithInverseIsIdentity)
{
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    int checked = 0;
    for (int k = 0; k < 300; ++k) {
        VelGeomMatrix3d m;
        // Half of them general 4 x 4 matrices, half affine ones.
        const int rows = k % 2 ? 4 : 3;
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < 4; ++j)
                m(i, j) = u(gen);
        if (std::fabs(m.det()) < 1.0)
            continue;
        const VelGeomMatrix3d p = m * m.inverse();
        const VelGeomMatrix3d q = m.inverse() * m;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                EXPECT_NEAR(p(i, j), i == j ? 1.0 : 0.0, 1e-9);
                EXPECT_NEAR(q(i, j), i == j ? 1.0 : 0.0, 1e-9);
            }
        ++checked;
    }
    EXPECT_GT(checked, 200);
    // The determinant of a known matrix.
    EXPECT_NEAR(diag(2, 3, 4, 5).det(), 120.0, 1e-12);
    EXPECT_NEAR(VelGeomMatrix3d::rotation(0.3, VelGeomVector3d(1, 1, 0)).det(), 1.0, 1e-14);
}

TEST(VelGeomMatrix3d, CheckedAccessAndColumns)
{
    VelGeomMatrix3d m;
    double v = 42.0;
    EXPECT_FALSE(m.GetAt(4, 0, v));
    EXPECT_EQ(v, 42.0);
    EXPECT_FALSE(m.GetAt(0, -1, v));
    EXPECT_FALSE(m.SetAt(-1, 0, 5.0));
    EXPECT_FALSE(m.SetAt(0, 4, 5.0));
    EXPECT_TRUE(m.GetAt(3, 3, v));
    EXPECT_EQ(v, 1.0);
    EXPECT_TRUE(m.SetAt(1, 3, 7.0));
    EXPECT_EQ(m.getTranslation(), VelGeomVector3d(0, 7, 0));

    m.setCoordSystem(VelGeomPoint3d(1, 2, 3), VelGeomVector3d(2, 0, 0), VelGeomVector3d(0, 3, 0),
                     VelGeomVector3d(0, 0, 4));
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    m.getCoordSystem(o, x, y, z);
    EXPECT_EQ(o, VelGeomPoint3d(1, 2, 3));
    EXPECT_EQ(y, VelGeomVector3d(0, 3, 0));
    EXPECT_EQ(m.getScale(), 4.0);
    EXPECT_EQ(m.transpose()(3, 0), 1.0);
    m.setTranslation(VelGeomVector3d(9, 9, 9));
    EXPECT_EQ(m(0, 0), 2.0);
    EXPECT_EQ(m(2, 3), 9.0);

    // The last row does not take part in the comparison.
    VelGeomMatrix3d a, b;
    b(3, 0) = 3.0;
    EXPECT_TRUE(a == b);
    b(2, 3) = 1e-9;
    EXPECT_TRUE(a != b);
    b.setToIdentity();
    EXPECT_TRUE(sameEntries(b, VelGeomMatrix3d()));
}
