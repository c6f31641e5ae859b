#pragma once
// An axis-aligned box given by its lower and upper corner. A default
// interval is empty; extending it by a point makes it that point.

#include "facet/host/modeler/Point3d.h"

namespace AModeler {

class Interval3d
{
public:
    Interval3d() = default;
    Interval3d(const Point3d& a, const Point3d& b);  // the box spanned by both corners

    bool isEmpty() const { return m_empty; }
    const Point3d& lower() const { return m_lower; }
    const Point3d& upper() const { return m_upper; }
    Vector3d size() const { return m_empty ? Vector3d() : m_upper - m_lower; }
    double volume() const;

    Interval3d& extend(const Point3d& p);
    Interval3d& extend(const Interval3d& other);
    // Grows every side by eps (an empty interval stays empty).
    Interval3d& enlarge(double eps);

    // The union of both boxes.
    Interval3d operator+(const Interval3d& other) const { return Interval3d(*this).extend(other); }
    Interval3d& operator+=(const Interval3d& other) { return extend(other); }

    bool contains(const Point3d& p, double eps = 0.0) const;
    bool intersects(const Interval3d& other, double eps = 0.0) const;

private:
    Point3d m_lower, m_upper;
    bool m_empty = true;
};

} // namespace AModeler
