#include "geom/core/VelGeomMatrix3d.h"

#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <cmath>

// Constant-initialised (constexpr constructor), so other translation units
// may use it during their own static initialisation.
VelGeomMatrix3d VelGeomMatrix3d::kIdentity;

namespace {

// The factories start from this one rather than from the modifiable
// kIdentity, so that a caller who changes kIdentity does not change them.
constexpr VelGeomMatrix3d kPlainIdentity;

// Determinant of the 3 x 3 minor of m without row r and column c.
double minor3(const double (&m)[4][4], int r, int c)
{
    int rows[3], cols[3];
    for (int i = 0, k = 0; i < 4; ++i)
        if (i != r)
            rows[k++] = i;
    for (int j = 0, k = 0; j < 4; ++j)
        if (j != c)
            cols[k++] = j;
    auto e = [&](int i, int j) { return m[rows[i]][cols[j]]; };
    return e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) - e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
           e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
}

}  // namespace

bool VelGeomMatrix3d::GetAt(int i, int j, double& value) const
{
    if (i < 0 || i > 3 || j < 0 || j > 3)
        return false;
    value = entry[i][j];
    return true;
}

bool VelGeomMatrix3d::SetAt(int i, int j, double value)
{
    if (i < 0 || i > 3 || j < 0 || j > 3)
        return false;
    entry[i][j] = value;
    return true;
}

VelGeomMatrix3d VelGeomMatrix3d::operator*(const VelGeomMatrix3d& m) const
{
    VelGeomMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.entry[i][j] = entry[i][0] * m.entry[0][j] + entry[i][1] * m.entry[1][j] + entry[i][2] * m.entry[2][j] +
                            entry[i][3] * m.entry[3][j];
    return r;
}

VelGeomMatrix3d& VelGeomMatrix3d::postMultBy(const VelGeomMatrix3d& m)
{
    *this = *this * m;
    return *this;
}

VelGeomMatrix3d& VelGeomMatrix3d::preMultBy(const VelGeomMatrix3d& m)
{
    *this = m * *this;
    return *this;
}

double VelGeomMatrix3d::det() const
{
    double d = 0.0;
    for (int j = 0; j < 4; ++j) {
        const double c = minor3(entry, 0, j);
        d += (j % 2 == 0 ? 1.0 : -1.0) * entry[0][j] * c;
    }
    return d;
}

VelGeomMatrix3d& VelGeomMatrix3d::invert()
{
    double cof[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            cof[i][j] = ((i + j) % 2 == 0 ? 1.0 : -1.0) * minor3(entry, i, j);
    double d = 0.0;
    for (int j = 0; j < 4; ++j)
        d += entry[0][j] * cof[0][j];
    if (d * d < 1e-16)
        return *this;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            entry[i][j] = cof[j][i] / d;
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::inverse() const
{
    VelGeomMatrix3d r(*this);
    return r.invert();
}

VelGeomMatrix3d& VelGeomMatrix3d::transposeIt()
{
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            const double t = entry[i][j];
            entry[i][j] = entry[j][i];
            entry[j][i] = t;
        }
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::transpose() const
{
    VelGeomMatrix3d r(*this);
    return r.transposeIt();
}

VelGeomMatrix3d& VelGeomMatrix3d::setToIdentity()
{
    *this = kIdentity;
    return *this;
}

VelGeomMatrix3d& VelGeomMatrix3d::setCoordSystem(const VelGeomPoint3d& origin, const VelGeomVector3d& x,
                                                 const VelGeomVector3d& y, const VelGeomVector3d& z)
{
    const double col[4][3] = {{x.x, x.y, x.z}, {y.x, y.y, y.z}, {z.x, z.y, z.z}, {origin.x, origin.y, origin.z}};
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 3; ++i)
            entry[i][j] = col[j][i];
        entry[3][j] = j == 3 ? 1.0 : 0.0;
    }
    return *this;
}

void VelGeomMatrix3d::getCoordSystem(VelGeomPoint3d& origin, VelGeomVector3d& x, VelGeomVector3d& y,
                                     VelGeomVector3d& z) const
{
    x.set(entry[0][0], entry[1][0], entry[2][0]);
    y.set(entry[0][1], entry[1][1], entry[2][1]);
    z.set(entry[0][2], entry[1][2], entry[2][2]);
    origin.set(entry[0][3], entry[1][3], entry[2][3]);
}

VelGeomMatrix3d& VelGeomMatrix3d::setTranslation(const VelGeomVector3d& v)
{
    entry[0][3] = v.x;
    entry[1][3] = v.y;
    entry[2][3] = v.z;
    return *this;
}

double VelGeomMatrix3d::getScale() const
{
    double s = 0.0;
    for (int j = 0; j < 3; ++j) {
        const double l = VelGeomVector3d(entry[0][j], entry[1][j], entry[2][j]).length();
        if (l > s)
            s = l;
    }
    return s;
}

bool VelGeomMatrix3d::isSingular(const VelGeomTol& tol) const
{
    VelGeomPoint3d o;
    VelGeomVector3d ax[3];
    getCoordSystem(o, ax[0], ax[1], ax[2]);
    for (const VelGeomVector3d& a : ax)
        if (tol.equal(a.length(), 0.0))
            return true;
    return ax[0].isParallelTo(ax[1], tol) || ax[0].isParallelTo(ax[2], tol) || ax[1].isParallelTo(ax[2], tol);
}

bool VelGeomMatrix3d::isScaledOrtho(const VelGeomTol& tol) const
{
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    getCoordSystem(o, x, y, z);
    return tol.equal(x.dotProduct(y), 0.0) && tol.equal(x.dotProduct(z), 0.0) && tol.equal(y.dotProduct(z), 0.0);
}

bool VelGeomMatrix3d::isUniScaledOrtho(const VelGeomTol& tol) const
{
    if (!isScaledOrtho(tol))
        return false;
    VelGeomPoint3d o;
    VelGeomVector3d x, y, z;
    getCoordSystem(o, x, y, z);
    const double lx = x.length();
    return tol.equal(y.length(), lx) && tol.equal(z.length(), lx);
}

bool VelGeomMatrix3d::isMirror() const { return det() < 0.0; }

bool VelGeomMatrix3d::isEqualTo(const VelGeomMatrix3d& m, const VelGeomTol& tol) const
{
    VelGeomPoint3d o1, o2;
    VelGeomVector3d x1, y1, z1, x2, y2, z2;
    getCoordSystem(o1, x1, y1, z1);
    m.getCoordSystem(o2, x2, y2, z2);
    return x1.isEqualTo(x2, tol) && y1.isEqualTo(y2, tol) && z1.isEqualTo(z2, tol) && o1.isEqualTo(o2, tol);
}

VelGeomMatrix3d& VelGeomMatrix3d::setToTranslation(const VelGeomVector3d& v)
{
    *this = kPlainIdentity;
    return setTranslation(v);
}

VelGeomMatrix3d VelGeomMatrix3d::translation(const VelGeomVector3d& v)
{
    VelGeomMatrix3d r;
    return r.setToTranslation(v);
}

VelGeomMatrix3d& VelGeomMatrix3d::setToScaling(double s, const VelGeomPoint3d& center)
{
    return setToScaling(s, s, s, center);
}

VelGeomMatrix3d VelGeomMatrix3d::scale(const VelGeomPoint3d& center, double s)
{
    VelGeomMatrix3d r;
    return r.setToScaling(s, center);
}

VelGeomMatrix3d& VelGeomMatrix3d::setToScaling(double f1, double f2, double f3, const VelGeomPoint3d& center)
{
    *this = kPlainIdentity;
    entry[0][0] = f1;
    entry[1][1] = f2;
    entry[2][2] = f3;
    entry[0][3] = (1.0 - f1) * center.x;
    entry[1][3] = (1.0 - f2) * center.y;
    entry[2][3] = (1.0 - f3) * center.z;
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::scale(const VelGeomPoint3d& center, double f1, double f2, double f3)
{
    VelGeomMatrix3d r;
    return r.setToScaling(f1, f2, f3, center);
}

VelGeomMatrix3d VelGeomMatrix3d::rotationX(double c, double s)
{
    VelGeomMatrix3d r;
    r.entry[1][1] = c;
    r.entry[1][2] = -s;
    r.entry[2][1] = s;
    r.entry[2][2] = c;
    return r;
}

VelGeomMatrix3d VelGeomMatrix3d::rotationY(double c, double s)
{
    VelGeomMatrix3d r;
    r.entry[0][0] = c;
    r.entry[0][2] = s;
    r.entry[2][0] = -s;
    r.entry[2][2] = c;
    return r;
}

VelGeomMatrix3d VelGeomMatrix3d::rotationZ(double c, double s)
{
    VelGeomMatrix3d r;
    r.entry[0][0] = c;
    r.entry[0][1] = -s;
    r.entry[1][0] = s;
    r.entry[1][1] = c;
    return r;
}

VelGeomMatrix3d VelGeomMatrix3d::rotationX(double a) { return rotationX(std::cos(a), std::sin(a)); }

VelGeomMatrix3d VelGeomMatrix3d::rotationY(double a) { return rotationY(std::cos(a), std::sin(a)); }

VelGeomMatrix3d VelGeomMatrix3d::rotationZ(double a) { return rotationZ(std::cos(a), std::sin(a)); }

VelGeomMatrix3d VelGeomMatrix3d::rotation(double a, const VelGeomVector3d& axis)
{
    VelGeomVector3d n(axis);
    n.normalize();
    const VelGeomTol& tol = VelGeomTol::gTol;
    // Axis-aligned axes take the exact elementary rotations.
    if (n.isCodirectionalTo(VelGeomVector3d::kXAxis, tol))
        return rotationX(a);
    if (n.isCodirectionalTo(-VelGeomVector3d::kXAxis, tol))
        return rotationX(-a);
    if (n.isCodirectionalTo(VelGeomVector3d::kYAxis, tol))
        return rotationY(a);
    if (n.isCodirectionalTo(-VelGeomVector3d::kYAxis, tol))
        return rotationY(-a);
    if (n.isCodirectionalTo(VelGeomVector3d::kZAxis, tol))
        return rotationZ(a);
    if (n.isCodirectionalTo(-VelGeomVector3d::kZAxis, tol))
        return rotationZ(-a);
    const double c = std::sqrt(n.y * n.y + n.z * n.z);
    // Only a zero (or non-numeric) axis gets here with c == 0: no rotation.
    if (!(c > 0.0))
        return kPlainIdentity;
    // R1 turns the axis into the XZ plane, R2 onto +Z.
    const VelGeomMatrix3d r1 = rotationX(n.z / c, n.y / c);
    const VelGeomMatrix3d r2 = rotationY(c, -n.x);
    const VelGeomMatrix3d r1Inv = rotationX(n.z / c, -n.y / c);
    const VelGeomMatrix3d r2Inv = rotationY(c, n.x);
    return r1Inv * r2Inv * rotationZ(a) * r2 * r1;
}

VelGeomMatrix3d& VelGeomMatrix3d::setToRotation(double a, const VelGeomVector3d& axis, const VelGeomPoint3d& center)
{
    *this = translation(center.asVector()) * rotation(a, axis) * translation(-center.asVector());
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::rotation(double a, const VelGeomVector3d& axis, const VelGeomPoint3d& center)
{
    VelGeomMatrix3d r;
    return r.setToRotation(a, axis, center);
}

VelGeomMatrix3d& VelGeomMatrix3d::setToMirroring(const VelGeomPlane& plane)
{
    const double n[3] = {plane.A(), plane.B(), plane.C()};
    const double d = plane.D();
    *this = kPlainIdentity;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            entry[i][j] -= 2.0 * n[i] * n[j];
        entry[i][3] = -2.0 * d * n[i];
    }
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::mirroring(const VelGeomPlane& plane)
{
    VelGeomMatrix3d r;
    return r.setToMirroring(plane);
}

VelGeomMatrix3d& VelGeomMatrix3d::setToMirroring(const VelGeomLine3d& line)
{
    const VelGeomPoint3d p = line.pointOnLine();
    const VelGeomVector3d d = line.direction();
    const VelGeomVector3d a = d.perpVector();
    const VelGeomVector3d b = d.crossProduct(a);
    *this = mirroring(VelGeomPlane(p, a)) * mirroring(VelGeomPlane(p, b));
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::mirroring(const VelGeomLine3d& line)
{
    VelGeomMatrix3d r;
    return r.setToMirroring(line);
}

VelGeomMatrix3d& VelGeomMatrix3d::setToMirroring(const VelGeomPoint3d& p)
{
    *this = mirroring(VelGeomPlane(p, VelGeomVector3d::kZAxis)) *
            mirroring(VelGeomLine3d(p, VelGeomVector3d::kZAxis));
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::mirroring(const VelGeomPoint3d& p)
{
    VelGeomMatrix3d r;
    return r.setToMirroring(p);
}

VelGeomMatrix3d VelGeomMatrix3d::projection(const VelGeomPlane& plane, const VelGeomVector3d& dir)
{
    const double n[3] = {plane.A(), plane.B(), plane.C()};
    const double v[3] = {dir.x, dir.y, dir.z};
    const double k = n[0] * v[0] + n[1] * v[1] + n[2] * v[2];
    VelGeomMatrix3d r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r.entry[i][j] -= v[i] * n[j] / k;
        r.entry[i][3] = -plane.D() * v[i] / k;
    }
    return r;
}

VelGeomMatrix3d VelGeomMatrix3d::alignCoordSys(const VelGeomMatrix3d& m1, const VelGeomMatrix3d& m2)
{
    return m2 * m1.inverse();
}

VelGeomMatrix3d& VelGeomMatrix3d::setToAlignCoordSys(const VelGeomPoint3d& o1, const VelGeomVector3d& x1,
                                                     const VelGeomVector3d& y1, const VelGeomVector3d& z1,
                                                     const VelGeomPoint3d& o2, const VelGeomVector3d& x2,
                                                     const VelGeomVector3d& y2, const VelGeomVector3d& z2)
{
    VelGeomMatrix3d from, to;
    from.setCoordSystem(o1, x1, y1, z1);
    to.setCoordSystem(o2, x2, y2, z2);
    *this = alignCoordSys(from, to);
    return *this;
}

VelGeomMatrix3d VelGeomMatrix3d::alignCoordSys(const VelGeomPoint3d& o1, const VelGeomVector3d& x1,
                                               const VelGeomVector3d& y1, const VelGeomVector3d& z1,
                                               const VelGeomPoint3d& o2, const VelGeomVector3d& x2,
                                               const VelGeomVector3d& y2, const VelGeomVector3d& z2)
{
    VelGeomMatrix3d r;
    return r.setToAlignCoordSys(o1, x1, y1, z1, o2, x2, y2, z2);
}
