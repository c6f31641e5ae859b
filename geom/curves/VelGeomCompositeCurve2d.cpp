#include "geom/curves/VelGeomCompositeCurve2d.h"

#include "geom/core/VelGeomMatrix2d.h"
#include "geom/curves/VelGeomCircArc2d.h"
#include "geom/curves/VelGeomCompositeChainInternal.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLineSeg2d.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Below this a closest distance counts as a hit and ends the search.
constexpr double kHitDistance = 1e-16;

const VelGeomLineSeg2d* asSegment(const VelGeomCurve2d& c)
{
    return c.getType() == VelGeomCurve2d::kLineSeg ? dynamic_cast<const VelGeomLineSeg2d*>(&c) : nullptr;
}

const VelGeomCircArc2d* asArc(const VelGeomCurve2d& c)
{
    return c.getType() == VelGeomCurve2d::kCircArc ? dynamic_cast<const VelGeomCircArc2d*>(&c) : nullptr;
}

const VelGeomCompositeCurve2d* asComposite(const VelGeomCurve2d& c)
{
    return c.getType() == VelGeomCurve2d::kCompositeCurve ? dynamic_cast<const VelGeomCompositeCurve2d*>(&c)
                                                           : nullptr;
}

void paramRange(const VelGeomCurve2d& c, double& s, double& e)
{
    if (!c.hasStartParam(s))
        s = 0.0;
    if (!c.hasEndParam(e))
        e = c.getType() == VelGeomCurve2d::kCompositeCurve ? c.getLength() : 1.0;
}

// The signed angle from a to b, counter-clockwise positive, in (-pi, pi].
double signedAngle(const VelGeomVector2d& a, const VelGeomVector2d& b)
{
    return std::atan2(a.x * b.y - a.y * b.x, a.dotProduct(b));
}

struct Chain2d {
    using Curve = VelGeomCurve2d;
    using Point = VelGeomPoint2d;

    static bool start(const Curve& c, Point& p) { return c.hasStartPoint(p); }
    static bool end(const Curve& c, Point& p) { return c.hasEndPoint(p); }
    static bool equal(const Point& a, const Point& b, const VelGeomTol& tol) { return a.isEqualTo(b, tol); }
    static double distance(const Point& a, const Point& b) { return a.distanceTo(b); }
    static bool isSegment(const Curve& c) { return asSegment(c) != nullptr; }
    static bool isArc(const Curve& c) { return asArc(c) != nullptr; }

    static bool runsBack(const Curve& a, const Curve& b, const VelGeomTol& tol)
    {
        const VelGeomLineSeg2d* sa = asSegment(a);
        const VelGeomLineSeg2d* sb = asSegment(b);
        if (sa && sb)
            return sb->direction().isCodirectionalTo(-sa->direction(), VelGeomTol::gTol);
        const VelGeomCircArc2d* aa = asArc(a);
        const VelGeomCircArc2d* ab = asArc(b);
        if (aa && ab)
            return aa->getCenter().isEqualTo(ab->getCenter(), tol) && tol.equal(aa->getRadius(), ab->getRadius()) &&
                   aa->isClockWise() != ab->isClockWise();
        return false;
    }

    static void box(const Curve& c, VelGeomChain::ChainBox& b)
    {
        b.setEmpty();
        if (const VelGeomLineSeg2d* s = asSegment(c)) {
            const Point p = s->getStartPoint(), q = s->getEndPoint();
            b.add(p.x, p.y, 0.0);
            b.add(q.x, q.y, 0.0);
        } else if (const VelGeomCircArc2d* a = asArc(c)) {
            const Point m = a->getCenter();
            const double r = std::fabs(a->getRadius());
            b.add(m.x - r, m.y - r, 0.0);
            b.add(m.x + r, m.y + r, 0.0);
        } else if (const VelGeomCompositeCurve2d* k = asComposite(c)) {
            VelArray<VelGeomCurve2d*> members;
            k->getCurveList(members);
            for (int i = 0; i < members.length(); ++i) {
                VelGeomChain::ChainBox mb;
                box(*members[i], mb);
                b.add(mb);
            }
        } else {
            b.setUnbounded();
        }
    }

    static bool continues(const Curve& a, const Curve& b)
    {
        const VelGeomLineSeg2d* sa = asSegment(a);
        const VelGeomLineSeg2d* sb = asSegment(b);
        if (sa && sb)
            return sa->isColinearTo(*sb, VelGeomTol::gTol);
        const VelGeomCircArc2d* aa = asArc(a);
        const VelGeomCircArc2d* ab = asArc(b);
        return aa && ab && aa->getCenter() == ab->getCenter() && aa->getRadius() == ab->getRadius();
    }

    static Curve* supporting(const Curve& c)
    {
        if (const VelGeomLineSeg2d* s = asSegment(c))
            return new VelGeomLine2d(s->pointOnLine(), s->direction());
        if (const VelGeomCircArc2d* a = asArc(c))
            return new VelGeomCircArc2d(a->getCenter(), a->getRadius(), a->getStartVector());
        return nullptr;
    }
    static void release(Curve* c) { delete c; }

    static Curve* rebuild(const Curve& piece, const Point& from, const Point& to, const VelGeomTol& tol)
    {
        if (const VelGeomLineSeg2d* s = asSegment(piece)) {
            if (!from.isEqualTo(to, tol) && (to - from).dotProduct(s->getEndPoint() - s->getStartPoint()) < 0.0)
                return nullptr;
            return new VelGeomLineSeg2d(from, to);
        }
        const VelGeomCircArc2d* a = asArc(piece);
        if (!a)
            return nullptr;
        const Point c = a->getCenter();
        const double r = a->getRadius();
        const double sense = a->isClockWise() ? -1.0 : 1.0;
        const double ds = sense * signedAngle(a->getStartPoint() - c, from - c);
        const double de = sense * signedAngle(a->getEndPoint() - c, to - c);
        double sweep = a->getIncludedAngle() - ds + de;
        const double slack = r > 0.0 ? tol.equalPoint() / r : 0.0;
        if (sweep < -slack)
            return nullptr;
        if (sweep < 0.0)
            sweep = 0.0;
        return new VelGeomCircArc2d(c, r, from, sweep, a->isClockWise());
    }
};

VelGeomCompositeCurve2d* ownedChain(const VelArray<VelGeomCurve2d*>& curves)
{
    VelArray<int> owned;
    for (int i = 0; i < curves.length(); ++i)
        owned.append(1);
    return new VelGeomCompositeCurve2d(curves, owned);
}

// A member's offset in the composite's sense (to the left for a positive
// distance): planar arcs count positive distances to their right.
void offsetMember(const VelGeomCurve2d& c, double distance, VelArray<VelGeomCurve2d*>& out, OffsetExtType ext,
                  const VelGeomTol& tol)
{
    c.getOffset(c.getType() == VelGeomCurve2d::kCircArc ? -distance : distance, out, ext, tol);
}

}  // namespace

VelGeomCompositeCurve2d::VelGeomCompositeCurve2d() : VelGeomCurve2d()
{
    m_curves.append(new VelGeomLineSeg2d(VelGeomPoint2d(0.0, 0.0), VelGeomPoint2d(1.0, 0.0)));
    m_owner.append(1);
}

VelGeomCompositeCurve2d::VelGeomCompositeCurve2d(const VelArray<VelGeomCurve2d*>& curves,
                                                 const VelArray<int>& ownerFlags)
    : VelGeomCurve2d()
{
    setCurveList(curves, ownerFlags);
}

VelGeomCompositeCurve2d::VelGeomCompositeCurve2d(const VelArray<VelGeomCurve2d*>& curves) : VelGeomCurve2d()
{
    setCurveList(curves);
}

VelGeomCompositeCurve2d::VelGeomCompositeCurve2d(const VelGeomCompositeCurve2d& other) : VelGeomCurve2d(other)
{
    copyFrom(other);
}

VelGeomCompositeCurve2d& VelGeomCompositeCurve2d::operator=(const VelGeomCompositeCurve2d& other)
{
    if (this != &other) {
        releaseOwned(nullptr);
        copyFrom(other);
    }
    return *this;
}

VelGeomCompositeCurve2d::~VelGeomCompositeCurve2d() { releaseOwned(nullptr); }

void VelGeomCompositeCurve2d::copyFrom(const VelGeomCompositeCurve2d& other)
{
    VelArray<VelGeomCurve2d*> curves;
    VelArray<int> flags;
    for (int i = 0; i < other.m_curves.length(); ++i) {
        curves.append(other.m_curves[i]->copy());
        flags.append(1);
    }
    m_curves = curves;
    m_owner = flags;
}

void VelGeomCompositeCurve2d::releaseOwned(const VelArray<VelGeomCurve2d*>* keep)
{
    VelGeomChain::releaseOwned(m_curves, m_owner, keep);
}

bool VelGeomCompositeCurve2d::acceptable(const VelArray<VelGeomCurve2d*>& curves, const VelArray<int>& flags) const
{
    return VelGeomChain::acceptable<VelGeomCurve2d>(curves, flags, this);
}

void VelGeomCompositeCurve2d::take(const VelArray<VelGeomCurve2d*>& curves, const VelArray<int>& flags)
{
    const VelArray<VelGeomCurve2d*> newCurves(curves);
    VelArray<int> newFlags;
    for (int i = 0; i < flags.length(); ++i)
        newFlags.append(flags[i] ? 1 : 0);
    releaseOwned(&newCurves);
    m_curves = newCurves;
    m_owner = newFlags;
}

bool VelGeomCompositeCurve2d::setCurveList(const VelArray<VelGeomCurve2d*>& curves, const VelArray<int>& ownerFlags)
{
    if (!acceptable(curves, ownerFlags))
        return false;
    take(curves, ownerFlags);
    return true;
}

bool VelGeomCompositeCurve2d::setCurveList(const VelArray<VelGeomCurve2d*>& curves)
{
    VelArray<int> flags;
    for (int i = 0; i < curves.length(); ++i)
        flags.append(0);
    return setCurveList(curves, flags);
}

void VelGeomCompositeCurve2d::getCurveList(VelArray<VelGeomCurve2d*>& curves) const { curves = m_curves; }

VelGeomCurve2d* VelGeomCompositeCurve2d::copy() const { return new VelGeomCompositeCurve2d(*this); }

bool VelGeomCompositeCurve2d::hasStartPoint(VelGeomPoint2d& p) const
{
    return !m_curves.isEmpty() && m_curves.first()->hasStartPoint(p);
}

bool VelGeomCompositeCurve2d::hasEndPoint(VelGeomPoint2d& p) const
{
    return !m_curves.isEmpty() && m_curves.last()->hasEndPoint(p);
}

bool VelGeomCompositeCurve2d::hasStartParam(double& t) const
{
    if (m_curves.isEmpty())
        return false;
    t = 0.0;
    return true;
}

bool VelGeomCompositeCurve2d::hasEndParam(double& t) const
{
    if (m_curves.isEmpty())
        return false;
    t = getLength();
    return true;
}

double VelGeomCompositeCurve2d::getLength() const
{
    double total = 0.0;
    for (int i = 0; i < m_curves.length(); ++i)
        total += m_curves[i]->getLength();
    return total;
}

bool VelGeomCompositeCurve2d::isOn(const VelGeomPoint2d& p, const VelGeomTol&) const
{
    for (int i = 0; i < m_curves.length(); ++i)
        if (m_curves[i]->isOn(p, VelGeomTol::gTol))
            return true;
    return false;
}

VelGeomPoint2d VelGeomCompositeCurve2d::getClosestPointTo(const VelGeomCurve2d& other, VelGeomPoint2d& onOther,
                                                          const VelGeomTol& tol) const
{
    VelGeomPoint2d best(0.0, 0.0), bestOther;
    double bestDist = 0.0;
    bool found = false;
    for (int i = 0; i < m_curves.length() && !(found && bestDist <= kHitDistance); ++i) {
        VelGeomPoint2d q(0.0, 0.0);
        const VelGeomPoint2d p = m_curves[i]->getClosestPointTo(other, q, tol);
        const double d = p.distanceTo(q);
        if (!found || d < bestDist) {
            best = p;
            bestOther = q;
            bestDist = d;
            found = true;
        }
    }
    if (found)
        onOther = bestOther;
    return best;
}

VelGeomPoint2d VelGeomCompositeCurve2d::getClosestPointTo(const VelGeomPoint2d& p) const
{
    VelGeomPoint2d best(0.0, 0.0);
    double bestDist = 0.0;
    for (int i = 0; i < m_curves.length(); ++i) {
        const VelGeomPoint2d q = m_curves[i]->getClosestPointTo(p);
        const double d = q.distanceTo(p);
        if (i == 0 || d < bestDist) {
            best = q;
            bestDist = d;
        }
        if (bestDist <= kHitDistance)
            break;
    }
    return best;
}

double VelGeomCompositeCurve2d::paramOf(const VelGeomPoint2d& p, const VelGeomTol& tol) const
{
    double before = 0.0;
    for (int i = 0; i < m_curves.length(); ++i) {
        const VelGeomCurve2d& c = *m_curves[i];
        const double len = c.getLength();
        if (c.isOn(p, tol)) {
            double s, e;
            paramRange(c, s, e);
            const double fraction = e != s ? (c.paramOf(p, tol) - s) / (e - s) : 0.0;
            return before + fraction * len;
        }
        before += len;
    }
    return before;
}

double VelGeomCompositeCurve2d::globalToLocalParam(double t, int& index) const
{
    const int n = m_curves.length();
    if (n == 0) {
        index = -1;
        return 0.0;
    }
    auto local = [&](int i, double fraction) {
        double s, e;
        paramRange(*m_curves[i], s, e);
        return s + fraction * (e - s);
    };
    if (t < 0.0) {
        index = 0;
        const double len = m_curves[0]->getLength();
        return local(0, len > 0.0 ? t / len : 0.0);
    }
    double acc = 0.0;
    for (int i = 0; i < n; ++i) {
        const double len = m_curves[i]->getLength();
        acc += len;
        if (acc > t || i == n - 1) {
            index = i;
            return local(i, len > 0.0 ? 1.0 - (acc - t) / len : 0.0);
        }
    }
    index = n - 1;
    return 0.0;  // not reached
}

double VelGeomCompositeCurve2d::localToGlobalParam(double t, int index) const
{
    if (index < 0 || index >= m_curves.length())
        return 0.0;
    return paramOf(m_curves[index]->evalPoint(t));
}

VelGeomPoint2d VelGeomCompositeCurve2d::evalPoint(double t) const
{
    int index = -1;
    const double local = globalToLocalParam(t, index);
    if (index < 0)
        return VelGeomPoint2d(0.0, 0.0);
    return m_curves[index]->evalPoint(local);
}

VelGeomCurve2d& VelGeomCompositeCurve2d::transformBy(const VelGeomMatrix2d& m)
{
    for (int i = 0; i < m_curves.length(); ++i)
        m_curves[i]->transformBy(m);
    return *this;
}

bool VelGeomCompositeCurve2d::intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                                            const VelGeomTol& tol) const
{
    VelArray<VelGeomPoint2d> found;
    VelGeomChain::memberIntersections<Chain2d>(m_curves, other, tol, found);
    points.setLogicalLength(0);
    for (int i = 0; i < found.length(); ++i) {
        bool dup = false;
        for (int k = 0; k < points.length() && !dup; ++k)
            dup = points[k].isEqualTo(found[i], tol);
        if (!dup)
            points.append(found[i]);
    }
    return !points.isEmpty();
}

bool VelGeomCompositeCurve2d::isSelfIntersecting(bool closed, const VelGeomTol& tol) const
{
    return VelGeomChain::selfIntersects<Chain2d>(m_curves, closed, tol);
}

void VelGeomCompositeCurve2d::getOffset(double distance, VelArray<VelGeomCurve2d*>& pieces, OffsetExtType ext,
                                        const VelGeomTol& tol) const
{
    pieces.setLogicalLength(0);
    const int n = m_curves.length();
    if (n == 0)
        return;
    if (n == 1) {
        offsetMember(*m_curves[0], distance, pieces, ext, tol);
        return;
    }
    VelArray<VelGeomCurve2d*> moved, one;
    auto releaseAll = [](VelArray<VelGeomCurve2d*>& list) {
        for (int i = 0; i < list.length(); ++i)
            delete list[i];
        list.setLogicalLength(0);
    };
    for (int i = 0; i < n; ++i) {
        offsetMember(*m_curves[i], distance, one, ext, tol);
        if (one.length() != 1) {
            releaseAll(one);
            releaseAll(moved);
            return;
        }
        moved.append(one[0]);
    }
    VelGeomPoint2d s, e;
    const bool closed = hasStartPoint(s) && hasEndPoint(e) && s.isEqualTo(e, tol);
    VelArray<VelGeomCurve2d*> rebuilt;
    const bool joined = VelGeomChain::joinPieces<Chain2d>(moved, closed, tol, rebuilt);
    releaseAll(moved);
    if (!joined)
        return;
    VelGeomCompositeCurve2d* result = ownedChain(rebuilt);
    if (result->isSelfIntersecting(false, tol)) {
        delete result;
        return;
    }
    pieces.append(result);
}
