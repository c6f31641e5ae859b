#include "facet/host/modeler/Plane.h"

#include <cmath>

namespace AModeler {

Plane::Plane(const Point3d& p, const Vector3d& normal) : m_normal(normal.normalized())
{
    m_d = -m_normal.dot(p.asVector());
}

Plane::Plane(const Vector3d& normal, double d) : m_normal(normal), m_d(d)
{
    const double len = normal.length();
    if (std::fabs(len - 1.0) > 1e-12 && len > 0.0 && std::isfinite(len)) {
        m_normal = normal / len;
        m_d = d / len;
    } else if (!(len > 0.0) || !std::isfinite(len)) {
        m_normal = Vector3d();
        m_d = 0.0;
    }
}

Plane::Plane(const Point3d& a, const Point3d& b, const Point3d& c) : Plane(a, (b - a).cross(c - a)) {}

double Plane::distanceTo(const Point3d& p) const { return std::fabs(signedDistanceTo(p)); }

Plane Plane::operator-() const
{
    Plane r;
    r.m_normal = -m_normal;
    r.m_d = -m_d;
    return r;
}

} // namespace AModeler
