#include "geom/curves/VelGeomCircArc2d.h"

#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix2d.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLineSeg2d.h"
#include "geom/curves/VelGeomRay2d.h"

#include <cmath>

namespace {

const double kTwoPi = 2.0 * 3.14159265358979323846;

// The bisector intersection of the three-point arc accepts centres within
// this point tolerance; the parallel test keeps the default.
constexpr VelGeomTol kCentreTol(1e-6, 1e-10);

bool finite(const VelGeomPoint2d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

VelGeomVector2d rotated(VelGeomVector2d v, double angle) { return v.rotateBy(angle); }

}  // namespace

VelGeomCircArc2d::arcType VelGeomCircArc2d::typeOf(double includedAngle)
{
    const double d = includedAngle - kTwoPi;
    return d * d < 1e-16 ? kFullCircle : kArc;
}

VelGeomCircArc2d::VelGeomCircArc2d()
    : VelGeomCurve2d(), m_center(0.0, 0.0), m_radius(1.0), m_startVector(1.0, 0.0), m_includedAngle(kTwoPi),
      m_clockwise(false), m_arcType(kFullCircle)
{
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomVector2d& startVector)
    : VelGeomCurve2d(), m_center(center), m_radius(radius), m_startVector(startVector.normal(VelGeomTol::gTol)),
      m_includedAngle(kTwoPi), m_clockwise(false), m_arcType(kFullCircle)
{
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomPoint2d& startPoint,
                                   double includedAngle, bool clockwise)
    : VelGeomCircArc2d(center, radius, startPoint - center, includedAngle, clockwise)
{
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomVector2d& startVector,
                                   double includedAngle, bool clockwise)
    : VelGeomCurve2d(), m_center(center), m_radius(radius), m_startVector(startVector.normal(VelGeomTol::gTol)),
      m_includedAngle(includedAngle), m_clockwise(clockwise), m_arcType(typeOf(includedAngle))
{
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomPoint2d& startPoint,
                                   const VelGeomPoint2d& endPoint, bool clockwise)
    : VelGeomCircArc2d(center, radius, startPoint - center, endPoint - center, clockwise)
{
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomVector2d& startVector,
                                   const VelGeomVector2d& endVector, bool clockwise)
    : VelGeomCurve2d(), m_center(center), m_radius(radius), m_startVector(startVector.normal(VelGeomTol::gTol)),
      m_includedAngle(startVector.angleTo(endVector, false, clockwise)), m_clockwise(clockwise), m_arcType(kArc)
{
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, double startAngle, double endAngle,
                                   const VelGeomVector2d& refVector, bool clockwise)
    : VelGeomCircArc2d()
{
    set(center, radius, startAngle, endAngle, refVector, clockwise);
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, const VelGeomPoint2d& p3)
    : VelGeomCircArc2d()
{
    set(p1, p2, p3);
}

VelGeomCircArc2d::VelGeomCircArc2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, double value, bool isHeight)
    : VelGeomCircArc2d()
{
    set(p1, p2, value, isHeight);
}

VelGeomCircArc2d& VelGeomCircArc2d::set(const VelGeomPoint2d& center, double radius,
                                        const VelGeomVector2d& startVector)
{
    return *this = VelGeomCircArc2d(center, radius, startVector);
}

VelGeomCircArc2d& VelGeomCircArc2d::set(const VelGeomPoint2d& center, double radius, double startAngle,
                                        double endAngle, const VelGeomVector2d& refVector, bool clockwise)
{
    double included;
    if (!clockwise)
        included = startAngle <= endAngle ? endAngle - startAngle : endAngle + kTwoPi - startAngle;
    else
        included = startAngle >= endAngle ? startAngle - endAngle : startAngle + kTwoPi - endAngle;
    // Both angles are measured counter-clockwise, so that the arc ends at the
    // end angle in either sense.
    const VelGeomVector2d start = rotated(refVector.normal(VelGeomTol::gTol), startAngle);
    return *this = VelGeomCircArc2d(center, radius, start, included, clockwise);
}

VelGeomCircArc2d& VelGeomCircArc2d::set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, const VelGeomPoint2d& p3)
{
    // A degenerate arc sits at p1 with radius 0, so that its start and end
    // points are still the first defining point.
    VelGeomCircArc2d degenerate(p1, 0.0, VelGeomVector2d::kXAxis, 0.0, false);
    degenerate.m_arcType = kDegenerate;
    if (!finite(p1) || !finite(p2) || !finite(p3) || p1 == p2 || p1 == p3 || p2 == p3 ||
        (p2 - p1).isParallelTo(p2 - p3, VelGeomTol::gTol))
        return *this = degenerate;

    const VelGeomVector2d a = p2 - p1, b = p3 - p2;
    const VelGeomLine2d bisector1(p1 + a * 0.5, VelGeomVector2d(-a.y, a.x));
    const VelGeomLine2d bisector2(p2 + b * 0.5, VelGeomVector2d(-b.y, b.x));
    VelArray<VelGeomPoint2d> hits;
    if (!bisector1.intersectWith(bisector2, hits, kCentreTol))
        return *this = degenerate;

    const VelGeomPoint2d center = hits[0];
    VelGeomVector2d start = p1 - center;
    const VelGeomVector2d end = p3 - center;
    const VelGeomPoint2d chordMid = p1 + (p3 - p1) * 0.5;
    const VelGeomVector2d d = p2 - chordMid;

    double included = start.angleTo(end, true, false);
    if ((p3 - p1).length() / 2.0 < d.length())
        included = kTwoPi - included;

    // The arc runs counter-clockwise exactly when the triangle p1 p2 p3 does:
    // the same as asking whether p2, seen from the centre, lies in the
    // counter-clockwise sweep from p1 to p3, without the polar angles' loss
    // of precision. (Seen from the chord midpoint instead, a p2 near either
    // end would be misjudged.)
    const bool clockwise = a.x * b.y - a.y * b.x < 0.0;

    m_center = center;
    m_radius = start.length();
    m_startVector = start.normalize(VelGeomTol::gTol);
    m_includedAngle = included;
    m_clockwise = clockwise;
    m_arcType = kArc;
    return *this;
}

VelGeomCircArc2d& VelGeomCircArc2d::set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, double value,
                                        bool isHeight)
{
    VelGeomCircArc2d degenerate(p1, 0.0, VelGeomVector2d::kXAxis, 0.0, false);
    degenerate.m_arcType = kDegenerate;
    if (!finite(p1) || !finite(p2) || !std::isfinite(value) || p1 == p2)
        return *this = degenerate;

    if (isHeight) {
        const VelGeomVector2d c = p2 - p1;
        const VelGeomVector2d right = VelGeomVector2d(c.y, -c.x).normal(VelGeomTol::gTol);
        const VelGeomPoint2d apex = p1 + c * 0.5 + right * std::fabs(value);
        return set(p1, apex, p2);
    }

    const double theta = 4.0 * std::atan(std::fabs(value));
    double h = theta / 2.0;
    if (theta > VelGeomBase::PI)
        h = VelGeomBase::PI - h;
    if (h * h < 1e-16)
        return *this = degenerate;
    const VelGeomVector2d s = (p2 - p1) * 0.5;
    const double radius = s.length() / std::sin(h);
    VelGeomVector2d left = VelGeomVector2d(-s.y, s.x).normal(VelGeomTol::gTol);
    if (theta > VelGeomBase::PI)
        left.negate();
    const VelGeomPoint2d center = p1 + s + left * (std::cos(h) * radius);
    return *this = VelGeomCircArc2d(center, radius, p1 - center, theta, false);
}

VelGeomVector2d VelGeomCircArc2d::getEndVector() const
{
    return rotated(m_startVector, m_clockwise ? -m_includedAngle : m_includedAngle);
}

VelGeomPoint2d VelGeomCircArc2d::getStartPoint() const { return m_center + m_startVector * m_radius; }

VelGeomPoint2d VelGeomCircArc2d::getEndPoint() const { return m_center + getEndVector() * m_radius; }

VelGeomPoint2d VelGeomCircArc2d::getMidPoint() const { return evalPoint(0.5); }

VelGeomVector2d VelGeomCircArc2d::tangentVector(const VelGeomPoint2d& p) const
{
    const VelGeomVector2d v = p - m_center;
    const VelGeomVector2d t = m_clockwise ? VelGeomVector2d(v.y, -v.x) : VelGeomVector2d(-v.y, v.x);
    return t.normal(VelGeomTol::gTol);
}

VelGeomCurve2d* VelGeomCircArc2d::copy() const { return new VelGeomCircArc2d(*this); }

bool VelGeomCircArc2d::hasStartPoint(VelGeomPoint2d& p) const
{
    p = getStartPoint();
    return true;
}

bool VelGeomCircArc2d::hasEndPoint(VelGeomPoint2d& p) const
{
    p = getEndPoint();
    return true;
}

bool VelGeomCircArc2d::hasStartParam(double& t) const
{
    t = 0.0;
    return true;
}

bool VelGeomCircArc2d::hasEndParam(double& t) const
{
    t = 1.0;
    return true;
}

double VelGeomCircArc2d::getLength() const { return m_includedAngle * m_radius; }

double VelGeomCircArc2d::sweepAngleTo(const VelGeomPoint2d& p, const VelGeomTol& tol) const
{
    const VelGeomVector2d v = p - m_center;
    if (v.isZeroLength(VelGeomTol::gTol) || m_startVector.isZeroLength(VelGeomTol::gTol))
        return 0.0;
    const double cross = m_startVector.x * v.y - m_startVector.y * v.x;
    double a = std::atan2(m_clockwise ? -cross : cross, m_startVector.dotProduct(v));
    if (a < 0.0)
        a += kTwoPi;
    // Within the tolerance before the start direction belongs to the start.
    return tol.equal(a * m_radius, kTwoPi * m_radius) ? 0.0 : a;
}

bool VelGeomCircArc2d::isOn(const VelGeomPoint2d& p, const VelGeomTol& tol) const
{
    if (!tol.equal((p - m_center).length(), m_radius))
        return false;
    return tol.lessEqual(sweepAngleTo(p, tol) * m_radius, m_radius * m_includedAngle);
}

double VelGeomCircArc2d::paramOf(const VelGeomPoint2d& p, const VelGeomTol& tol) const
{
    const double a = sweepAngleTo(p, tol);
    return m_includedAngle != 0.0 ? a / m_includedAngle : a;
}

VelGeomPoint2d VelGeomCircArc2d::evalPoint(double t) const
{
    const double a = m_includedAngle * t;
    return m_center + rotated(m_startVector * m_radius, m_clockwise ? -a : a);
}

VelGeomPoint2d VelGeomCircArc2d::getClosestPointTo(const VelGeomPoint2d& p) const
{
    const VelGeomPoint2d q = m_center + (p - m_center).normal(VelGeomTol::gTol) * m_radius;
    if (isOn(q, VelGeomTol::gTol))
        return q;
    const VelGeomPoint2d s = getStartPoint(), e = getEndPoint();
    return e.distanceTo(p) < s.distanceTo(p) ? e : s;
}

VelGeomCurve2d& VelGeomCircArc2d::transformBy(const VelGeomMatrix2d& m)
{
    VelGeomPoint2d start = getStartPoint();
    start.transformBy(m);
    m_center.transformBy(m);
    m_startVector.transformBy(m);
    m_startVector.normalize(VelGeomTol::gTol);
    m_radius = start.distanceTo(m_center);
    // Any reflection reverses the sense, scaled or not.
    if (m.det() < 0.0)
        m_clockwise = !m_clockwise;
    return *this;
}

void VelGeomCircArc2d::getOffset(double distance, VelArray<VelGeomCurve2d*>& pieces, OffsetExtType,
                                 const VelGeomTol& tol) const
{
    pieces.setLogicalLength(0);
    const double radius = m_clockwise ? m_radius - distance : m_radius + distance;
    if (tol.lessEqual(radius, 0.0))
        return;
    VelGeomCircArc2d* offset = new VelGeomCircArc2d(*this);
    offset->m_radius = radius;
    pieces.append(offset);
}

bool VelGeomCircArc2d::intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
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
        const VelGeomCircArc2d* arc = dynamic_cast<const VelGeomCircArc2d*>(&other);
        return arc && intersectArc(*arc, points, tol);
    }
    default:
        return false;
    }
}

bool VelGeomCircArc2d::intersectArc(const VelGeomCircArc2d& other, VelArray<VelGeomPoint2d>& points,
                                    const VelGeomTol& tol) const
{
    const double r1 = m_radius, r2 = other.m_radius;
    const VelGeomVector2d between = other.m_center - m_center;
    const double d = between.length();
    const VelGeomPoint2d s1 = getStartPoint(), e1 = getEndPoint();
    const VelGeomPoint2d s2 = other.getStartPoint(), e2 = other.getEndPoint();

    if (d * d < 1e-16) {
        // Concentric: arcs of one circle share no more than their ends.
        if ((r1 - r2) * (r1 - r2) < 1e-16) {
            const bool sameSense = m_clockwise == other.m_clockwise;
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
    const VelGeomVector2d u = between / d;
    const VelGeomPoint2d base = m_center + u * a;
    const VelGeomVector2d w(-u.y, u.x);
    double h2 = r1 * r1 - a * a;
    const double gap = r1 - std::fabs(a);
    if (gap * gap < 1e-16 || h2 < 0.0 || h2 * h2 < 1e-16)
        h2 = 0.0;
    const double h = std::sqrt(h2);

    VelGeomPoint2d x1 = base + w * h;
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
        const VelGeomPoint2d x2 = base - w * h;
        if (isOn(x2, tol) && other.isOn(x2, tol) && !x2.isEqualTo(x1, tol))
            points.append(x2);
    }
    return !points.isEmpty();
}

VelGeomPoint2d VelGeomCircArc2d::getClosestPointTo(const VelGeomCurve2d& other, VelGeomPoint2d& onOther,
                                                   const VelGeomTol& tol) const
{
    VelArray<VelGeomPoint2d> pts;
    if (other.getType() == kCompositeCurve) {
        VelGeomPoint2d mine(0.0, 0.0);
        onOther = other.getClosestPointTo(*this, mine, tol);
        return mine;
    }
    if (intersectWith(other, pts, tol)) {
        onOther = pts[0];
        return pts[0];
    }

    if (other.isKindOf(kLine)) {
        // Nearest through the foot of the centre, when the line passes
        // outside the circle and the arc faces it.
        const VelGeomLine2d* line = dynamic_cast<const VelGeomLine2d*>(&other);
        if (line) {
            const VelGeomVector2d d = line->direction().normal(VelGeomTol::gTol);
            const VelGeomPoint2d p = line->pointOnLine();
            const VelGeomPoint2d f = p + d * (m_center - p).dotProduct(d);
            if (f.distanceTo(m_center) >= m_radius && other.isOn(f, tol) &&
                intersectWith(VelGeomLineSeg2d(m_center, f), pts, tol)) {
                onOther = other.getClosestPointTo(f);
                return pts[0];
            }
        }
    } else if (other.getType() == kCircArc) {
        const VelGeomCircArc2d* arc = dynamic_cast<const VelGeomCircArc2d*>(&other);
        if (arc) {
            VelArray<VelGeomPoint2d> theirs;
            const double d = m_center.distanceTo(arc->m_center);
            if (arc->m_radius + m_radius <= d) {
                // Apart: the nearest points face each other on the centre line.
                const VelGeomLineSeg2d link(m_center, arc->m_center);
                if (intersectWith(link, pts, tol) && arc->intersectWith(link, theirs, tol)) {
                    onOther = theirs[0];
                    return pts[0];
                }
            } else if (d > 1e-6 && std::fmax(m_radius, arc->m_radius) >=
                                       std::fmin(m_radius, arc->m_radius) + d) {
                // Nested: both nearest points lie on the ray from the inner
                // centre away from the outer one.
                const bool thisInner = m_radius <= arc->m_radius;
                const VelGeomPoint2d inner = thisInner ? m_center : arc->m_center;
                const VelGeomPoint2d outer = thisInner ? arc->m_center : m_center;
                const VelGeomRay2d ray(inner, inner - outer);
                if (intersectWith(ray, pts, tol) && arc->intersectWith(ray, theirs, tol)) {
                    onOther = theirs[0];
                    return pts[0];
                }
            }
        }
    }

    // The nearest of the end-point pairs; earlier pairs keep ties.
    VelGeomPoint2d best = getStartPoint();
    VelGeomPoint2d bestOther = other.getClosestPointTo(best);
    double bestDist = best.distanceTo(bestOther);
    auto consider = [&](const VelGeomPoint2d& mine, const VelGeomPoint2d& theirs) {
        const double dist = mine.distanceTo(theirs);
        if (dist < bestDist) {
            bestDist = dist;
            best = mine;
            bestOther = theirs;
        }
    };
    const VelGeomPoint2d end = getEndPoint();
    consider(end, other.getClosestPointTo(end));
    VelGeomPoint2d q;
    if (other.hasStartPoint(q))
        consider(getClosestPointTo(q), q);
    if (other.hasEndPoint(q))
        consider(getClosestPointTo(q), q);
    onOther = bestOther;
    return best;
}
