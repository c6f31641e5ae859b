#pragma once
// A homogeneous 4 x 4 transformation of space.
//
// Conventions shared by every user of the library:
//   - row-major storage: m(i, j) is entry[i][j];
//   - points and vectors are column vectors multiplied from the right,
//     p' = M * p; the translation is the last column; the last row of an
//     affine matrix is (0, 0, 0, 1);
//   - a coordinate system is stored by columns: x, y, z axis, origin;
//   - A * B applied to a point applies B first, then A.
//
// invert() leaves a matrix with |det| < 1e-8 unchanged and says nothing;
// callers that must know test det() or isSingular() first.

#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomLine3d;
class VelGeomPlane;

class VelGeomMatrix3d
{
public:
    constexpr VelGeomMatrix3d()
        : entry{{1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}, {0.0, 0.0, 1.0, 0.0}, {0.0, 0.0, 0.0, 1.0}}
    {
    }

    // Unchecked element access.
    double operator()(int i, int j) const { return entry[i][j]; }
    double& operator()(int i, int j) { return entry[i][j]; }
    // Checked access: false, and nothing done, for an index outside 0..3.
    bool GetAt(int i, int j, double& value) const;
    bool SetAt(int i, int j, double value);

    VelGeomMatrix3d& operator*=(const VelGeomMatrix3d& m) { return postMultBy(m); }
    VelGeomMatrix3d& postMultBy(const VelGeomMatrix3d& m);  // this = this * m
    VelGeomMatrix3d& preMultBy(const VelGeomMatrix3d& m);   // this = m * this
    VelGeomMatrix3d operator*(const VelGeomMatrix3d& m) const;

    double det() const;
    VelGeomMatrix3d& invert();
    VelGeomMatrix3d inverse() const;
    VelGeomMatrix3d& transposeIt();
    VelGeomMatrix3d transpose() const;
    VelGeomMatrix3d& setToIdentity();

    // Columns x, y, z, origin; last row (0, 0, 0, 1). The axes are stored as given.
    VelGeomMatrix3d& setCoordSystem(const VelGeomPoint3d& origin, const VelGeomVector3d& x, const VelGeomVector3d& y,
                                    const VelGeomVector3d& z);
    void getCoordSystem(VelGeomPoint3d& origin, VelGeomVector3d& x, VelGeomVector3d& y, VelGeomVector3d& z) const;

    VelGeomVector3d getTranslation() const { return VelGeomVector3d(entry[0][3], entry[1][3], entry[2][3]); }
    // Touches the translation column only.
    VelGeomMatrix3d& setTranslation(const VelGeomVector3d& v);

    // Length of the longest axis column.
    double getScale() const;
    bool isSingular(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isScaledOrtho(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isUniScaledOrtho(const VelGeomTol& tol = VelGeomTol::gTol) const;
    // det < 0 (any scale).
    bool isMirror() const;
    // Axis columns as vectors, origins as points; the last row is not compared.
    bool isEqualTo(const VelGeomMatrix3d& m, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool operator==(const VelGeomMatrix3d& m) const { return isEqualTo(m, VelGeomTol::gTol); }
    bool operator!=(const VelGeomMatrix3d& m) const { return !isEqualTo(m, VelGeomTol::gTol); }

    // Factories: setTo... overwrites the whole matrix; the static form
    // returns a new one.
    VelGeomMatrix3d& setToTranslation(const VelGeomVector3d& v);
    static VelGeomMatrix3d translation(const VelGeomVector3d& v);

    // Uniform scaling about center.
    VelGeomMatrix3d& setToScaling(double s, const VelGeomPoint3d& center = VelGeomPoint3d::kOrigin);
    static VelGeomMatrix3d scale(const VelGeomPoint3d& center, double s);
    // Diagonal (f1, f2, f3) about center.
    VelGeomMatrix3d& setToScaling(double f1, double f2, double f3,
                                  const VelGeomPoint3d& center = VelGeomPoint3d::kOrigin);
    static VelGeomMatrix3d scale(const VelGeomPoint3d& center, double f1, double f2, double f3);

    // Right-handed rotations about the coordinate axes.
    static VelGeomMatrix3d rotationX(double a);
    static VelGeomMatrix3d rotationY(double a);
    static VelGeomMatrix3d rotationZ(double a);
    // Rotation about the axis through the origin, counter-clockwise seen from
    // the axis tip. A zero axis gives the identity.
    static VelGeomMatrix3d rotation(double a, const VelGeomVector3d& axis);
    // T(center) * rotation(a, axis) * T(-center).
    VelGeomMatrix3d& setToRotation(double a, const VelGeomVector3d& axis,
                                   const VelGeomPoint3d& center = VelGeomPoint3d::kOrigin);
    static VelGeomMatrix3d rotation(double a, const VelGeomVector3d& axis, const VelGeomPoint3d& center);

    // Reflection in a plane.
    VelGeomMatrix3d& setToMirroring(const VelGeomPlane& plane);
    static VelGeomMatrix3d mirroring(const VelGeomPlane& plane);
    // The half-turn about a line (two reflections in perpendicular planes
    // through it), so not a mirror in the sense of isMirror().
    VelGeomMatrix3d& setToMirroring(const VelGeomLine3d& line);
    static VelGeomMatrix3d mirroring(const VelGeomLine3d& line);
    // Point reflection through p.
    VelGeomMatrix3d& setToMirroring(const VelGeomPoint3d& p);
    static VelGeomMatrix3d mirroring(const VelGeomPoint3d& p);

    // Parallel projection onto the plane along dir; dir must not lie in the
    // plane (not checked).
    static VelGeomMatrix3d projection(const VelGeomPlane& plane, const VelGeomVector3d& dir);

    // m2 * m1^-1.
    static VelGeomMatrix3d alignCoordSys(const VelGeomMatrix3d& m1, const VelGeomMatrix3d& m2);
    // CS(o2, x2, y2, z2) * CS(o1, x1, y1, z1)^-1: a point with coordinates
    // (a, b, c) in the first system goes to the point with the same
    // coordinates in the second.
    VelGeomMatrix3d& setToAlignCoordSys(const VelGeomPoint3d& o1, const VelGeomVector3d& x1, const VelGeomVector3d& y1,
                                        const VelGeomVector3d& z1, const VelGeomPoint3d& o2, const VelGeomVector3d& x2,
                                        const VelGeomVector3d& y2, const VelGeomVector3d& z2);
    static VelGeomMatrix3d alignCoordSys(const VelGeomPoint3d& o1, const VelGeomVector3d& x1,
                                         const VelGeomVector3d& y1, const VelGeomVector3d& z1,
                                         const VelGeomPoint3d& o2, const VelGeomVector3d& x2,
                                         const VelGeomVector3d& y2, const VelGeomVector3d& z2);

    // Modifiable, as existing callers expect; setToIdentity() copies it.
    static VelGeomMatrix3d kIdentity;

    double entry[4][4];

private:
    // The axis rotations from a cosine and a sine.
    static VelGeomMatrix3d rotationX(double c, double s);
    static VelGeomMatrix3d rotationY(double c, double s);
    static VelGeomMatrix3d rotationZ(double c, double s);
};
