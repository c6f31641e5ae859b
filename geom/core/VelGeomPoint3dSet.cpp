#include "geom/core/VelGeomPoint3dSet.h"

#include <cmath>

int VelGeomPoint3dSet::NumErrorAccess = 0;

VelGeomPoint3dSet::VelGeomPoint3dSet(int growLength, int maxCompares, double tolerance)
    : m_maxCompares(maxCompares), m_tolerance(tolerance), m_points(0, growLength)
{
}

VelGeomPoint3dSet::~VelGeomPoint3dSet() = default;

int VelGeomPoint3dSet::getIndexUntilMaxCompares(const VelGeomPoint3d& p) const
{
    const int n = m_points.length() < m_maxCompares ? m_points.length() : m_maxCompares;
    for (int i = 0; i < n; ++i) {
        const VelGeomPoint3d& e = m_points[i];
        if (std::fabs(e.x - p.x) <= m_tolerance && std::fabs(e.y - p.y) <= m_tolerance &&
            std::fabs(e.z - p.z) <= m_tolerance)
            return i;
    }
    return -1;
}

int VelGeomPoint3dSet::insert(const VelGeomPoint3d& p)
{
    const int found = getIndexUntilMaxCompares(p);
    if (found >= 0)
        return found;
    const int before = m_points.length();
    m_points.append(p);
    return m_points.length() > before ? before : -1;
}

VelGeomPoint3d VelGeomPoint3dSet::at(int i) const { return isValid(i) ? m_points[i] : errorValue(); }

VelGeomPoint3d VelGeomPoint3dSet::errorValue() const
{
    ++NumErrorAccess;
    return VelGeomPoint3d(0.0, 0.0, 0.0);
}

void VelGeomPoint3dSet::set(const VelArray<VelGeomPoint3d>& points) { m_points = points; }

void VelGeomPoint3dSet::transformBy(const VelGeomMatrix3d& m)
{
    for (int i = 0; i < m_points.length(); ++i)
        m_points[i].transformBy(m);
}
