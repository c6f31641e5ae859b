#include "facet/host/modeler/Interval3d.h"

#include <algorithm>

namespace AModeler {

Interval3d::Interval3d(const Point3d& a, const Point3d& b)
{
    extend(a);
    extend(b);
}

double Interval3d::volume() const
{
    if (m_empty)
        return 0.0;
    const Vector3d s = size();
    return s.x * s.y * s.z;
}

Interval3d& Interval3d::extend(const Point3d& p)
{
    if (m_empty) {
        m_lower = m_upper = p;
        m_empty = false;
        return *this;
    }
    m_lower = Point3d(std::min(m_lower.x, p.x), std::min(m_lower.y, p.y), std::min(m_lower.z, p.z));
    m_upper = Point3d(std::max(m_upper.x, p.x), std::max(m_upper.y, p.y), std::max(m_upper.z, p.z));
    return *this;
}

Interval3d& Interval3d::extend(const Interval3d& other)
{
    if (!other.m_empty) {
        extend(other.m_lower);
        extend(other.m_upper);
    }
    return *this;
}

Interval3d& Interval3d::enlarge(double eps)
{
    if (!m_empty) {
        m_lower -= Vector3d(eps, eps, eps);
        m_upper += Vector3d(eps, eps, eps);
        if (m_lower.x > m_upper.x || m_lower.y > m_upper.y || m_lower.z > m_upper.z)
            m_empty = true;  // shrunk past itself
    }
    return *this;
}

bool Interval3d::contains(const Point3d& p, double eps) const
{
    return !m_empty && p.x >= m_lower.x - eps && p.x <= m_upper.x + eps && p.y >= m_lower.y - eps &&
           p.y <= m_upper.y + eps && p.z >= m_lower.z - eps && p.z <= m_upper.z + eps;
}

bool Interval3d::intersects(const Interval3d& o, double eps) const
{
    return !m_empty && !o.m_empty && m_lower.x <= o.m_upper.x + eps && o.m_lower.x <= m_upper.x + eps &&
           m_lower.y <= o.m_upper.y + eps && o.m_lower.y <= m_upper.y + eps && m_lower.z <= o.m_upper.z + eps &&
           o.m_lower.z <= m_upper.z + eps;
}

} // namespace AModeler
