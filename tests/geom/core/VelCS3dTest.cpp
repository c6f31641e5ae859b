#include "geom/core/VelCS3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <type_traits>
#include <utility>

namespace {

const double kPi = std::acos(-1.0);
const VelGeomTol kTight(1e-12, 1e-12);

VelGeomPoint3d apply(const VelGeomMatrix3d& m, VelGeomPoint3d p) { return p.transformBy(m); }

// The frame of the examples: origin (10, 0, 0), x along world y, y along -x.
VelCS3d turnedFrame()
{
    return VelCS3d(VelGeomPoint3d(10, 0, 0), VelGeomVector3d(0, 1, 0), VelGeomVector3d(-1, 0, 0),
                   VelGeomVector3d(0, 0, 1));
}

// Whether f.This2WCS(cs) compiles for frames of the given reference kinds.
template <class F, class C, class = void>
struct CanCallThis2WCS : std::false_type {};
template <class F, class C>
struct CanCallThis2WCS<F, C, decltype(void(std::declval<F>().This2WCS(std::declval<C>())))> : std::true_type {};

}  // namespace

TEST(VelCS3d, ConversionsOfTheTurnedFrame)
{
    const VelCS3d f = turnedFrame();
    EXPECT_TRUE(apply(f.This2WCS(), VelGeomPoint3d(1, 0, 0)).isEqualTo(VelGeomPoint3d(10, 1, 0), kTight));
    EXPECT_TRUE(apply(f.WCS2This(), VelGeomPoint3d(10, 1, 0)).isEqualTo(VelGeomPoint3d(1, 0, 0), kTight));
    EXPECT_TRUE(apply(f.WCS2This(), VelGeomPoint3d(10, 0, 0)).isEqualTo(VelGeomPoint3d(0, 0, 0), kTight));
    EXPECT_TRUE((f.This2WCS() * f.WCS2This()).isEqualTo(VelGeomMatrix3d(), kTight));
}

TEST(VelCS3d, ChangesOfTheFrame)
{
    VelCS3d f = turnedFrame();
    f.translate(VelGeomVector3d(1, 0, 0));
    EXPECT_EQ(f.getOrigin(), VelGeomPoint3d(10, 1, 0));
    EXPECT_EQ(f.getX(), VelGeomVector3d(0, 1, 0));

    VelCS3d r = turnedFrame();
    r.rotate(VelCS3d::kZ, kPi / 2);
    EXPECT_EQ(r.getOrigin(), VelGeomPoint3d(10, 0, 0));
    EXPECT_EQ(r.getX(), VelGeomVector3d(-1, 0, 0));
    EXPECT_EQ(r.getY(), VelGeomVector3d(0, -1, 0));
    EXPECT_EQ(r.getZ(), VelGeomVector3d(0, 0, 1));
    // About its own x axis through its own origin.
    r = turnedFrame();
    r.rotate(VelCS3d::kX, kPi / 2);
    EXPECT_EQ(r.getOrigin(), VelGeomPoint3d(10, 0, 0));
    EXPECT_EQ(r.getY(), VelGeomVector3d(0, 0, 1));

    VelCS3d w;
    w.change2YZ();
    EXPECT_EQ(w.getX(), VelGeomVector3d(0, 1, 0));
    EXPECT_EQ(w.getY(), VelGeomVector3d(0, 0, 1));
    EXPECT_EQ(w.getZ(), VelGeomVector3d(1, 0, 0));

    VelCS3d s(VelGeomPoint3d(1, 1, 1), VelGeomVector3d(2, 0, 0), VelGeomVector3d(0, 3, 0), VelGeomVector3d(0, 0, 4));
    EXPECT_EQ(s.getY(), VelGeomVector3d(0, 1, 0));
    EXPECT_EQ(s.getZ(), VelGeomVector3d(0, 0, 1));
    s.transformBy(VelGeomMatrix3d::scale(VelGeomPoint3d(0, 0, 0), 2.0));
    EXPECT_EQ(s.getX().length(), 2.0);
    EXPECT_EQ(s.getOrigin(), VelGeomPoint3d(2, 2, 2));

    s.setX(VelGeomVector3d(0, 0, 5));
    EXPECT_EQ(s.getX(), VelGeomVector3d(0, 0, 1));
    EXPECT_EQ(s.getY().length(), 2.0);  // the others are not adjusted
    s.setOrigin(VelGeomPoint3d(-1, -2, -3));
    EXPECT_EQ(s.getOrigin(), VelGeomPoint3d(-1, -2, -3));
    EXPECT_EQ(s.getX(), VelGeomVector3d(0, 0, 1));
}

TEST(VelCS3d, OutOfRangeAxisSelectors)
{
    VelCS3d f = turnedFrame();
    const auto bad = static_cast<VelCS3d::eCoor>(3);
    EXPECT_EQ(f.getVector(bad), VelGeomVector3d(0, 0, 0));
    f.setVector(bad, VelGeomVector3d(1, 2, 3));
    f.rotate(bad, 1.0);
    EXPECT_TRUE(f.This2WCS().isEqualTo(turnedFrame().This2WCS(), kTight));
    EXPECT_EQ(f.getVector(VelCS3d::kY), VelGeomVector3d(-1, 0, 0));
}

TEST(VelCS3d, FromAMatrixNormalisesAndResetsTheLastRow)
{
    VelGeomMatrix3d m;
    m.setCoordSystem(VelGeomPoint3d(1, 2, 3), VelGeomVector3d(0, 0, 3), VelGeomVector3d(2, 0, 0),
                     VelGeomVector3d(0, 5, 0));
    m(3, 0) = 7.0;
    const VelCS3d f(m);
    EXPECT_EQ(f.getX(), VelGeomVector3d(0, 0, 1));
    EXPECT_EQ(f.getZ(), VelGeomVector3d(0, 1, 0));
    EXPECT_EQ(f.This2WCS()(3, 0), 0.0);
    EXPECT_EQ(f.This2WCS()(3, 3), 1.0);
    VelCS3d g;
    g = m;
    EXPECT_EQ(g.getY(), VelGeomVector3d(1, 0, 0));
    VelCS3d h;
    h = f;
    EXPECT_EQ(h.getOrigin(), VelGeomPoint3d(1, 2, 3));
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    h.getCoordSystem(o, x, y, z);
    EXPECT_EQ(x, VelGeomVector3d(0, 0, 1));
}

TEST(VelCS3d, ConversionsBetweenFramesBothWays)
{
    std::mt19937 gen(17);
    std::uniform_real_distribution<double> u(-5.0, 5.0);
    for (int k = 0; k < 20; ++k) {
        VelCS3d a(VelGeomPoint3d(u(gen), u(gen), u(gen)), VelGeomVector3d::kXAxis, VelGeomVector3d::kYAxis,
                  VelGeomVector3d::kZAxis);
        a.rotate(VelCS3d::kZ, u(gen));
        a.rotate(VelCS3d::kX, u(gen));
        VelCS3d b(VelGeomPoint3d(u(gen), u(gen), u(gen)), VelGeomVector3d::kXAxis, VelGeomVector3d::kYAxis,
                  VelGeomVector3d::kZAxis);
        b.rotate(VelCS3d::kY, u(gen));

        const VelGeomPoint3d local(u(gen), u(gen), u(gen));
        // The same local coordinates, seen in the world, from frame to frame.
        const VelGeomPoint3d inA = apply(a.This2WCS(), local);
        const VelGeomPoint3d inB = apply(b.This2WCS(), local);
        EXPECT_TRUE(apply(a.This2CS(b), inB).isEqualTo(inA, VelGeomTol(1e-10, 1e-10)));
        EXPECT_TRUE(apply(a.CS2This(b), inA).isEqualTo(inB, VelGeomTol(1e-10, 1e-10)));
        EXPECT_TRUE(a.alignTo(b).isEqualTo(a.CS2This(b), kTight));
        EXPECT_TRUE(apply(a.WCS2This(), inA).isEqualTo(local, VelGeomTol(1e-10, 1e-10)));

        VelArray<VelGeomPoint3d> pts;
        pts.append(local);
        pts.append(VelGeomPoint3d(1, 2, 3));
        a.This2WCS(pts);
        EXPECT_TRUE(pts[0].isEqualTo(inA, VelGeomTol(1e-10, 1e-10)));
        a.WCS2This(pts);
        EXPECT_TRUE(pts[0].isEqualTo(local, VelGeomTol(1e-10, 1e-10)));
        EXPECT_TRUE(pts[1].isEqualTo(VelGeomPoint3d(1, 2, 3), VelGeomTol(1e-10, 1e-10)));
    }
}

TEST(VelCS3d, FrameArgumentOverloadsAndHowToReachThem)
{
    // The plain call on non-const frames is ambiguous; the documented forms compile.
    static_assert(!CanCallThis2WCS<VelCS3d&, VelCS3d&>::value, "");
    static_assert(CanCallThis2WCS<VelCS3d&, const VelCS3d&>::value, "");
    static_assert(CanCallThis2WCS<const VelCS3d&, VelCS3d&>::value, "");

    // A frame whose axes have length 2 after a scaling.
    VelCS3d f = turnedFrame();
    f.transformBy(VelGeomMatrix3d::scale(VelGeomPoint3d(0, 0, 0), 2.0));
    const VelCS3d local(VelGeomPoint3d(1, 0, 0), VelGeomVector3d::kXAxis, VelGeomVector3d::kYAxis,
                        VelGeomVector3d::kZAxis);

    // New frame: mapped and normalised.
    const VelCS3d made = f.This2WCS(std::as_const(local));
    EXPECT_TRUE(made.getOrigin().isEqualTo(VelGeomPoint3d(20, 2, 0), kTight));
    EXPECT_TRUE(made.getX().isEqualTo(VelGeomVector3d(0, 1, 0), kTight));

    // In place: mapped, not normalised.
    VelCS3d inPlace = local;
    std::as_const(f).This2WCS(inPlace);
    EXPECT_TRUE(inPlace.getOrigin().isEqualTo(VelGeomPoint3d(20, 2, 0), kTight));
    EXPECT_TRUE(inPlace.getX().isEqualTo(VelGeomVector3d(0, 2, 0), kTight));

    // And back.
    VelCS3d again = inPlace;
    std::as_const(f).WCS2This(again);
    EXPECT_TRUE(again.getOrigin().isEqualTo(VelGeomPoint3d(1, 0, 0), kTight));
    EXPECT_TRUE(again.getX().isEqualTo(VelGeomVector3d(1, 0, 0), kTight));
    const VelCS3d back = f.WCS2This(std::as_const(made));
    EXPECT_TRUE(back.getOrigin().isEqualTo(VelGeomPoint3d(1, 0, 0), kTight));
    EXPECT_TRUE(back.getY().isEqualTo(VelGeomVector3d(0, 1, 0), kTight));
}
