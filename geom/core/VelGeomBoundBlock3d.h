#pragma once
// An oriented block in space: corner + a*u + b*v + c*w with a, b, c in [0, 1].
// A zero edge vector makes the block flat in that direction, so a block with
// no non-zero edge is a point, with one a segment, with two a parallelogram.
// The default block is the point kOrigin.
//
// isDisjoint is a separating-axis test that treats every degenerate pairing
// explicitly. Two parallelograms in crossing planes are tested like full
// blocks (their face normals and the cross products of their edges): for two
// flat convex pieces in crossing planes those axes are complete, so the
// answer is exact rather than a blanket "disjoint". Colinear segments that
// overlap are not disjoint.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomMatrix3d;
class VelGeomPlane;
class VelGeomVertexInfo;

class VelGeomBoundBlock3d
{
public:
    constexpr VelGeomBoundBlock3d() : m_corner(0.0, 0.0, 0.0), m_u(), m_v(), m_w() {}
    VelGeomBoundBlock3d(const VelGeomPoint3d& corner, const VelGeomVector3d& u, const VelGeomVector3d& v,
                        const VelGeomVector3d& w)
        : VelGeomBoundBlock3d()
    {
        set(corner, u, v, w);
    }

    // Drops redundant directions: v when parallel to u, w when parallel to u
    // or v or lying in their plane.
    VelGeomBoundBlock3d& set(const VelGeomPoint3d& corner, const VelGeomVector3d& u, const VelGeomVector3d& v,
                             const VelGeomVector3d& w);
    // The segment from p1 to p2.
    VelGeomBoundBlock3d& set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);

    void get(VelGeomPoint3d& corner, VelGeomVector3d& u, VelGeomVector3d& v, VelGeomVector3d& w) const;
    // Axis-aligned bounds of the eight corners.
    void getMinMaxPoints(VelGeomPoint3d& min, VelGeomPoint3d& max) const;
    // Number of non-zero edges: 0 point, 1 segment, 2 parallelogram, 3 block.
    int dimension() const;

    // Grows by d on every side along the block's own directions; flat
    // directions stay flat.
    VelGeomBoundBlock3d& swell(double d);
    VelGeomBoundBlock3d& transformBy(const VelGeomMatrix3d& m);

    bool contains(const VelGeomPoint3d& p) const;

    // Grows along the block's own directions to take p; a point off the
    // block's line (plane) adds a direction.
    VelGeomBoundBlock3d& extend(const VelGeomPoint3d& p);
    VelGeomBoundBlock3d& extend(const VelArray<VelGeomPoint3d>& pts);
    // An edge of an augmented contour: its end points and, for an arc, its
    // chord points and the arc's middle point.
    VelGeomBoundBlock3d& extend(const VelGeomVertexInfo& info, const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);

    bool isDisjoint(const VelGeomBoundBlock3d& block) const;

    // Keeps the part on the side the plane's normal points to (see the
    // implementation for the exact rule); a block wholly below becomes the
    // empty block.
    VelGeomBoundBlock3d& slice(const VelGeomPlane& plane);

    // The eight corners in the order corner, +u, +v, +u+v, +w, +u+w, +v+w, +u+v+w.
    void corners(VelGeomPoint3d out[8]) const;

private:
    // The non-zero edges, in the order u, v, w; returns how many.
    int edges(VelGeomVector3d out[3]) const;

    VelGeomPoint3d m_corner;
    VelGeomVector3d m_u;
    VelGeomVector3d m_v;
    VelGeomVector3d m_w;
};
