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

// Transformations, projections and the plane angles need the matrix and the
// plane; kept below so the header stays light.
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/curves/VelGeomPlane.h"

VelGeomVector3d& VelGeomVector3d::transformBy(const VelGeomMatrix3d& m)
{
    const double vx = x, vy = y, vz = z;
    x = m.entry[0][0] * vx + m.entry[0][1] * vy + m.entry[0][2] * vz;
    y = m.entry[1][0] * vx + m.entry[1][1] * vy + m.entry[1][2] * vz;
    z = m.entry[2][0] * vx + m.entry[2][1] * vy + m.entry[2][2] * vz;
    return *this;
}

VelGeomVector3d& VelGeomVector3d::rotateBy(double angle, const VelGeomVector3d& axis)
{
    return transformBy(VelGeomMatrix3d::rotation(angle, axis));
}

VelGeomVector3d& VelGeomVector3d::rotateX(double angle) { return transformBy(VelGeomMatrix3d::rotationX(angle)); }
VelGeomVector3d& VelGeomVector3d::rotateY(double angle) { return transformBy(VelGeomMatrix3d::rotationY(angle)); }
VelGeomVector3d& VelGeomVector3d::rotateZ(double angle) { return transformBy(VelGeomMatrix3d::rotationZ(angle)); }

VelGeomVector3d VelGeomVector3d::project(const VelGeomPlane& plane) const
{
    // (closest point to origin + v) - (closest point to origin), computed as
    // v minus its normal component: the same vector without the cancellation
    // that a plane far from the origin would bring.
    const VelGeomVector3d n = plane.normal();
    const double nn = n.lengthSqrd();
    if (nn == 0.0)
        return *this;  // a degenerate plane holds every point
    return *this - n * (n.dotProduct(*this) / nn);
}

VelGeomVector3d VelGeomVector3d::project(const VelGeomVector3d& normal, const VelGeomVector3d& dir) const
{
    const VelGeomPlane plane(VelGeomPoint3d(0.0, 0.0, 0.0), normal);
    return VelGeomPoint3d(x, y, z).project(plane, dir) - VelGeomPoint3d(0.0, 0.0, 0.0);
}

VelGeomVector3d VelGeomVector3d::orthoProject(const VelGeomVector3d& normal) const { return project(normal, normal); }

VelGeomVector2d VelGeomVector3d::convert2d(const VelGeomPlane& plane) const
{
    VelGeomPoint3d o;
    VelGeomVector3d u, v;
    plane.get(o, u, v);
    u.normalize();
    v.normalize();
    return VelGeomVector2d(u.dotProduct(*this), v.dotProduct(*this));
}

double VelGeomVector3d::angleTo(const VelGeomVector3d& v, const VelGeomVector3d& ref) const
{
    const VelGeomPlane plane(VelGeomPoint3d(0.0, 0.0, 0.0), ref);
    const VelGeomVector3d a = project(plane);
    const VelGeomVector3d b = v.project(plane);
    const double angle = a.angleTo(b);
    if (angle == 0.0)
        return 0.0;
    const VelGeomVector3d c = a.normal(VelGeomTol::gTol).crossProduct(b.normal(VelGeomTol::gTol));
    if (VelGeomTol::gTol.equal(c.length(), 0.0) || c.dotProduct(ref) > 0.0)
        return angle;
    return 2.0 * VelGeomBase::PI - angle;
}

double VelGeomVector3d::angleTo(const VelGeomPlane& plane) const
{
    const VelGeomVector3d n = plane.normal();
    if (isParallelTo(n, VelGeomTol::gTol))
        return isCodirectionalTo(n, VelGeomTol::gTol) ? VelGeomBase::PI / 2.0 : -VelGeomBase::PI / 2.0;
    const double a = angleTo(project(plane));
    return dotProduct(n) < 0.0 ? -a : a;
}

double VelGeomVector3d::angleOnPlane(const VelGeomPlane& plane) const
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    plane.getCS(o, x, y, z);
    return project(plane).angleTo(x);
}
