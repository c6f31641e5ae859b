#pragma once
// A circle: centre, unit axis and radius. Arcs on it run counterclockwise
// about the axis; an arc whose two end points coincide is the full circle.
//
// Faceting rule shared by every operation that turns arcs into chords: a
// circle faceted with n facets has n chords over the full turn; an arc of
// angle a gets max(1, floor(a * n / 2pi + 0.001)) equal chords, so a quarter
// of a 16-facet circle has exactly 4.

#include "facet/host/modeler/Line3d.h"

#include <vector>

namespace AModeler {

class Circle3d
{
public:
    Circle3d() = default;  // radius 0: "no circle"
    Circle3d(const Point3d& centre, const Vector3d& axis, double radius);
    // Centre = axis.point, axis = normalised axis.direction.
    Circle3d(const Line3d& axis, double radius);

    const Point3d& center() const { return m_center; }
    const Vector3d& normal() const { return m_normal; }
    double radius() const { return m_radius; }
    Line3d axis() const { return Line3d(m_center, m_normal); }
    bool isValid() const;

    // Unit direction in the circle's plane at which angle 0 lies.
    Vector3d refDirection() const { return m_normal.perpendicular(); }
    Point3d pointAt(double angle) const;
    // Angle in [0, 2pi) of the projection of p about the axis.
    double angleOf(const Point3d& p) const;

    // `count` points evenly around the full circle, starting at angle 0.
    std::vector<Point3d> tessellate(int count) const;

    // Appends the chord points of the arc from `start` to `end` (both
    // included; start == end is the full circle) for a circle of `facets`
    // facets. The intermediate points are `start` rotated about the axis, so
    // they keep start's distance from the axis. Returns the number of chords,
    // 0 (nothing appended) when facets < 3 or the circle is invalid.
    int tessellate(const Point3d& start, const Point3d& end, int facets, std::vector<Point3d>& points) const;

    // Chord count of an arc of `angle` radians on a circle of `facets` facets.
    static int arcChordCount(double angle, int facets);

    bool isEqual(const Circle3d& other, double eps) const;

private:
    Point3d m_center;
    Vector3d m_normal = Vector3d::kZDir;
    double m_radius = 0.0;
};

} // namespace AModeler
