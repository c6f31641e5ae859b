#pragma once
// A circular cylinder: a radius about an axis that is an infinite line
// (kind 0) or a segment (kind 1, the cylinder ends at the planes through the
// segment's ends); kind 2 has no axis and meets nothing. The cylinder owns
// its axis.
//
// Choices of this class:
//   - An axis of no direction (a zero vector, a segment of length 0) is no
//     axis: the cylinder is of kind 2.
//   - intersectWith refuses (false) a radius that is not positive and a line
//     of no direction.

#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomLine3d;
class VelGeomLineSeg3d;

class VelGeomCylinder
{
public:
    enum { kInfiniteAxis = 0, kSegmentAxis = 1, kNoAxis = 2 };

    // No axis.
    VelGeomCylinder();
    // About the infinite line through axisPoint along axisDirection.
    VelGeomCylinder(double radius, const VelGeomPoint3d& axisPoint, const VelGeomVector3d& axisDirection);
    // About a copy of the segment.
    VelGeomCylinder(double radius, const VelGeomLineSeg3d& axis);
    VelGeomCylinder(const VelGeomCylinder& other);
    VelGeomCylinder& operator=(const VelGeomCylinder& other);
    virtual ~VelGeomCylinder();

    double getRadius() const { return m_radius; }
    // kInfiniteAxis, kSegmentAxis or kNoAxis.
    int getAxisKind() const { return m_axisKind; }

    // The points where the line (a line, ray or segment, each keeping only
    // its own points) pierces the cylinder's surface, in p1 and p2; count is
    // their number (0 to 2). False when there is no axis, when the line runs
    // parallel to it or misses the circle; true once the line's carrier meets
    // the infinite surface, even when every point is then dropped (beyond a
    // finite cylinder's ends or outside a bounded line).
    bool intersectWith(const VelGeomLine3d& line, int& count, VelGeomPoint3d& p1, VelGeomPoint3d& p2) const;

private:
    void copyAxis(const VelGeomCylinder& other);

    double m_radius;
    VelGeomLine3d* m_axis;
    int m_axisKind;
};
