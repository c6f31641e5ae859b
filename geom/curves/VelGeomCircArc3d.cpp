#include "geom/curves/VelGeomCircArc3d.h"

#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelGeomExtents.h"
#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <cmath>

namespace {

const double kTwoPi = 2.0 * 3.14159265358979323846;

// The line intersection of the three-point arc accepts centres within this
// point tolerance; the vector tolerance keeps the default.
constexpr VelGeomTol kCentreTol(1e-6, 1e-10);

bool finite(const VelGeomPoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

VelGeomVector3d rotated(VelGeomVector3d v, double angle, const VelGeomVector3d& axis)
{
    return v.rotateBy(angle, axis);
}

}  // namespace

VelGeomCircArc3d::VelGeomCircArc3d()
    : VelGeomCurve3d(), m_center(0.0, 0.0, 0.0), m_radius(0.0), m_startVector(), m_normal(), m_includedAngle(0.0),
      m_arcType(kDegenerate)
{
}

VelGeomCircArc3d::VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius)
    : VelGeomCurve3d(), m_center(center), m_radius(radius), m_startVector(),
      m_normal(normal.normal(VelGeomTol::gTol)), m_includedAngle(kTwoPi), m_arcType(kFullCircle)
{
    m_startVector = m_normal.perpVector();
}

VelGeomCircArc3d::VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                                   const VelGeomVector3d& startVector)
    : VelGeomCurve3d(), m_center(center), m_radius(radius), m_startVector(startVector.normal(VelGeomTol::gTol)),
      m_normal(normal.normal(VelGeomTol::gTol)), m_includedAngle(kTwoPi), m_arcType(kFullCircle)
{
}

VelGeomCircArc3d::VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                                   const VelGeomPoint3d& startPoint, double includedAngle)
    : VelGeomCurve3d(), m_center(center), m_radius(radius),
      m_startVector((startPoint - center).normal(VelGeomTol::gTol)), m_normal(normal.normal(VelGeomTol::gTol)),
      m_includedAngle(includedAngle), m_arcType(kArc)
{
}

VelGeomCircArc3d::VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                                   const VelGeomPoint3d& startPoint, const VelGeomPoint3d& endPoint)
    : VelGeomCircArc3d(center, normal, radius, startPoint - center, endPoint - center)
{
}

VelGeomCircArc3d::VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                                   const VelGeomVector3d& startVector, const VelGeomVector3d& endVector)
    : VelGeomCurve3d(), m_center(center), m_radius(radius), m_startVector(startVector.normal(VelGeomTol::gTol)),
      m_normal(normal.normal(VelGeomTol::gTol)), m_includedAngle(startVector.angleTo(endVector, normal)),
      m_arcType(kArc)
{
}

VelGeomCircArc3d::VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal,
                                   const VelGeomVector3d& refVector, double radius, double startAngle,
                                   double endAngle)
    : VelGeomCurve3d(), m_center(center), m_radius(radius), m_startVector(),
      m_normal(normal.normal(VelGeomTol::gTol)),
      m_includedAngle(startAngle < endAngle ? endAngle - startAngle : endAngle + kTwoPi - startAngle),
      m_arcType(kArc)
{
    m_startVector = rotated(refVector.normal(VelGeomTol::gTol), startAngle, m_normal);
}

VelGeomCircArc3d::VelGeomCircArc3d(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomPoint3d& p3)
    : VelGeomCircArc3d()
{
    // A degenerate arc sits at p1, so that its start and end are still the
    // first defining point.
    m_center = p1;
    const VelGeomVector3d a = p3 - p1, b = p2 - p1;
    if (!finite(p1) || !finite(p2) || !finite(p3) || p1 == p2 || p1 == p3 || p2 == p3 ||
        a.isParallelTo(b, VelGeomTol::gTol))
        return;

    const VelGeomVector3d n = a.crossProduct(b);
    const VelGeomLine3d bisector1(p1 + a * 0.5, n.crossProduct(a));
    const VelGeomLine3d bisector2(p1 + b * 0.5, n.crossProduct(b));
    VelArray<VelGeomPoint3d> hits;
    if (!bisector1.intersectWith(bisector2, hits, kCentreTol) || hits.length() != 1)
        return;

    const VelGeomPoint3d center = hits[0];
    VelGeomVector3d s = p1 - center;
    const VelGeomVector3d e = p3 - center;
    const VelGeomVector3d d = p2 - (p1 + a * 0.5);
    double included = s.angleTo(e);
    VelGeomVector3d normal;
    if (kCentreTol.equal(included, VelGeomBase::PI)) {
        // A half circle: s and e are opposite, p2 fixes the side.
        normal = s.crossProduct(d);
    } else {
        normal = s.crossProduct(e);
        if (a.length() / 2.0 < d.length()) {
            included = kTwoPi - included;
            normal.negate();
        }
    }
    normal.normalize();
    m_center = center;
    m_normal = normal;
    m_radius = s.length();
    m_startVector = s.normalize();
    m_includedAngle = included;
    m_arcType = kArc;
}

double VelGeomCircArc3d::getStartAngle(const VelGeomVector3d& reference) const
{
    return reference.angleTo(m_startVector, m_normal);
}

VelGeomPoint3d VelGeomCircArc3d::getStartPoint() const { return m_center + m_startVector * m_radius; }

VelGeomVector3d VelGeomCircArc3d::getEndVector() const { return rotated(m_startVector, m_includedAngle, m_normal); }

VelGeomPoint3d VelGeomCircArc3d::getEndPoint() const { return m_center + getEndVector() * m_radius; }

VelGeomPoint3d VelGeomCircArc3d::getMidPoint() const
{
    return m_center + rotated(m_startVector, m_includedAngle / 2.0, m_normal) * m_radius;
}

VelGeomArc3d VelGeomCircArc3d::getArc() const { return VelGeomArc3d(m_startVector, getEndVector()); }

VelGeomCurve3d* VelGeomCircArc3d::copy() const { return new VelGeomCircArc3d(*this); }

VelGeomCurve3d* VelGeomCircArc3d::getInfiniteCurve() const
{
    return new VelGeomCircArc3d(m_center, m_normal, m_radius);
}

double VelGeomCircArc3d::sweepAngleTo(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    const VelGeomVector3d n = m_normal.normal(VelGeomTol::gTol);
    VelGeomVector3d s = m_startVector, v = p - m_center;
    s -= n * n.dotProduct(s);
    v -= n * n.dotProduct(v);
    if (s.isZeroLength(VelGeomTol::gTol) || v.isZeroLength(VelGeomTol::gTol))
        return 0.0;
    double a = std::atan2(n.dotProduct(s.crossProduct(v)), s.dotProduct(v));
    if (a < 0.0)
        a += kTwoPi;
    // Within the tolerance before the start direction belongs to the start.
    return tol.equal(a * m_radius, kTwoPi * m_radius) ? 0.0 : a;
}

double VelGeomCircArc3d::paramOf(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    const double a = sweepAngleTo(p, tol);
    return m_includedAngle != 0.0 ? a / m_includedAngle : a;
}

VelGeomPoint3d VelGeomCircArc3d::evalPoint(double t) const
{
    VelGeomVector3d v = m_startVector * m_radius;
    if (m_radius != 0.0)
        v.rotateBy((m_includedAngle != 0.0 ? m_includedAngle : 1.0) * t, m_normal);
    return m_center + v;
}

bool VelGeomCircArc3d::isOn(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    if (!tol.equal((p - m_center).length(), m_radius))
        return false;
    return tol.lessEqual(sweepAngleTo(p, tol) * m_radius, m_radius * m_includedAngle);
}

VelGeomCurve3d& VelGeomCircArc3d::transformBy(const VelGeomMatrix3d& m)
{
    VelGeomPoint3d start = getStartPoint();
    start.transformBy(m);
    m_center.transformBy(m);
    m_normal.transformBy(m);
    if (m.isMirror())
        m_normal.negate();
    m_normal.normalize();
    m_startVector.transformBy(m);
    m_startVector.normalize();
    m_radius = start.distanceTo(m_center);
    return *this;
}

VelGeomPoint3d VelGeomCircArc3d::getClosestPointTo(const VelGeomPoint3d& p) const
{
    const VelGeomPlane plane(m_center, m_normal);
    const VelGeomVector3d v = plane.getClosestPointTo(p) - m_center;
    if (v.isZeroLength(VelGeomTol::gTol))
        return getStartPoint();
    const double a = sweepAngleTo(p, VelGeomTol::gTol);
    if (a <= m_includedAngle)
        return m_center + v.normal(VelGeomTol::gTol) * m_radius;
    return a - m_includedAngle >= kTwoPi - a ? getStartPoint() : getEndPoint();
}

bool VelGeomCircArc3d::hasEndPoint(VelGeomPoint3d& p) const
{
    p = getEndPoint();
    return true;
}

bool VelGeomCircArc3d::hasStartPoint(VelGeomPoint3d& p) const
{
    p = getStartPoint();
    return true;
}

bool VelGeomCircArc3d::hasEndParam(double& t) const
{
    t = 1.0;
    return true;
}

bool VelGeomCircArc3d::hasStartParam(double& t) const
{
    t = 0.0;
    return true;
}

double VelGeomCircArc3d::getLength() const { return m_arcType == kDegenerate ? 0.0 : m_includedAngle * m_radius; }

void VelGeomCircArc3d::getOffset(double distance, const VelGeomVector3d& normal, VelArray<VelGeomCurve3d*>& pieces,
                                 OffsetExtType, const VelGeomTol& tol) const
{
    pieces.setLogicalLength(0);
    if (!normal.isParallelTo(m_normal, VelGeomTol::gTol))
        return;
    const double radius =
        normal.isCodirectionalTo(m_normal, VelGeomTol::gTol) ? m_radius - distance : m_radius + distance;
    if (tol.lessEqual(radius, 0.0))
        return;
    VelGeomCircArc3d* offset = new VelGeomCircArc3d(*this);
    offset->m_radius = radius;
    pieces.append(offset);
}

int VelGeomCircArc3d::get3dOffset(VelGeomVector3d offset, VelGeomCurve3d*& result, const VelGeomTol& tol) const
{
    const double grow = m_startVector.dotProduct(offset);
    VelGeomCircArc3d* moved = nullptr;
    if (tol.equal(grow, 0.0)) {
        moved = new VelGeomCircArc3d(*this);
    } else {
        VelArray<VelGeomCurve3d*> pieces;
        getOffset(grow, -m_normal, pieces, kOffsetExtExtend, tol);
        if (pieces.isEmpty())
            return 0;
        moved = static_cast<VelGeomCircArc3d*>(pieces[0]);
        for (int i = 1; i < pieces.length(); ++i)
            deleteCurve(pieces[i]);
    }
    moved->m_center += m_normal * m_normal.dotProduct(offset);
    result = moved;
    return 1;
}

int VelGeomCircArc3d::cutAt(VelGeomPlane plane, int keepStart, int wholeCircle, const VelGeomTol&)
{
    const VelGeomCircArc3d work = wholeCircle ? VelGeomCircArc3d(m_center, m_normal, m_radius) : *this;
    int count = 0;
    VelGeomPoint3d p1, p2;
    if (!plane.intersectWith(work, count, p1, p2) || count == 0)
        return 0;
    const VelGeomPoint3d origin = plane.pointOnPlane();
    const VelGeomPoint3d cut = count > 1 && p2.distanceTo(origin) < p1.distanceTo(origin) ? p2 : p1;
    if (keepStart) {
        m_includedAngle = m_startVector.angleTo(cut - m_center, m_normal);
    } else {
        const VelGeomVector3d oldEnd = getEndVector();
        m_startVector = (cut - m_center).normal(VelGeomTol::gTol);
        m_includedAngle = m_startVector.angleTo(oldEnd, m_normal);
    }
    // What is left of a full circle is an arc.
    m_arcType = kArc;
    return 1;
}

VelGeomVector3d VelGeomCircArc3d::tangentVector(const VelGeomPoint3d& p) const
{
    if (p.isEqualTo(m_center, VelGeomTol::gTol))
        return VelGeomVector3d::kIdentity;
    return m_normal.crossProduct(p - m_center);
}

VelArray<VelGeomPoint3d> VelGeomCircArc3d::getPerpIntersections(const VelGeomPoint3d& p, int ignoreBounds) const
{
    VelArray<VelGeomPoint3d> pts;
    const VelGeomPoint3d q = VelGeomCircArc3d(m_center, m_normal, m_radius, m_startVector).getClosestPointTo(p);
    const VelGeomPoint3d opposite = q + (m_center - q) * 2.0;
    if (ignoreBounds || isOn(q, VelGeomTol::gTol))
        pts.append(q);
    if (ignoreBounds || isOn(opposite, VelGeomTol::gTol))
        pts.append(opposite);
    return pts;
}

VelArray<VelGeomPoint3d> VelGeomCircArc3d::getTanIntersections(const VelGeomPoint3d& p, int ignoreBounds) const
{
    VelArray<VelGeomPoint3d> pts;
    // Tangents through p exist in the arc's plane only: p is taken there.
    const VelGeomVector3d v = VelGeomPlane(m_center, m_normal).getClosestPointTo(p) - m_center;
    const double dist = v.length();
    const double ratio = m_radius / dist;
    if (!(ratio <= 1.0))
        return pts;  // inside the circle (or at its centre): no tangent
    const double beta = std::acos(ratio);
    const VelGeomVector3d u = v / dist;
    const VelGeomPoint3d t1 = m_center + rotated(u, beta, m_normal) * m_radius;
    const VelGeomPoint3d t2 = m_center + rotated(u, beta, -m_normal) * m_radius;
    if (ignoreBounds || isOn(t1, VelGeomTol::gTol))
        pts.append(t1);
    if (ignoreBounds || isOn(t2, VelGeomTol::gTol))
        pts.append(t2);
    return pts;
}

bool VelGeomCircArc3d::intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                     const VelGeomTol& tol) const
{
    points.setLogicalLength(0);
    switch (other.getType()) {
    case kLine:
    case kLineSeg:
    case kRay:
    case kCompositeCurve:
        return other.intersectWith(*this, points, tol);
    case kCircArc: {
        const VelGeomCircArc3d* arc = dynamic_cast<const VelGeomCircArc3d*>(&other);
        return arc && intersectArc(*arc, points, tol);
    }
    default:
        return false;
    }
}

bool VelGeomCircArc3d::intersectArc(const VelGeomCircArc3d& other, VelArray<VelGeomPoint3d>& points,
                                    const VelGeomTol& tol) const
{
    // Without a plane (a default-built arc) there is nothing to intersect.
    if (m_normal.isZeroLength(VelGeomTol::gTol) || other.m_normal.isZeroLength(VelGeomTol::gTol))
        return false;
    const VelGeomPlane mine(m_center, m_normal), theirs(other.m_center, other.m_normal);
    if (mine == theirs)
        return intersectCoplanar(other, points, tol);
    if (mine.isParallel(theirs, VelGeomTol::gTol))
        return false;
    // Crossing planes: only points of the common line can be shared.
    const VelGeomLine3d line = mine.intersectWith(theirs);
    VelArray<VelGeomPoint3d> first, second;
    line.intersectWith(*this, first, tol);
    line.intersectWith(other, second, tol);
    for (int i = 0; i < first.length(); ++i) {
        bool shared = false;
        for (int j = 0; j < second.length() && !shared; ++j)
            shared = first[i] == second[j];
        for (int j = 0; j < points.length() && shared; ++j)
            if (points[j] == first[i])
                shared = false;
        if (shared)
            points.append(first[i]);
    }
    return !points.isEmpty();
}

bool VelGeomCircArc3d::intersectCoplanar(const VelGeomCircArc3d& other, VelArray<VelGeomPoint3d>& points,
                                         const VelGeomTol& tol) const
{
    const double r1 = m_radius, r2 = other.m_radius;
    const VelGeomVector3d between = other.m_center - m_center;
    const double d = between.length();
    const VelGeomPoint3d s1 = getStartPoint(), e1 = getEndPoint();
    const VelGeomPoint3d s2 = other.getStartPoint(), e2 = other.getEndPoint();

    if (d * d < 1e-16) {
        // Concentric: arcs of one circle share no more than their ends.
        if ((r1 - r2) * (r1 - r2) < 1e-16) {
            const bool sameSense = m_normal.isCodirectionalTo(other.m_normal, VelGeomTol::gTol);
            if (e1.isEqualTo(sameSense ? s2 : e2, tol))
                points.append(e1);
            if (s1.isEqualTo(sameSense ? e2 : s2, tol))
                points.append(s1);
        }
        return !points.isEmpty();
    }
    if (tol.lessNotEqual(r1 + r2, d) || tol.lessNotEqual(d, std::fabs(r1 - r2)))
        return false;

    const double a = (r1 * r1 - r2 * r2 + d * d) / (2.0 * d);
    const VelGeomVector3d u = between / d;
    const VelGeomPoint3d base = m_center + u * a;
    const VelGeomVector3d w = m_normal.crossProduct(u);
    double h2 = r1 * r1 - a * a;
    const double gap = r1 - std::fabs(a);
    if (gap * gap < 1e-16 || h2 < 0.0 || h2 * h2 < 1e-16)
        h2 = 0.0;
    const double h = std::sqrt(h2);

    VelGeomPoint3d x1 = base + w * h;
    if (h == 0.0) {
        // Touching circles: prefer an exact shared end to the computed point.
        if (s1.isEqualTo(s2, tol) || s1.isEqualTo(e2, tol))
            x1 = s1;
        else if (e1.isEqualTo(s2, tol) || e1.isEqualTo(e2, tol))
            x1 = e1;
    }
    if (isOn(x1, tol) && other.isOn(x1, tol))
        points.append(x1);
    if (h != 0.0) {
        const VelGeomPoint3d x2 = base - w * h;
        if (isOn(x2, tol) && other.isOn(x2, tol) && !x2.isEqualTo(x1, tol))
            points.append(x2);
    }
    return !points.isEmpty();
}

VelGeomPoint3d VelGeomCircArc3d::bestEndPair(const VelGeomCurve3d& other, VelGeomPoint3d& onOther) const
{
    VelGeomPoint3d best = getStartPoint();
    VelGeomPoint3d bestOther = other.getClosestPointTo(best);
    double bestDist = best.distanceTo(bestOther);
    auto consider = [&](const VelGeomPoint3d& mine, const VelGeomPoint3d& theirs) {
        const double dist = mine.distanceTo(theirs);
        if (dist < bestDist) {
            bestDist = dist;
            best = mine;
            bestOther = theirs;
        }
    };
    const VelGeomPoint3d end = getEndPoint();
    consider(end, other.getClosestPointTo(end));
    VelGeomPoint3d q;
    if (other.hasStartPoint(q))
        consider(getClosestPointTo(q), q);
    if (other.hasEndPoint(q))
        consider(getClosestPointTo(q), q);
    onOther = bestOther;
    return best;
}

VelGeomPoint3d VelGeomCircArc3d::alternatingSearch(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                                   const VelGeomTol& tol) const
{
    VelArray<VelGeomPoint3d> seeds;
    VelGeomPoint3d q;
    const VelGeomCircArc3d* arc =
        other.getType() == kCircArc ? dynamic_cast<const VelGeomCircArc3d*>(&other) : nullptr;
    if (other.getType() == kLineSeg ||
        (arc && m_includedAngle >= VelGeomBase::PI && arc->m_includedAngle < VelGeomBase::PI)) {
        // Seeds on the other curve, mapped onto this arc.
        if (other.hasStartPoint(q))
            seeds.append(getClosestPointTo(q));
        if (other.hasEndPoint(q))
            seeds.append(getClosestPointTo(q));
    } else if (m_arcType != kFullCircle) {
        seeds.append(getStartPoint());
        seeds.append(getEndPoint());
        if (m_includedAngle >= VelGeomBase::PI)
            seeds.append(getMidPoint());
    } else {
        getSamplePoints(3, seeds);
    }

    VelGeomPoint3d best(0.0, 0.0, 0.0), bestOther(0.0, 0.0, 0.0);
    double firstDist = 0.0;
    for (int i = 0; i < seeds.length(); ++i) {
        VelGeomPoint3d x = seeds[i];
        VelGeomPoint3d y = other.getClosestPointTo(x);
        VelGeomPoint3d next = getClosestPointTo(y);
        for (int step = 1; step < kMaxProjectionSteps && !next.isEqualTo(x, tol); ++step) {
            x = next;
            y = other.getClosestPointTo(x);
            next = getClosestPointTo(y);
        }
        const double dist = next.distanceTo(y);
        if (i == 0) {
            best = next;
            bestOther = y;
            firstDist = dist;
        } else if (dist < firstDist) {
            best = next;
            bestOther = y;
            break;
        }
    }
    onOther = bestOther;
    return best;
}

VelGeomPoint3d VelGeomCircArc3d::getClosestPointTo(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                                   const VelGeomTol& tol) const
{
    VelGeomPoint3d mine(0.0, 0.0, 0.0);
    if (other.getType() == kCompositeCurve) {
        onOther = other.getClosestPointTo(*this, mine, tol);
        return mine;
    }
    VelArray<VelGeomPoint3d> pts;
    if (intersectWith(other, pts, tol)) {
        onOther = pts[0];
        return pts[0];
    }
    const VelGeomPlane plane(m_center, m_normal);

    if (other.isKindOf(kLine)) {
        const VelGeomLine3d* line = dynamic_cast<const VelGeomLine3d*>(&other);
        if (line) {
            const VelGeomVector3d dir = line->direction();
            if (dir.isParallelTo(m_normal, VelGeomTol::gTol)) {
                mine = getClosestPointTo(line->pointOnLine());
                onOther = other.getClosestPointTo(mine);
                return mine;
            }
            if (dir.isPerpendicularTo(m_normal, VelGeomTol::gTol)) {
                // Parallel to the arc's plane: work with the line dropped into it.
                const VelGeomPoint3d p = line->pointOnLine();
                VelGeomCurve3d* dropped = nullptr;
                if (!plane.isOn(p, VelGeomTol::gTol))
                    other.get3dOffset(plane.getClosestPointTo(p) - p, dropped, tol);
                const VelGeomCurve3d& flat = dropped ? *dropped : other;
                bool found = false;
                if (intersectWith(flat, pts, tol)) {
                    mine = pts[0];
                    onOther = other.getClosestPointTo(mine);
                    found = true;
                } else {
                    const VelGeomPoint3d base = dropped ? plane.getClosestPointTo(p) : p;
                    const VelGeomPoint3d f = base + dir * (m_center - base).dotProduct(dir);
                    if (f.distanceTo(m_center) >= m_radius && flat.isOn(f, tol) &&
                        intersectWith(VelGeomLineSeg3d(m_center, f), pts, tol)) {
                        mine = pts[0];
                        onOther = other.getClosestPointTo(f);
                        found = true;
                    }
                }
                deleteCurve(dropped);
                if (found)
                    return mine;
                return bestEndPair(other, onOther);
            }
        }
    } else if (other.getType() == kCircArc) {
        const VelGeomCircArc3d* arc = dynamic_cast<const VelGeomCircArc3d*>(&other);
        if (arc && arc->m_normal.isParallelTo(m_normal, VelGeomTol::gTol) &&
            !m_normal.isZeroLength(VelGeomTol::gTol)) {
            // Parallel planes: drop the other arc into this arc's plane.
            VelGeomCircArc3d flat(*arc);
            if (!plane.isOn(flat.m_center, VelGeomTol::gTol))
                flat.m_center = plane.getClosestPointTo(flat.m_center);
            if (intersectWith(flat, pts, tol)) {
                mine = pts[0];
                onOther = other.getClosestPointTo(mine);
                return mine;
            }
            VelArray<VelGeomPoint3d> theirs;
            const double d = m_center.distanceTo(flat.m_center);
            if (flat.m_radius + m_radius <= d) {
                const VelGeomLineSeg3d link(m_center, flat.m_center);
                if (intersectWith(link, pts, tol) && flat.intersectWith(link, theirs, tol)) {
                    onOther = other.getClosestPointTo(theirs[0]);
                    return pts[0];
                }
            } else if (d > 1e-6 && std::fmax(m_radius, flat.m_radius) >= std::fmin(m_radius, flat.m_radius) + d) {
                const bool thisInner = m_radius <= flat.m_radius;
                const VelGeomPoint3d inner = thisInner ? m_center : flat.m_center;
                const VelGeomPoint3d outer = thisInner ? flat.m_center : m_center;
                const VelGeomRay3d ray(inner, inner - outer);
                if (intersectWith(ray, pts, tol) && flat.intersectWith(ray, theirs, tol)) {
                    onOther = other.getClosestPointTo(theirs[0]);
                    return pts[0];
                }
            }
            return bestEndPair(other, onOther);
        }
    }
    return alternatingSearch(other, onOther, tol);
}

VelGeomAugPolyline VelGeomCircArc3d::getAugPolyline() const
{
    VelGeomAugPolyline polyline;
    polyline.append(getStartPoint(), VelGeomVertexInfo(m_radius, m_center, m_normal, VelGeomVertexInfo::defAbsError),
                    0);
    polyline.append(getEndPoint(), VelGeomVertexInfo::kNone, 0);
    polyline.reinitialize();
    return polyline;
}

void VelGeomCircArc3d::getExtents(VelGeomExtents& out) const
{
    out = VelGeomExtents();
    out.extend(VelGeomVertexInfo(getRadius(), getCenter(), getNormal(), 0.3), getStartPoint(), getEndPoint());
}
