#include "geom/core/VelGeomBase.h"

#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomPoint3d.h"

// The literal is acos(-1.0) to the last bit; writing it out makes PI (and
// PIDIV180) constant-initialised, so other libraries' static constructors
// can rely on them whatever the load order.
const double VelGeomBase::PI = 3.14159265358979323846;
const double VelGeomBase::PIDIV180 = 3.14159265358979323846 / 180.0;
const double VelGeomBase::INFINITY = 1e35;

VelGeomVector3d VelGeomBase::vPtsSortDir(0.0, 0.0, 0.0);
VelGeomVector2d VelGeomBase::vPtsSortDir2d(0.0, 0.0);

int VelGeomBase::sortPointsByDir(const void* a, const void* b)
{
    const auto& pa = *static_cast<const VelGeomPoint3d*>(a);
    const auto& pb = *static_cast<const VelGeomPoint3d*>(b);
    const double d = (pa - pb).dotProduct(vPtsSortDir);
    return d > 0.0 ? 1 : (d < 0.0 ? -1 : 0);
}

int VelGeomBase::sortPointsByDir2d(const void* a, const void* b)
{
    const auto& pa = *static_cast<const VelGeomPoint2d*>(a);
    const auto& pb = *static_cast<const VelGeomPoint2d*>(b);
    const double d = (pa - pb).dotProduct(vPtsSortDir2d);
    return d > 0.0 ? 1 : (d < 0.0 ? -1 : 0);
}
