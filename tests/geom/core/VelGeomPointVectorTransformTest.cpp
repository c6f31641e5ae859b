#include "geom/core/VelGeomMatrix2d.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/core/VelGeomVector3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const double kPi = std::acos(-1.0);
const VelGeomTol kTight(1e-12, 1e-12);

}  // namespace

TEST(VelGeomPointVectorTransform, PlanePointsAndVectors)
{
    VelGeomPoint2d p(2, 1);
    p.rotateBy(kPi / 2, VelGeomPoint2d(1, 1));
    EXPECT_TRUE(p.isEqualTo(VelGeomPoint2d(1, 2), kTight));

    VelGeomMatrix2d m = VelGeomMatrix2d::translation(VelGeomVector2d(10, 20));
    VelGeomPoint2d q;
    q.setToProduct(m, VelGeomPoint2d(1, 2));
    EXPECT_EQ(q, VelGeomPoint2d(11, 22));
    VelGeomVector2d v;
    v.setToProduct(m, VelGeomVector2d(1, 2));
    EXPECT_EQ(v, VelGeomVector2d(1, 2));

    VelGeomVector2d r(1, 0);
    r.rotateBy(kPi / 2);
    EXPECT_TRUE(r.isEqualTo(VelGeomVector2d(0, 1), kTight));
    VelGeomVector2d mir(1, 0);
    mir.mirror(VelGeomVector2d(1, 1));
    EXPECT_TRUE(mir.isEqualTo(VelGeomVector2d(0, 1), kTight));
    VelGeomVector2d same(3, 0);
    same.mirror(VelGeomVector2d(-2, 0));
    EXPECT_TRUE(same.isEqualTo(VelGeomVector2d(3, 0), kTight));
    VelGeomVector2d flip(0, 3);
    flip.mirror(VelGeomVector2d(5, 0));
    EXPECT_TRUE(flip.isEqualTo(VelGeomVector2d(0, -3), kTight));
}

TEST(VelGeomPointVectorTransform, SpacePointsRotateAndScaleAboutABase)
{
    VelGeomPoint3d p(2, 0, 0);
    p.rotateBy(kPi / 2, VelGeomVector3d::kZAxis, VelGeomPoint3d(1, 0, 0));
    EXPECT_TRUE(p.isEqualTo(VelGeomPoint3d(1, 1, 0), kTight));
    VelGeomPoint3d s(2, 2, 2);
    s.scaleBy(2.0, VelGeomPoint3d(1, 1, 1));
    EXPECT_EQ(s, VelGeomPoint3d(3, 3, 3));
    VelGeomPoint3d t(1, 2, 3);
    t.transformBy(VelGeomMatrix3d::translation(VelGeomVector3d(1, 1, 1)));
    EXPECT_EQ(t, VelGeomPoint3d(2, 3, 4));

    // Rotated and rotated back, every point returns.
    std::mt19937 gen(23);
    std::uniform_real_distribution<double> u(-50.0, 50.0);
    for (int k = 0; k < 100; ++k) {
        const VelGeomPoint3d orig(u(gen), u(gen), u(gen));
        const VelGeomVector3d axis(u(gen), u(gen), u(gen));
        const VelGeomPoint3d base(u(gen), u(gen), u(gen));
        const double a = u(gen) / 10.0;
        VelGeomPoint3d x = orig;
        x.rotateBy(a, axis, base).rotateBy(-a, axis, base);
        EXPECT_TRUE(x.isEqualTo(orig, VelGeomTol(1e-9, 1e-9)));
        // And keeps its distance to the base.
        VelGeomPoint3d y = orig;
        y.rotateBy(a, axis, base);
        EXPECT_NEAR(y.distanceTo(base), orig.distanceTo(base), 1e-9);
    }
}

TEST(VelGeomPointVectorTransform, SpaceVectorRotations)
{
    VelGeomVector3d v(0, 1, 0);
    v.rotateX(kPi / 2);
    EXPECT_TRUE(v.isEqualTo(VelGeomVector3d(0, 0, 1), kTight));
    v.set(0, 0, 1).rotateY(kPi / 2);
    EXPECT_TRUE(v.isEqualTo(VelGeomVector3d(1, 0, 0), kTight));
    v.set(1, 0, 0).rotateZ(kPi / 2);
    EXPECT_TRUE(v.isEqualTo(VelGeomVector3d(0, 1, 0), kTight));
    v.set(1, 0, 0).rotateBy(kPi / 2, VelGeomVector3d(0, 0, -4));
    EXPECT_TRUE(v.isEqualTo(VelGeomVector3d(0, -1, 0), kTight));
    // Vectors ignore translations.
    v.set(1, 2, 3).transformBy(VelGeomMatrix3d::translation(VelGeomVector3d(5, 5, 5)));
    EXPECT_EQ(v, VelGeomVector3d(1, 2, 3));
}

TEST(VelGeomPointVectorTransform, ProjectionsOntoPlanes)
{
    const VelGeomPlane z2(0, 0, 1, -2);
    EXPECT_EQ(VelGeomPoint3d(5, 5, 7).orthoProject(z2), VelGeomPoint3d(5, 5, 2));
    EXPECT_EQ(VelGeomPoint3d(0, 0, 2).project(VelGeomPlane::kXYPlane, VelGeomVector3d(1, 0, 1)),
              VelGeomPoint3d(-2, 0, 0));
    // A direction within the plane (within 1e-8 of it) leaves the point alone.
    EXPECT_EQ(VelGeomPoint3d(0, 0, 2).project(VelGeomPlane::kXYPlane, VelGeomVector3d(1, 0, 0)),
              VelGeomPoint3d(0, 0, 2));
    EXPECT_EQ(VelGeomPoint3d(0, 0, 2).project(VelGeomPlane::kXYPlane, VelGeomVector3d(1, 0, 0.9e-8)),
              VelGeomPoint3d(0, 0, 2));
    const VelGeomPoint3d far = VelGeomPoint3d(0, 0, 2).project(VelGeomPlane::kXYPlane, VelGeomVector3d(1, 0, 2e-8));
    EXPECT_NEAR(far.z, 0.0, 1e-12);
    EXPECT_NEAR(far.x, -1e8, 1.0);

    // The in-plane part of a vector does not depend on where the plane lies.
    const VelGeomVector3d v(1, 2, 3);
    EXPECT_EQ(v.project(VelGeomPlane::kXYPlane), VelGeomVector3d(1, 2, 0));
    EXPECT_EQ(v.project(VelGeomPlane(0, 0, 1, -1e6)), VelGeomVector3d(1, 2, 0));
    const VelGeomPlane oblique(VelGeomPoint3d(1, 1, 1), VelGeomVector3d(1, 1, 0));
    EXPECT_TRUE(v.project(oblique).isEqualTo(VelGeomVector3d(-0.5, 0.5, 3), kTight));
    EXPECT_TRUE(v.project(VelGeomVector3d(0, 0, 1), VelGeomVector3d(0, 1, 1)).isEqualTo(VelGeomVector3d(1, -1, 0),
                                                                                     kTight));
    EXPECT_TRUE(v.orthoProject(VelGeomVector3d(0, 0, 5)).isEqualTo(VelGeomVector3d(1, 2, 0), kTight));
}

TEST(VelGeomPointVectorTransform, ConvertToPlaneCoordinates)
{
    const VelGeomPoint2d a = VelGeomPoint3d(3, 4, 5).convert2d(VelGeomPlane::kXYPlane);
    EXPECT_EQ(a, VelGeomPoint2d(3, 4));
    // The axes are normalised before use.
    const VelGeomPlane p(VelGeomPoint3d(1, 1, 1), VelGeomVector3d(0, 2, 0), VelGeomVector3d(0, 0, 3));
    EXPECT_EQ(VelGeomPoint3d(1, 3, 4).convert2d(p), VelGeomPoint2d(2, 3));
    EXPECT_EQ(VelGeomVector3d(7, 2, 3).convert2d(p), VelGeomVector2d(2, 3));
    // The ZX plane's axes are (-1, 0, 0) and (0, 0, 1).
    EXPECT_EQ(VelGeomPoint3d(1, 9, 2).convert2d(VelGeomPlane::kZXPlane), VelGeomPoint2d(-1, 2));
}

TEST(VelGeomPointVectorTransform, AnglesAboutAReferenceAndToPlanes)
{
    const VelGeomVector3d x(1, 0, 0);
    EXPECT_NEAR(x.angleTo(VelGeomVector3d(0, -1, 0), VelGeomVector3d::kZAxis), 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(x.angleTo(VelGeomVector3d(0, -1, 0), -VelGeomVector3d::kZAxis), kPi / 2, 1e-12);
    EXPECT_EQ(x.angleTo(VelGeomVector3d(2, 0, 0), VelGeomVector3d::kZAxis), 0.0);
    EXPECT_NEAR(x.angleTo(VelGeomVector3d(-1, 0, 0), VelGeomVector3d::kZAxis), kPi, 1e-12);
    // Components along the reference do not count.
    EXPECT_NEAR(x.angleTo(VelGeomVector3d(0, 1, 7), VelGeomVector3d::kZAxis), kPi / 2, 1e-12);

    EXPECT_NEAR(VelGeomVector3d(0, 0, 1).angleTo(VelGeomPlane::kXYPlane), kPi / 2, 1e-15);
    EXPECT_NEAR(VelGeomVector3d(0, 0, -1).angleTo(VelGeomPlane::kXYPlane), -kPi / 2, 1e-15);
    EXPECT_NEAR(VelGeomVector3d(1, 0, 1).angleTo(VelGeomPlane::kXYPlane), kPi / 4, 1e-12);
    EXPECT_NEAR(VelGeomVector3d(0, 3, -3).angleTo(VelGeomPlane::kXYPlane), -kPi / 4, 1e-12);
    EXPECT_EQ(VelGeomVector3d(1, 1, 0).angleTo(VelGeomPlane::kXYPlane), 0.0);

    EXPECT_NEAR(VelGeomVector3d(0, 1, 5).angleOnPlane(VelGeomPlane::kXYPlane), kPi / 2, 1e-12);
    EXPECT_NEAR(VelGeomVector3d(-1, -1, 5).angleOnPlane(VelGeomPlane::kXYPlane), 3 * kPi / 4, 1e-12);
    EXPECT_NEAR(VelGeomVector3d(1, 4, 0).angleOnPlane(VelGeomPlane::kZXPlane), kPi, 1e-12);
}
