#include "geom/core/VelGeomVector3d.h"

#include "geom/core/VelGeomBase.h"

#include <cmath>

const VelGeomVector3d VelGeomVector3d::kIdentity(0.0, 0.0, 0.0);
const VelGeomVector3d VelGeomVector3d::kXAxis(1.0, 0.0, 0.0);
const VelGeomVector3d VelGeomVector3d::kYAxis(0.0, 1.0, 0.0);
const VelGeomVector3d VelGeomVector3d::kZAxis(0.0, 0.0, 1.0);

double VelGeomVector3d::length() const { return std::sqrt(x * x + y * y + z * z); }

int VelGeomVector3d::largestElement() const
{
    const double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
    if (ay > ax && ay >= az)
        return 1;
    if (ax < az)
        return 2;
    return 0;
}

VelGeomVector3d& VelGeomVector3d::normalize()
{
    const double len = length();
    if (len != 0.0) {
        x /= len;
        y /= len;
        z /= len;
    }
    return *this;
}

VelGeomVector3d VelGeomVector3d::normal(const VelGeomTol& tol) const
{
    const double len = length();
    if (len >= tol.equalVector())
        return VelGeomVector3d(x / len, y / len, z / len);
    return *this;
}

VelGeomVector3d VelGeomVector3d::perpVector() const
{
    const double limit = 1.0 / 64.0;
    VelGeomVector3d p = (std::fabs(x) < limit && std::fabs(y) < limit) ? VelGeomVector3d(z, 0.0, -x)
                                                                        : VelGeomVector3d(-y, x, 0.0);
    return p.normalize();
}

bool VelGeomVector3d::isEqualTo(const VelGeomVector3d& v, const VelGeomTol& tol) const
{
    return (*this - v).length() < tol.equalVector();
}

bool VelGeomVector3d::isZeroLength(const VelGeomTol& tol) const { return isEqualTo(kIdentity, tol); }

bool VelGeomVector3d::isUnitLength(const VelGeomTol& tol) const { return isEqualTo(normal(VelGeomTol::gTol), tol); }

bool VelGeomVector3d::isCodirectionalTo(const VelGeomVector3d& v, const VelGeomTol& tol) const
{
    return normal(VelGeomTol::gTol).isEqualTo(v.normal(VelGeomTol::gTol), tol);
}

bool VelGeomVector3d::isParallelTo(const VelGeomVector3d& v, const VelGeomTol& tol) const
{
    VelGeomVector3d a = normal(VelGeomTol::gTol);
    const VelGeomVector3d b = v.normal(VelGeomTol::gTol);
    if (a.dotProduct(b) < 0.0)
        a.negate();
    return a.isEqualTo(b, tol);
}

bool VelGeomVector3d::isPerpendicularTo(const VelGeomVector3d& v, const VelGeomTol& tol) const
{
    const VelGeomVector3d a = normal(VelGeomTol::gTol);
    const VelGeomVector3d b = v.normal(VelGeomTol::gTol);
    return std::fabs(a.dotProduct(b)) < tol.equalVector();
}

bool VelGeomVector3d::operator==(const VelGeomVector3d& v) const
{
    const double dx = x - v.x, dy = y - v.y, dz = z - v.z;
    return dx * dx < 1e-16 && dy * dy < 1e-16 && dz * dz < 1e-16;
}

double VelGeomVector3d::angleTo(const VelGeomVector3d& v) const
{
    const VelGeomTol& tol = VelGeomTol::gTol;
    const double l1 = length(), l2 = v.length();
    // Two zero vectors count as parallel below; their angle is 0, not pi.
    if (tol.equal(l1, 0.0) && tol.equal(l2, 0.0))
        return 0.0;
    if (isParallelTo(v, tol))
        return dotProduct(v) > 0.0 ? 0.0 : VelGeomBase::PI;
    if (tol.equal(l1, 0.0) || tol.equal(l2, 0.0))
        return 0.0;
    double d = normal(tol).dotProduct(v.normal(tol));
    d = d > 1.0 ? 1.0 : (d < -1.0 ? -1.0 : d);
    return std::acos(d);
}
