#include "geom/curves/VelGeomLine2d.h"

#include "geom/core/VelGeomMatrix2d.h"
#include "geom/curves/VelGeomCircArc2d.h"
#include "geom/curves/VelGeomLineSeg2d.h"

#include <cmath>

// Constant-initialised: the constructor below is constexpr.
const VelGeomLine2d VelGeomLine2d::kXAxis(VelGeomPoint2d(0.0, 0.0), 1.0, 0.0, 1.0, ConstTag());
const VelGeomLine2d VelGeomLine2d::kYAxis(VelGeomPoint2d(0.0, 0.0), 0.0, 1.0, 1.0, ConstTag());

namespace {

constexpr VelGeomTol kParallelDetTol(1e-15, 1e-15);
// A line-circle discriminant this close to 0 means a tangent.
constexpr VelGeomTol kTangentDiscTol(1e-6, 1e-6);

}  // namespace

VelGeomLine2d::VelGeomLine2d() : VelGeomCurve2d(), m_point(0.0, 0.0), m_direction(1.0, 0.0), m_length(1.0) {}

VelGeomLine2d::VelGeomLine2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2) : VelGeomLine2d(p1, p2 - p1) {}

VelGeomLine2d::VelGeomLine2d(const VelGeomPoint2d& point, const VelGeomVector2d& v)
    : VelGeomCurve2d(), m_point(point), m_direction(v.normal(VelGeomTol::gTol)), m_length(v.length())
{
}

VelGeomLine2d& VelGeomLine2d::set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2) { return set(p1, p2 - p1); }

VelGeomLine2d& VelGeomLine2d::set(const VelGeomPoint2d& point, const VelGeomVector2d& v)
{
    m_point = point;
    m_direction = v.normal(VelGeomTol::gTol);
    m_length = v.length();
    return *this;
}

bool VelGeomLine2d::isParallelTo(const VelGeomLine2d& line, const VelGeomTol& tol) const
{
    return m_direction.isParallelTo(line.m_direction, tol);
}

bool VelGeomLine2d::isColinearTo(const VelGeomLine2d& line, const VelGeomTol& tol) const
{
    return isParallelTo(line, tol) && VelGeomLine2d::isOn(line.m_point, tol);
}

const VelGeomLine2d* VelGeomLine2d::asStraight(const VelGeomCurve2d& curve)
{
    if (!curve.isKindOf(kLine))
        return nullptr;
    return dynamic_cast<const VelGeomLine2d*>(&curve);
}

void VelGeomLine2d::moveBy(VelGeomLine2d& curve, const VelGeomVector2d& v)
{
    curve.m_point += v;
    if (VelGeomLineSeg2d* seg = dynamic_cast<VelGeomLineSeg2d*>(&curve))
        seg->m_end += v;
}

VelGeomCurve2d* VelGeomLine2d::copy() const { return new VelGeomLine2d(*this); }

bool VelGeomLine2d::isOn(const VelGeomPoint2d& p, const VelGeomTol& tol) const
{
    return p.isEqualTo(m_point, tol) || m_direction.isParallelTo(p - m_point, tol);
}

VelGeomPoint2d VelGeomLine2d::footOf(const VelGeomPoint2d& p) const
{
    const VelGeomVector2d d = unitDirection();
    return m_point + d * (p - m_point).dotProduct(d);
}

VelGeomPoint2d VelGeomLine2d::getClosestPointTo(const VelGeomPoint2d& p) const { return footOf(p); }

double VelGeomLine2d::paramOf(const VelGeomPoint2d& p, const VelGeomTol&) const
{
    const VelGeomVector2d w = m_point - p;
    double d = w.length();
    if (w.isCodirectionalTo(m_direction, VelGeomTol::gTol))
        d = -d;
    return m_length != 0.0 ? d / m_length : d;
}

VelGeomPoint2d VelGeomLine2d::evalPoint(double t) const
{
    const VelGeomVector2d d = unitDirection();
    return m_length != 0.0 ? m_point + d * (t * m_length) : m_point + d * t;
}

VelGeomCurve2d& VelGeomLine2d::transformBy(const VelGeomMatrix2d& m)
{
    // The parameter scale follows the image of the vector the line spans.
    VelGeomVector2d span = unitDirection() * m_length;
    m_length = span.transformBy(m).length();
    m_direction.transformBy(m);
    m_point.transformBy(m);
    return *this;
}

void VelGeomLine2d::getOffset(double distance, VelArray<VelGeomCurve2d*>& pieces, OffsetExtType,
                              const VelGeomTol&) const
{
    pieces.setLogicalLength(0);
    const VelGeomVector2d d = unitDirection();
    VelGeomCurve2d* moved = copy();
    moveBy(static_cast<VelGeomLine2d&>(*moved), VelGeomVector2d(-d.y, d.x) * distance);
    pieces.append(moved);
}

bool VelGeomLine2d::intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                                  const VelGeomTol& tol) const
{
    points.setLogicalLength(0);
    VelGeomTol::precTol.setEqualPoint(VelGeomTol::gTol.equalPoint());
    switch (other.getType()) {
    case kLine:
    case kLineSeg:
    case kRay: {
        const VelGeomLine2d* carrier = asStraight(other);
        if (!carrier || isParallelTo(*carrier, tol))
            return false;
        const VelGeomVector2d d1 = m_direction, d2 = carrier->m_direction;
        const VelGeomVector2d w = carrier->m_point - m_point;
        const double det = d1.x * (-d2.y) - (-d2.x) * d1.y;
        if (kParallelDetTol.equal(det, 0.0))
            return false;
        const double u = ((-d2.y) * w.x - w.y * (-d2.x)) / det;
        const double t = (w.y * d1.x - w.x * d1.y) / det;
        const VelGeomPoint2d& p1 = m_point;
        const VelGeomPoint2d& p2 = carrier->m_point;
        const double e = 10.0 * std::fmax(std::fabs(u * d1.x + p1.x - p2.x - t * d2.x),
                                          std::fabs(u * d1.y + p1.y - p2.y - t * d2.y));
        if (e > VelGeomTol::precTol.equalPoint())
            VelGeomTol::precTol.setEqualPoint(e);
        const VelGeomPoint2d p = p1 + d1 * u;
        if (other.getType() == kLine || other.isOn(p, tol))
            points.append(p);
        break;
    }
    case kCircArc: {
        const VelGeomCircArc2d* arc = dynamic_cast<const VelGeomCircArc2d*>(&other);
        if (!arc)
            return false;
        intersectArc(*arc, points, tol);
        break;
    }
    case kCompositeCurve:
        return other.intersectWith(*this, points, tol);
    default:
        return false;
    }
    return !points.isEmpty();
}

void VelGeomLine2d::intersectArc(const VelGeomCircArc2d& arc, VelArray<VelGeomPoint2d>& points,
                                 const VelGeomTol& tol) const
{
    const double r = arc.getRadius();
    if (tol.equal(r, 0.0))
        return;
    const VelGeomPoint2d c = arc.getCenter();
    const VelGeomVector2d& d = m_direction;
    const VelGeomVector2d pc = m_point - c;
    const double a = d.dotProduct(d);
    if (a == 0.0)
        return;  // no direction to follow
    const double b = 2.0 * pc.dotProduct(d);
    const double k = pc.dotProduct(pc) - r * r;
    const double disc = b * b - 4.0 * a * k;
    if (kTangentDiscTol.equal(disc, 0.0)) {
        const VelGeomPoint2d q = footOf(c);
        if (arc.isOn(q, tol))
            points.append(q);
        return;
    }
    if (disc < 0.0)
        return;
    const double root = std::sqrt(disc);
    const double s1 = (-root - b) / (2.0 * a);
    const double e = std::fabs(a * s1 * s1 + b * s1 + k);
    if (e > VelGeomTol::precTol.equalPoint())
        VelGeomTol::precTol.setEqualPoint(e);
    const bool full = arc.getArcType() == VelGeomCircArc2d::kFullCircle;
    const VelGeomPoint2d x1 = m_point + d * s1;
    if (full || arc.isOn(x1, tol))
        points.append(x1);
    const double s2 = (root - b) / (2.0 * a);
    const VelGeomPoint2d x2 = m_point + d * s2;
    if ((full || arc.isOn(x2, tol)) && !x2.isEqualTo(x1, tol))
        points.append(x2);
}

VelGeomPoint2d VelGeomLine2d::getClosestPointTo(const VelGeomCurve2d& other, VelGeomPoint2d& onOther,
                                                const VelGeomTol& tol) const
{
    if (other.getType() != kCompositeCurve) {
        VelArray<VelGeomPoint2d> pts;
        if (intersectWith(other, pts, tol)) {
            onOther = pts[0];
            return pts[0];
        }
    }
    if (!asStraight(other)) {
        VelGeomPoint2d result(0.0, 0.0);
        onOther = other.getClosestPointTo(*this, result, tol);
        return result;
    }
    // In the plane two straight curves that do not meet are nearest at an
    // end of one of them.
    VelGeomPoint2d best = m_point;
    VelGeomPoint2d bestOther = other.getClosestPointTo(m_point);
    double bestDist = best.distanceTo(bestOther);
    auto consider = [&](const VelGeomPoint2d& mine, const VelGeomPoint2d& theirs) {
        const double dist = mine.distanceTo(theirs);
        if (dist < bestDist) {
            bestDist = dist;
            best = mine;
            bestOther = theirs;
        }
    };
    VelGeomPoint2d e;
    if (hasEndPoint(e))
        consider(e, other.getClosestPointTo(e));
    if (other.hasStartPoint(e))
        consider(getClosestPointTo(e), e);
    if (other.hasEndPoint(e))
        consider(getClosestPointTo(e), e);
    onOther = bestOther;
    return best;
}
