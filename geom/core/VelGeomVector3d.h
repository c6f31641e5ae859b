#pragma once
// A vector in space: three doubles x, y, z. Plain value, trivially copyable.
//
// Two equality notions, on purpose:
//   operator== : every coordinate within 1e-8 (squared difference < 1e-16),
//                independent of any tolerance record;
//   isEqualTo  : the length of the difference below the tolerance's
//                equalVector (strict).
// The direction predicates normalise both vectors with gTol and compare with
// the tolerance passed in. operator* between two vectors is the cross product.

#include "geom/core/VelGeomTol.h"

class VelGeomMatrix3d;
class VelGeomPlane;
class VelGeomVector2d;

class VelGeomVector3d
{
public:
    constexpr VelGeomVector3d() : x(0.0), y(0.0), z(0.0) {}
    constexpr VelGeomVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
    explicit VelGeomVector3d(const double* xyz) : x(xyz[0]), y(xyz[1]), z(xyz[2]) {}

    VelGeomVector3d& set(double xx, double yy, double zz)
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

    VelGeomVector3d operator+(const VelGeomVector3d& v) const { return VelGeomVector3d(x + v.x, y + v.y, z + v.z); }
    VelGeomVector3d operator-(const VelGeomVector3d& v) const { return VelGeomVector3d(x - v.x, y - v.y, z - v.z); }
    VelGeomVector3d operator-() const { return VelGeomVector3d(-x, -y, -z); }
    VelGeomVector3d operator*(double f) const { return VelGeomVector3d(x * f, y * f, z * f); }
    // Multiplication by 1/d.
    VelGeomVector3d operator/(double d) const { return *this * (1.0 / d); }
    // The cross product this x v.
    VelGeomVector3d operator*(const VelGeomVector3d& v) const { return crossProduct(v); }
    VelGeomVector3d& operator*=(double f)
    {
        x *= f;
        y *= f;
        z *= f;
        return *this;
    }
    VelGeomVector3d& operator+=(const VelGeomVector3d& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    VelGeomVector3d& operator-=(const VelGeomVector3d& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    VelGeomVector3d& negate()
    {
        x = -x;
        y = -y;
        z = -z;
        return *this;
    }

    double dotProduct(const VelGeomVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    VelGeomVector3d crossProduct(const VelGeomVector3d& v) const
    {
        return VelGeomVector3d(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
    }
    double length() const;
    double lengthSqrd() const { return x * x + y * y + z * z; }
    // 1 when |y| > |x| and |y| >= |z|; otherwise 2 when |x| < |z|; otherwise 0.
    int largestElement() const;

    // Divides by the length unless it is exactly 0.
    VelGeomVector3d& normalize();
    // A copy divided by its length when that is at least tol.equalVector();
    // a shorter vector comes back unchanged.
    VelGeomVector3d normal(const VelGeomTol& tol = VelGeomTol::gTol) const;
    // A unit vector perpendicular to this one: (z, 0, -x) when |x| and |y| are
    // both below 1/64, else (-y, x, 0); then normalised.
    VelGeomVector3d perpVector() const;

    bool isEqualTo(const VelGeomVector3d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isZeroLength(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isUnitLength(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isCodirectionalTo(const VelGeomVector3d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isParallelTo(const VelGeomVector3d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isPerpendicularTo(const VelGeomVector3d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;

    bool operator==(const VelGeomVector3d& v) const;
    bool operator!=(const VelGeomVector3d& v) const { return !(*this == v); }

    // The unsigned angle to v in [0, pi]; 0 for parallel, pi for anti-parallel
    // directions and 0 when either vector has zero length.
    double angleTo(const VelGeomVector3d& v) const;
    // The counter-clockwise angle from this vector to v seen from the tip of
    // ref, both projected into the plane normal to ref; in [0, 2*pi).
    double angleTo(const VelGeomVector3d& v, const VelGeomVector3d& ref) const;
    // Signed elevation above the plane, in [-pi/2, pi/2].
    double angleTo(const VelGeomPlane& plane) const;
    // Unsigned angle in [0, pi] between the projection into the plane and
    // the x axis of the plane's coordinate system.
    double angleOnPlane(const VelGeomPlane& plane) const;

    // The upper-left 3 x 3 block of m times this vector (no translation).
    VelGeomVector3d& transformBy(const VelGeomMatrix3d& m);
    // About axis (through the origin), counter-clockwise seen from its tip.
    VelGeomVector3d& rotateBy(double angle, const VelGeomVector3d& axis);
    VelGeomVector3d& rotateX(double angle);
    VelGeomVector3d& rotateY(double angle);
    VelGeomVector3d& rotateZ(double angle);

    // The component within the plane.
    VelGeomVector3d project(const VelGeomPlane& plane) const;
    // Projected along dir onto the plane through the origin with the given
    // normal (unchanged when dir lies in that plane).
    VelGeomVector3d project(const VelGeomVector3d& normal, const VelGeomVector3d& dir) const;
    // project(normal, normal).
    VelGeomVector3d orthoProject(const VelGeomVector3d& normal) const;
    // (dot(u, this), dot(v, this)) with the plane's axes u, v normalised.
    VelGeomVector2d convert2d(const VelGeomPlane& plane) const;

    static const VelGeomVector3d kIdentity;  // the zero vector
    static const VelGeomVector3d kXAxis;
    static const VelGeomVector3d kYAxis;
    static const VelGeomVector3d kZAxis;

    double x, y, z;
};

inline VelGeomVector3d operator*(double f, const VelGeomVector3d& v) { return v * f; }
