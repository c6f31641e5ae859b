#include "geom/core/VelGeomVector2d.h"

#include "geom/core/VelGeomBase.h"

#include <cmath>

const VelGeomVector2d VelGeomVector2d::kIdentity(0.0, 0.0);
const VelGeomVector2d VelGeomVector2d::kXAxis(1.0, 0.0);
const VelGeomVector2d VelGeomVector2d::kYAxis(0.0, 1.0);

double VelGeomVector2d::length() const { return std::sqrt(x * x + y * y); }

int VelGeomVector2d::largestElement() const { return std::fabs(x) < std::fabs(y) ? 1 : 0; }

VelGeomVector2d& VelGeomVector2d::normalize(const VelGeomTol& tol)
{
    const double len = length();
    if (len >= tol.equalVector()) {
        x /= len;
        y /= len;
    }
    return *this;
}

VelGeomVector2d VelGeomVector2d::normal(const VelGeomTol& tol) const
{
    VelGeomVector2d v(*this);
    return v.normalize(tol);
}

bool VelGeomVector2d::isEqualTo(const VelGeomVector2d& v, const VelGeomTol& tol) const
{
    return (*this - v).length() < tol.equalVector();
}

bool VelGeomVector2d::isZeroLength(const VelGeomTol& tol) const { return isEqualTo(kIdentity, tol); }

bool VelGeomVector2d::isUnitLength(const VelGeomTol& tol) const { return isEqualTo(normal(VelGeomTol::gTol), tol); }

bool VelGeomVector2d::isCodirectionalTo(const VelGeomVector2d& v, const VelGeomTol& tol) const
{
    return normal(VelGeomTol::gTol).isEqualTo(v.normal(VelGeomTol::gTol), tol);
}

bool VelGeomVector2d::isParallelTo(const VelGeomVector2d& v, const VelGeomTol& tol) const
{
    VelGeomVector2d a = normal(VelGeomTol::gTol);
    const VelGeomVector2d b = v.normal(VelGeomTol::gTol);
    if (a.dotProduct(b) < 0.0)
        a.negate();
    return a.isEqualTo(b, tol);
}

bool VelGeomVector2d::isPerpendicularTo(const VelGeomVector2d& v, const VelGeomTol& tol) const
{
    const VelGeomVector2d a = normal(VelGeomTol::gTol);
    const VelGeomVector2d b = v.normal(VelGeomTol::gTol);
    return std::fabs(a.dotProduct(b)) < tol.equalVector();
}

double VelGeomVector2d::angle() const
{
    const double len = length();
    if (!(len > VelGeomTol::gTol.equalVector()))
        return 0.0;
    double c = x / len;
    // x / len can exceed 1 by an ulp; acos would give NaN there.
    if (c > 1.0)
        c = 1.0;
    else if (c < -1.0)
        c = -1.0;
    const double a = std::acos(c);
    return y >= 0.0 ? a : 2.0 * VelGeomBase::PI - a;
}

double VelGeomVector2d::angleTo(const VelGeomVector2d& v, bool undirected, bool clockwise) const
{
    if (isZeroLength(VelGeomTol::gTol) || v.isZeroLength(VelGeomTol::gTol))
        return 0.0;
    if (undirected) {
        // Two unit vectors can have a dot product an ulp beyond +-1; clamp so
        // that equal directions give 0 rather than NaN.
        double d = normal(VelGeomTol::gTol).dotProduct(v.normal(VelGeomTol::gTol));
        d = d > 1.0 ? 1.0 : (d < -1.0 ? -1.0 : d);
        return std::acos(d);
    }
    const double a1 = angle();
    const double a2 = v.angle();
    if (clockwise)
        return a1 > a2 ? a1 - a2 : a1 - a2 + 2.0 * VelGeomBase::PI;
    return a1 < a2 ? a2 - a1 : a2 - a1 + 2.0 * VelGeomBase::PI;
}

// Transformations need the matrix and the line; kept below so the header
// stays light.
#include "geom/core/VelGeomMatrix2d.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/curves/VelGeomLine2d.h"

VelGeomVector2d& VelGeomVector2d::setToProduct(const VelGeomMatrix2d& m, const VelGeomVector2d& v)
{
    const double vx = v.x, vy = v.y;  // v may be this vector
    x = m.entry[0][0] * vx + m.entry[0][1] * vy;
    y = m.entry[1][0] * vx + m.entry[1][1] * vy;
    return *this;
}

VelGeomVector2d& VelGeomVector2d::transformBy(const VelGeomMatrix2d& m) { return setToProduct(m, *this); }

VelGeomVector2d& VelGeomVector2d::rotateBy(double angle)
{
    return transformBy(VelGeomMatrix2d::rotation(angle, VelGeomPoint2d::kOrigin));
}

VelGeomVector2d& VelGeomVector2d::mirror(const VelGeomVector2d& axis)
{
    return transformBy(VelGeomMatrix2d::mirroring(VelGeomLine2d(VelGeomPoint2d::kOrigin, axis)));
}

VelGeomVector2d::operator VelGeomMatrix2d() const { return VelGeomMatrix2d::translation(*this); }
