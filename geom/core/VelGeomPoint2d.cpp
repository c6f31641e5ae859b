#include "geom/core/VelGeomPoint2d.h"

const VelGeomPoint2d VelGeomPoint2d::kOrigin(0.0, 0.0);

VelGeomPoint2d& VelGeomPoint2d::scaleBy(double f, const VelGeomPoint2d& base)
{
    *this = base + (*this - base) * f;
    return *this;
}

// Transformations need the matrix; kept below so the header stays light.
#include "geom/core/VelGeomMatrix2d.h"

VelGeomPoint2d& VelGeomPoint2d::setToProduct(const VelGeomMatrix2d& m, const VelGeomPoint2d& p)
{
    const double px = p.x, py = p.y;  // p may be this point
    x = m.entry[0][0] * px + m.entry[0][1] * py + m.entry[0][2];
    y = m.entry[1][0] * px + m.entry[1][1] * py + m.entry[1][2];
    return *this;
}

VelGeomPoint2d& VelGeomPoint2d::transformBy(const VelGeomMatrix2d& m) { return setToProduct(m, *this); }

VelGeomPoint2d& VelGeomPoint2d::rotateBy(double angle, const VelGeomPoint2d& base)
{
    return transformBy(VelGeomMatrix2d::rotation(angle, base));
}
