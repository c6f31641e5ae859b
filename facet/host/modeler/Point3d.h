#pragma once
// A point of three doubles.

#include "facet/host/modeler/Vector3d.h"

namespace AModeler {

class Point3d
{
public:
    double x = 0.0, y = 0.0, z = 0.0;

    Point3d() = default;
    Point3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    // The origin; where an operation takes an optional point, kNull stands for
    // "no particular point" and the operation says what it uses instead.
    static const Point3d kNull;

    Point3d operator+(const Vector3d& v) const { return Point3d(x + v.x, y + v.y, z + v.z); }
    Point3d operator-(const Vector3d& v) const { return Point3d(x - v.x, y - v.y, z - v.z); }
    Vector3d operator-(const Point3d& p) const { return Vector3d(x - p.x, y - p.y, z - p.z); }
    Point3d& operator+=(const Vector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    Point3d& operator-=(const Vector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }

    Vector3d asVector() const { return Vector3d(x, y, z); }
    double distanceTo(const Point3d& p) const { return (*this - p).length(); }
    bool isEqual(const Point3d& p, double eps) const { return (*this - p).lengthSqrd() <= eps * eps; }
    bool isFinite() const { return asVector().isFinite(); }

    // Affine combination (1 - t) * this + t * p.
    Point3d interpolate(const Point3d& p, double t) const
    {
        return Point3d(x + (p.x - x) * t, y + (p.y - y) * t, z + (p.z - z) * t);
    }
};

} // namespace AModeler
