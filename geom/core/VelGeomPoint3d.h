#pragma once
// A point in space: three doubles x, y, z. Plain value, trivially copyable.
//
// Two equality notions, on purpose:
//   operator== : every coordinate within 1e-8 (squared difference < 1e-16),
//                independent of any tolerance record;
//   isEqualTo  : the distance below the tolerance's equalPoint (strict).

#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomMatrix3d;
class VelGeomPlane;
class VelGeomPoint2d;

class VelGeomPoint3d
{
public:
    constexpr VelGeomPoint3d() : x(0.0), y(0.0), z(0.0) {}
    constexpr VelGeomPoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
    explicit VelGeomPoint3d(const double* xyz) : x(xyz[0]), y(xyz[1]), z(xyz[2]) {}

    VelGeomPoint3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }

    // Index 1 gives y, 2 gives z; every other index gives x.
    double operator[](int i) const { return i == 1 ? y : (i == 2 ? z : x); }
    double& operator[](int i) { return i == 1 ? y : (i == 2 ? z : x); }
    int getArray(double* out) const
    {
        out[0] = x;
        out[1] = y;
        out[2] = z;
        return 1;
    }

    VelGeomPoint3d operator+(const VelGeomVector3d& v) const { return VelGeomPoint3d(x + v.x, y + v.y, z + v.z); }
    VelGeomPoint3d operator-(const VelGeomVector3d& v) const { return VelGeomPoint3d(x - v.x, y - v.y, z - v.z); }
    VelGeomVector3d operator-(const VelGeomPoint3d& p) const { return VelGeomVector3d(x - p.x, y - p.y, z - p.z); }
    VelGeomPoint3d operator*(double f) const { return VelGeomPoint3d(x * f, y * f, z * f); }
    VelGeomPoint3d& operator+=(const VelGeomVector3d& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    VelGeomPoint3d& operator-=(const VelGeomVector3d& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    VelGeomPoint3d& operator*=(double f)
    {
        x *= f;
        y *= f;
        z *= f;
        return *this;
    }
    VelGeomPoint3d& operator/=(double d)
    {
        x /= d;
        y /= d;
        z /= d;
        return *this;
    }

    VelGeomVector3d asVector() const { return VelGeomVector3d(x, y, z); }
    double distanceTo(const VelGeomPoint3d& p) const { return (*this - p).length(); }

    // M * (x, y, z, 1).
    VelGeomPoint3d& transformBy(const VelGeomMatrix3d& m);
    // About the line through base along axis, counter-clockwise seen from
    // the axis tip.
    VelGeomPoint3d& rotateBy(double angle, const VelGeomVector3d& axis,
                             const VelGeomPoint3d& base = VelGeomPoint3d::kOrigin);
    VelGeomPoint3d& scaleBy(double f, const VelGeomPoint3d& base = VelGeomPoint3d::kOrigin);
    // The plane's closest point to this one.
    VelGeomPoint3d orthoProject(const VelGeomPlane& plane) const;
    // Along dir onto the plane; this point itself when dir lies in the plane
    // (dot(unit dir, normal)^2 < 1e-16).
    VelGeomPoint3d project(const VelGeomPlane& plane, const VelGeomVector3d& dir) const;
    // Coordinates in the plane's system (origin and its two axes, normalised).
    VelGeomPoint2d convert2d(const VelGeomPlane& plane) const;

    bool isEqualTo(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const
    {
        return distanceTo(p) < tol.equalPoint();
    }
    bool operator==(const VelGeomPoint3d& p) const;
    bool operator!=(const VelGeomPoint3d& p) const { return !(*this == p); }

    // Modifiable (unlike the vector constants), as existing callers expect.
    static VelGeomPoint3d kOrigin;

    double x, y, z;
};
