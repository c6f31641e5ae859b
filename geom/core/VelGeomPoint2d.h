#pragma once
// A point in the plane: two doubles x, y. Plain value, trivially copyable.
//
// isEqualTo compares the distance with the tolerance's equalPoint inclusively
// (<=); operator== is isEqualTo(p, VelGeomTol::gTol).

#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector2d.h"

class VelGeomMatrix2d;

class VelGeomPoint2d
{
public:
    constexpr VelGeomPoint2d() : x(0.0), y(0.0) {}
    constexpr VelGeomPoint2d(double xx, double yy) : x(xx), y(yy) {}
    explicit VelGeomPoint2d(const double* xy) : x(xy[0]), y(xy[1]) {}

    VelGeomPoint2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }

    // Index 1 gives y; every other index gives x.
    double operator[](int i) const { return i == 1 ? y : x; }
    double& operator[](int i) { return i == 1 ? y : x; }
    void getArray(double* out) const
    {
        out[0] = x;
        out[1] = y;
    }

    VelGeomPoint2d operator+(const VelGeomVector2d& v) const { return VelGeomPoint2d(x + v.x, y + v.y); }
    VelGeomPoint2d operator-(const VelGeomVector2d& v) const { return VelGeomPoint2d(x - v.x, y - v.y); }
    VelGeomVector2d operator-(const VelGeomPoint2d& p) const { return VelGeomVector2d(x - p.x, y - p.y); }
    VelGeomPoint2d operator*(double f) const { return VelGeomPoint2d(x * f, y * f); }
    VelGeomPoint2d operator/(double d) const { return VelGeomPoint2d(x / d, y / d); }
    VelGeomPoint2d& operator+=(const VelGeomVector2d& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    VelGeomPoint2d& operator-=(const VelGeomVector2d& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    VelGeomPoint2d& operator*=(double f)
    {
        x *= f;
        y *= f;
        return *this;
    }
    VelGeomPoint2d& operator/=(double d)
    {
        x /= d;
        y /= d;
        return *this;
    }

    VelGeomVector2d asVector() const { return VelGeomVector2d(x, y); }
    double distanceTo(const VelGeomPoint2d& p) const { return (*this - p).length(); }
    VelGeomPoint2d& setToSum(const VelGeomPoint2d& p, const VelGeomVector2d& v)
    {
        x = p.x + v.x;
        y = p.y + v.y;
        return *this;
    }
    // base + (this - base) * f
    VelGeomPoint2d& scaleBy(double f, const VelGeomPoint2d& base = VelGeomPoint2d::kOrigin);

    // p transformed by m: (m00 x + m01 y + m02, m10 x + m11 y + m12).
    VelGeomPoint2d& setToProduct(const VelGeomMatrix2d& m, const VelGeomPoint2d& p);
    VelGeomPoint2d& transformBy(const VelGeomMatrix2d& m);
    // Counter-clockwise about base for angle > 0.
    VelGeomPoint2d& rotateBy(double angle, const VelGeomPoint2d& base = VelGeomPoint2d::kOrigin);

    bool isEqualTo(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const
    {
        return distanceTo(p) <= tol.equalPoint();
    }
    bool operator==(const VelGeomPoint2d& p) const { return isEqualTo(p, VelGeomTol::gTol); }
    bool operator!=(const VelGeomPoint2d& p) const { return !(*this == p); }

    static const VelGeomPoint2d kOrigin;

    double x, y;
};
