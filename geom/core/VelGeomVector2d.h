#pragma once
// A vector in the plane: two doubles x, y. Plain value, trivially copyable.
//
// Equality: operator== is isEqualTo(v, VelGeomTol::gTol), i.e. the length of
// the difference is below gTol's equalVector (strict). The direction
// predicates normalise both vectors with gTol and compare with the tolerance
// passed in.

#include "geom/core/VelGeomTol.h"

class VelGeomMatrix2d;

class VelGeomVector2d
{
public:
    constexpr VelGeomVector2d() : x(0.0), y(0.0) {}
    constexpr VelGeomVector2d(double xx, double yy) : x(xx), y(yy) {}
    explicit VelGeomVector2d(const double* xy) : x(xy[0]), y(xy[1]) {}

    VelGeomVector2d& set(double xx, double yy)
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

    VelGeomVector2d operator+(const VelGeomVector2d& v) const { return VelGeomVector2d(x + v.x, y + v.y); }
    VelGeomVector2d operator-(const VelGeomVector2d& v) const { return VelGeomVector2d(x - v.x, y - v.y); }
    VelGeomVector2d operator-() const { return VelGeomVector2d(-x, -y); }
    VelGeomVector2d operator*(double f) const { return VelGeomVector2d(x * f, y * f); }
    VelGeomVector2d operator/(double d) const { return VelGeomVector2d(x / d, y / d); }
    VelGeomVector2d& operator+=(const VelGeomVector2d& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    VelGeomVector2d& operator-=(const VelGeomVector2d& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    VelGeomVector2d& operator*=(double f)
    {
        x *= f;
        y *= f;
        return *this;
    }
    VelGeomVector2d& operator/=(double d)
    {
        x /= d;
        y /= d;
        return *this;
    }

    VelGeomVector2d& setToSum(const VelGeomVector2d& a, const VelGeomVector2d& b)
    {
        x = a.x + b.x;
        y = a.y + b.y;
        return *this;
    }
    VelGeomVector2d& setToProduct(const VelGeomVector2d& v, double f)
    {
        x = v.x * f;
        y = v.y * f;
        return *this;
    }
    // v transformed by m without the translation.
    VelGeomVector2d& setToProduct(const VelGeomMatrix2d& m, const VelGeomVector2d& v);
    VelGeomVector2d& transformBy(const VelGeomMatrix2d& m);
    // Counter-clockwise for angle > 0.
    VelGeomVector2d& rotateBy(double angle);
    // Reflection in the line through the origin along axis.
    VelGeomVector2d& mirror(const VelGeomVector2d& axis);
    // The translation by this vector.
    operator VelGeomMatrix2d() const;

    VelGeomVector2d& negate()
    {
        x = -x;
        y = -y;
        return *this;
    }

    double dotProduct(const VelGeomVector2d& v) const { return x * v.x + y * v.y; }
    double length() const;
    double lengthSqrd() const { return x * x + y * y; }
    // 1 when |x| < |y|, else 0.
    int largestElement() const;
    // The left perpendicular (-y, x), not normalised.
    VelGeomVector2d perpVector() const { return VelGeomVector2d(-y, x); }

    // Divide by the length when it is at least tol.equalVector(); a shorter
    // vector is left as it is.
    VelGeomVector2d& normalize(const VelGeomTol& tol = VelGeomTol::gTol);
    VelGeomVector2d normal(const VelGeomTol& tol = VelGeomTol::gTol) const;

    bool isEqualTo(const VelGeomVector2d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isZeroLength(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isUnitLength(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isCodirectionalTo(const VelGeomVector2d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isParallelTo(const VelGeomVector2d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isPerpendicularTo(const VelGeomVector2d& v, const VelGeomTol& tol = VelGeomTol::gTol) const;

    bool operator==(const VelGeomVector2d& v) const { return isEqualTo(v, VelGeomTol::gTol); }
    bool operator!=(const VelGeomVector2d& v) const { return !(*this == v); }

    // Direction angle in [0, 2*pi); 0 for a vector not longer than gTol's equalVector.
    double angle() const;
    // Undirected: the unsigned angle in [0, pi]. Directed: the angle turned
    // from this vector to v, counter-clockwise (or clockwise), in (0, 2*pi]:
    // equal directions give 2*pi. 0 when either vector is zero length.
    double angleTo(const VelGeomVector2d& v, bool undirected = false, bool clockwise = false) const;

    static const VelGeomVector2d kIdentity;  // the zero vector
    static const VelGeomVector2d kXAxis;
    static const VelGeomVector2d kYAxis;

    double x, y;
};

inline VelGeomVector2d operator*(double f, const VelGeomVector2d& v) { return v * f; }
