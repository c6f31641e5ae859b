#include "facet/host/modeler/Vector3d.h"

#include <cmath>

#include "facet/host/modeler/GeomInternal.h"

namespace AModeler {

const Vector3d Vector3d::kNull(0.0, 0.0, 0.0);
const Vector3d Vector3d::kXDir(1.0, 0.0, 0.0);
const Vector3d Vector3d::kYDir(0.0, 1.0, 0.0);
const Vector3d Vector3d::kZDir(0.0, 0.0, 1.0);

double Vector3d::length() const { return std::sqrt(lengthSqrd()); }

Vector3d Vector3d::normalized() const
{
    const double len = length();
    if (!(len > 0.0) || !std::isfinite(len))
        return Vector3d();
    return Vector3d(x / len, y / len, z / len);
}

bool Vector3d::isFinite() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

bool Vector3d::isParallelTo(const Vector3d& v, double angleEps) const
{
    const double la = length(), lb = v.length();
    if (!(la > 0.0) || !(lb > 0.0))
        return false;
    return cross(v).length() <= angleEps * la * lb;
}

Vector3d Vector3d::perpendicular() const
{
    const Vector3d u = normalized();
    if (u.isNull())
        return Vector3d();
    // Cross with the world axis least aligned with u: well conditioned for any u.
    const double ax = std::fabs(u.x), ay = std::fabs(u.y), az = std::fabs(u.z);
    const Vector3d other = (ax <= ay && ax <= az) ? kXDir : (ay <= az ? kYDir : kZDir);
    return u.cross(other).normalized();
}

Vector3d Vector3d::rotatedBy(double angle, const Vector3d& k) const
{
    // Rodrigues' formula.
    const double c = std::cos(angle), s = std::sin(angle);
    return *this * c + k.cross(*this) * s + k * (k.dot(*this) * (1.0 - c));
}

double Vector3d::angleTo(const Vector3d& v, const Vector3d& k) const
{
    const Vector3d a = *this - k * k.dot(*this);
    const Vector3d b = v - k * k.dot(v);
    double ang = std::atan2(k.dot(a.cross(b)), a.dot(b));
    if (ang < 0.0)
        ang += kTwoPi;
    if (ang >= kTwoPi)
        ang = 0.0;
    return ang;
}

} // namespace AModeler
