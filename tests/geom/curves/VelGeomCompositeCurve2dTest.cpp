#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix2d.h"
#include "geom/curves/VelGeomCircArc2d.h"
#include "geom/curves/VelGeomCompositeCurve2d.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLineSeg2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using P = VelGeomPoint2d;
using V = VelGeomVector2d;

const double kPi = VelGeomBase::PI;

struct CountedSeg2d : VelGeomLineSeg2d {
    static int deaths;
    CountedSeg2d(const P& a, const P& b) : VelGeomLineSeg2d(a, b) {}
    CountedSeg2d(const CountedSeg2d&) = default;
    ~CountedSeg2d() override { ++deaths; }
    VelGeomCurve2d* copy() const override { return new CountedSeg2d(*this); }
};
int CountedSeg2d::deaths = 0;

// An edge of the plane with its own distance arithmetic: a segment, or an
// arc about c from angle a0 by the signed sweep (positive counter-clockwise).
struct Edge2 {
    bool arc;
    P a, b;
    P c;
    double r, a0, sweep;

    static Edge2 seg(const P& a, const P& b) { return Edge2{false, a, b, P(), 0, 0, 0}; }
    static Edge2 arcAt(const P& c, double r, double a0, double sweep)
    {
        const P a(c.x + r * std::cos(a0), c.y + r * std::sin(a0));
        const P b(c.x + r * std::cos(a0 + sweep), c.y + r * std::sin(a0 + sweep));
        return Edge2{true, a, b, c, r, a0, sweep};
    }
    double length() const { return arc ? r * std::fabs(sweep) : (b - a).length(); }
    VelGeomCurve2d* make() const
    {
        if (!arc)
            return new VelGeomLineSeg2d(a, b);
        return new VelGeomCircArc2d(c, r, a, std::fabs(sweep), sweep < 0);
    }
    P at(double f) const
    {
        if (!arc)
            return a + (b - a) * f;
        const double t = a0 + sweep * f;
        return P(c.x + r * std::cos(t), c.y + r * std::sin(t));
    }
    V travel(double f) const
    {
        if (!arc)
            return b - a;
        const double t = a0 + sweep * f;
        return V(-std::sin(t), std::cos(t)) * (sweep > 0 ? 1.0 : -1.0);
    }
    double distance(const P& p) const
    {
        if (!arc) {
            const V d = b - a;
            double t = (p - a).dotProduct(d) / d.lengthSqrd();
            t = std::max(0.0, std::min(1.0, t));
            return (a + d * t - p).length();
        }
        // Angle of p from the start in the travel sense.
        double ang = std::atan2(p.y - c.y, p.x - c.x) - a0;
        if (sweep < 0)
            ang = -ang;
        ang = std::fmod(ang, 2 * kPi);
        if (ang < 0)
            ang += 2 * kPi;
        if (ang <= std::fabs(sweep))
            return std::fabs((p - c).length() - r);
        return std::min((p - a).length(), (p - b).length());
    }
    double carrierDistance(const P& p) const
    {
        if (!arc) {
            const V d = (b - a) / (b - a).length();
            const V w = p - a;
            return std::fabs(w.x * d.y - w.y * d.x);
        }
        return std::fabs((p - c).length() - r);
    }
};

using Chain2 = std::vector<Edge2>;

VelGeomCompositeCurve2d* build(const Chain2& edges)
{
    VelArray<VelGeomCurve2d*> curves;
    VelArray<int> flags;
    for (const Edge2& e : edges) {
        curves.append(e.make());
        flags.append(1);
    }
    return new VelGeomCompositeCurve2d(curves, flags);
}

double chainDistance(const Chain2& edges, const P& p)
{
    double best = 1e300;
    for (const Edge2& e : edges)
        best = std::min(best, e.distance(p));
    return best;
}

Chain2 square(double s)
{
    return {Edge2::seg(P(0, 0), P(s, 0)), Edge2::seg(P(s, 0), P(s, s)), Edge2::seg(P(s, s), P(0, s)),
            Edge2::seg(P(0, s), P(0, 0))};
}

Chain2 roundedRect(double w, double h, double r)
{
    return {Edge2::seg(P(r, 0), P(w - r, 0)),         Edge2::arcAt(P(w - r, r), r, -kPi / 2, kPi / 2),
            Edge2::seg(P(w, r), P(w, h - r)),         Edge2::arcAt(P(w - r, h - r), r, 0, kPi / 2),
            Edge2::seg(P(w - r, h), P(r, h)),         Edge2::arcAt(P(r, h - r), r, kPi / 2, kPi / 2),
            Edge2::seg(P(0, h - r), P(0, r)),         Edge2::arcAt(P(r, r), r, kPi, kPi / 2)};
}

std::vector<VelGeomCurve2d*> members(const VelGeomCompositeCurve2d& c)
{
    VelArray<VelGeomCurve2d*> list;
    c.getCurveList(list);
    std::vector<VelGeomCurve2d*> out;
    for (int i = 0; i < list.length(); ++i)
        out.push_back(list[i]);
    return out;
}

void freeAll(VelArray<VelGeomCurve2d*>& list)
{
    for (int i = 0; i < list.length(); ++i)
        delete list[i];
    list.setLogicalLength(0);
}

// As in space: each piece at |d| from its edge's carrier, on the left for
// d > 0, never nearer than |d| to the chain (exactly |d| without corners).
void checkOffset(const Chain2& edges, double d, bool smooth)
{
    std::unique_ptr<VelGeomCompositeCurve2d> chain(build(edges));
    VelArray<VelGeomCurve2d*> out;
    chain->getOffset(d, out, kOffsetExtExtend, VelGeomTol::gTol);
    ASSERT_EQ(out.length(), 1);
    ASSERT_EQ(out[0]->getType(), VelGeomCurve2d::kCompositeCurve);
    const std::vector<VelGeomCurve2d*> pieces = members(*static_cast<VelGeomCompositeCurve2d*>(out[0]));
    ASSERT_EQ(pieces.size(), edges.size());
    for (size_t k = 0; k < pieces.size(); ++k) {
        VelArray<P> pts;
        pieces[k]->getSamplePoints(25, pts);
        ASSERT_EQ(pts.length(), 25);
        for (int i = 0; i < pts.length(); ++i) {
            EXPECT_NEAR(edges[k].carrierDistance(pts[i]), std::fabs(d), 1e-9) << "piece " << k;
            EXPECT_GE(chainDistance(edges, pts[i]), std::fabs(d) - 1e-9) << "piece " << k;
            if (smooth) {
                EXPECT_NEAR(chainDistance(edges, pts[i]), std::fabs(d), 1e-9) << "piece " << k;
            }
        }
        const P mid = pieces[k]->evalPoint(0.5);
        const P foot = edges[k].at(0.5);
        const V t = edges[k].travel(0.5);
        const V w = mid - foot;
        const double side = t.x * w.y - t.y * w.x;
        EXPECT_GT(d > 0 ? side : -side, 0.0) << "piece " << k;
    }
    for (size_t k = 0; k + 1 < pieces.size(); ++k) {
        P e, s;
        ASSERT_TRUE(pieces[k]->hasEndPoint(e));
        ASSERT_TRUE(pieces[k + 1]->hasStartPoint(s));
        EXPECT_LT(e.distanceTo(s), 1e-9);
    }
    freeAll(out);
}

}  // namespace

TEST(VelGeomCompositeCurve2d, DefaultOwnershipAndRefusedLists)
{
    VelGeomCompositeCurve2d def;
    EXPECT_EQ(def.getType(), VelGeomCurve2d::kCompositeCurve);
    EXPECT_TRUE(def.isKindOf(VelGeomCurve2d::kCompositeCurve));
    EXPECT_FALSE(def.isKindOf(VelGeomCurve2d::kLineSeg));
    EXPECT_DOUBLE_EQ(def.getLength(), 1.0);
    EXPECT_EQ(def.evalPoint(0.25), P(0.25, 0));

    CountedSeg2d::deaths = 0;
    {
        CountedSeg2d a(P(0, 0), P(1, 0));
        VelArray<VelGeomCurve2d*> list;
        list.append(&a);
        VelGeomCompositeCurve2d kept(list);
        EXPECT_EQ(kept.numCurves(), 1);
        VelArray<VelGeomCurve2d*> owned;
        owned.append(new CountedSeg2d(P(0, 0), P(2, 0)));
        owned.append(new CountedSeg2d(P(2, 0), P(2, 2)));
        VelArray<int> ones;
        ones.append(1);
        ones.append(1);
        VelGeomCompositeCurve2d owning(owned, ones);
        VelGeomCompositeCurve2d copy(owning);
        VelGeomCompositeCurve2d& alias = copy;
        copy = alias;
        VelGeomCompositeCurve2d assigned;
        assigned = owning;
        EXPECT_EQ(CountedSeg2d::deaths, 0);
        VelGeomCurve2d* heap = owning.copy();
        delete heap;  // through the interface: the members it owns go too
        EXPECT_EQ(CountedSeg2d::deaths, 2);
        EXPECT_DOUBLE_EQ(copy.getLength(), 4.0);
        EXPECT_DOUBLE_EQ(assigned.getLength(), 4.0);
    }
    // a (on the stack) once; the two owned members and two sets of copies.
    EXPECT_EQ(CountedSeg2d::deaths, 1 + 2 + 2 + 2 + 2);

    VelGeomCompositeCurve2d c;
    VelArray<VelGeomCurve2d*> list;
    VelArray<int> flags;
    VelGeomLineSeg2d s(P(0, 0), P(3, 0));
    list.append(&s);
    EXPECT_FALSE(c.setCurveList(list, flags));
    list.append(nullptr);
    flags.append(0);
    flags.append(0);
    EXPECT_FALSE(c.setCurveList(list, flags));
    EXPECT_DOUBLE_EQ(c.getLength(), 1.0);

    VelGeomCompositeCurve2d empty(list, VelArray<int>());
    EXPECT_EQ(empty.numCurves(), 0);
    P p(7, 7);
    EXPECT_FALSE(empty.hasStartPoint(p));
    EXPECT_FALSE(empty.hasEndPoint(p));
    EXPECT_EQ(p, P(7, 7));
    double t;
    EXPECT_FALSE(empty.hasStartParam(t));
    VelArray<P> samples;
    empty.getSamplePoints(3, samples);
    EXPECT_TRUE(samples.isEmpty());
    EXPECT_EQ(empty.evalPoint(1.0), P(0, 0));
    int index = 3;
    empty.globalToLocalParam(1.0, index);
    EXPECT_EQ(index, -1);
}

TEST(VelGeomCompositeCurve2d, ParametersAndClosestPoints)
{
    std::unique_ptr<VelGeomCompositeCurve2d> two(build({Edge2::seg(P(0, 0), P(4, 0)), Edge2::seg(P(4, 0), P(4, 6))}));
    int index = -1;
    EXPECT_NEAR(two->globalToLocalParam(5.0, index), 1.0 / 6.0, 1e-15);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(two->evalPoint(5.0), P(4, 1));
    EXPECT_NEAR(two->paramOf(P(4, 1)), 5.0, 1e-12);
    EXPECT_NEAR(two->localToGlobalParam(1.0, 0), 4.0, 1e-12);
    EXPECT_EQ(two->localToGlobalParam(1.0, -1), 0.0);

    // Clockwise and counter-clockwise arcs among segments.
    const Chain2 edges = {Edge2::seg(P(0, 0), P(5, 0)), Edge2::arcAt(P(5, 2), 2, -kPi / 2, kPi),
                          Edge2::arcAt(P(5, 6), 2, -kPi / 2, -kPi / 2), Edge2::seg(P(3, 6), P(0, 9))};
    std::unique_ptr<VelGeomCompositeCurve2d> c(build(edges));
    double total = 0.0, before = 0.0;
    for (const Edge2& e : edges)
        total += e.length();
    EXPECT_NEAR(c->getLength(), total, 1e-12);
    for (const Edge2& e : edges) {
        for (double f : {0.0, 0.3, 0.8}) {
            const double t = before + f * e.length();
            EXPECT_LT(c->evalPoint(t).distanceTo(e.at(f)), 1e-9);
            EXPECT_NEAR(c->paramOf(e.at(f)), t, 1e-9);
            EXPECT_TRUE(c->isOn(e.at(f)));
        }
        before += e.length();
    }
    for (const P& q : {P(6, 3), P(9, 2), P(-1, -1), P(2, 8), P(4.5, 5.5)}) {
        const P best = c->getClosestPointTo(q);
        EXPECT_LT(chainDistance(edges, best), 1e-9);
        EXPECT_NEAR(best.distanceTo(q), chainDistance(edges, q), 1e-9);
    }
    EXPECT_FALSE(c->isOn(P(6, 3)));

    // Curve to curve, both ways round.
    const VelGeomLineSeg2d probe(P(10, -3), P(10, 12));
    P onProbe;
    const P onChain = c->getClosestPointTo(probe, onProbe);
    EXPECT_LT(chainDistance(edges, onChain), 1e-9);
    EXPECT_TRUE(probe.isOn(onProbe));
    EXPECT_NEAR(onChain.distanceTo(onProbe), 10 - 7, 1e-9);  // the arc reaches x = 7
    P onChain2;
    const P onProbe2 = probe.getClosestPointTo(*c, onChain2);
    EXPECT_NEAR(onProbe2.distanceTo(onChain2), 3.0, 1e-9);

    // Transformed with the chain: the same points moved.
    const VelGeomMatrix2d m = VelGeomMatrix2d::rotation(0.4, P(1, 2)) * VelGeomMatrix2d::translation(V(2, -1));
    c->transformBy(m);
    for (const Edge2& e : edges) {
        P q = e.at(0.5);
        q.transformBy(m);
        EXPECT_TRUE(c->isOn(q, VelGeomTol(1e-9, 1e-9)));
    }
}

TEST(VelGeomCompositeCurve2d, IntersectionsLieOnBothCurvesOnce)
{
    const Chain2 edges = roundedRect(20, 10, 2);
    std::unique_ptr<VelGeomCompositeCurve2d> c(build(edges));
    VelArray<P> pts;
    const VelGeomLine2d throughJoints(P(18, -5), V(0, 1));
    ASSERT_TRUE(c->intersectWith(throughJoints, pts));
    EXPECT_EQ(pts.length(), 2);
    ASSERT_TRUE(throughJoints.intersectWith(*c, pts));
    EXPECT_EQ(pts.length(), 2);
    const VelGeomLineSeg2d diag(P(-1, -1), P(21, 11));
    ASSERT_TRUE(diag.intersectWith(*c, pts));
    EXPECT_EQ(pts.length(), 2);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_LT(chainDistance(edges, pts[i]), 1e-9);
        EXPECT_TRUE(diag.isOn(pts[i]));
    }
    const VelGeomCircArc2d circle(P(20, 10), 3, V(1, 0));
    ASSERT_TRUE(c->intersectWith(circle, pts));
    EXPECT_EQ(pts.length(), 2);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_LT(chainDistance(edges, pts[i]), 1e-9);
        EXPECT_NEAR(pts[i].distanceTo(P(20, 10)), 3.0, 1e-9);
    }
    std::unique_ptr<VelGeomCompositeCurve2d> sq(build(square(4)));
    sq->transformBy(VelGeomMatrix2d::translation(V(5, 3)));
    EXPECT_FALSE(c->intersectWith(*sq, pts));  // inside, apart
    sq->transformBy(VelGeomMatrix2d::translation(V(-7, 0)));
    ASSERT_TRUE(sq->intersectWith(*c, pts));
    EXPECT_EQ(pts.length(), 2);
    for (int i = 0; i < pts.length(); ++i)
        EXPECT_LT(chainDistance(edges, pts[i]), 1e-9);
}

TEST(VelGeomCompositeCurve2d, SelfIntersection)
{
    std::unique_ptr<VelGeomCompositeCurve2d> sq(build(square(4)));
    EXPECT_FALSE(sq->isSelfIntersecting(true));
    std::unique_ptr<VelGeomCompositeCurve2d> bow(build(
        {Edge2::seg(P(0, 0), P(4, 4)), Edge2::seg(P(4, 4), P(4, 0)), Edge2::seg(P(4, 0), P(0, 4)),
         Edge2::seg(P(0, 4), P(0, 0))}));
    EXPECT_TRUE(bow->isSelfIntersecting(true));
    std::unique_ptr<VelGeomCompositeCurve2d> back(build({Edge2::seg(P(0, 0), P(4, 0)), Edge2::seg(P(4, 0), P(1, 0))}));
    EXPECT_TRUE(back->isSelfIntersecting(false));
    std::unique_ptr<VelGeomCompositeCurve2d> rr(build(roundedRect(20, 10, 2)));
    EXPECT_FALSE(rr->isSelfIntersecting(true));
    std::unique_ptr<VelGeomCompositeCurve2d> sBend(
        build({Edge2::arcAt(P(0, 1), 1, -kPi / 2, kPi / 2), Edge2::arcAt(P(2, 1), 1, kPi, -kPi / 2)}));
    EXPECT_FALSE(sBend->isSelfIntersecting(false));
    std::unique_ptr<VelGeomCompositeCurve2d> reverse(
        build({Edge2::arcAt(P(0, 0), 1, 0, kPi / 2), Edge2::arcAt(P(0, 0), 1, kPi / 2, -kPi / 4)}));
    EXPECT_TRUE(reverse->isSelfIntersecting(false));
    std::unique_ptr<VelGeomCompositeCurve2d> circle(
        build({Edge2::arcAt(P(0, 0), 1, 0, kPi), Edge2::arcAt(P(0, 0), 1, kPi, kPi)}));
    EXPECT_FALSE(circle->isSelfIntersecting(true));
    // An arc that comes back across the first segment.
    std::unique_ptr<VelGeomCompositeCurve2d> hook(
        build({Edge2::seg(P(0, 0), P(10, 0)), Edge2::seg(P(10, 0), P(10, 3)), Edge2::arcAt(P(7, 3), 3, 0, kPi),
               Edge2::seg(P(4, 3), P(4, -2))}));
    EXPECT_TRUE(hook->isSelfIntersecting(false));
}

TEST(VelGeomCompositeCurve2d, Offsets)
{
    {
        std::unique_ptr<VelGeomCompositeCurve2d> c(build({Edge2::seg(P(0, 0), P(10, 0)), Edge2::seg(P(10, 0), P(10, 10))}));
        VelArray<VelGeomCurve2d*> out;
        c->getOffset(1.0, out, kOffsetExtExtend);
        ASSERT_EQ(out.length(), 1);
        const std::vector<VelGeomCurve2d*> pieces = members(*static_cast<VelGeomCompositeCurve2d*>(out[0]));
        ASSERT_EQ(pieces.size(), 2u);
        P a, b;
        pieces[0]->hasEndPoint(a);
        pieces[1]->hasEndPoint(b);
        EXPECT_EQ(a, P(9, 1));
        EXPECT_EQ(b, P(9, 10));
        freeAll(out);
    }
    checkOffset(square(10), -1.0, false);
    checkOffset(square(10), 3.0, false);
    checkOffset(roundedRect(20, 10, 2), -1.0, true);
    checkOffset(roundedRect(20, 10, 2), 1.5, true);
    // Clockwise and counter-clockwise arcs, sharp corners between them.
    const Chain2 mixed = {Edge2::seg(P(0, 0), P(5, 0)), Edge2::arcAt(P(5, 2), 2, -kPi / 2, kPi),
                          Edge2::arcAt(P(5, 6), 2, -kPi / 2, -kPi / 2), Edge2::seg(P(3, 6), P(0, 9))};
    checkOffset(mixed, 0.5, false);
    checkOffset(mixed, -0.5, false);
    // Arcs alone go to the same side as segments: a counter-clockwise pair
    // offset to the left shrinks.
    const Chain2 arcs = {Edge2::arcAt(P(0, 0), 3, 0, kPi / 2), Edge2::arcAt(P(0, 0), 3, kPi / 2, kPi / 2)};
    checkOffset(arcs, 1.0, true);
    std::unique_ptr<VelGeomCompositeCurve2d> one(build({Edge2::arcAt(P(0, 0), 3, 0, kPi / 2)}));
    VelArray<VelGeomCurve2d*> out;
    one->getOffset(1.0, out, kOffsetExtExtend);
    ASSERT_EQ(out.length(), 1);
    EXPECT_NEAR(static_cast<VelGeomCircArc2d*>(out[0])->getRadius(), 2.0, 1e-12);
    freeAll(out);

    // No result: too far inward, a collapsing arc, a reversal.
    std::unique_ptr<VelGeomCompositeCurve2d> sq(build(square(10)));
    sq->getOffset(5.5, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
    std::unique_ptr<VelGeomCompositeCurve2d> rr(build(roundedRect(20, 10, 2)));
    rr->getOffset(2.5, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
    std::unique_ptr<VelGeomCompositeCurve2d> back(build({Edge2::seg(P(0, 0), P(4, 0)), Edge2::seg(P(4, 0), P(1, 0))}));
    back->getOffset(0.5, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
}
