#include "geom/core/VelGeomPoint2d.h"

const VelGeomPoint2d VelGeomPoint2d::kOrigin(0.0, 0.0);

VelGeomPoint2d& VelGeomPoint2d::scaleBy(double f, const VelGeomPoint2d& base)
{
    *this = base + (*this - base) * f;
    return *this;
}
