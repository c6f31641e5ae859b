#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using P = VelGeomPoint3d;
using V = VelGeomVector3d;

const double kPi = VelGeomBase::PI;
const V kZ(0.0, 0.0, 1.0);

// A segment that counts its destructions, to watch who deletes what.
struct CountedSeg : VelGeomLineSeg3d {
    static int deaths;
    CountedSeg(const P& a, const P& b) : VelGeomLineSeg3d(a, b) {}
    CountedSeg(const CountedSeg&) = default;
    ~CountedSeg() override { ++deaths; }
    VelGeomCurve3d* copy() const override { return new CountedSeg(*this); }
};
int CountedSeg::deaths = 0;

// An edge description that builds the member and answers, independently of
// the curve classes, the distance of a point and the length.
struct Edge {
    bool arc;
    P a, b;       // segment ends, or the arc's start and end
    P c;          // arc centre
    V n;          // arc normal (the arc runs counter-clockwise about it)
    double sweep; // arc sweep

    static Edge seg(const P& a, const P& b) { return Edge{false, a, b, P(), V(), 0.0}; }
    // From a about c by sweep (radians) counter-clockwise about n.
    static Edge arcFrom(const P& c, const V& n, const P& a, double sweep)
    {
        V r = a - c;
        r.rotateBy(sweep, n);
        return Edge{true, a, c + r, c, n, sweep};
    }
    double radius() const { return (a - c).length(); }
    double length() const { return arc ? radius() * sweep : (b - a).length(); }
    VelGeomCurve3d* make() const
    {
        if (!arc)
            return new VelGeomLineSeg3d(a, b);
        return new VelGeomCircArc3d(c, n, radius(), a, sweep);
    }
    P at(double f) const
    {
        if (!arc)
            return a + (b - a) * f;
        V r = a - c;
        r.rotateBy(sweep * f, n);
        return c + r;
    }
    double distance(const P& p) const
    {
        if (!arc) {
            const V d = b - a;
            double t = (p - a).dotProduct(d) / d.lengthSqrd();
            t = std::max(0.0, std::min(1.0, t));
            return (a + d * t - p).length();
        }
        const V w = p - c;
        const double h = w.dotProduct(n);
        const V inPlane = w - n * h;
        const V s = a - c;
        const double ang = std::atan2(s.crossProduct(inPlane).dotProduct(n), s.dotProduct(inPlane));
        const double ccw = ang < 0.0 ? ang + 2.0 * kPi : ang;
        if (inPlane.length() > 0.0 && ccw <= sweep)
            return std::sqrt(h * h + std::pow(inPlane.length() - radius(), 2.0));
        return std::min((p - a).length(), (p - b).length());
    }
    // Distance to the supporting line or circle.
    double carrierDistance(const P& p) const
    {
        if (!arc) {
            const V d = (b - a) / (b - a).length();
            const V w = p - a;
            return (w - d * w.dotProduct(d)).length();
        }
        const V w = p - c;
        const double h = w.dotProduct(n);
        return std::sqrt(h * h + std::pow((w - n * h).length() - radius(), 2.0));
    }
};

using Chain = std::vector<Edge>;

VelGeomCompositeCurve3d* build(const Chain& edges)
{
    VelArray<VelGeomCurve3d*> curves;
    VelArray<int> flags;
    for (const Edge& e : edges) {
        curves.append(e.make());
        flags.append(1);
    }
    return new VelGeomCompositeCurve3d(curves, flags);
}

double chainDistance(const Chain& edges, const P& p)
{
    double best = 1e300;
    for (const Edge& e : edges)
        best = std::min(best, e.distance(p));
    return best;
}

// Square (0,0)-(s,0)-(s,s)-(0,s), counter-clockwise about +Z, closed.
Chain square(double s)
{
    return {Edge::seg(P(0, 0, 0), P(s, 0, 0)), Edge::seg(P(s, 0, 0), P(s, s, 0)), Edge::seg(P(s, s, 0), P(0, s, 0)),
            Edge::seg(P(0, s, 0), P(0, 0, 0))};
}

// The rectangle (0,0)-(w,h) with corners rounded by r, counter-clockwise.
Chain roundedRect(double w, double h, double r)
{
    return {Edge::seg(P(r, 0, 0), P(w - r, 0, 0)),
            Edge::arcFrom(P(w - r, r, 0), kZ, P(w - r, 0, 0), kPi / 2),
            Edge::seg(P(w, r, 0), P(w, h - r, 0)),
            Edge::arcFrom(P(w - r, h - r, 0), kZ, P(w, h - r, 0), kPi / 2),
            Edge::seg(P(w - r, h, 0), P(r, h, 0)),
            Edge::arcFrom(P(r, h - r, 0), kZ, P(r, h, 0), kPi / 2),
            Edge::seg(P(0, h - r, 0), P(0, r, 0)),
            Edge::arcFrom(P(r, r, 0), kZ, P(0, r, 0), kPi / 2)};
}

std::vector<VelGeomCurve3d*> members(const VelGeomCompositeCurve3d& c)
{
    VelArray<VelGeomCurve3d*> list;
    c.getCurveList(list);
    std::vector<VelGeomCurve3d*> out;
    for (int i = 0; i < list.length(); ++i)
        out.push_back(list[i]);
    return out;
}

// Samples of every member of a composite, n per member including the ends.
std::vector<P> memberSamples(const VelGeomCurve3d& member, int n = 25)
{
    VelArray<P> pts;
    member.getSamplePoints(n, pts);
    std::vector<P> out;
    for (int i = 0; i < pts.length(); ++i)
        out.push_back(pts[i]);
    return out;
}

void freeAll(VelArray<VelGeomCurve3d*>& list)
{
    for (int i = 0; i < list.length(); ++i)
        VelGeomCurve3d::deleteCurve(list[i]);
    list.setLogicalLength(0);
}

// The offset of edges by d about +Z: one composite whose k-th member lies at
// |d| from the carrier of edge k, on the left for d > 0, never nearer than
// |d| to the chain, and, for a chain without corners, at |d| everywhere.
void checkOffset(const Chain& edges, double d, bool smooth)
{
    std::unique_ptr<VelGeomCompositeCurve3d> chain(build(edges));
    VelArray<VelGeomCurve3d*> out;
    chain->getOffset(d, kZ, out, kOffsetExtExtend, VelGeomTol::gTol);
    ASSERT_EQ(out.length(), 1);
    ASSERT_EQ(out[0]->getType(), VelGeomCurve3d::kCompositeCurve);
    const auto* result = static_cast<const VelGeomCompositeCurve3d*>(out[0]);
    const std::vector<VelGeomCurve3d*> pieces = members(*result);
    ASSERT_EQ(pieces.size(), edges.size());
    for (size_t k = 0; k < pieces.size(); ++k) {
        EXPECT_EQ(pieces[k]->getType(), edges[k].arc ? VelGeomCurve3d::kCircArc : VelGeomCurve3d::kLineSeg);
        for (const P& p : memberSamples(*pieces[k])) {
            EXPECT_NEAR(edges[k].carrierDistance(p), std::fabs(d), 1e-9) << "piece " << k;
            EXPECT_GE(chainDistance(edges, p), std::fabs(d) - 1e-9) << "piece " << k;
            if (smooth) {
                EXPECT_NEAR(chainDistance(edges, p), std::fabs(d), 1e-9) << "piece " << k;
            }
        }
        // The side: left of the travel direction of the original at its
        // nearest point for d > 0.
        const P mid = pieces[k]->evalPoint(0.5);
        const P foot = edges[k].at(0.5);
        const V travel = edges[k].arc ? edges[k].n.crossProduct(foot - edges[k].c) : edges[k].b - edges[k].a;
        const double side = travel.crossProduct(mid - foot).dotProduct(kZ);
        EXPECT_GT(d > 0 ? side : -side, 0.0) << "piece " << k;
    }
    // Consecutive pieces are joined.
    for (size_t k = 0; k + 1 < pieces.size(); ++k) {
        P e, s;
        ASSERT_TRUE(pieces[k]->hasEndPoint(e));
        ASSERT_TRUE(pieces[k + 1]->hasStartPoint(s));
        EXPECT_LT(e.distanceTo(s), 1e-9);
    }
    freeAll(out);
}

}  // namespace

TEST(VelGeomCompositeCurve3d, DefaultIsTheUnitSegment)
{
    VelGeomCompositeCurve3d c;
    EXPECT_EQ(c.getType(), VelGeomCurve3d::kCompositeCurve);
    EXPECT_TRUE(c.isKindOf(VelGeomCurve3d::kCompositeCurve));
    EXPECT_FALSE(c.isKindOf(VelGeomCurve3d::kLine));
    EXPECT_EQ(c.numCurves(), 1);
    EXPECT_EQ(c.getFinite(), VelGeomCompositeCurve3d::kFinite);
    P s, e;
    ASSERT_TRUE(c.hasStartPoint(s));
    ASSERT_TRUE(c.hasEndPoint(e));
    EXPECT_EQ(s, P(0, 0, 0));
    EXPECT_EQ(e, P(1, 0, 0));
    EXPECT_DOUBLE_EQ(c.getLength(), 1.0);
}

TEST(VelGeomCompositeCurve3d, OwnershipFollowsTheFlags)
{
    CountedSeg::deaths = 0;
    CountedSeg a(P(0, 0, 0), P(1, 0, 0)), b(P(1, 0, 0), P(1, 1, 0));
    {
        VelArray<VelGeomCurve3d*> list;
        list.append(&a);
        list.append(&b);
        VelGeomCompositeCurve3d kept;
        EXPECT_TRUE(kept.setCurveList(list));
        EXPECT_EQ(kept.numCurves(), 2);
    }
    EXPECT_EQ(CountedSeg::deaths, 0);  // the caller keeps them

    {
        VelArray<VelGeomCurve3d*> list;
        list.append(new CountedSeg(P(0, 0, 0), P(1, 0, 0)));
        list.append(new CountedSeg(P(1, 0, 0), P(2, 0, 0)));
        VelArray<int> flags;
        flags.append(1);
        flags.append(0);
        VelGeomCompositeCurve3d owning(list, flags);
        VelGeomCurve3d* copy = owning.copy();  // owns copies of both
        VelGeomCurve3d::deleteCurve(copy);
        EXPECT_EQ(copy, nullptr);
        EXPECT_EQ(CountedSeg::deaths, 2);
        delete list[1];  // not owned by the composite
        EXPECT_EQ(CountedSeg::deaths, 3);
        // Replace the list by itself: the member it owns must not die.
        VelArray<VelGeomCurve3d*> same;
        owning.getCurveList(same);
        same.removeLast();
        VelArray<int> one;
        one.append(1);
        EXPECT_TRUE(owning.setCurveList(same, one));
        EXPECT_EQ(CountedSeg::deaths, 3);
        EXPECT_DOUBLE_EQ(owning.getLength(), 1.0);
    }
    EXPECT_EQ(CountedSeg::deaths, 4);
}

TEST(VelGeomCompositeCurve3d, RefusedListsLeaveTheCurveAlone)
{
    VelGeomCompositeCurve3d c;
    VelArray<VelGeomCurve3d*> list;
    VelArray<int> flags;
    VelGeomLineSeg3d s(P(0, 0, 0), P(5, 0, 0));
    list.append(&s);
    flags.append(0);
    flags.append(0);
    EXPECT_FALSE(c.setCurveList(list, flags));  // lengths differ
    EXPECT_EQ(c.numCurves(), 1);
    EXPECT_DOUBLE_EQ(c.getLength(), 1.0);

    VelArray<VelGeomCurve3d*> withNull;
    withNull.append(nullptr);
    EXPECT_FALSE(c.setCurveList(withNull));
    VelArray<VelGeomCurve3d*> self;
    self.append(&c);
    EXPECT_FALSE(c.setCurveList(self));
    // The same heap member twice, owned: it would be deleted twice.
    VelGeomCurve3d* heap = new VelGeomLineSeg3d(P(0, 0, 0), P(1, 0, 0));
    VelArray<VelGeomCurve3d*> twice;
    twice.append(heap);
    twice.append(heap);
    VelArray<int> owned;
    owned.append(1);
    owned.append(0);
    EXPECT_FALSE(c.setCurveList(twice, owned));
    delete heap;
    EXPECT_EQ(c.numCurves(), 1);

    VelGeomCompositeCurve3d mismatched(list, flags);
    EXPECT_EQ(mismatched.numCurves(), 0);
    P p;
    EXPECT_FALSE(mismatched.hasStartPoint(p));
    double t;
    EXPECT_FALSE(mismatched.hasEndParam(t));
    EXPECT_EQ(mismatched.getExtension(true), nullptr);
    int index = 7;
    EXPECT_EQ(mismatched.globalToLocalParam(3.0, index), 0.0);
    EXPECT_EQ(index, -1);
    VelArray<VelGeomCurve3d*> out;
    out.append(nullptr);
    mismatched.getOffset(1.0, kZ, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
}

TEST(VelGeomCompositeCurve3d, CopiesAreIndependent)
{
    std::unique_ptr<VelGeomCompositeCurve3d> a(build(square(2)));
    a->setFinite(VelGeomCompositeCurve3d::kInfiniteStart);
    VelGeomCompositeCurve3d b(*a);
    VelGeomCompositeCurve3d c;
    c = *a;
    VelGeomCompositeCurve3d& alias = c;
    c = alias;  // self-assignment keeps the members
    a->transformBy(VelGeomMatrix3d::translation(V(10, 0, 0)));
    a.reset();
    for (const VelGeomCompositeCurve3d* k : {&b, &c}) {
        EXPECT_EQ(k->numCurves(), 4);
        EXPECT_EQ(k->getFinite(), VelGeomCompositeCurve3d::kInfiniteStart);
        EXPECT_DOUBLE_EQ(k->getLength(), 8.0);
        EXPECT_TRUE(k->isOn(P(2, 1, 0)));
    }
    std::unique_ptr<VelGeomCurve3d> inf(b.getInfiniteCurve());
    EXPECT_EQ(static_cast<VelGeomCompositeCurve3d*>(inf.get())->getFinite(), VelGeomCompositeCurve3d::kInfiniteBoth);
}

TEST(VelGeomCompositeCurve3d, ArcLengthParameters)
{
    // Lengths 4 and 6: parameter 5 is member 1 at 1/6.
    std::unique_ptr<VelGeomCompositeCurve3d> c(
        build({Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::seg(P(4, 0, 0), P(4, 6, 0))}));
    int index = -1;
    EXPECT_NEAR(c->globalToLocalParam(5.0, index), 1.0 / 6.0, 1e-15);
    EXPECT_EQ(index, 1);
    const P at5 = c->evalPoint(5.0);
    EXPECT_EQ(at5, P(4, 1, 0));
    EXPECT_NEAR(c->paramOf(at5), 5.0, 1e-12);
    EXPECT_NEAR(c->localToGlobalParam(0.5, 1), 7.0, 1e-12);
    EXPECT_EQ(c->localToGlobalParam(0.5, 2), 0.0);
    // A joint belongs to the member that starts there; beyond the end the
    // last member runs on, before the start the first.
    c->globalToLocalParam(4.0, index);
    EXPECT_EQ(index, 1);
    EXPECT_NEAR(c->globalToLocalParam(13.0, index), 1.5, 1e-12);
    EXPECT_EQ(index, 1);
    EXPECT_NEAR(c->globalToLocalParam(-2.0, index), -0.5, 1e-15);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(c->evalPoint(-2.0), P(-2, 0, 0));
    double t;
    ASSERT_TRUE(c->hasEndParam(t));
    EXPECT_DOUBLE_EQ(t, 10.0);
    EXPECT_DOUBLE_EQ(c->paramOf(P(50, 50, 0)), 10.0);  // on nothing: the length
}

TEST(VelGeomCompositeCurve3d, EvaluationFollowsArcLengthOverArcs)
{
    const Chain edges = roundedRect(20, 10, 2);
    std::unique_ptr<VelGeomCompositeCurve3d> c(build(edges));
    const double total = 2 * 16 + 2 * 6 + 4 * (kPi / 2 * 2);
    EXPECT_NEAR(c->getLength(), total, 1e-12);
    double before = 0.0;
    for (const Edge& e : edges) {
        for (double f : {0.1, 0.5, 0.9}) {
            const double t = before + f * e.length();
            const P expect = e.at(f);
            EXPECT_LT(c->evalPoint(t).distanceTo(expect), 1e-9) << t;
            EXPECT_NEAR(c->paramOf(expect), t, 1e-9);
        }
        before += e.length();
    }
    VelArray<P> samples;
    c->getSamplePoints(9, samples);
    ASSERT_EQ(samples.length(), 9);
    for (int i = 0; i < samples.length(); ++i)
        EXPECT_LT(chainDistance(edges, samples[i]), 1e-9);
}

TEST(VelGeomCompositeCurve3d, NestedCompositeParametersAreArcLengths)
{
    VelArray<VelGeomCurve3d*> inner;
    inner.append(new VelGeomLineSeg3d(P(2, 0, 0), P(4, 0, 0)));
    inner.append(new VelGeomLineSeg3d(P(4, 0, 0), P(4, 3, 0)));
    VelArray<int> ones;
    ones.append(1);
    ones.append(1);
    VelArray<VelGeomCurve3d*> outer;
    outer.append(new VelGeomLineSeg3d(P(0, 0, 0), P(2, 0, 0)));
    outer.append(new VelGeomCompositeCurve3d(inner, ones));
    VelGeomCompositeCurve3d c(outer, ones);
    EXPECT_DOUBLE_EQ(c.getLength(), 7.0);
    EXPECT_EQ(c.evalPoint(5.0), P(4, 1, 0));
    EXPECT_NEAR(c.paramOf(P(4, 2, 0)), 6.0, 1e-12);
    VelGeomCurve3d *first = nullptr, *second = nullptr;
    ASSERT_TRUE(c.getSimpleCurvesAtPoint(P(4, 0, 0), first, second));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->getType(), VelGeomCurve3d::kLineSeg);
    P s;
    second->hasStartPoint(s);
    EXPECT_EQ(s, P(4, 0, 0));
    // The plane opens up composite members too.
    VelArray<P> pts;
    ASSERT_TRUE(VelGeomPlane(P(0, 1.5, 0), V(0, 1, 0)).intersectWith(c, pts));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(4, 1.5, 0));
}

TEST(VelGeomCompositeCurve3d, ExtensionsAtBothEnds)
{
    std::unique_ptr<VelGeomCompositeCurve3d> c(
        build({Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::arcFrom(P(4, 2, 0), kZ, P(4, 0, 0), kPi / 2)}));
    const double len = 4 + kPi;
    const P beyondStart(-3, 0, 0);
    // The rest of the circle beyond the arc's end (6, 2): a quarter further
    // is (4, 4).
    const P onRest(4, 4, 0);
    EXPECT_FALSE(c->isOn(beyondStart));
    EXPECT_FALSE(c->isOn(onRest));
    c->setFinite(VelGeomCompositeCurve3d::kInfiniteEnd);
    EXPECT_TRUE(c->isOn(onRest));
    EXPECT_FALSE(c->isOn(beyondStart));
    EXPECT_NEAR(c->paramOf(onRest), len + kPi, 1e-9);
    double t;
    EXPECT_FALSE(c->hasEndParam(t));
    P p;
    EXPECT_FALSE(c->hasEndPoint(p));
    EXPECT_TRUE(c->hasStartParam(t));
    c->setFinite(VelGeomCompositeCurve3d::kInfiniteBoth);
    EXPECT_TRUE(c->isOn(beyondStart));
    EXPECT_NEAR(c->paramOf(beyondStart), -3.0, 1e-12);
    EXPECT_FALSE(c->hasStartPoint(p));
    EXPECT_EQ(c->getClosestPointTo(P(-5, 1, 0)), P(-5, 0, 0));

    std::unique_ptr<VelGeomCurve3d> before(c->getExtension(false));
    ASSERT_EQ(before->getType(), VelGeomCurve3d::kRay);
    EXPECT_TRUE(before->isOn(P(-100, 0, 0)));
    EXPECT_FALSE(before->isOn(P(1, 0, 0)));
    std::unique_ptr<VelGeomCurve3d> after(c->getExtension(true));
    ASSERT_EQ(after->getType(), VelGeomCurve3d::kCircArc);
    EXPECT_NEAR(after->getLength(), 2 * kPi * 2 - kPi, 1e-12);
    ASSERT_TRUE(after->hasStartPoint(p));
    EXPECT_EQ(p, P(6, 2, 0));
    ASSERT_TRUE(after->hasEndPoint(p));
    EXPECT_EQ(p, P(4, 0, 0));
    // The arc's own part is not repeated.
    EXPECT_FALSE(after->isOn(P(4 + std::sqrt(2.0), 2 - std::sqrt(2.0), 0)));

    // An arc at the start continues backwards with the reversed normal.
    std::unique_ptr<VelGeomCompositeCurve3d> d(build({Edge::arcFrom(P(0, 0, 0), kZ, P(1, 0, 0), kPi / 2)}));
    std::unique_ptr<VelGeomCurve3d> back(d->getExtension(false));
    ASSERT_EQ(back->getType(), VelGeomCurve3d::kCircArc);
    EXPECT_TRUE(back->isOn(P(0, -1, 0)));
    EXPECT_FALSE(back->isOn(P(std::sqrt(0.5), std::sqrt(0.5), 0)));
}

TEST(VelGeomCompositeCurve3d, ClosestPointMatchesDenseSampling)
{
    const Chain edges = {Edge::seg(P(0, 0, 0), P(5, 0, 0)), Edge::arcFrom(P(5, 3, 0), kZ, P(5, 0, 0), kPi),
                         Edge::seg(P(5, 6, 0), P(0, 6, 2))};
    std::unique_ptr<VelGeomCompositeCurve3d> c(build(edges));
    for (const P& q : {P(2, -3, 1), P(9, 3, -1), P(6, 4, 0), P(-2, 7, 5), P(3, 3, 0)}) {
        const P best = c->getClosestPointTo(q);
        EXPECT_LT(chainDistance(edges, best), 1e-9);
        EXPECT_NEAR(best.distanceTo(q), chainDistance(edges, q), 1e-9);
        EXPECT_NEAR(c->distanceTo(q), chainDistance(edges, q), 1e-9);
    }
    // Curve to curve: a line above the chain.
    const VelGeomLine3d line(P(-10, 3, 5), V(1, 0, 0));
    P onLine;
    const P onChain = c->getClosestPointTo(line, onLine);
    EXPECT_TRUE(line.isOn(onLine, VelGeomTol(1e-9, 1e-9)));
    EXPECT_LT(chainDistance(edges, onChain), 1e-9);
    // Brute force over the edges: the distance of a point to the line is
    // that of its (y, z) to (3, 5).
    double best = 1e300;
    for (const Edge& e : edges)
        for (int i = 0; i <= 20000; ++i) {
            const P q = e.at(i / 20000.0);
            best = std::min(best, std::hypot(q.y - 3.0, q.z - 5.0));
        }
    EXPECT_NEAR(onChain.distanceTo(onLine), best, 1e-6);
}

TEST(VelGeomCompositeCurve3d, IntersectionsLieOnBothCurvesOnce)
{
    const Chain edges = roundedRect(20, 10, 2);
    std::unique_ptr<VelGeomCompositeCurve3d> c(build(edges));
    // A line through two joints of segment and arc gives each joint once.
    const VelGeomLine3d throughJoints(P(2, -5, 0), V(0, 1, 0));
    VelArray<P> pts;
    ASSERT_TRUE(c->intersectWith(throughJoints, pts));
    ASSERT_EQ(pts.length(), 2);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_LT(chainDistance(edges, pts[i]), 1e-9);
        EXPECT_TRUE(throughJoints.isOn(pts[i]));
    }
    // A diagonal through the arcs, as a segment, and the other way round.
    const VelGeomLineSeg3d diag(P(-1, -1, 0), P(21, 11, 0));
    ASSERT_TRUE(diag.intersectWith(*c, pts));
    EXPECT_EQ(pts.length(), 2);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_LT(chainDistance(edges, pts[i]), 1e-9);
        EXPECT_TRUE(diag.isOn(pts[i]));
    }
    // Two composites: the square crosses the rounded rectangle twice.
    std::unique_ptr<VelGeomCompositeCurve3d> sq(build(square(5)));
    sq->transformBy(VelGeomMatrix3d::translation(V(17, 7, 0)));
    ASSERT_TRUE(c->intersectWith(*sq, pts));
    EXPECT_EQ(pts.length(), 2);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_LT(chainDistance(edges, pts[i]), 1e-9);
        EXPECT_TRUE(sq->isOn(pts[i]));
    }
    // Out of the plane: nothing.
    const VelGeomLine3d above(P(0, 0, 1), V(1, 1, 0));
    EXPECT_FALSE(c->intersectWith(above, pts));
    EXPECT_EQ(pts.length(), 0);
    // The end extension is consulted only when active.
    std::unique_ptr<VelGeomCompositeCurve3d> open(build({Edge::seg(P(0, 0, 0), P(4, 0, 0))}));
    const VelGeomLine3d cross(P(10, -1, 0), V(0, 1, 0));
    EXPECT_FALSE(open->intersectWith(cross, pts));
    open->setFinite(VelGeomCompositeCurve3d::kInfiniteEnd);
    ASSERT_TRUE(open->intersectWith(cross, pts));
    EXPECT_EQ(pts[0], P(10, 0, 0));
    EXPECT_TRUE(open->isOn(P(10, 0, 0)));
    EXPECT_NEAR(open->paramOf(P(10, 0, 0)), 10.0, 1e-12);
    double t;
    EXPECT_FALSE(open->hasEndParam(t));
}

TEST(VelGeomCompositeCurve3d, PlaneMeetsMembersAndExtensions)
{
    const Chain edges = roundedRect(20, 10, 2);
    std::unique_ptr<VelGeomCompositeCurve3d> c(build(edges));
    c->transformBy(VelGeomMatrix3d::rotationX(0.3));
    // A plane through two joints (x = 2): each joint once.
    const VelGeomPlane atJoints(P(2, 0, 0), V(1, 0, 0));
    VelArray<P> pts;
    ASSERT_TRUE(atJoints.intersectWith(*c, pts));
    ASSERT_EQ(pts.length(), 2);
    // A slanted plane through the arcs.
    const VelGeomPlane slanted(P(19, 5, 0), V(1, 0.2, 0.1));
    ASSERT_TRUE(slanted.intersectWith(*c, pts));
    EXPECT_EQ(pts.length(), 2);
    for (int i = 0; i < pts.length(); ++i) {
        EXPECT_TRUE(slanted.isOn(pts[i], VelGeomTol(1e-9, 1e-9)));
        EXPECT_TRUE(c->isOn(pts[i]));
    }
    // Extensions count only when active, and each is released.
    std::unique_ptr<VelGeomCompositeCurve3d> open(
        build({Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::arcFrom(P(4, 2, 0), kZ, P(4, 0, 0), kPi / 2)}));
    const VelGeomPlane behind(P(-7, 0, 0), V(1, 0, 0));
    EXPECT_FALSE(behind.intersectWith(*open, pts));
    open->setFinite(VelGeomCompositeCurve3d::kInfiniteStart);
    ASSERT_TRUE(behind.intersectWith(*open, pts));
    ASSERT_EQ(pts.length(), 1);
    EXPECT_EQ(pts[0], P(-7, 0, 0));
    open->setFinite(VelGeomCompositeCurve3d::kInfiniteEnd);
    const VelGeomPlane y3(P(0, 3, 0), V(0, 1, 0));
    ASSERT_TRUE(y3.intersectWith(*open, pts));
    EXPECT_EQ(pts.length(), 2);  // both on the rest of the circle
    for (int i = 0; i < pts.length(); ++i)
        EXPECT_NEAR((pts[i] - P(4, 2, 0)).length(), 2.0, 1e-9);
}

TEST(VelGeomCompositeCurve3d, SelfIntersection)
{
    std::unique_ptr<VelGeomCompositeCurve3d> sq(build(square(4)));
    EXPECT_FALSE(sq->isSelfIntersecting(true));
    EXPECT_FALSE(sq->isSelfIntersecting(false));  // first and last meet at the start only
    std::unique_ptr<VelGeomCompositeCurve3d> l(build({Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::seg(P(4, 0, 0), P(4, 4, 0)),
                                                      Edge::seg(P(4, 4, 0), P(0, 4, 0))}));
    EXPECT_FALSE(l->isSelfIntersecting(false));
    EXPECT_TRUE(l->isSelfIntersecting(true));  // closed, but the ends do not meet

    // A bow tie: the first and third edges cross.
    std::unique_ptr<VelGeomCompositeCurve3d> bow(
        build({Edge::seg(P(0, 0, 0), P(4, 4, 0)), Edge::seg(P(4, 4, 0), P(4, 0, 0)), Edge::seg(P(4, 0, 0), P(0, 4, 0)),
               Edge::seg(P(0, 4, 0), P(0, 0, 0))}));
    EXPECT_TRUE(bow->isSelfIntersecting(true));
    // A far pair crossing in a long chain (found through the box sweep).
    Chain zig;
    for (int i = 0; i < 30; ++i)
        zig.push_back(Edge::seg(P(i, 0, 0), P(i + 1, 0, 0)));
    zig.push_back(Edge::seg(P(30, 0, 0), P(30, 5, 0)));
    zig.push_back(Edge::seg(P(30, 5, 0), P(10.5, 5, 0)));
    zig.push_back(Edge::seg(P(10.5, 5, 0), P(10.5, -2, 0)));
    std::unique_ptr<VelGeomCompositeCurve3d> longChain(build(zig));
    EXPECT_TRUE(longChain->isSelfIntersecting(false));
    zig.back() = Edge::seg(P(10.5, 5, 0), P(10.5, 2, 0));
    longChain.reset(build(zig));
    EXPECT_FALSE(longChain->isSelfIntersecting(false));

    // Neighbours: a gap, and a segment running back over the previous one.
    std::unique_ptr<VelGeomCompositeCurve3d> gap(
        build({Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::seg(P(4, 1, 0), P(4, 4, 0)), Edge::seg(P(4, 4, 0), P(0, 4, 0))}));
    EXPECT_TRUE(gap->isSelfIntersecting(false));
    std::unique_ptr<VelGeomCompositeCurve3d> back(
        build({Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::seg(P(4, 0, 0), P(2, 0, 0))}));
    EXPECT_TRUE(back->isSelfIntersecting(false));

    // Two half circles close a circle; one is enough to be closed only
    // with the second meeting point.
    std::unique_ptr<VelGeomCompositeCurve3d> circle(
        build({Edge::arcFrom(P(0, 0, 0), kZ, P(1, 0, 0), kPi), Edge::arcFrom(P(0, 0, 0), kZ, P(-1, 0, 0), kPi)}));
    EXPECT_FALSE(circle->isSelfIntersecting(true));
    std::unique_ptr<VelGeomCompositeCurve3d> half(
        build({Edge::arcFrom(P(0, 0, 0), kZ, P(1, 0, 0), kPi / 2), Edge::arcFrom(P(0, 0, 0), kZ, P(0, 1, 0), kPi / 2)}));
    EXPECT_FALSE(half->isSelfIntersecting(false));
    EXPECT_TRUE(half->isSelfIntersecting(true));
    // An S-bend of equal radii is no reversal; going back along the same
    // circle is.
    std::unique_ptr<VelGeomCompositeCurve3d> sBend(
        build({Edge::arcFrom(P(0, 1, 0), kZ, P(0, 0, 0), kPi / 2), Edge::arcFrom(P(2, 1, 0), -kZ, P(1, 1, 0), kPi / 2)}));
    EXPECT_FALSE(sBend->isSelfIntersecting(false));
    std::unique_ptr<VelGeomCompositeCurve3d> reverse(
        build({Edge::arcFrom(P(0, 0, 0), kZ, P(1, 0, 0), kPi / 2), Edge::arcFrom(P(0, 0, 0), -kZ, P(0, 1, 0), kPi / 4)}));
    EXPECT_TRUE(reverse->isSelfIntersecting(false));
}

TEST(VelGeomCompositeCurve3d, OffsetOfAnOpenCornerIsSharp)
{
    std::unique_ptr<VelGeomCompositeCurve3d> c(
        build({Edge::seg(P(0, 0, 0), P(10, 0, 0)), Edge::seg(P(10, 0, 0), P(10, 10, 0))}));
    VelArray<VelGeomCurve3d*> out;
    c->getOffset(1.0, kZ, out, kOffsetExtExtend);
    ASSERT_EQ(out.length(), 1);
    const std::vector<VelGeomCurve3d*> pieces = members(*static_cast<VelGeomCompositeCurve3d*>(out[0]));
    ASSERT_EQ(pieces.size(), 2u);
    P a, b;
    pieces[0]->hasStartPoint(a);
    pieces[0]->hasEndPoint(b);
    EXPECT_EQ(a, P(0, 1, 0));
    EXPECT_EQ(b, P(9, 1, 0));
    pieces[1]->hasEndPoint(b);
    EXPECT_EQ(b, P(9, 10, 0));
    freeAll(out);
    checkOffset({Edge::seg(P(0, 0, 0), P(10, 0, 0)), Edge::seg(P(10, 0, 0), P(10, 10, 0))}, -2.5, false);
}

TEST(VelGeomCompositeCurve3d, OffsetOfAClosedSquare)
{
    std::unique_ptr<VelGeomCompositeCurve3d> c(build(square(10)));
    VelArray<VelGeomCurve3d*> out;
    c->getOffset(-1.0, kZ, out, kOffsetExtExtend);  // outward: right of travel
    ASSERT_EQ(out.length(), 1);
    P s, e;
    ASSERT_TRUE(out[0]->hasStartPoint(s));
    ASSERT_TRUE(out[0]->hasEndPoint(e));
    EXPECT_EQ(s, P(-1, -1, 0));  // the last joint
    EXPECT_EQ(e, P(-1, -1, 0));
    EXPECT_NEAR(out[0]->getLength(), 48.0, 1e-9);
    freeAll(out);
    checkOffset(square(10), -1.0, false);
    checkOffset(square(10), 4.0, false);

    // Too far inward the edges would come back turned round: no result.
    c->getOffset(6.0, kZ, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
    std::unique_ptr<VelGeomCompositeCurve3d> slim(
        build({Edge::seg(P(0, 0, 0), P(10, 0, 0)), Edge::seg(P(10, 0, 0), P(10, 2, 0)),
               Edge::seg(P(10, 2, 0), P(0, 2, 0)), Edge::seg(P(0, 2, 0), P(0, 0, 0))}));
    slim->getOffset(1.5, kZ, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
    slim->getOffset(0.9, kZ, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 1);
    freeAll(out);
}

TEST(VelGeomCompositeCurve3d, OffsetOfSegmentsAndArcs)
{
    checkOffset(roundedRect(20, 10, 2), -1.0, true);
    checkOffset(roundedRect(20, 10, 2), 1.5, true);
    // A chain with a concave arc and sharp corners between arcs and lines.
    const Chain mixed = {Edge::seg(P(0, 0, 0), P(6, 0, 0)), Edge::arcFrom(P(9, 0, 0), -kZ, P(6, 0, 0), kPi / 2),
                         Edge::seg(P(9, 3, 0), P(9, 8, 0)), Edge::arcFrom(P(6, 8, 0), kZ, P(9, 8, 0), kPi / 3)};
    checkOffset(mixed, 0.5, false);
    checkOffset(mixed, -0.5, false);

    // An arc that would collapse: no result.
    std::unique_ptr<VelGeomCompositeCurve3d> r(build(roundedRect(20, 10, 2)));
    VelArray<VelGeomCurve3d*> out;
    r->getOffset(2.0, kZ, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
    // An arc about another normal cannot be offset about +Z.
    std::unique_ptr<VelGeomCompositeCurve3d> tilted(
        build({Edge::seg(P(0, 0, 0), P(1, 0, 0)), Edge::arcFrom(P(1, 0, 1), V(0, 1, 0), P(1, 0, 0), kPi / 2)}));
    tilted->getOffset(0.1, kZ, out, kOffsetExtExtend);
    EXPECT_EQ(out.length(), 0);
    // A single member is offset by itself.
    std::unique_ptr<VelGeomCompositeCurve3d> one(build({Edge::arcFrom(P(0, 0, 0), kZ, P(3, 0, 0), kPi)}));
    one->getOffset(1.0, kZ, out, kOffsetExtExtend);
    ASSERT_EQ(out.length(), 1);
    EXPECT_EQ(out[0]->getType(), VelGeomCurve3d::kCircArc);
    EXPECT_NEAR(static_cast<VelGeomCircArc3d*>(out[0])->getRadius(), 2.0, 1e-12);
    freeAll(out);
}

TEST(VelGeomCompositeCurve3d, DisplacementCarriedAlongThePath)
{
    // In the plane, a displacement across the first edge is the planar
    // offset: the corner becomes the sharp joint.
    const Chain path = {Edge::seg(P(0, 0, 0), P(10, 0, 0)), Edge::seg(P(10, 0, 0), P(10, 10, 0)),
                        Edge::arcFrom(P(7, 10, 0), kZ, P(10, 10, 0), kPi / 2), Edge::seg(P(7, 13, 0), P(0, 13, 0))};
    std::unique_ptr<VelGeomCompositeCurve3d> c(build(path));
    VelGeomCurve3d* moved = nullptr;
    ASSERT_EQ(c->get3dOffset(V(0, 1, 0), moved), 1);
    ASSERT_NE(moved, nullptr);
    VelArray<VelGeomCurve3d*> planar;
    c->getOffset(1.0, kZ, planar, kOffsetExtExtend);
    ASSERT_EQ(planar.length(), 1);
    for (int i = 0; i <= 20; ++i) {
        const double t = moved->getLength() * i / 20.0;
        EXPECT_LT(moved->evalPoint(t).distanceTo(planar[0]->evalPoint(t)), 1e-9) << t;
    }
    freeAll(planar);
    VelGeomCurve3d::deleteCurve(moved);

    // Along the normal of the path's plane: a translated copy.
    ASSERT_EQ(c->get3dOffset(V(0, 0, 2), moved), 1);
    for (int i = 0; i <= 20; ++i) {
        const double t = c->getLength() * i / 20.0;
        EXPECT_LT(moved->evalPoint(t).distanceTo(c->evalPoint(t) + V(0, 0, 2)), 1e-9);
    }
    VelGeomCurve3d::deleteCurve(moved);

    // A corner in space: each piece runs parallel to its edge at the
    // displacement's distance, and the joint lies on the corner's bisecting
    // plane.
    const Chain spatial = {Edge::seg(P(0, 0, 0), P(5, 0, 0)), Edge::seg(P(5, 0, 0), P(5, 0, 5))};
    std::unique_ptr<VelGeomCompositeCurve3d> s(build(spatial));
    ASSERT_EQ(s->get3dOffset(V(0, 1, 1), moved), 1);
    const std::vector<VelGeomCurve3d*> pieces = members(*static_cast<VelGeomCompositeCurve3d*>(moved));
    ASSERT_EQ(pieces.size(), 2u);
    for (size_t k = 0; k < 2; ++k)
        for (const P& p : memberSamples(*pieces[k]))
            EXPECT_NEAR(spatial[k].carrierDistance(p), std::sqrt(2.0), 1e-9);
    P joint;
    pieces[0]->hasEndPoint(joint);
    const V bisectorNormal = V(1, 0, 1) / std::sqrt(2.0);  // incoming + outgoing
    EXPECT_NEAR((joint - P(5, 0, 0)).dotProduct(bisectorNormal), 0.0, 1e-9);
    VelGeomCurve3d::deleteCurve(moved);

    // Only segments and arcs.
    VelArray<VelGeomCurve3d*> withRay;
    VelGeomRay3d ray(P(0, 0, 0), V(1, 0, 0));
    withRay.append(&ray);
    VelGeomCompositeCurve3d r(withRay);
    moved = nullptr;
    EXPECT_EQ(r.get3dOffset(V(0, 1, 0), moved), 0);
    EXPECT_EQ(moved, nullptr);
}

TEST(VelGeomCompositeCurve3d, SimpleCurvesAtAPoint)
{
    std::unique_ptr<VelGeomCompositeCurve3d> sq(build(square(4)));
    const std::vector<VelGeomCurve3d*> m = members(*sq);
    VelGeomCurve3d *first = nullptr, *second = nullptr;
    ASSERT_TRUE(sq->getSimpleCurvesAtPoint(P(0, 0, 0), first, second));
    EXPECT_EQ(first, m[3]);
    EXPECT_EQ(second, m[0]);
    ASSERT_TRUE(sq->getSimpleCurvesAtPoint(P(4, 0, 0), first, second));
    EXPECT_EQ(first, m[0]);
    EXPECT_EQ(second, m[1]);
    ASSERT_TRUE(sq->getSimpleCurvesAtPoint(P(4, 2, 0), first, second));
    EXPECT_EQ(first, m[1]);
    EXPECT_EQ(second, nullptr);
    EXPECT_FALSE(sq->getSimpleCurvesAtPoint(P(2, 2, 0), first, second));
    EXPECT_EQ(first, nullptr);

    std::unique_ptr<VelGeomCompositeCurve3d> open(
        build({Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::seg(P(4, 0, 0), P(4, 4, 0))}));
    const std::vector<VelGeomCurve3d*> o = members(*open);
    ASSERT_TRUE(open->getSimpleCurvesAtPoint(P(0, 0, 0), first, second));
    EXPECT_EQ(first, o[0]);
    EXPECT_EQ(second, nullptr);
    ASSERT_TRUE(open->getSimpleCurvesAtPoint(P(4, 4, 0), first, second));
    EXPECT_EQ(first, o[1]);
    EXPECT_EQ(second, nullptr);
}

TEST(VelGeomCompositeCurve3d, TangentsPerpendicularsAndTransforms)
{
    const Chain edges = {Edge::seg(P(0, 0, 0), P(4, 0, 0)), Edge::arcFrom(P(4, 2, 0), kZ, P(4, 0, 0), kPi)};
    std::unique_ptr<VelGeomCompositeCurve3d> c(build(edges));
    EXPECT_TRUE(c->tangentVector(P(2, 0, 0)).isCodirectionalTo(V(1, 0, 0)));
    EXPECT_TRUE(c->tangentVector(P(6, 2, 0)).isCodirectionalTo(V(0, 1, 0)));
    EXPECT_TRUE(c->tangentVector(P(7, 2, 0)).isCodirectionalTo(V(0, 1, 0)));
    // The foot on the segment and, of the circle's nearest point and its
    // antipode, the one on the arc; forced, all three.
    const VelArray<P> perp = c->getPerpIntersections(P(3, 1, 0), 0);
    ASSERT_EQ(perp.length(), 2);
    for (int i = 0; i < perp.length(); ++i)
        EXPECT_LT(chainDistance(edges, perp[i]), 1e-9);
    EXPECT_EQ(c->getPerpIntersections(P(3, 1, 0), 1).length(), 3);

    const VelGeomMatrix3d m = VelGeomMatrix3d::rotation(0.7, V(1, 2, 3), P(1, 1, 1));
    c->transformBy(m);
    for (const Edge& e : edges) {
        P q = e.at(0.3);
        q.transformBy(m);
        EXPECT_TRUE(c->isOn(q, VelGeomTol(1e-9, 1e-9)));
    }
    EXPECT_NEAR(c->getLength(), 4 + 2 * kPi, 1e-9);
}
