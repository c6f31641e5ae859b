#pragma once
// An axis-aligned box in space that grows point by point: the standard
// extents of curves, polylines and polygons. A new record is empty
// (minimum 1e20, maximum -1e20, count 0) and not valid until a point is taken.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomVertexInfo;

class VelGeomExtents
{
public:
    constexpr VelGeomExtents() : m_min(1e20, 1e20, 1e20), m_max(-1e20, -1e20, -1e20), m_count(0) {}
    VelGeomExtents(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) : VelGeomExtents() { set(p1, p2); }

    bool isValid() const { return m_count > 0; }
    int count() const { return m_count; }

    // The first point sets both corners; later ones widen them.
    VelGeomExtents& extend(const VelGeomPoint3d& p);
    VelGeomExtents& extend(const VelArray<VelGeomPoint3d>& pts);
    // Takes the other record's minimum and maximum points; an empty record
    // changes nothing.
    VelGeomExtents& extend(const VelGeomExtents& e);
    // An edge of an augmented contour from p1 to p2: both ends, and for an arc
    // every axis extreme of its circle that lies on the arc, so the record
    // bounds the arc exactly in any plane.
    VelGeomExtents& extend(const VelGeomVertexInfo& info, const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);

    // Resets the count, then takes p1 and p2.
    VelGeomExtents& set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);
    // Resets the count, then takes origin and origin + u + v + w only.
    VelGeomExtents& set(const VelGeomPoint3d& origin, const VelGeomVector3d& u, const VelGeomVector3d& v,
                        const VelGeomVector3d& w);

    // Minimum - d and maximum + d in every coordinate.
    VelGeomExtents& inflate(double d);

    void getMinMaxPoints(VelGeomPoint3d& min, VelGeomPoint3d& max) const
    {
        min = m_min;
        max = m_max;
    }
    const VelGeomPoint3d& minPoint() const { return m_min; }
    const VelGeomPoint3d& maxPoint() const { return m_max; }
    void getCenter(VelGeomPoint3d& center) const;
    // origin = minimum; u, v, w the axis-parallel edges to the maximum.
    void get(VelGeomPoint3d& origin, VelGeomVector3d& u, VelGeomVector3d& v, VelGeomVector3d& w) const;

    // Inclusive in all three coordinates.
    int contains(const VelGeomPoint3d& p) const;
    // The boxes overlap or touch in all three coordinates.
    int isInsideOrIntersecting(const VelGeomExtents& e) const;
    // Some coordinate separates the boxes strictly.
    int isDisjoint(const VelGeomExtents& e) const;

private:
    VelGeomPoint3d m_min;
    VelGeomPoint3d m_max;
    int m_count;
};
