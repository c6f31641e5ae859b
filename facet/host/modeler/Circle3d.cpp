#include "facet/host/modeler/Circle3d.h"

#include "facet/host/modeler/GeomInternal.h"

#include <cmath>

namespace AModeler {

Circle3d::Circle3d(const Point3d& centre, const Vector3d& axis, double radius)
    : m_center(centre), m_normal(axis.normalized()), m_radius(radius)
{
}

Circle3d::Circle3d(const Line3d& axis, double radius) : Circle3d(axis.point, axis.direction, radius) {}

bool Circle3d::isValid() const
{
    return m_center.isFinite() && !m_normal.isNull() && m_normal.isFinite() && std::isfinite(m_radius) &&
           m_radius > 0.0;
}

Point3d Circle3d::pointAt(double angle) const
{
    return m_center + refDirection().rotatedBy(angle, m_normal) * m_radius;
}

double Circle3d::angleOf(const Point3d& p) const { return refDirection().angleTo(p - m_center, m_normal); }

std::vector<Point3d> Circle3d::tessellate(int count) const
{
    std::vector<Point3d> pts;
    if (count < 1 || !isValid())
        return pts;
    pts.reserve(count);
    for (int i = 0; i < count; ++i)
        pts.push_back(pointAt(kTwoPi * i / count));
    return pts;
}

int Circle3d::arcChordCount(double angle, int facets)
{
    if (facets < 1 || !(angle > 0.0))
        return 0;
    const double x = angle * facets / kTwoPi;
    const int n = static_cast<int>(std::floor(x + 0.001));
    return n < 1 ? 1 : n;
}

int Circle3d::tessellate(const Point3d& start, const Point3d& end, int facets, std::vector<Point3d>& points) const
{
    if (facets < 3 || !isValid())
        return 0;
    const Vector3d u = start - m_center;
    double angle = u.angleTo(end - m_center, m_normal);
    // Coincident ends (or ends a rounding error apart) mean a full turn.
    const double rad = std::sqrt((u - m_normal * m_normal.dot(u)).lengthSqrd());
    if (angle * rad <= 1e-12 * (1.0 + rad) || (kTwoPi - angle) * rad <= 1e-12 * (1.0 + rad))
        angle = kTwoPi;
    int n = arcChordCount(angle, facets);
    if (angle == kTwoPi && n < 3)
        n = 3;
    points.push_back(start);
    for (int i = 1; i < n; ++i)
        points.push_back(m_center + u.rotatedBy(angle * i / n, m_normal));
    points.push_back(end);
    return n;
}

bool Circle3d::isEqual(const Circle3d& o, double eps) const
{
    return m_center.isEqual(o.m_center, eps) && std::fabs(m_radius - o.m_radius) <= eps &&
           m_normal.isEqual(o.m_normal, 1e-9);
}

} // namespace AModeler
