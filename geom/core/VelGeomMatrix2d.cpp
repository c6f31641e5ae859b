#include "geom/core/VelGeomMatrix2d.h"

#include "geom/curves/VelGeomLine2d.h"

#include <cmath>

// Constant-initialised, so other translation units may use it while they are
// being initialised themselves.
const VelGeomMatrix2d VelGeomMatrix2d::kIdentity;

VelGeomMatrix2d& VelGeomMatrix2d::setToProduct(const VelGeomMatrix2d& a, const VelGeomMatrix2d& b)
{
    double r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a.entry[i][0] * b.entry[0][j] + a.entry[i][1] * b.entry[1][j] + a.entry[i][2] * b.entry[2][j];
    // a or b may be this matrix: write only after the whole product is formed.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            entry[i][j] = r[i][j];
    return *this;
}

VelGeomMatrix2d& VelGeomMatrix2d::postMultBy(const VelGeomMatrix2d& m) { return setToProduct(*this, m); }

VelGeomMatrix2d& VelGeomMatrix2d::preMultBy(const VelGeomMatrix2d& m) { return setToProduct(m, *this); }

VelGeomMatrix2d VelGeomMatrix2d::operator*(const VelGeomMatrix2d& m) const
{
    VelGeomMatrix2d r;
    r.setToProduct(*this, m);
    return r;
}

double VelGeomMatrix2d::det() const
{
    const double(&e)[3][3] = entry;
    return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) - e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0]) +
           e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}

VelGeomMatrix2d& VelGeomMatrix2d::invert()
{
    const double d = det();
    if (d * d < 1e-16)
        return *this;
    const double(&e)[3][3] = entry;
    double r[3][3];
    r[0][0] = (e[1][1] * e[2][2] - e[1][2] * e[2][1]) / d;
    r[0][1] = (e[0][2] * e[2][1] - e[0][1] * e[2][2]) / d;
    r[0][2] = (e[0][1] * e[1][2] - e[0][2] * e[1][1]) / d;
    r[1][0] = (e[1][2] * e[2][0] - e[1][0] * e[2][2]) / d;
    r[1][1] = (e[0][0] * e[2][2] - e[0][2] * e[2][0]) / d;
    r[1][2] = (e[0][2] * e[1][0] - e[0][0] * e[1][2]) / d;
    r[2][0] = (e[1][0] * e[2][1] - e[1][1] * e[2][0]) / d;
    r[2][1] = (e[0][1] * e[2][0] - e[0][0] * e[2][1]) / d;
    r[2][2] = (e[0][0] * e[1][1] - e[0][1] * e[1][0]) / d;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            entry[i][j] = r[i][j];
    return *this;
}

VelGeomMatrix2d VelGeomMatrix2d::inverse() const
{
    VelGeomMatrix2d r(*this);
    return r.invert();
}

VelGeomMatrix2d& VelGeomMatrix2d::transposeIt()
{
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            const double t = entry[i][j];
            entry[i][j] = entry[j][i];
            entry[j][i] = t;
        }
    return *this;
}

VelGeomMatrix2d VelGeomMatrix2d::transpose() const
{
    VelGeomMatrix2d r(*this);
    return r.transposeIt();
}

VelGeomMatrix2d& VelGeomMatrix2d::setToIdentity()
{
    *this = kIdentity;
    return *this;
}

VelGeomMatrix2d& VelGeomMatrix2d::setCoordSystem(const VelGeomPoint2d& origin, const VelGeomVector2d& x,
                                                 const VelGeomVector2d& y)
{
    entry[0][0] = x.x;
    entry[1][0] = x.y;
    entry[0][1] = y.x;
    entry[1][1] = y.y;
    entry[0][2] = origin.x;
    entry[1][2] = origin.y;
    entry[2][0] = 0.0;
    entry[2][1] = 0.0;
    entry[2][2] = 1.0;
    return *this;
}

void VelGeomMatrix2d::getCoordSystem(VelGeomPoint2d& origin, VelGeomVector2d& x, VelGeomVector2d& y) const
{
    x.set(entry[0][0], entry[1][0]);
    y.set(entry[0][1], entry[1][1]);
    origin.set(entry[0][2], entry[1][2]);
}

VelGeomMatrix2d& VelGeomMatrix2d::setTranslation(const VelGeomVector2d& v)
{
    entry[0][2] = v.x;
    entry[1][2] = v.y;
    return *this;
}

double VelGeomMatrix2d::getScale() const
{
    const double lx = VelGeomVector2d(entry[0][0], entry[1][0]).length();
    const double ly = VelGeomVector2d(entry[0][1], entry[1][1]).length();
    return lx > ly ? lx : ly;
}

bool VelGeomMatrix2d::isSingular(const VelGeomTol& tol) const
{
    const VelGeomVector2d x(entry[0][0], entry[1][0]);
    const VelGeomVector2d y(entry[0][1], entry[1][1]);
    if (tol.equal(x.length(), 0.0) || tol.equal(y.length(), 0.0))
        return true;
    return x.isParallelTo(y, tol);
}

bool VelGeomMatrix2d::isScaledOrtho(const VelGeomTol& tol) const
{
    const VelGeomVector2d x(entry[0][0], entry[1][0]);
    const VelGeomVector2d y(entry[0][1], entry[1][1]);
    return tol.equal(x.dotProduct(y), 0.0);
}

bool VelGeomMatrix2d::isUniScaledOrtho(const VelGeomTol& tol) const
{
    if (!isScaledOrtho(tol))
        return false;
    const VelGeomVector2d x(entry[0][0], entry[1][0]);
    const VelGeomVector2d y(entry[0][1], entry[1][1]);
    return tol.equal(y.length(), x.length());
}

bool VelGeomMatrix2d::isMirror() const
{
    const double d = det() + 1.0;
    return d * d < 1e-8;
}

bool VelGeomMatrix2d::isEqualTo(const VelGeomMatrix2d& m, const VelGeomTol& tol) const
{
    VelGeomPoint2d o1, o2;
    VelGeomVector2d x1, y1, x2, y2;
    getCoordSystem(o1, x1, y1);
    m.getCoordSystem(o2, x2, y2);
    return x1.isEqualTo(x2, tol) && y1.isEqualTo(y2, tol) && o1.isEqualTo(o2, tol);
}

VelGeomMatrix2d& VelGeomMatrix2d::setToTranslation(const VelGeomVector2d& v)
{
    *this = kIdentity;
    return setTranslation(v);
}

VelGeomMatrix2d VelGeomMatrix2d::translation(const VelGeomVector2d& v)
{
    VelGeomMatrix2d r;
    return r.setToTranslation(v);
}

VelGeomMatrix2d& VelGeomMatrix2d::setToScaling(double s, const VelGeomPoint2d& center)
{
    *this = kIdentity;
    entry[0][0] = s;
    entry[1][1] = s;
    entry[0][2] = (1.0 - s) * center.x;
    entry[1][2] = (1.0 - s) * center.y;
    return *this;
}

VelGeomMatrix2d VelGeomMatrix2d::scaling(double s, const VelGeomPoint2d& center)
{
    VelGeomMatrix2d r;
    return r.setToScaling(s, center);
}

VelGeomMatrix2d& VelGeomMatrix2d::setToRotation(double a, const VelGeomPoint2d& center)
{
    const double c = std::cos(a), s = std::sin(a);
    // T(center) * R(a) * T(-center), multiplied out.
    *this = kIdentity;
    entry[0][0] = c;
    entry[0][1] = -s;
    entry[1][0] = s;
    entry[1][1] = c;
    entry[0][2] = center.x - (c * center.x - s * center.y);
    entry[1][2] = center.y - (s * center.x + c * center.y);
    return *this;
}

VelGeomMatrix2d VelGeomMatrix2d::rotation(double a, const VelGeomPoint2d& center)
{
    VelGeomMatrix2d r;
    return r.setToRotation(a, center);
}

VelGeomMatrix2d& VelGeomMatrix2d::setToMirroring(const VelGeomLine2d& line)
{
    const VelGeomPoint2d p = line.pointOnLine();
    const VelGeomVector2d d = line.direction();
    const double g = 2.0 * (d.y * p.x - d.x * p.y);
    *this = kIdentity;
    entry[0][0] = 1.0 - 2.0 * d.y * d.y;
    entry[1][1] = 1.0 - 2.0 * d.x * d.x;
    entry[0][1] = 2.0 * d.x * d.y;
    entry[1][0] = entry[0][1];
    entry[0][2] = d.y * g;
    entry[1][2] = -d.x * g;
    return *this;
}

VelGeomMatrix2d VelGeomMatrix2d::mirroring(const VelGeomLine2d& line)
{
    VelGeomMatrix2d r;
    return r.setToMirroring(line);
}

VelGeomMatrix2d& VelGeomMatrix2d::setToMirroring(const VelGeomPoint2d& p)
{
    *this = kIdentity;
    entry[0][0] = -1.0;
    entry[1][1] = -1.0;
    entry[0][2] = 2.0 * p.x;
    entry[1][2] = 2.0 * p.y;
    return *this;
}

VelGeomMatrix2d VelGeomMatrix2d::mirroring(const VelGeomPoint2d& p)
{
    VelGeomMatrix2d r;
    return r.setToMirroring(p);
}

VelGeomMatrix2d& VelGeomMatrix2d::setToAlignCoordSys(const VelGeomPoint2d& o1, const VelGeomVector2d& x1,
                                                     const VelGeomVector2d& y1, const VelGeomPoint2d& o2,
                                                     const VelGeomVector2d& x2, const VelGeomVector2d& y2)
{
    VelGeomMatrix2d from, to;
    from.setCoordSystem(o1, x1, y1).invert();
    to.setCoordSystem(o2, x2, y2);
    return setToProduct(to, from);
}

VelGeomMatrix2d VelGeomMatrix2d::alignCoordSys(const VelGeomPoint2d& o1, const VelGeomVector2d& x1,
                                               const VelGeomVector2d& y1, const VelGeomPoint2d& o2,
                                               const VelGeomVector2d& x2, const VelGeomVector2d& y2)
{
    VelGeomMatrix2d r;
    return r.setToAlignCoordSys(o1, x1, y1, o2, x2, y2);
}
