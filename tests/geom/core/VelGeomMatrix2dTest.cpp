#include "geom/core/VelGeomMatrix2d.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/curves/VelGeomLine2d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const double kPi = std::acos(-1.0);

VelGeomPoint2d apply(const VelGeomMatrix2d& m, VelGeomPoint2d p) { return p.transformBy(m); }

VelGeomMatrix2d diag(double a, double b, double c)
{
    VelGeomMatrix2d m;
    m(0, 0) = a;
    m(1, 1) = b;
    m(2, 2) = c;
    return m;
}

void expectNear(const VelGeomPoint2d& p, double x, double y, double tol = 1e-12)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

}  // namespace

TEST(VelGeomMatrix2d, RowMajorColumnVectorConvention)
{
    static_assert(sizeof(VelGeomMatrix2d) == 9 * sizeof(double), "");
    VelGeomMatrix2d m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m(i, j), i == j ? 1.0 : 0.0);
    m(0, 2) = 7.0;  // the translation column
    EXPECT_EQ(reinterpret_cast<const double*>(&m)[2], 7.0);
    expectNear(apply(m, VelGeomPoint2d(1, 1)), 8, 1);
    // Vectors ignore the translation.
    VelGeomVector2d v(1, 1);
    v.transformBy(m);
    EXPECT_EQ(v.x, 1.0);
    EXPECT_TRUE(VelGeomMatrix2d::kIdentity == VelGeomMatrix2d());
}

TEST(VelGeomMatrix2d, RotationScalingTranslationAndTheirOrder)
{
    expectNear(apply(VelGeomMatrix2d::rotation(kPi / 2), VelGeomPoint2d(1, 0)), 0, 1);
    expectNear(apply(VelGeomMatrix2d::rotation(kPi, VelGeomPoint2d(1, 1)), VelGeomPoint2d(0, 0)), 2, 2);
    expectNear(apply(VelGeomMatrix2d::scaling(2, VelGeomPoint2d(1, 1)), VelGeomPoint2d(2, 2)), 3, 3);
    // A * B applies B first: rotate, then translate.
    const VelGeomMatrix2d tr = VelGeomMatrix2d::translation(VelGeomVector2d(5, 0)) * VelGeomMatrix2d::rotation(kPi / 2);
    expectNear(apply(tr, VelGeomPoint2d(1, 0)), 5, 1);
    VelGeomMatrix2d pre = VelGeomMatrix2d::rotation(kPi / 2);
    pre.preMultBy(VelGeomMatrix2d::translation(VelGeomVector2d(5, 0)));
    EXPECT_TRUE(pre.isEqualTo(tr));
    VelGeomMatrix2d post = VelGeomMatrix2d::translation(VelGeomVector2d(5, 0));
    post *= VelGeomMatrix2d::rotation(kPi / 2);
    EXPECT_TRUE(post.isEqualTo(tr));
    // setToProduct may be handed itself.
    VelGeomMatrix2d self = VelGeomMatrix2d::rotation(kPi / 4);
    self.setToProduct(self, self);
    EXPECT_TRUE(self.isEqualTo(VelGeomMatrix2d::rotation(kPi / 2)));
    // A vector converts to the translation by itself.
    const VelGeomMatrix2d t = VelGeomVector2d(3, 4);
    expectNear(apply(t, VelGeomPoint2d(1, 1)), 4, 5);
}

TEST(VelGeomMatrix2d, MirroringInALineAndThroughAPoint)
{
    // The line y = x + 1: (0, 0) goes to (-1, 1); points on it stay.
    const VelGeomLine2d line(VelGeomPoint2d(0, 1), VelGeomVector2d(2, 2));
    const VelGeomMatrix2d m = VelGeomMatrix2d::mirroring(line);
    expectNear(apply(m, VelGeomPoint2d(0, 0)), -1, 1);
    expectNear(apply(m, VelGeomPoint2d(2, 3)), 2, 3);
    EXPECT_TRUE((m * m).isEqualTo(VelGeomMatrix2d::kIdentity));
    EXPECT_TRUE(m.isMirror());
    const VelGeomMatrix2d p = VelGeomMatrix2d::mirroring(VelGeomPoint2d(1, 2));
    expectNear(apply(p, VelGeomPoint2d(0, 0)), 2, 4);
    EXPECT_FALSE(p.isMirror());  // a point reflection is a half-turn
}

TEST(VelGeomMatrix2d, IsMirrorOnlyForUnitDeterminantMinusOne)
{
    EXPECT_TRUE(diag(-1, 1, 1).isMirror());
    EXPECT_FALSE(diag(-2, 1, 1).isMirror());
    EXPECT_TRUE(diag(-1.00009, 1, 1).isMirror());  // |det + 1| < 1e-4
    EXPECT_FALSE(diag(-1.0002, 1, 1).isMirror());
    EXPECT_FALSE(VelGeomMatrix2d::rotation(kPi).isMirror());
}

TEST(VelGeomMatrix2d, InversionLeavesSingularMatricesUnchanged)
{
    VelGeomMatrix2d zero;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            zero(i, j) = 0.0;
    VelGeomMatrix2d z = zero;
    z.invert();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(z(i, j), 0.0);

    VelGeomMatrix2d twin;
    twin.setCoordSystem(VelGeomPoint2d(1, 2), VelGeomVector2d(1, 1), VelGeomVector2d(1, 1));
    EXPECT_TRUE(twin.isSingular());
    const VelGeomMatrix2d before = twin;
    twin.invert();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(twin(i, j), before(i, j));

    // |det| < 1e-8 counts as singular, just above it does not.
    VelGeomMatrix2d tiny = diag(0.9e-8, 1, 1);
    tiny.invert();
    EXPECT_EQ(tiny(0, 0), 0.9e-8);
    VelGeomMatrix2d small = diag(1.1e-8, 1, 1);
    small.invert();
    EXPECT_NEAR(small(0, 0), 1.0 / 1.1e-8, 1e-3);
}

TEST(VelGeomMatrix2d, RandomProductWithInverseIsIdentity)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    int checked = 0;
    for (int k = 0; k < 300; ++k) {
        VelGeomMatrix2d m;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                m(i, j) = u(gen);
        if (std::fabs(m.det()) < 1.0)
            continue;
        const VelGeomMatrix2d p = m * m.inverse();
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(p(i, j), i == j ? 1.0 : 0.0, 1e-9);
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

TEST(VelGeomMatrix2d, AlignCoordSysRoundTrip)
{
    const VelGeomPoint2d o1(1, 2), o2(-3, 5);
    const VelGeomVector2d x1(1, 0), y1(0, 1);
    const VelGeomVector2d x2 = VelGeomVector2d(1, 1).normal(), y2 = VelGeomVector2d(-1, 1).normal();
    const VelGeomMatrix2d a = VelGeomMatrix2d::alignCoordSys(o1, x1, y1, o2, x2, y2);
    // (3, -1) in the first system is o1 + 3 x1 - y1; it goes to o2 + 3 x2 - y2.
    const VelGeomPoint2d p = apply(a, o1 + x1 * 3.0 - y1);
    const VelGeomPoint2d q = o2 + x2 * 3.0 - y2;
    expectNear(p, q.x, q.y);
    const VelGeomMatrix2d back = VelGeomMatrix2d::alignCoordSys(o2, x2, y2, o1, x1, y1);
    EXPECT_TRUE((back * a).isEqualTo(VelGeomMatrix2d::kIdentity));
}

TEST(VelGeomMatrix2d, OrthogonalityQueriesAndComparison)
{
    VelGeomMatrix2d m;
    m.setCoordSystem(VelGeomPoint2d(4, 5), VelGeomVector2d(1, 0), VelGeomVector2d(0, 2));
    EXPECT_TRUE(m.isScaledOrtho());
    EXPECT_FALSE(m.isUniScaledOrtho());
    EXPECT_FALSE(m.isSingular());
    EXPECT_EQ(m.getScale(), 2.0);
    m.setCoordSystem(VelGeomPoint2d(4, 5), VelGeomVector2d(0, 3), VelGeomVector2d(-3, 0));
    EXPECT_TRUE(m.isUniScaledOrtho());
    m.setCoordSystem(VelGeomPoint2d(4, 5), VelGeomVector2d(1, 0), VelGeomVector2d(1, 1));
    EXPECT_FALSE(m.isScaledOrtho());
    m.setCoordSystem(VelGeomPoint2d(4, 5), VelGeomVector2d(0, 0), VelGeomVector2d(1, 1));
    EXPECT_TRUE(m.isSingular());

    VelGeomPoint2d o;
    VelGeomVector2d x, y;
    m.setCoordSystem(VelGeomPoint2d(4, 5), VelGeomVector2d(1, 2), VelGeomVector2d(3, 4));
    m.getCoordSystem(o, x, y);
    EXPECT_EQ(o, VelGeomPoint2d(4, 5));
    EXPECT_EQ(x, VelGeomVector2d(1, 2));
    EXPECT_EQ(y, VelGeomVector2d(3, 4));
    EXPECT_EQ(m.getTranslation(), VelGeomVector2d(4, 5));
    m.setTranslation(VelGeomVector2d(0, 1));
    EXPECT_EQ(m(0, 0), 1.0);
    EXPECT_EQ(m(1, 2), 1.0);

    // The whole matrix is transposed, the translation column included.
    const VelGeomMatrix2d t = m.transpose();
    EXPECT_EQ(t(2, 1), 1.0);
    EXPECT_EQ(t(1, 0), 3.0);

    // The last row is not compared.
    VelGeomMatrix2d a, b;
    b(2, 0) = 5.0;
    EXPECT_TRUE(a == b);
    b(0, 2) = 1e-9;
    EXPECT_TRUE(a != b);
    b.setToIdentity();
    EXPECT_EQ(b(2, 0), 0.0);
}
