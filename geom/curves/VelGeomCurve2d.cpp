#include "geom/curves/VelGeomCurve2d.h"

VelGeomCurve2d::~VelGeomCurve2d() = default;

double VelGeomCurve2d::getLength() const { return 0.0; }

double VelGeomCurve2d::distanceTo(const VelGeomCurve2d& other, const VelGeomTol& tol) const
{
    VelGeomPoint2d q(0.0, 0.0);
    const VelGeomPoint2d p = getClosestPointTo(other, q, tol);
    return p.distanceTo(q);
}

double VelGeomCurve2d::distanceTo(const VelGeomPoint2d& p, const VelGeomTol&) const
{
    return getClosestPointTo(p).distanceTo(p);
}

VelGeomPoint2d VelGeomCurve2d::getClosestPointTo(const VelGeomCurve2d&, VelGeomPoint2d&, const VelGeomTol&) const
{
    return VelGeomPoint2d(0.0, 0.0);
}

void VelGeomCurve2d::getSamplePoints(int count, VelArray<VelGeomPoint2d>& points) const
{
    points.setLogicalLength(0);
    double s = 0.0, e = 0.0;
    if (!hasStartParam(s) || !hasEndParam(e) || count <= 0)
        return;
    if (count == 1) {
        points.append(evalPoint(s + (e - s) / 2.0));
        return;
    }
    const double step = (e - s) / (count - 1);
    for (int i = 0; i < count; ++i)
        points.append(evalPoint(s + i * step));
}
