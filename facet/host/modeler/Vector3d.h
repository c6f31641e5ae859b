#pragma once
// A free vector of three doubles.

namespace AModeler {

class Vector3d
{
public:
    double x = 0.0, y = 0.0, z = 0.0;

    Vector3d() = default;
    Vector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}

    static const Vector3d kNull;
    static const Vector3d kXDir;
    static const Vector3d kYDir;
    static const Vector3d kZDir;

    Vector3d operator+(const Vector3d& v) const { return Vector3d(x + v.x, y + v.y, z + v.z); }
    Vector3d operator-(const Vector3d& v) const { return Vector3d(x - v.x, y - v.y, z - v.z); }
    Vector3d operator-() const { return Vector3d(-x, -y, -z); }
    Vector3d operator*(double s) const { return Vector3d(x * s, y * s, z * s); }
    Vector3d operator/(double s) const { return Vector3d(x / s, y / s, z / s); }
    Vector3d& operator+=(const Vector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
    Vector3d& operator-=(const Vector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    Vector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }

    double dot(const Vector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    Vector3d cross(const Vector3d& v) const
    {
        return Vector3d(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
    }
    double length() const;
    double lengthSqrd() const { return x * x + y * y + z * z; }

    // Unit vector in the same direction; the zero vector stays zero.
    Vector3d normalized() const;
    Vector3d& normalize() { return *this = normalized(); }

    bool isNull(double eps = 0.0) const { return lengthSqrd() <= eps * eps; }
    bool isFinite() const;
    bool isEqual(const Vector3d& v, double eps) const { return (*this - v).lengthSqrd() <= eps * eps; }
    bool isParallelTo(const Vector3d& v, double angleEps = 1e-10) const;

    // A unit vector perpendicular to this one (zero for the zero vector).
    Vector3d perpendicular() const;

    // This vector rotated by angle (radians, counterclockwise) about a unit axis.
    Vector3d rotatedBy(double angle, const Vector3d& unitAxis) const;

    // Directed angle in [0, 2pi) from this vector to v about the unit axis,
    // both first projected onto the plane perpendicular to the axis.
    double angleTo(const Vector3d& v, const Vector3d& unitAxis) const;
};

inline Vector3d operator*(double s, const Vector3d& v) { return v * s; }

} // namespace AModeler
