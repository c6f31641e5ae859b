#include "geom/core/VelGeomExtents.h"

#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/curves/VelGeomCircArc3d.h"

#include <algorithm>

VelGeomExtents& VelGeomExtents::extend(const VelGeomPoint3d& p)
{
    if (m_count == 0) {
        m_min = p;
        m_max = p;
    } else {
        m_min.set(std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z));
        m_max.set(std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z));
    }
    ++m_count;
    return *this;
}

VelGeomExtents& VelGeomExtents::extend(const VelArray<VelGeomPoint3d>& pts)
{
    for (int i = 0; i < pts.length(); ++i)
        extend(pts[i]);
    return *this;
}

VelGeomExtents& VelGeomExtents::extend(const VelGeomExtents& e)
{
    // An empty record holds no points; its sentinel corners must not count.
    if (!e.isValid())
        return *this;
    extend(e.m_min);
    return extend(e.m_max);
}

VelGeomExtents& VelGeomExtents::extend(const VelGeomVertexInfo& info, const VelGeomPoint3d& p1,
                                       const VelGeomPoint3d& p2)
{
    extend(p1);
    extend(p2);
    if (!info.isArc())
        return *this;
    // The arc's extreme in each axis direction a lies where the circle's radius
    // points along a's component in the circle's plane. (Cutting the circle
    // with the axis planes through its centre finds these only for circles in
    // planes parallel to the coordinate planes.)
    const VelGeomCircArc3d arc =
        p1.distanceTo(p2) < 1e-10
            ? VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius())
            : VelGeomCircArc3d(info.getCenter(), info.getNormal(), info.getRadius(), p1, p2);
    VelGeomVector3d n = info.getNormal();
    n.normalize();
    const VelGeomVector3d axes[3] = {VelGeomVector3d::kXAxis, VelGeomVector3d::kYAxis, VelGeomVector3d::kZAxis};
    for (const VelGeomVector3d& axis : axes) {
        VelGeomVector3d d = axis - n * axis.dotProduct(n);
        if (d.length() < 1e-12)
            continue;  // the circle's plane is perpendicular to this axis: no extreme inside the arc
        d.normalize();
        for (double sign : {1.0, -1.0}) {
            const VelGeomPoint3d q = info.getCenter() + d * (sign * info.getRadius());
            if (arc.isOn(q, VelGeomTol::gTol))
                extend(q);
        }
    }
    return *this;
}

VelGeomExtents& VelGeomExtents::set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2)
{
    m_count = 0;
    extend(p1);
    return extend(p2);
}

VelGeomExtents& VelGeomExtents::set(const VelGeomPoint3d& origin, const VelGeomVector3d& u,
                                    const VelGeomVector3d& v, const VelGeomVector3d& w)
{
    m_count = 0;
    extend(origin);
    return extend(origin + u + v + w);
}

VelGeomExtents& VelGeomExtents::inflate(double d)
{
    m_min.set(m_min.x - d, m_min.y - d, m_min.z - d);
    m_max.set(m_max.x + d, m_max.y + d, m_max.z + d);
    return *this;
}

void VelGeomExtents::getCenter(VelGeomPoint3d& center) const
{
    center.set((m_min.x + m_max.x) / 2.0, (m_min.y + m_max.y) / 2.0, (m_min.z + m_max.z) / 2.0);
}

void VelGeomExtents::get(VelGeomPoint3d& origin, VelGeomVector3d& u, VelGeomVector3d& v, VelGeomVector3d& w) const
{
    origin = m_min;
    u = VelGeomVector3d::kXAxis * (m_max.x - m_min.x);
    v = VelGeomVector3d::kYAxis * (m_max.y - m_min.y);
    w = VelGeomVector3d::kZAxis * (m_max.z - m_min.z);
}

int VelGeomExtents::contains(const VelGeomPoint3d& p) const
{
    return m_min.x <= p.x && p.x <= m_max.x && m_min.y <= p.y && p.y <= m_max.y && m_min.z <= p.z &&
           p.z <= m_max.z;
}

int VelGeomExtents::isInsideOrIntersecting(const VelGeomExtents& e) const
{
    return e.m_min.x <= m_max.x && e.m_max.x >= m_min.x && e.m_min.y <= m_max.y && e.m_max.y >= m_min.y &&
           e.m_min.z <= m_max.z && e.m_max.z >= m_min.z;
}

int VelGeomExtents::isDisjoint(const VelGeomExtents& e) const
{
    return e.m_min.x > m_max.x || e.m_max.x < m_min.x || e.m_min.y > m_max.y || e.m_max.y < m_min.y ||
           e.m_min.z > m_max.z || e.m_max.z < m_min.z;
}
