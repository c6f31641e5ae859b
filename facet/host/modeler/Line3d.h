#pragma once
// A line through a point along a direction. The direction keeps its length:
// operations that read a line segment (a cylinder's axis from base to top)
// take point and point + direction as its ends.

#include "facet/host/modeler/Point3d.h"

namespace AModeler {

class Line3d
{
public:
    Point3d point;
    Vector3d direction;

    Line3d() = default;
    Line3d(const Point3d& p, const Vector3d& dir) : point(p), direction(dir) {}
    Line3d(const Point3d& from, const Point3d& to) : point(from), direction(to - from) {}

    Point3d endPoint() const { return point + direction; }
    bool isValid() const { return point.isFinite() && direction.isFinite() && !direction.isNull(); }

    // Distance of p from the (infinite) line; 0 for an invalid line's point.
    double distanceTo(const Point3d& p) const;
    // Foot of the perpendicular from p.
    Point3d closestPointTo(const Point3d& p) const;
};

} // namespace AModeler
