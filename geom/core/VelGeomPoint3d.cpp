#include "geom/core/VelGeomPoint3d.h"

VelGeomPoint3d VelGeomPoint3d::kOrigin(0.0, 0.0, 0.0);

bool VelGeomPoint3d::operator==(const VelGeomPoint3d& p) const
{
    const double dx = x - p.x, dy = y - p.y, dz = z - p.z;
    return dx * dx < 1e-16 && dy * dy < 1e-16 && dz * dz < 1e-16;
}

// Transformations and projections need the matrix, the line and the plane;
// kept below so the header stays light.
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomPlane.h"

VelGeomPoint3d& VelGeomPoint3d::transformBy(const VelGeomMatrix3d& m)
{
    const double px = x, py = y, pz = z;
    x = m.entry[0][0] * px + m.entry[0][1] * py + m.entry[0][2] * pz + m.entry[0][3];
    y = m.entry[1][0] * px + m.entry[1][1] * py + m.entry[1][2] * pz + m.entry[1][3];
    z = m.entry[2][0] * px + m.entry[2][1] * py + m.entry[2][2] * pz + m.entry[2][3];
    return *this;
}

VelGeomPoint3d& VelGeomPoint3d::rotateBy(double angle, const VelGeomVector3d& axis, const VelGeomPoint3d& base)
{
    return transformBy(VelGeomMatrix3d::rotation(angle, axis, base));
}

VelGeomPoint3d& VelGeomPoint3d::scaleBy(double f, const VelGeomPoint3d& base)
{
    return transformBy(VelGeomMatrix3d::scale(base, f));
}

VelGeomPoint3d VelGeomPoint3d::orthoProject(const VelGeomPlane& plane) const { return plane.getClosestPointTo(*this); }

VelGeomPoint3d VelGeomPoint3d::project(const VelGeomPlane& plane, const VelGeomVector3d& dir) const
{
    const VelGeomLine3d line(*this, dir);
    const double d = line.direction().dotProduct(plane.normal());
    if (d * d < 1e-16)
        return *this;
    return plane.intersectWith(line);
}

VelGeomPoint2d VelGeomPoint3d::convert2d(const VelGeomPlane& plane) const
{
    const VelGeomVector2d v = (*this - plane.pointOnPlane()).convert2d(plane);
    return VelGeomPoint2d(v.x, v.y);
}
