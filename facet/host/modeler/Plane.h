#pragma once
// An oriented plane: the points p with normal . p + d == 0, normal of unit
// length. A default plane has a zero normal and is not valid.

#include "facet/host/modeler/Point3d.h"

namespace AModeler {

class Plane
{
public:
    Plane() = default;
    // Through a point with a normal (normalised here; a zero normal gives an invalid plane).
    Plane(const Point3d& p, const Vector3d& normal);
    // From its coefficients; a normal not of unit length is normalised with d.
    Plane(const Vector3d& normal, double d);
    // Through three points, oriented counterclockwise; invalid when they are collinear.
    Plane(const Point3d& a, const Point3d& b, const Point3d& c);

    const Vector3d& normal() const { return m_normal; }
    double d() const { return m_d; }
    bool isValid() const { return !m_normal.isNull(); }

    // Positive on the side the normal points to.
    double signedDistanceTo(const Point3d& p) const { return m_normal.dot(p.asVector()) + m_d; }
    double distanceTo(const Point3d& p) const;
    Point3d project(const Point3d& p) const { return p - m_normal * signedDistanceTo(p); }
    Point3d pointOnPlane() const { return Point3d() - m_normal * m_d; }

    Plane operator-() const;  // the same plane, facing the other way

private:
    Vector3d m_normal;
    double m_d = 0.0;
};

} // namespace AModeler
