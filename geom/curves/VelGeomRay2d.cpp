#include "geom/curves/VelGeomRay2d.h"

VelGeomCurve2d* VelGeomRay2d::copy() const { return new VelGeomRay2d(*this); }

bool VelGeomRay2d::hasStartPoint(VelGeomPoint2d& p) const
{
    p = m_point;
    return true;
}

bool VelGeomRay2d::hasStartParam(double& t) const
{
    t = 0.0;
    return true;
}

bool VelGeomRay2d::isOn(const VelGeomPoint2d& p, const VelGeomTol& tol) const
{
    return p.isEqualTo(m_point, tol) || m_direction.isCodirectionalTo(p - m_point, tol);
}

VelGeomPoint2d VelGeomRay2d::getClosestPointTo(const VelGeomPoint2d& p) const
{
    const VelGeomPoint2d foot = footOf(p);
    return isOn(foot, VelGeomTol::gTol) ? foot : m_point;
}

bool VelGeomRay2d::intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                                 const VelGeomTol& tol) const
{
    VelGeomLine2d::intersectWith(other, points, tol);
    for (int i = points.length() - 1; i >= 0; --i)
        if (!isOn(points[i], tol))
            points.removeAt(i);
    return !points.isEmpty();
}
