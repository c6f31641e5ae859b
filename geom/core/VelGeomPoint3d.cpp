#include "geom/core/VelGeomPoint3d.h"

VelGeomPoint3d VelGeomPoint3d::kOrigin(0.0, 0.0, 0.0);

bool VelGeomPoint3d::operator==(const VelGeomPoint3d& p) const
{
    const double dx = x - p.x, dy = y - p.y, dz = z - p.z;
    return dx * dx < 1e-16 && dy * dy < 1e-16 && dz * dz < 1e-16;
}
