#include "geom/core/VelGeomBoundingBox2d.h"

#include "geom/core/VelGeomTol.h"

#include <algorithm>

double VelGeomBoundingBox2d::dfEps = 1e-10;

VelGeomBoundingBox2d::VelGeomBoundingBox2d(const VelArray<VelGeomPoint2d>& points)
    : m_minX(0.0), m_maxX(0.0), m_minY(0.0), m_maxY(0.0)
{
    update(points);
}

VelGeomBoundingBox2d& VelGeomBoundingBox2d::update(const VelArray<VelGeomPoint2d>& points)
{
    if (points.isEmpty())
        return *this;
    m_minX = m_maxX = points[0].x;
    m_minY = m_maxY = points[0].y;
    for (int i = 1; i < points.length(); ++i) {
        m_minX = std::min(m_minX, points[i].x);
        m_maxX = std::max(m_maxX, points[i].x);
        m_minY = std::min(m_minY, points[i].y);
        m_maxY = std::max(m_maxY, points[i].y);
    }
    return *this;
}

VelGeomBoundingBox2d& VelGeomBoundingBox2d::set(double minX, double maxX, double minY, double maxY)
{
    m_minX = minX;
    m_maxX = maxX;
    m_minY = minY;
    m_maxY = maxY;
    return *this;
}

bool VelGeomBoundingBox2d::intersectWith(const VelGeomBoundingBox2d& box) const
{
    return box.m_minX < m_maxX && box.m_maxX > m_minX && box.m_minY < m_maxY && box.m_maxY > m_minY;
}

bool VelGeomBoundingBox2d::contains(const VelGeomBoundingBox2d& box, double margin) const
{
    return box.m_minX + margin >= m_minX && box.m_maxX - margin <= m_maxX && box.m_minY + margin >= m_minY &&
           box.m_maxY - margin <= m_maxY;
}

bool VelGeomBoundingBox2d::contains(const VelGeomPoint2d& point) const
{
    const VelGeomTol tol(dfEps, dfEps);
    return tol.lessEqual(m_minX, point.x) && tol.lessEqual(point.x, m_maxX) && tol.lessEqual(m_minY, point.y) &&
           tol.lessEqual(point.y, m_maxY);
}

VelGeomBoundingBox2d& VelGeomBoundingBox2d::translateBy(const VelGeomVector2d& v)
{
    m_minX += v.x;
    m_maxX += v.x;
    m_minY += v.y;
    m_maxY += v.y;
    return *this;
}
