#pragma once
// An oriented block in the plane: corner + a*u + b*v with a, b in [0, 1].
// A zero edge makes it flat: no non-zero edge is a point, one a segment.
// The default block is the point kOrigin. Colinear segments that overlap are
// not disjoint.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomVector2d.h"

class VelGeomMatrix2d;

class VelGeomBoundBlock2d
{
public:
    constexpr VelGeomBoundBlock2d() : m_corner(0.0, 0.0), m_u(), m_v() {}
    VelGeomBoundBlock2d(const VelGeomPoint2d& corner, const VelGeomVector2d& u, const VelGeomVector2d& v)
        : VelGeomBoundBlock2d()
    {
        set(corner, u, v);
    }

    // v is dropped when parallel to u.
    VelGeomBoundBlock2d& set(const VelGeomPoint2d& corner, const VelGeomVector2d& u, const VelGeomVector2d& v);
    VelGeomBoundBlock2d& set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2);
    void get(VelGeomPoint2d& corner, VelGeomVector2d& u, VelGeomVector2d& v) const;
    void getMinMaxPoints(VelGeomPoint2d& min, VelGeomPoint2d& max) const;
    int dimension() const;

    VelGeomBoundBlock2d& swell(double d);
    VelGeomBoundBlock2d& transformBy(const VelGeomMatrix2d& m);
    bool contains(const VelGeomPoint2d& p) const;
    VelGeomBoundBlock2d& extend(const VelGeomPoint2d& p);
    VelGeomBoundBlock2d& extend(const VelArray<VelGeomPoint2d>& pts);
    bool isDisjoint(const VelGeomBoundBlock2d& block) const;

    // corner, +u, +v, +u+v
    void corners(VelGeomPoint2d out[4]) const;

private:
    int edges(VelGeomVector2d out[2]) const;

    VelGeomPoint2d m_corner;
    VelGeomVector2d m_u;
    VelGeomVector2d m_v;
};
