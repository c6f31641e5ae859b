#pragma once
// An axis-aligned rectangle in the plane, used by the planar polygons and the
// arranger. A default rectangle is the point (0, 0); fill it with update() or
// set() before use.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomVector2d.h"

class VelGeomBoundingBox2d
{
public:
    VelGeomBoundingBox2d() : m_minX(0.0), m_maxX(0.0), m_minY(0.0), m_maxY(0.0) {}
    explicit VelGeomBoundingBox2d(const VelArray<VelGeomPoint2d>& points);
    VelGeomBoundingBox2d(double minX, double maxX, double minY, double maxY)
        : m_minX(minX), m_maxX(maxX), m_minY(minY), m_maxY(maxY)
    {
    }

    // The rectangle of the points; an empty array changes nothing.
    VelGeomBoundingBox2d& update(const VelArray<VelGeomPoint2d>& points);
    VelGeomBoundingBox2d& set(double minX, double maxX, double minY, double maxY);

    double minX() const { return m_minX; }
    double maxX() const { return m_maxX; }
    double minY() const { return m_minY; }
    double maxY() const { return m_maxY; }

    // Overlap with positive area: touching rectangles do not intersect.
    bool intersectWith(const VelGeomBoundingBox2d& box) const;
    // box, shrunk by margin on every side, lies within this rectangle.
    bool contains(const VelGeomBoundingBox2d& box, double margin) const;
    // Inclusive within dfEps.
    bool contains(const VelGeomPoint2d& point) const;
    // minY <= y <= maxY, exact.
    bool insideY(double y) const { return m_minY <= y && y <= m_maxY; }
    VelGeomBoundingBox2d& translateBy(const VelGeomVector2d& v);

    static double dfEps;  // 1e-10

private:
    double m_minX;
    double m_maxX;
    double m_minY;
    double m_maxY;
};
