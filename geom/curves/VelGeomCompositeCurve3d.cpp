#include "geom/curves/VelGeomCompositeCurve3d.h"

#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/core/VelGeomExtents.h"
#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeChainInternal.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomRay3d.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Below this a closest distance counts as a hit and ends the search.
constexpr double kHitDistance = 1e-16;

const VelGeomLineSeg3d* asSegment(const VelGeomCurve3d& c)
{
    return c.getType() == VelGeomCurve3d::kLineSeg ? dynamic_cast<const VelGeomLineSeg3d*>(&c) : nullptr;
}

const VelGeomCircArc3d* asArc(const VelGeomCurve3d& c)
{
    return c.getType() == VelGeomCurve3d::kCircArc ? dynamic_cast<const VelGeomCircArc3d*>(&c) : nullptr;
}

const VelGeomCompositeCurve3d* asComposite(const VelGeomCurve3d& c)
{
    return c.getType() == VelGeomCurve3d::kCompositeCurve ? dynamic_cast<const VelGeomCompositeCurve3d*>(&c)
                                                           : nullptr;
}

// The parameter range of a member: [0, 1] for segments and arcs, [0, length]
// for composites.
void paramRange(const VelGeomCurve3d& c, double& s, double& e)
{
    if (!c.hasStartParam(s))
        s = 0.0;
    if (!c.hasEndParam(e))
        e = c.getType() == VelGeomCurve3d::kCompositeCurve ? c.getLength() : 1.0;
}

// The signed angle about axis from a to b, in (-pi, pi].
double signedAngle(const VelGeomVector3d& a, const VelGeomVector3d& b, const VelGeomVector3d& axis)
{
    return std::atan2(a.crossProduct(b).dotProduct(axis), a.dotProduct(b));
}

// The extension's own length unit for parameters: a ray counts as 1.
double extensionScale(const VelGeomCurve3d& ext)
{
    return ext.getType() == VelGeomCurve3d::kRay || ext.getType() == VelGeomCurve3d::kLine ? 1.0 : ext.getLength();
}

struct Chain3d {
    using Curve = VelGeomCurve3d;
    using Point = VelGeomPoint3d;

    static bool start(const Curve& c, Point& p) { return c.hasStartPoint(p); }
    static bool end(const Curve& c, Point& p) { return c.hasEndPoint(p); }
    static bool equal(const Point& a, const Point& b, const VelGeomTol& tol) { return a.isEqualTo(b, tol); }
    static double distance(const Point& a, const Point& b) { return a.distanceTo(b); }
    static bool isSegment(const Curve& c) { return asSegment(c) != nullptr; }
    static bool isArc(const Curve& c) { return asArc(c) != nullptr; }

    // The second member goes straight back over the first.
    static bool runsBack(const Curve& a, const Curve& b, const VelGeomTol& tol)
    {
        const VelGeomLineSeg3d* sa = asSegment(a);
        const VelGeomLineSeg3d* sb = asSegment(b);
        if (sa && sb)
            return sb->direction().isCodirectionalTo(-sa->direction(), VelGeomTol::gTol);
        const VelGeomCircArc3d* aa = asArc(a);
        const VelGeomCircArc3d* ab = asArc(b);
        if (aa && ab)
            return aa->getCenter().isEqualTo(ab->getCenter(), tol) && tol.equal(aa->getRadius(), ab->getRadius()) &&
                   aa->getNormal().isCodirectionalTo(-ab->getNormal(), VelGeomTol::gTol);
        return false;
    }

    static void box(const Curve& c, VelGeomChain::ChainBox& b)
    {
        b.setEmpty();
        if (const VelGeomLineSeg3d* s = asSegment(c)) {
            const Point p = s->getStartPoint(), q = s->getEndPoint();
            b.add(p.x, p.y, p.z);
            b.add(q.x, q.y, q.z);
        } else if (const VelGeomCircArc3d* a = asArc(c)) {
            // The box of the whole circle: along axis k it reaches
            // r * sqrt(1 - n_k^2) from the centre.
            const Point m = a->getCenter();
            const VelGeomVector3d n = a->getNormal().normal(VelGeomTol::gTol);
            const double r = std::fabs(a->getRadius());
            const double ex = r * std::sqrt(std::max(0.0, 1.0 - n.x * n.x));
            const double ey = r * std::sqrt(std::max(0.0, 1.0 - n.y * n.y));
            const double ez = r * std::sqrt(std::max(0.0, 1.0 - n.z * n.z));
            b.add(m.x - ex, m.y - ey, m.z - ez);
            b.add(m.x + ex, m.y + ey, m.z + ez);
        } else if (const VelGeomCompositeCurve3d* k = asComposite(c)) {
            VelArray<VelGeomCurve3d*> members;
            k->getCurveList(members);
            if (k->getFinite() != VelGeomCompositeCurve3d::kFinite) {
                b.setUnbounded();
                return;
            }
            for (int i = 0; i < members.length(); ++i) {
                VelGeomChain::ChainBox mb;
                box(*members[i], mb);
                b.add(mb);
            }
        } else {
            b.setUnbounded();
        }
    }

    // Two collinear segments, or two arcs of one circle.
    static bool continues(const Curve& a, const Curve& b)
    {
        const VelGeomLineSeg3d* sa = asSegment(a);
        const VelGeomLineSeg3d* sb = asSegment(b);
        if (sa && sb)
            return sa->isColinearTo(*sb, VelGeomTol::gTol);
        const VelGeomCircArc3d* aa = asArc(a);
        const VelGeomCircArc3d* ab = asArc(b);
        return aa && ab && aa->getCenter() == ab->getCenter() && aa->getRadius() == ab->getRadius();
    }

    static Curve* supporting(const Curve& c) { return isSegment(c) || isArc(c) ? c.getInfiniteCurve() : nullptr; }
    static void release(Curve* c) { delete c; }

    static Curve* rebuild(const Curve& piece, const Point& from, const Point& to, const VelGeomTol& tol)
    {
        if (const VelGeomLineSeg3d* s = asSegment(piece)) {
            // Joints in the opposite order: the piece has vanished.
            if (!from.isEqualTo(to, tol) && (to - from).dotProduct(s->getEndPoint() - s->getStartPoint()) < 0.0)
                return nullptr;
            return new VelGeomLineSeg3d(from, to);
        }
        const VelGeomCircArc3d* a = asArc(piece);
        if (!a)
            return nullptr;
        const Point c = a->getCenter();
        const VelGeomVector3d n = a->getNormal();
        const double r = a->getRadius();
        // The sweep follows from how far each joint moved the piece's ends
        // along its circle.
        const double ds = signedAngle(a->getStartPoint() - c, from - c, n);
        const double de = signedAngle(a->getEndPoint() - c, to - c, n);
        double sweep = a->getIncludedAngle() - ds + de;
        const double slack = r > 0.0 ? tol.equalPoint() / r : 0.0;
        if (sweep < -slack)
            return nullptr;
        if (sweep < 0.0)
            sweep = 0.0;
        return new VelGeomCircArc3d(c, n, r, from, sweep);
    }
};

// A composite owning the given fresh, distinct curves.
VelGeomCompositeCurve3d* ownedChain(const VelArray<VelGeomCurve3d*>& curves)
{
    VelArray<int> owned;
    for (int i = 0; i < curves.length(); ++i)
        owned.append(1);
    return new VelGeomCompositeCurve3d(curves, owned);
}

}  // namespace

VelGeomCompositeCurve3d::VelGeomCompositeCurve3d() : VelGeomCurve3d(), m_finite(kFinite)
{
    m_curves.append(new VelGeomLineSeg3d(VelGeomPoint3d(0.0, 0.0, 0.0), VelGeomPoint3d(1.0, 0.0, 0.0)));
    m_owner.append(1);
}

VelGeomCompositeCurve3d::VelGeomCompositeCurve3d(const VelArray<VelGeomCurve3d*>& curves,
                                                 const VelArray<int>& ownerFlags)
    : VelGeomCurve3d(), m_finite(kFinite)
{
    setCurveList(curves, ownerFlags);
}

VelGeomCompositeCurve3d::VelGeomCompositeCurve3d(const VelArray<VelGeomCurve3d*>& curves)
    : VelGeomCurve3d(), m_finite(kFinite)
{
    setCurveList(curves);
}

VelGeomCompositeCurve3d::VelGeomCompositeCurve3d(const VelGeomCompositeCurve3d& other)
    : VelGeomCurve3d(other), m_finite(kFinite)
{
    copyFrom(other);
}

VelGeomCompositeCurve3d& VelGeomCompositeCurve3d::operator=(const VelGeomCompositeCurve3d& other)
{
    if (this != &other) {
        releaseOwned(nullptr);
        copyFrom(other);
    }
    return *this;
}

VelGeomCompositeCurve3d::~VelGeomCompositeCurve3d() { releaseOwned(nullptr); }

void VelGeomCompositeCurve3d::copyFrom(const VelGeomCompositeCurve3d& other)
{
    VelArray<VelGeomCurve3d*> curves;
    VelArray<int> flags;
    for (int i = 0; i < other.m_curves.length(); ++i) {
        curves.append(other.m_curves[i]->copy());
        flags.append(1);
    }
    m_curves = curves;
    m_owner = flags;
    m_finite = other.m_finite;
}

void VelGeomCompositeCurve3d::releaseOwned(const VelArray<VelGeomCurve3d*>* keep)
{
    VelGeomChain::releaseOwned(m_curves, m_owner, keep);
}

bool VelGeomCompositeCurve3d::acceptable(const VelArray<VelGeomCurve3d*>& curves, const VelArray<int>& flags) const
{
    return VelGeomChain::acceptable<VelGeomCurve3d>(curves, flags, this);
}

void VelGeomCompositeCurve3d::take(const VelArray<VelGeomCurve3d*>& curves, const VelArray<int>& flags)
{
    // The arguments may be views of this composite's own lists.
    const VelArray<VelGeomCurve3d*> newCurves(curves);
    VelArray<int> newFlags;
    for (int i = 0; i < flags.length(); ++i)
        newFlags.append(flags[i] ? 1 : 0);
    releaseOwned(&newCurves);
    m_curves = newCurves;
    m_owner = newFlags;
}

bool VelGeomCompositeCurve3d::setCurveList(const VelArray<VelGeomCurve3d*>& curves, const VelArray<int>& ownerFlags)
{
    if (!acceptable(curves, ownerFlags))
        return false;
    take(curves, ownerFlags);
    return true;
}

bool VelGeomCompositeCurve3d::setCurveList(const VelArray<VelGeomCurve3d*>& curves)
{
    VelArray<int> flags;
    for (int i = 0; i < curves.length(); ++i)
        flags.append(0);
    return setCurveList(curves, flags);
}

void VelGeomCompositeCurve3d::getCurveList(VelArray<VelGeomCurve3d*>& curves) const { curves = m_curves; }

void VelGeomCompositeCurve3d::simpleMembers(VelArray<VelGeomCurve3d*>& out) const
{
    for (int i = 0; i < m_curves.length(); ++i) {
        if (const VelGeomCompositeCurve3d* k = asComposite(*m_curves[i]))
            k->simpleMembers(out);
        else
            out.append(m_curves[i]);
    }
}

VelGeomCurve3d* VelGeomCompositeCurve3d::copy() const { return new VelGeomCompositeCurve3d(*this); }

VelGeomCurve3d* VelGeomCompositeCurve3d::getInfiniteCurve() const
{
    VelGeomCompositeCurve3d* c = new VelGeomCompositeCurve3d(*this);
    c->m_finite = kInfiniteBoth;
    return c;
}

double VelGeomCompositeCurve3d::getLength() const
{
    double total = 0.0;
    for (int i = 0; i < m_curves.length(); ++i)
        total += m_curves[i]->getLength();
    return total;
}

bool VelGeomCompositeCurve3d::hasStartPoint(VelGeomPoint3d& p) const
{
    if (m_curves.isEmpty() || extendedAtStart())
        return false;
    return m_curves.first()->hasStartPoint(p);
}

bool VelGeomCompositeCurve3d::hasEndPoint(VelGeomPoint3d& p) const
{
    if (m_curves.isEmpty() || extendedAtEnd())
        return false;
    return m_curves.last()->hasEndPoint(p);
}

bool VelGeomCompositeCurve3d::hasStartParam(double& t) const
{
    if (m_curves.isEmpty() || extendedAtStart())
        return false;
    t = 0.0;
    return true;
}

bool VelGeomCompositeCurve3d::hasEndParam(double& t) const
{
    if (m_curves.isEmpty() || extendedAtEnd())
        return false;
    t = getLength();
    return true;
}

bool VelGeomCompositeCurve3d::isOn(const VelGeomPoint3d& p, const VelGeomTol&) const
{
    const VelGeomTol& g = VelGeomTol::gTol;
    for (int i = 0; i < m_curves.length(); ++i)
        if (m_curves[i]->isOn(p, g))
            return true;
    for (int atEnd = 0; atEnd < 2; ++atEnd) {
        if (!(atEnd ? extendedAtEnd() : extendedAtStart()))
            continue;
        VelGeomCurve3d* ext = getExtension(atEnd != 0);
        const bool on = ext && ext->isOn(p, g);
        deleteCurve(ext);
        if (on)
            return true;
    }
    return false;
}

double VelGeomCompositeCurve3d::paramOf(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    double before = 0.0;
    for (int i = 0; i < m_curves.length(); ++i) {
        const VelGeomCurve3d& c = *m_curves[i];
        const double len = c.getLength();
        if (c.isOn(p, tol)) {
            double s, e;
            paramRange(c, s, e);
            const double fraction = e != s ? (c.paramOf(p, tol) - s) / (e - s) : 0.0;
            return before + fraction * len;
        }
        before += len;
    }
    if (extendedAtStart()) {
        VelGeomCurve3d* ext = getExtension(false);
        double t = 0.0;
        const bool on = ext && ext->isOn(p, tol);
        if (on)
            t = -ext->paramOf(p, tol) * extensionScale(*ext);
        deleteCurve(ext);
        if (on)
            return t;
    }
    if (extendedAtEnd()) {
        VelGeomCurve3d* ext = getExtension(true);
        double t = 0.0;
        const bool on = ext && ext->isOn(p, tol);
        if (on)
            t = before + ext->paramOf(p, tol) * extensionScale(*ext);
        deleteCurve(ext);
        if (on)
            return t;
    }
    return before;
}

double VelGeomCompositeCurve3d::globalToLocalParam(double t, int& index) const
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

double VelGeomCompositeCurve3d::localToGlobalParam(double t, int index) const
{
    if (index < 0 || index >= m_curves.length())
        return 0.0;
    return paramOf(m_curves[index]->evalPoint(t));
}

VelGeomPoint3d VelGeomCompositeCurve3d::evalPoint(double t) const
{
    int index = -1;
    const double local = globalToLocalParam(t, index);
    if (index < 0)
        return VelGeomPoint3d(0.0, 0.0, 0.0);
    return m_curves[index]->evalPoint(local);
}

VelGeomPoint3d VelGeomCompositeCurve3d::getClosestPointTo(const VelGeomPoint3d& p) const
{
    VelGeomPoint3d best(0.0, 0.0, 0.0);
    double bestDist = 0.0;
    bool found = false;
    auto consider = [&](const VelGeomPoint3d& q) {
        const double d = q.distanceTo(p);
        if (!found || d < bestDist) {
            best = q;
            bestDist = d;
            found = true;
        }
    };
    for (int i = 0; i < m_curves.length(); ++i) {
        consider(m_curves[i]->getClosestPointTo(p));
        if (bestDist <= kHitDistance)
            return best;
    }
    for (int atEnd = 0; atEnd < 2 && !(found && bestDist <= kHitDistance); ++atEnd) {
        if (!(atEnd ? extendedAtEnd() : extendedAtStart()))
            continue;
        VelGeomCurve3d* ext = getExtension(atEnd != 0);
        if (ext)
            consider(ext->getClosestPointTo(p));
        deleteCurve(ext);
    }
    return best;
}

VelGeomPoint3d VelGeomCompositeCurve3d::getClosestPointTo(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                                          const VelGeomTol& tol) const
{
    VelGeomPoint3d best(0.0, 0.0, 0.0), bestOther;
    double bestDist = 0.0;
    bool found = false;
    auto consider = [&](const VelGeomCurve3d& c) {
        VelGeomPoint3d q(0.0, 0.0, 0.0);
        const VelGeomPoint3d p = c.getClosestPointTo(other, q, tol);
        const double d = p.distanceTo(q);
        if (!found || d < bestDist) {
            best = p;
            bestOther = q;
            bestDist = d;
            found = true;
        }
    };
    for (int i = 0; i < m_curves.length() && !(found && bestDist <= kHitDistance); ++i)
        consider(*m_curves[i]);
    for (int atEnd = 0; atEnd < 2 && !(found && bestDist <= kHitDistance); ++atEnd) {
        if (!(atEnd ? extendedAtEnd() : extendedAtStart()))
            continue;
        VelGeomCurve3d* ext = getExtension(atEnd != 0);
        if (ext)
            consider(*ext);
        deleteCurve(ext);
    }
    if (found)
        onOther = bestOther;
    return best;
}

VelGeomVector3d VelGeomCompositeCurve3d::tangentVector(const VelGeomPoint3d& p) const
{
    int bestIndex = -1;
    double bestDist = 0.0;
    VelGeomPoint3d bestPoint;
    for (int i = 0; i < m_curves.length(); ++i) {
        const VelGeomPoint3d q = m_curves[i]->getClosestPointTo(p);
        const double d = q.distanceTo(p);
        if (bestIndex < 0 || d < bestDist) {
            bestIndex = i;
            bestDist = d;
            bestPoint = q;
        }
        if (VelGeomTol::gTol.equal(d, 0.0))
            break;
    }
    if (bestIndex < 0)
        return VelGeomVector3d(0.0, 0.0, 0.0);
    return m_curves[bestIndex]->tangentVector(bestPoint);
}

bool VelGeomCompositeCurve3d::intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                            const VelGeomTol& tol) const
{
    VelArray<VelGeomPoint3d> found, part;
    VelGeomChain::memberIntersections<Chain3d>(m_curves, other, tol, found);
    for (int atEnd = 0; atEnd < 2; ++atEnd) {
        if (!(atEnd ? extendedAtEnd() : extendedAtStart()))
            continue;
        VelGeomCurve3d* ext = getExtension(atEnd != 0);
        if (ext && ext->intersectWith(other, part, tol))
            found.append(part);
        deleteCurve(ext);
    }
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

VelGeomCurve3d& VelGeomCompositeCurve3d::transformBy(const VelGeomMatrix3d& m)
{
    for (int i = 0; i < m_curves.length(); ++i)
        m_curves[i]->transformBy(m);
    return *this;
}

bool VelGeomCompositeCurve3d::getSimpleCurvesAtPoint(const VelGeomPoint3d& p, VelGeomCurve3d*& first,
                                                     VelGeomCurve3d*& second, const VelGeomTol& tol) const
{
    first = nullptr;
    second = nullptr;
    VelArray<VelGeomCurve3d*> simple;
    simpleMembers(simple);
    if (simple.isEmpty())
        return false;
    VelGeomPoint3d s, e;
    if (simple.first()->hasStartPoint(s) && s.isEqualTo(p, tol)) {
        if (simple.last()->hasEndPoint(e) && e.isEqualTo(s, tol)) {
            first = simple.last();
            second = simple.first();
        } else {
            first = simple.first();
        }
        return true;
    }
    for (int i = 0; i < simple.length(); ++i) {
        if (!simple[i]->isOn(p, tol))
            continue;
        first = simple[i];
        if (i + 1 < simple.length() && simple[i]->hasEndPoint(e) && e.isEqualTo(p, tol))
            second = simple[i + 1];
        return true;
    }
    return false;
}

VelGeomCurve3d* VelGeomCompositeCurve3d::getExtension(bool atEnd) const
{
    if (m_curves.isEmpty())
        return nullptr;
    const VelGeomCurve3d& c = atEnd ? *m_curves.last() : *m_curves.first();
    if (const VelGeomLineSeg3d* s = asSegment(c)) {
        const VelGeomVector3d d = s->direction();
        return atEnd ? new VelGeomRay3d(s->getEndPoint(), d) : new VelGeomRay3d(s->getStartPoint(), -d);
    }
    if (const VelGeomCircArc3d* a = asArc(c)) {
        const double rest = 2.0 * VelGeomBase::PI - a->getIncludedAngle();
        if (atEnd)
            return new VelGeomCircArc3d(a->getCenter(), a->getNormal(), a->getRadius(), a->getEndPoint(), rest);
        return new VelGeomCircArc3d(a->getCenter(), -a->getNormal(), a->getRadius(), a->getStartPoint(), rest);
    }
    if (const VelGeomCompositeCurve3d* k = asComposite(c))
        return k->getExtension(atEnd);
    return nullptr;
}

bool VelGeomCompositeCurve3d::isSelfIntersecting(bool closed, const VelGeomTol& tol) const
{
    return VelGeomChain::selfIntersects<Chain3d>(m_curves, closed, tol);
}

void VelGeomCompositeCurve3d::getOffset(double distance, const VelGeomVector3d& normal,
                                        VelArray<VelGeomCurve3d*>& pieces, OffsetExtType ext,
                                        const VelGeomTol& tol) const
{
    pieces.setLogicalLength(0);
    const int n = m_curves.length();
    if (n == 0)
        return;
    if (n == 1) {
        m_curves[0]->getOffset(distance, normal, pieces, ext, tol);
        return;
    }
    VelArray<VelGeomCurve3d*> moved, one;
    auto releaseAll = [](VelArray<VelGeomCurve3d*>& list) {
        for (int i = 0; i < list.length(); ++i)
            delete list[i];
        list.setLogicalLength(0);
    };
    for (int i = 0; i < n; ++i) {
        m_curves[i]->getOffset(distance, normal, one, ext, tol);
        if (one.length() != 1) {
            releaseAll(one);
            releaseAll(moved);
            return;
        }
        moved.append(one[0]);
    }
    VelGeomPoint3d s, e;
    const bool closed =
        m_curves.first()->hasStartPoint(s) && m_curves.last()->hasEndPoint(e) && s.isEqualTo(e, tol);
    VelArray<VelGeomCurve3d*> rebuilt;
    const bool joined = VelGeomChain::joinPieces<Chain3d>(moved, closed, tol, rebuilt);
    releaseAll(moved);
    if (!joined)
        return;
    VelGeomCompositeCurve3d* result = ownedChain(rebuilt);
    if (result->isSelfIntersecting(false, tol)) {
        delete result;
        return;
    }
    pieces.append(result);
}

int VelGeomCompositeCurve3d::get3dOffset(VelGeomVector3d offset, VelGeomCurve3d*& result,
                                         const VelGeomTol& tol) const
{
    VelArray<VelGeomCurve3d*> simple;
    simpleMembers(simple);
    const int n = simple.length();
    if (n == 0)
        return 0;
    for (int i = 0; i < n; ++i)
        if (!Chain3d::isSegment(*simple[i]) && !Chain3d::isArc(*simple[i]))
            return 0;

    VelArray<VelGeomCurve3d*> moved;
    auto releaseAll = [](VelArray<VelGeomCurve3d*>& list) {
        for (int i = 0; i < list.length(); ++i)
            delete list[i];
        list.setLogicalLength(0);
    };
    VelGeomVector3d v = offset;
    for (int i = 0; i < n; ++i) {
        const VelGeomCurve3d& c = *simple[i];
        if (i > 0) {
            // Mirror the carried displacement in the plane that bisects the
            // corner (spanned by the bisector and the corner's normal).
            VelGeomPoint3d corner, start;
            simple[i - 1]->hasEndPoint(corner);
            c.hasStartPoint(start);
            const VelGeomVector3d a = -simple[i - 1]->tangentVector(corner).normal(VelGeomTol::gTol);
            const VelGeomVector3d b = c.tangentVector(start).normal(VelGeomTol::gTol);
            if (!a.isZeroLength() && !b.isZeroLength() && !a.isParallelTo(b, VelGeomTol::gTol)) {
                const VelGeomVector3d d = (a + b).normal(VelGeomTol::gTol);
                const VelGeomVector3d m = d.crossProduct(a.crossProduct(b)).normal(VelGeomTol::gTol);
                v -= m * (2.0 * v.dotProduct(m));
            }
        }
        VelGeomCurve3d* piece = nullptr;
        if (!c.get3dOffset(v, piece, tol) || !piece) {
            delete piece;
            releaseAll(moved);
            return 0;
        }
        moved.append(piece);
        if (const VelGeomCircArc3d* a = asArc(c))
            v.rotateBy(a->getIncludedAngle(), a->getNormal());
    }
    VelArray<VelGeomCurve3d*> rebuilt;
    const bool joined = VelGeomChain::joinPieces<Chain3d>(moved, false, tol, rebuilt);
    releaseAll(moved);
    if (!joined)
        return 0;
    result = ownedChain(rebuilt);
    return 1;
}

VelArray<VelGeomPoint3d> VelGeomCompositeCurve3d::getPerpIntersections(const VelGeomPoint3d& p, int force) const
{
    VelArray<VelGeomPoint3d> all;
    for (int i = 0; i < m_curves.length(); ++i)
        all.append(m_curves[i]->getPerpIntersections(p, force));
    return all;
}

VelArray<VelGeomPoint3d> VelGeomCompositeCurve3d::getTanIntersections(const VelGeomPoint3d& p, int force) const
{
    VelArray<VelGeomPoint3d> all;
    for (int i = 0; i < m_curves.length(); ++i)
        all.append(m_curves[i]->getTanIntersections(p, force));
    return all;
}

VelGeomAugPolyline VelGeomCompositeCurve3d::getAugPolyline() const
{
    VelGeomAugPolyline polyline;
    VelArray<VelGeomCurve3d*> simple;
    simpleMembers(simple);
    VelGeomPoint3d end;
    bool haveEnd = false;
    for (int i = 0; i < simple.length(); ++i) {
        const VelGeomCurve3d& c = *simple[i];
        VelGeomPoint3d start;
        if (!c.hasStartPoint(start))
            continue;
        if (const VelGeomCircArc3d* a = asArc(c))
            polyline.append(start,
                            VelGeomVertexInfo(a->getRadius(), a->getCenter(), a->getNormal(),
                                              VelGeomVertexInfo::defAbsError),
                            0);
        else
            polyline.append(start, VelGeomVertexInfo::kNone, 0);
        haveEnd = c.hasEndPoint(end);
    }
    if (haveEnd)
        polyline.append(end, VelGeomVertexInfo::kNone, 0);
    return polyline;
}

void VelGeomCompositeCurve3d::getExtents(VelGeomExtents& out) const
{
    out = VelGeomExtents();
    for (int i = 0; i < m_curves.length(); ++i) {
        VelGeomExtents member;
        m_curves[i]->getExtents(member);
        out.extend(member);
    }
}
