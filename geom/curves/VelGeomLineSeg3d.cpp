#include "geom/curves/VelGeomLineSeg3d.h"

#include "geom/contours/VelGeomAugPolyline.h"
#include "geom/core/VelGeomExtents.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomPlane.h"

VelGeomLineSeg3d::VelGeomLineSeg3d() : VelGeomLine3d(), m_end(1.0, 0.0, 0.0) {}

VelGeomLineSeg3d::VelGeomLineSeg3d(const VelGeomPoint3d& point, const VelGeomVector3d& v)
    : VelGeomLine3d(point, v), m_end(point + v)
{
}

VelGeomLineSeg3d::VelGeomLineSeg3d(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2)
    : VelGeomLine3d(p1, p2), m_end(p2)
{
}

VelGeomLineSeg3d& VelGeomLineSeg3d::set(const VelGeomPoint3d& point, const VelGeomVector3d& v)
{
    VelGeomLine3d::set(point, v);
    m_end = point + v;
    return *this;
}

VelGeomLineSeg3d& VelGeomLineSeg3d::set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2)
{
    VelGeomLine3d::set(p1, p2);
    m_end = p2;
    return *this;
}

VelGeomCurve3d* VelGeomLineSeg3d::copy() const { return new VelGeomLineSeg3d(*this); }

bool VelGeomLineSeg3d::intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                     const VelGeomTol& tol) const
{
    points.setLogicalLength(0);
    if (m_point == m_end) {
        if (other.isOn(m_point, VelGeomTol::gTol))
            points.append(m_point);
        return !points.isEmpty();
    }
    const entityType kind = other.getType();
    const VelGeomLine3d* that = asStraight(other);
    if (that && (kind == kLineSeg || kind == kRay) && storedDirection() == static_cast<const VelGeomVector3d&>(*that)) {
        // Same direction: only end-to-start contacts count.
        if (kind == kRay)
            return other.intersectWith(*this, points, tol);
        const VelGeomLineSeg3d* seg = dynamic_cast<const VelGeomLineSeg3d*>(&other);
        if (!seg)
            return false;
        if (m_end == seg->m_point)
            points.append(m_end);
        else if (m_point == seg->m_end)
            points.append(m_point);
        return !points.isEmpty();
    }
    VelGeomLine3d::intersectWith(other, points, tol);
    for (int i = points.length() - 1; i >= 0; --i)
        if (!isOn(points[i], tol))
            points.removeAt(i);
    return !points.isEmpty();
}

bool VelGeomLineSeg3d::isOn(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    if (p.isEqualTo(m_point, tol) || p.isEqualTo(m_end, tol))
        return true;
    const double a = (p - m_point).length();
    return tol.lessEqual(a, getLength()) && p.isEqualTo(m_point + direction() * a, tol);
}

VelGeomCurve3d& VelGeomLineSeg3d::transformBy(const VelGeomMatrix3d& m)
{
    VelGeomLine3d::transformBy(m);
    m_end.transformBy(m);
    return *this;
}

VelGeomPoint3d VelGeomLineSeg3d::getClosestPointTo(const VelGeomPoint3d& p) const
{
    const VelGeomPoint3d foot = footOf(p);
    const VelGeomVector3d w = foot - m_point;
    if (!w.isCodirectionalTo(storedDirection(), VelGeomTol::gTol))
        return m_point;
    return w.length() <= getLength() ? foot : m_end;
}

bool VelGeomLineSeg3d::hasEndPoint(VelGeomPoint3d& p) const
{
    p = m_end;
    return true;
}

bool VelGeomLineSeg3d::hasStartPoint(VelGeomPoint3d& p) const
{
    p = m_point;
    return true;
}

bool VelGeomLineSeg3d::hasEndParam(double& t) const
{
    t = 1.0;
    return true;
}

bool VelGeomLineSeg3d::hasStartParam(double& t) const
{
    t = 0.0;
    return true;
}

double VelGeomLineSeg3d::getLength() const { return (m_end - m_point).length(); }

int VelGeomLineSeg3d::cutAt(VelGeomPlane plane, int atEnd, int extend, const VelGeomTol& tol)
{
    VelGeomPoint3d p;
    if (!plane.intersectWith(VelGeomLine3d(m_point, storedDirection()), p))
        return 0;
    if (!extend && !tol.equal(getClosestPointTo(p).distanceTo(p), 0.0))
        return 1;
    if (atEnd)
        m_end = p;
    else
        m_point = p;
    // Keep the parameterisation consistent with the new ends; a cut that
    // passes the other end turns the direction round.
    const VelGeomVector3d span = m_end - m_point;
    m_length = span.length();
    if (!span.isZeroLength(VelGeomTol::gTol))
        storedDirection() = span.normal(VelGeomTol::gTol);
    return 1;
}

VelGeomAugPolyline VelGeomLineSeg3d::getAugPolyline() const
{
    VelGeomAugPolyline polyline;
    polyline.append(m_point, VelGeomVertexInfo::kNone, 0);
    polyline.append(m_end, VelGeomVertexInfo::kNone, 0);
    polyline.reinitialize();
    return polyline;
}

void VelGeomLineSeg3d::getExtents(VelGeomExtents& out) const { out.set(getStartPoint(), getEndPoint()); }
