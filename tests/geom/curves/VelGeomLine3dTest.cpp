#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

// Line intersections leave the process-wide precision floor raised, by
// design. Every test of the executable starts from the floor the library is
// loaded with, so that no test depends on the order the suite runs in.
class PrecisionFloorReset : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override
    {
        VelGeomTol::resetPrecTol();
        VelGeomTol::enablePrecOverride(false);
    }
};

const bool kPrecisionFloorResetRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new PrecisionFloorReset);
    return true;
}();

using P = VelGeomPoint3d;
using V = VelGeomVector3d;

const VelGeomTol kTight(1e-12, 1e-12);

VelArray<P> cut(const VelGeomCurve3d& a, const VelGeomCurve3d& b, const VelGeomTol& tol = VelGeomTol::gTol)
{
    VelArray<P> pts;
    a.intersectWith(b, pts, tol);
    return pts;
}

std::unique_ptr<VelGeomLine3d> makeStraight(int kind, const P& a, const P& b)
{
    switch (kind) {
    case 0:
        return std::make_unique<VelGeomLine3d>(a, b);
    case 1:
        return std::make_unique<VelGeomRay3d>(a, b);
    default:
        return std::make_unique<VelGeomLineSeg3d>(a, b);
    }
}

// Sample points of a straight curve over a bounded part of its range.
std::vector<P> samples(const VelGeomLine3d& c, int kind)
{
    const double from = kind == 0 ? -30.0 : 0.0, to = kind == 2 ? 1.0 : 30.0;
    std::vector<P> out;
    for (int i = 0; i <= 300; ++i)
        out.push_back(c.evalPoint(from + (to - from) * i / 300.0));
    return out;
}

}  // namespace

TEST(VelGeomLine3d, ConstructionAndNamedLines)
{
    const VelGeomLine3d def;
    EXPECT_EQ(def.direction(), V(1, 0, 0));
    EXPECT_EQ(def.pointOnLine(), P(0, 0, 0));
    const VelGeomLineSeg3d seg;
    EXPECT_EQ(seg.getEndPoint(), P(1, 0, 0));
    const VelGeomLine3d l(P(1, 1, 1), V(0, 0, 4));
    EXPECT_EQ(l.direction(), V(0, 0, 1));
    EXPECT_EQ(l.evalPoint(1.0), P(1, 1, 5));  // the parameter follows the vector it was built from
    const VelGeomLineSeg3d s(P(1, 1, 1), V(0, 0, 4));
    EXPECT_EQ(s.getEndPoint(), P(1, 1, 5));
    EXPECT_EQ(s.getMidPoint(), P(1, 1, 3));
    EXPECT_EQ(VelGeomLine3d::kYAxis.direction(), V(0, 1, 0));
    EXPECT_EQ(VelGeomLine3d::kZAxis.pointOnLine(), P(0, 0, 0));
    EXPECT_EQ(VelGeomLine3d::kXAxis.evalPoint(2.0), P(2, 0, 0));
    // Kinds.
    EXPECT_TRUE(seg.isKindOf(VelGeomCurve3d::kLine));
    EXPECT_TRUE(VelGeomRay3d().isKindOf(VelGeomCurve3d::kLine));
    EXPECT_FALSE(def.isKindOf(VelGeomCurve3d::kLineSeg));
    EXPECT_FALSE(def.isKindOf(VelGeomCurve3d::kRay));
    EXPECT_EQ(VelGeomRay3d().getType(), VelGeomCurve3d::kRay);
    EXPECT_EQ(seg.getType(), VelGeomCurve3d::kLineSeg);
}

TEST(VelGeomLine3d, LineLineIntersection)
{
    const P x(1, 2, 3);
    const VelGeomLine3d a(x - V(1, 1, 0) * 3.0, x);
    const VelGeomLine3d b(x + V(0, 2, 5), x);
    const VelArray<P> pts = cut(a, b);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_TRUE(pts[0].isEqualTo(x, VelGeomTol(1e-14, 1e-14)));
    EXPECT_GE(VelGeomTol::precTol.equalPoint(), 1e-10);
    EXPECT_LT(VelGeomTol::precTol.equalPoint(), 1e-9);

    // Parallel, colinear and skew lines have no point.
    EXPECT_EQ(cut(a, VelGeomLine3d(P(0, 0, 9), V(1, 1, 0))).length(), 0);
    EXPECT_EQ(cut(a, VelGeomLine3d(x + V(2, 2, 0), V(-1, -1, 0))).length(), 0);
    EXPECT_EQ(cut(VelGeomLine3d::kXAxis, VelGeomLine3d(P(0, 0, 1e-3), V(0, 1, 0))).length(), 0);
    // Skew by less than the tolerance: they meet.
    const VelArray<P> close = cut(VelGeomLine3d::kXAxis, VelGeomLine3d(P(4, 0, 5e-11), V(0, 1, 0)));
    ASSERT_EQ(close.length(), 1);
    EXPECT_TRUE(close[0].isEqualTo(P(4, 0, 0), VelGeomTol(1e-10, 1e-10)));
}

TEST(VelGeomLine3d, EveryDeterminantPairIsUsable)
{
    // Lines in the YZ plane: the xy and xz determinants vanish.
    const VelArray<P> yz = cut(VelGeomLine3d(P(0, 0, 7), V(0, 1, 0)), VelGeomLine3d(P(0, 5, 0), V(0, 0, 1)));
    ASSERT_EQ(yz.length(), 1);
    EXPECT_EQ(yz[0], P(0, 5, 7));
    // Lines in the XZ plane: the xy determinant vanishes.
    const VelArray<P> xz = cut(VelGeomLine3d(P(0, 1, 7), V(1, 0, 0)), VelGeomLine3d(P(3, 1, 0), V(0, 0, 1)));
    ASSERT_EQ(xz.length(), 1);
    EXPECT_EQ(xz[0], P(3, 1, 7));
    // Nearly parallel in xy but well apart in xz: the larger determinant is
    // the one solved. Solving the tiny xy one would blow the rounding of the
    // y coordinates up to about 1e-4 and miss the point.
    const V d2(1, 1e-12, 1);
    const VelArray<P> best = cut(VelGeomLine3d(P(0, 1, 0), V(1, 0, 0)), VelGeomLine3d(P(5, 1, 0) - d2 * 3.0, d2));
    ASSERT_EQ(best.length(), 1);
    EXPECT_TRUE(best[0].isEqualTo(P(5, 1, 0), VelGeomTol(1e-12, 1e-12)));
}

TEST(VelGeomLine3d, PrecisionFloorStartsAtTheDefaultEachTime)
{
    VelGeomTol::precTol.setEqualPoint(1e-3);
    cut(VelGeomLine3d::kXAxis, VelGeomLine3d::kYAxis);
    EXPECT_EQ(VelGeomTol::precTol.equalPoint(), 1e-10);  // exact arithmetic: no residual
    // Lines that meet a million units from the origin and from their points:
    // the rounding residual of the solution raises the floor (most of the
    // time), and the point is still found.
    std::mt19937 gen(41);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    int raised = 0;
    for (int k = 0; k < 40; ++k) {
        const P x(1e6 * u(gen), 1e6 * u(gen), 1e6 * u(gen));
        const P a(x.x + 3e6 * u(gen), x.y + 3e6 * u(gen), x.z + 3e6 * u(gen));
        const P b(x.x + 3e6 * u(gen), x.y + 3e6 * u(gen), x.z + 3e6 * u(gen));
        const VelArray<P> pts = cut(VelGeomLine3d(a, x), VelGeomLine3d(b, x));
        ASSERT_EQ(pts.length(), 1);
        EXPECT_LT(pts[0].distanceTo(x), 1e-7);
        EXPECT_GE(VelGeomTol::precTol.equalPoint(), 1e-10);
        EXPECT_LT(VelGeomTol::precTol.equalPoint(), 1e-6);
        raised += VelGeomTol::precTol.equalPoint() > 1e-10;
    }
    EXPECT_GT(raised, 10);
    VelGeomTol::resetPrecTol();
    EXPECT_EQ(VelGeomTol::precTol.equalPoint(), 1e-16);
}

TEST(VelGeomLine3d, SegmentIntersections)
{
    const VelGeomLineSeg3d a(P(0, 0, 0), P(1, 0, 0));
    VelArray<P> pts = cut(a, VelGeomLineSeg3d(P(1, 0, 0), P(2, 0, 0)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 0, 0));
    pts = cut(VelGeomLineSeg3d(P(1, 0, 0), P(2, 0, 0)), a);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 0, 0));
    // Overlapping colinear segments give none; so do colinear segments of
    // opposite direction, even touching ones.
    EXPECT_EQ(cut(VelGeomLineSeg3d(P(0, 0, 0), P(2, 0, 0)), VelGeomLineSeg3d(P(1, 0, 0), P(3, 0, 0))).length(), 0);
    EXPECT_EQ(cut(a, VelGeomLineSeg3d(P(2, 0, 0), P(1, 0, 0))).length(), 0);

    pts = cut(VelGeomLineSeg3d(P(0, 0, 0), P(2, 2, 0)), VelGeomLineSeg3d(P(0, 2, 0), P(2, 0, 0)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 1, 0));

    // Just outside the end under gTol, on it under a looser tolerance.
    const VelGeomLineSeg3d across(P(1 + 1e-9, -1, 0), P(1 + 1e-9, 1, 0));
    EXPECT_EQ(cut(a, across).length(), 0);
    EXPECT_EQ(cut(a, across, VelGeomTol(1e-8, 1e-8)).length(), 1);
    const VelGeomLineSeg3d inside(P(1 - 1e-9, -1, 0), P(1 - 1e-9, 1, 0));
    EXPECT_EQ(cut(a, inside).length(), 1);
    // A segment that stops short of the other.
    EXPECT_EQ(cut(a, VelGeomLineSeg3d(P(0.5, 0.1, 0), P(0.5, 1, 0))).length(), 0);
    // A line through it.
    EXPECT_EQ(cut(VelGeomLine3d(P(0.5, 4, 0), V(0, 1, 0)), a).length(), 1);

    // A degenerate segment is a point.
    const VelGeomLineSeg3d dot(P(0.5, 0, 0), P(0.5, 0, 0));
    pts = cut(dot, a);
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(0.5, 0, 0));
    EXPECT_EQ(cut(VelGeomLineSeg3d(P(5, 0, 0), P(5, 0, 0)), a).length(), 0);
}

TEST(VelGeomLine3d, RaysAreHalfLines)
{
    const VelGeomRay3d r(P(0, 0, 0), V(1, 0, 0));
    EXPECT_EQ(cut(r, VelGeomLine3d(P(-1, -1, 0), V(0, 1, 0))).length(), 0);
    VelArray<P> pts = cut(r, VelGeomLine3d(P(1, -1, 0), V(0, 1, 0)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(1, 0, 0));
    // The start itself belongs to the ray.
    pts = cut(r, VelGeomLine3d(P(0, -1, 0), V(0, 1, 0)));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(0, 0, 0));
    // A segment meeting the ray behind its start.
    EXPECT_EQ(cut(VelGeomLineSeg3d(P(-1, -1, 0), P(-1, 1, 0)), r).length(), 0);
    EXPECT_EQ(cut(VelGeomLineSeg3d(P(3, -1, 0), P(3, 1, 0)), r).length(), 1);

    EXPECT_TRUE(r.isOn(P(5, 0, 0)));
    EXPECT_FALSE(r.isOn(P(-5, 0, 0)));
    EXPECT_TRUE(r.isOn(P(0, 0, 0)));
    EXPECT_EQ(r.getClosestPointTo(P(-3, 2, 0)), P(0, 0, 0));
    EXPECT_EQ(r.getClosestPointTo(P(3, 2, 0)), P(3, 0, 0));
    double t = -1;
    EXPECT_TRUE(r.hasStartParam(t));
    EXPECT_EQ(t, 0.0);
    EXPECT_FALSE(r.hasEndParam(t));
    P e;
    EXPECT_FALSE(r.hasEndPoint(e));
}

TEST(VelGeomLine3d, ParametersAndPointQueries)
{
    const VelGeomLineSeg3d s(P(0, 0, 0), P(10, 0, 0));
    EXPECT_EQ(s.evalPoint(0.5), P(5, 0, 0));
    EXPECT_EQ(s.paramOf(P(5, 0, 0)), 0.5);
    EXPECT_EQ(s.paramOf(P(-5, 0, 0)), -0.5);
    EXPECT_EQ(s.getClosestPointTo(P(-3, 1, 0)), P(0, 0, 0));
    EXPECT_EQ(s.getClosestPointTo(P(13, 1, 0)), P(10, 0, 0));
    EXPECT_EQ(s.getClosestPointTo(P(4, 1, 7)), P(4, 0, 0));
    EXPECT_EQ(s.getLength(), 10.0);
    EXPECT_EQ(s.distanceTo(P(4, 3, 4)), 5.0);
    double t = 0;
    EXPECT_TRUE(s.hasEndParam(t));
    EXPECT_EQ(t, 1.0);

    // Points on the segment up to the tolerance, and just off it.
    EXPECT_TRUE(s.isOn(P(10, 0, 0)));
    EXPECT_TRUE(s.isOn(P(10 - 1e-9, 0, 0)));
    EXPECT_FALSE(s.isOn(P(10 + 1e-9, 0, 0)));
    EXPECT_TRUE(s.isOn(P(10 + 1e-9, 0, 0), VelGeomTol(1e-8, 1e-8)));
    EXPECT_TRUE(s.isOn(P(5, 0.5e-10, 0)));
    EXPECT_FALSE(s.isOn(P(5, 2e-10, 0)));
    EXPECT_FALSE(s.isOn(P(-1, 0, 0)));

    const VelGeomLine3d line(P(0, 0, 0), P(10, 0, 0));
    EXPECT_TRUE(line.isOn(P(-100, 0, 0)));
    EXPECT_FALSE(line.isOn(P(-100, 1e-6, 0)));
    EXPECT_EQ(line.getClosestPointTo(P(-3, 4, 0)), P(-3, 0, 0));
    EXPECT_EQ(line.getLength(), 0.0);
    EXPECT_TRUE(line.isColinearTo(VelGeomLine3d(P(20, 0, 0), V(-2, 0, 0))));
    EXPECT_FALSE(line.isColinearTo(VelGeomLine3d(P(20, 1, 0), V(-2, 0, 0))));
    EXPECT_EQ(line.tangentVector(P(1, 1, 1)), V(1, 0, 0));
    VelGeomPlane perp;
    line.getPerpPlane(P(3, 3, 3), perp);
    EXPECT_EQ(perp.normal(), V(1, 0, 0));
    EXPECT_TRUE(perp.isOn(P(3, -7, 9)));
    EXPECT_EQ(line.getPerpIntersections(P(2, 5, 0), 0).length(), 1);
    EXPECT_EQ(s.getPerpIntersections(P(20, 5, 0), 0)[0], P(10, 0, 0));
}

TEST(VelGeomLine3d, ClosestPointsOfStraightCurves)
{
    VelGeomPoint3d other;
    const VelGeomLineSeg3d a(P(0, 0, 0), P(1, 0, 0));
    const P p = a.getClosestPointTo(VelGeomLineSeg3d(P(2, 1, 0), P(2, 2, 0)), other);
    EXPECT_EQ(p, P(1, 0, 0));
    EXPECT_EQ(other, P(2, 1, 0));
    // Crossing curves answer their intersection.
    const P c = a.getClosestPointTo(VelGeomLine3d(P(0.5, 3, 0), V(0, 1, 0)), other);
    EXPECT_EQ(c, P(0.5, 0, 0));
    EXPECT_EQ(other, P(0.5, 0, 0));
    // A line and a ray that starts beside it, skew: the line is not clamped.
    const P l = VelGeomLine3d::kXAxis.getClosestPointTo(VelGeomRay3d(P(-5, 1, 1), V(0, 0, 1)), other);
    EXPECT_TRUE(l.isEqualTo(P(-5, 0, 0), kTight));
    EXPECT_TRUE(other.isEqualTo(P(-5, 1, 1), kTight));
    EXPECT_NEAR(VelGeomLine3d::kXAxis.distanceTo(VelGeomRay3d(P(-5, 1, 1), V(0, 0, 1))), std::sqrt(2.0), 1e-12);
    // Parallel segments.
    const P q = a.getClosestPointTo(VelGeomLineSeg3d(P(3, 1, 0), P(5, 1, 0)), other);
    EXPECT_EQ(q, P(1, 0, 0));
    EXPECT_EQ(other, P(3, 1, 0));
}

TEST(VelGeomLine3d, ClosestPairIsNoFartherThanAnySampledPair)
{
    std::mt19937 gen(31);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int k = 0; k < 90; ++k) {
        const int k1 = k % 3, k2 = (k / 3) % 3;
        const auto c1 = makeStraight(k1, P(u(gen), u(gen), u(gen)), P(u(gen), u(gen), u(gen)));
        const auto c2 = makeStraight(k2, P(u(gen), u(gen), u(gen)), P(u(gen), u(gen), u(gen)));
        P onOther;
        const P mine = c1->getClosestPointTo(*c2, onOther);
        const double best = mine.distanceTo(onOther);
        EXPECT_TRUE(c1->isOn(mine, VelGeomTol(1e-8, 1e-8))) << k;
        EXPECT_TRUE(c2->isOn(onOther, VelGeomTol(1e-8, 1e-8))) << k;
        EXPECT_NEAR(c1->distanceTo(*c2), best, 1e-12);
        const std::vector<P> s1 = samples(*c1, k1), s2 = samples(*c2, k2);
        double sampled = 1e300;
        for (const P& a : s1)
            sampled = std::fmin(sampled, c2->distanceTo(a));
        for (const P& b : s2)
            sampled = std::fmin(sampled, c1->distanceTo(b));
        EXPECT_LE(best, sampled + 1e-9) << "kinds " << k1 << ", " << k2;
    }
}

TEST(VelGeomLine3d, ClosestPointToAPointIsNoFartherThanSamples)
{
    std::mt19937 gen(37);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int k = 0; k < 60; ++k) {
        const int kind = k % 3;
        const auto c = makeStraight(kind, P(u(gen), u(gen), u(gen)), P(u(gen), u(gen), u(gen)));
        const P p(u(gen), u(gen), u(gen));
        const P q = c->getClosestPointTo(p);
        EXPECT_TRUE(c->isOn(q, VelGeomTol(1e-9, 1e-9)));
        for (const P& s : samples(*c, kind))
            EXPECT_LE(q.distanceTo(p), s.distanceTo(p) + 1e-12);
    }
}

TEST(VelGeomLine3d, ProjectedClosestPoint)
{
    const VelGeomLine3d line(P(0, 0, 0), V(1, 0, 0));
    EXPECT_TRUE(line.projClosestPointTo(P(5, 3, 10), V(0, 0, 1)).isEqualTo(P(5, 0, 0), kTight));
    // Seen along an oblique direction the nearest point stays at x = 5.
    EXPECT_TRUE(line.projClosestPointTo(P(5, 3, 10), V(0, 1, 1)).isEqualTo(P(5, 0, 0), kTight));
    // Bounded curves fall back to their own nearest point.
    const VelGeomLineSeg3d seg(P(0, 0, 0), P(3, 0, 0));
    EXPECT_TRUE(seg.projClosestPointTo(P(5, 3, 10), V(0, 1, 1)).isEqualTo(P(3, 0, 0), kTight));
    const VelGeomLine3d up(P(1, 1, 0), V(0, 0, 1));
    EXPECT_TRUE(up.projClosestPointTo(P(0, 0, 5), V(0, 0, 1)).isEqualTo(P(1, 1, 5), kTight));
}

TEST(VelGeomLine3d, TransformationsKeepTheParameterConsistent)
{
    VelGeomLineSeg3d s(P(0, 0, 0), P(1, 1, 0));
    s.transformBy(VelGeomMatrix3d::scale(P(0, 0, 0), 2.0, 1.0, 1.0));
    EXPECT_EQ(s.getEndPoint(), P(2, 1, 0));
    EXPECT_TRUE(s.evalPoint(1.0).isEqualTo(P(2, 1, 0), kTight));
    EXPECT_NEAR(s.paramOf(P(2, 1, 0)), 1.0, 1e-12);
    EXPECT_TRUE(s.isOn(P(1, 0.5, 0)));

    VelGeomLineSeg3d r(P(1, 0, 0), P(3, 0, 0));
    r.transformBy(VelGeomMatrix3d::rotation(1.0, V(1, 2, 3), P(0, 1, 0)) *
                  VelGeomMatrix3d::scale(P(0, 0, 0), 3.0));
    EXPECT_TRUE(r.evalPoint(0.5).isEqualTo(r.getMidPoint(), VelGeomTol(1e-12, 1e-12)));
    EXPECT_NEAR(r.getLength(), 6.0, 1e-12);

    VelGeomLine3d line(P(0, 0, 0), V(2, 0, 0));
    line.transformBy(VelGeomMatrix3d::translation(V(0, 0, 1)) * VelGeomMatrix3d::rotationZ(std::acos(-1.0) / 2));
    EXPECT_TRUE(line.evalPoint(1.0).isEqualTo(P(0, 2, 1), kTight));
}

TEST(VelGeomLine3d, OffsetsAndCarriers)
{
    const VelGeomLineSeg3d s(P(0, 0, 0), P(10, 0, 0));
    VelArray<VelGeomCurve3d*> pieces;
    s.getOffset(1.0, V(0, 0, 1), pieces, kOffsetExtExtend);
    ASSERT_EQ(pieces.length(), 1);
    ASSERT_EQ(pieces[0]->getType(), VelGeomCurve3d::kLineSeg);
    P a, b;
    pieces[0]->hasStartPoint(a);
    pieces[0]->hasEndPoint(b);
    EXPECT_EQ(a, P(0, 1, 0));
    EXPECT_EQ(b, P(10, 1, 0));
    VelGeomCurve3d::deleteCurve(pieces[0]);
    s.getOffset(2.0, V(0, 0, -1), pieces, kOffsetExtNone);
    ASSERT_EQ(pieces.length(), 1);
    pieces[0]->hasStartPoint(a);
    EXPECT_EQ(a, P(0, -2, 0));
    VelGeomCurve3d::deleteCurve(pieces[0]);

    // Only the part of the displacement across the direction is applied.
    VelGeomCurve3d* moved = nullptr;
    EXPECT_EQ(s.get3dOffset(V(3, 1, 2), moved), 1);
    ASSERT_NE(moved, nullptr);
    moved->hasEndPoint(b);
    EXPECT_EQ(b, P(10, 1, 2));
    VelGeomCurve3d::deleteCurve(moved);
    EXPECT_EQ(moved, nullptr);

    VelGeomCurve3d* carrier = s.getInfiniteCurve();
    EXPECT_EQ(carrier->getType(), VelGeomCurve3d::kLine);
    EXPECT_EQ(carrier->evalPoint(2.0), P(20, 0, 0));
    EXPECT_TRUE(carrier->isOn(P(-50, 0, 0)));
    VelGeomCurve3d::deleteCurve(carrier);
    VelGeomCurve3d* copy = VelGeomRay3d(P(1, 1, 1), V(0, 1, 0)).copy();
    EXPECT_EQ(copy->getType(), VelGeomCurve3d::kRay);
    EXPECT_FALSE(copy->isOn(P(1, 0, 1)));
    VelGeomCurve3d::deleteCurve(copy);
}

TEST(VelGeomLine3d, CutAtAPlane)
{
    VelGeomLineSeg3d s(P(0, 0, 0), P(10, 0, 0));
    const VelGeomPlane x12(P(12, 0, 0), V(1, 0, 0));
    EXPECT_EQ(s.cutAt(x12, 1, 0, VelGeomTol::gTol), 1);
    EXPECT_EQ(s.getEndPoint(), P(10, 0, 0));
    EXPECT_EQ(s.cutAt(x12, 1, 1, VelGeomTol::gTol), 1);
    EXPECT_EQ(s.getEndPoint(), P(12, 0, 0));
    EXPECT_EQ(s.getLength(), 12.0);
    EXPECT_EQ(s.evalPoint(1.0), P(12, 0, 0));
    EXPECT_EQ(s.cutAt(VelGeomPlane(P(3, 0, 0), V(1, 0, 0)), 0, 0, VelGeomTol::gTol), 1);
    EXPECT_EQ(s.getStartPoint(), P(3, 0, 0));
    EXPECT_EQ(s.evalPoint(1.0), P(12, 0, 0));
    // A plane parallel to the segment does not cut it.
    EXPECT_EQ(s.cutAt(VelGeomPlane::kXYPlane, 0, 1, VelGeomTol::gTol), 0);
    // Moving the start past the end turns the segment round.
    EXPECT_EQ(s.cutAt(VelGeomPlane(P(15, 0, 0), V(1, 0, 0)), 0, 1, VelGeomTol::gTol), 1);
    EXPECT_EQ(s.getStartPoint(), P(15, 0, 0));
    EXPECT_EQ(s.evalPoint(1.0), P(12, 0, 0));
    EXPECT_TRUE(s.isOn(P(13, 0, 0)));

    VelGeomRay3d r(P(0, 0, 0), V(1, 0, 0));
    EXPECT_EQ(r.cutAt(x12, 1, 1, VelGeomTol::gTol), 0);
    EXPECT_EQ(r.cutAt(VelGeomPlane(P(-2, 0, 0), V(1, 0, 0)), 0, 0, VelGeomTol::gTol), 1);
    EXPECT_EQ(r.getStartPoint(), P(0, 0, 0));
    EXPECT_EQ(r.cutAt(VelGeomPlane(P(-2, 0, 0), V(1, 0, 0)), 0, 1, VelGeomTol::gTol), 1);
    EXPECT_EQ(r.getStartPoint(), P(-2, 0, 0));
    VelGeomLine3d line;
    EXPECT_EQ(line.cutAt(x12, 0, 1, VelGeomTol::gTol), 0);
}
