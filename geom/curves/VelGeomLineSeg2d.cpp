#include "geom/curves/VelGeomLineSeg2d.h"

#include "geom/core/VelGeomMatrix2d.h"

VelGeomLineSeg2d::VelGeomLineSeg2d() : VelGeomLine2d(), m_end(1.0, 0.0) {}

VelGeomLineSeg2d::VelGeomLineSeg2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2)
    : VelGeomLine2d(p1, p2), m_end(p2)
{
}

VelGeomLineSeg2d::VelGeomLineSeg2d(const VelGeomPoint2d& point, const VelGeomVector2d& v)
    : VelGeomLine2d(point, v), m_end(point + v)
{
}

VelGeomLineSeg2d& VelGeomLineSeg2d::set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2)
{
    VelGeomLine2d::set(p1, p2);
    m_end = p2;
    return *this;
}

VelGeomLineSeg2d& VelGeomLineSeg2d::set(const VelGeomPoint2d& point, const VelGeomVector2d& v)
{
    VelGeomLine2d::set(point, v);
    m_end = point + v;
    return *this;
}

VelGeomCurve2d* VelGeomLineSeg2d::copy() const { return new VelGeomLineSeg2d(*this); }

bool VelGeomLineSeg2d::hasStartPoint(VelGeomPoint2d& p) const
{
    p = m_point;
    return true;
}

bool VelGeomLineSeg2d::hasEndPoint(VelGeomPoint2d& p) const
{
    p = m_end;
    return true;
}

bool VelGeomLineSeg2d::hasStartParam(double& t) const
{
    t = 0.0;
    return true;
}

bool VelGeomLineSeg2d::hasEndParam(double& t) const
{
    t = 1.0;
    return true;
}

double VelGeomLineSeg2d::getLength() const { return (m_end - m_point).length(); }

bool VelGeomLineSeg2d::isOn(const VelGeomPoint2d& p, const VelGeomTol& tol) const
{
    if (p.isEqualTo(m_point, tol))
        return true;
    const VelGeomVector2d w = p - m_point;
    return w.isCodirectionalTo(m_direction, tol) && tol.lessEqual(w.length(), getLength());
}

VelGeomPoint2d VelGeomLineSeg2d::getClosestPointTo(const VelGeomPoint2d& p) const
{
    const VelGeomPoint2d foot = footOf(p);
    if (isOn(foot, VelGeomTol::gTol))
        return foot;
    // Off the segment: beyond the end or before the start.
    return (foot - m_point).isCodirectionalTo(m_direction, VelGeomTol::gTol) ? m_end : m_point;
}

VelGeomCurve2d& VelGeomLineSeg2d::transformBy(const VelGeomMatrix2d& m)
{
    VelGeomLine2d::transformBy(m);
    m_end.transformBy(m);
    return *this;
}

bool VelGeomLineSeg2d::intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                                     const VelGeomTol& tol) const
{
    points.setLogicalLength(0);
    if (m_point.isEqualTo(m_end, tol)) {
        if (other.isOn(m_point, tol))
            points.append(m_point);
        return !points.isEmpty();
    }
    const entityType kind = other.getType();
    const VelGeomLine2d* that = asStraight(other);
    if (that && (kind == kLineSeg || kind == kRay) && isColinearTo(*that, VelGeomTol::gTol)) {
        if (kind == kRay)
            return other.intersectWith(*this, points, tol);
        const VelGeomLineSeg2d* seg = dynamic_cast<const VelGeomLineSeg2d*>(&other);
        if (!seg)
            return false;
        // Only end-to-end contacts count; overlapping segments give none.
        const bool same = m_direction.isCodirectionalTo(seg->m_direction, VelGeomTol::gTol);
        const VelGeomPoint2d& otherStart = same ? seg->m_point : seg->m_end;
        const VelGeomPoint2d& otherEnd = same ? seg->m_end : seg->m_point;
        if (m_end.isEqualTo(otherStart, tol))
            points.append(m_end);
        else if (m_point.isEqualTo(otherEnd, tol))
            points.append(m_point);
        return !points.isEmpty();
    }
    VelGeomLine2d::intersectWith(other, points, tol);
    for (int i = points.length() - 1; i >= 0; --i)
        if (!isOn(points[i], tol))
            points.removeAt(i);
    return !points.isEmpty();
}
