#include "geom/curves/VelGeomRay3d.h"

#include "geom/curves/VelGeomPlane.h"

VelGeomCurve3d* VelGeomRay3d::copy() const { return new VelGeomRay3d(*this); }

bool VelGeomRay3d::intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                 const VelGeomTol& tol) const
{
    VelGeomLine3d::intersectWith(other, points, tol);
    const VelGeomVector3d& d = storedDirection();
    for (int i = points.length() - 1; i >= 0; --i)
        if (points[i] != m_point && (points[i] - m_point).dotProduct(d) <= 0.0)
            points.removeAt(i);
    return !points.isEmpty();
}

bool VelGeomRay3d::isOn(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    return p.isEqualTo(m_point, tol) || p.isEqualTo(m_point + direction() * (p - m_point).length(), tol);
}

VelGeomPoint3d VelGeomRay3d::getClosestPointTo(const VelGeomPoint3d& p) const
{
    const VelGeomPoint3d foot = footOf(p);
    return (foot - m_point).isCodirectionalTo(storedDirection(), VelGeomTol::gTol) ? foot : m_point;
}

bool VelGeomRay3d::hasStartPoint(VelGeomPoint3d& p) const
{
    p = m_point;
    return true;
}

bool VelGeomRay3d::hasStartParam(double& t) const
{
    t = 0.0;
    return true;
}

int VelGeomRay3d::cutAt(VelGeomPlane plane, int atEnd, int extend, const VelGeomTol& tol)
{
    if (atEnd)
        return 0;
    VelGeomPoint3d p;
    if (!plane.intersectWith(VelGeomLine3d(m_point, storedDirection()), p))
        return 0;
    if (!extend && !tol.equal(getClosestPointTo(p).distanceTo(p), 0.0))
        return 1;
    m_point = p;
    return 1;
}
