#include "geom/core/VelGeomVector3dSet.h"

#include <cmath>

int VelGeomVector3dSet::NumErrorAccess = 0;

VelGeomVector3dSet::VelGeomVector3dSet(int growLength, int maxCompares, double tolerance)
    : m_maxCompares(maxCompares), m_tolerance(tolerance), m_vectors(0, growLength)
{
}

VelGeomVector3dSet::~VelGeomVector3dSet() = default;

int VelGeomVector3dSet::getIndexUntilMaxCompares(const VelGeomVector3d& v) const
{
    const int n = m_vectors.length() < m_maxCompares ? m_vectors.length() : m_maxCompares;
    for (int i = 0; i < n; ++i) {
        const VelGeomVector3d& e = m_vectors[i];
        if (std::fabs(e.x - v.x) <= m_tolerance && std::fabs(e.y - v.y) <= m_tolerance &&
            std::fabs(e.z - v.z) <= m_tolerance)
            return i;
    }
    return -1;
}

int VelGeomVector3dSet::insert(const VelGeomVector3d& v)
{
    const int found = getIndexUntilMaxCompares(v);
    if (found >= 0)
        return found;
    const int before = m_vectors.length();
    m_vectors.append(v);
    return m_vectors.length() > before ? before : -1;
}

VelGeomVector3d VelGeomVector3dSet::at(int i) const { return isValid(i) ? m_vectors[i] : errorValue(); }

VelGeomVector3d VelGeomVector3dSet::errorValue() const
{
    ++NumErrorAccess;
    return VelGeomVector3d(0.0, 0.0, 0.0);
}

void VelGeomVector3dSet::set(const VelArray<VelGeomVector3d>& vectors) { m_vectors = vectors; }

void VelGeomVector3dSet::transformBy(const VelGeomMatrix3d& m)
{
    for (int i = 0; i < m_vectors.length(); ++i)
        m_vectors[i].transformBy(m);
}
