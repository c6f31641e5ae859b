#include "facet/host/modeler/Line3d.h"

namespace AModeler {

Point3d Line3d::closestPointTo(const Point3d& p) const
{
    const double l2 = direction.lengthSqrd();
    if (!(l2 > 0.0))
        return point;
    return point + direction * ((p - point).dot(direction) / l2);
}

double Line3d::distanceTo(const Point3d& p) const { return p.distanceTo(closestPointTo(p)); }

} // namespace AModeler
