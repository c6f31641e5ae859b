#pragma once
// A homogeneous 4x4 transformation, row-major, applied to column vectors:
// p' = M * (x, y, z, 1). Affine in the usual case; a last row other than
// (0, 0, 0, 1) makes it projective and points are divided by w.

#include "facet/host/modeler/Point3d.h"

namespace AModeler {

class Transf3d
{
public:
    Transf3d();  // identity
    explicit Transf3d(const double rowMajor[4][4]);
    static Transf3d fromRowMajor(const double* sixteen);

    static Transf3d translation(const Vector3d& v);
    // Counterclockwise about the axis through `point` along `axis`.
    static Transf3d rotation(double angle, const Vector3d& axis, const Point3d& point = Point3d::kNull);
    static Transf3d scaling(double factor, const Point3d& fixedPoint = Point3d::kNull);
    // Reflection in the plane through `point` with normal `normal`.
    static Transf3d mirroring(const Point3d& point, const Vector3d& normal);

    double operator()(int row, int col) const { return m_m[row][col]; }
    double& operator()(int row, int col) { return m_m[row][col]; }
    void toRowMajor(double sixteen[16]) const;

    // (a * b) applies b first, then a.
    Transf3d operator*(const Transf3d& b) const;
    Transf3d& operator*=(const Transf3d& b) { return *this = *this * b; }

    Point3d apply(const Point3d& p) const;
    Vector3d apply(const Vector3d& v) const;  // the linear part only

    bool isFinite() const;
    bool isAffine() const;
    // Determinant of the linear part (its sign tells a mirror).
    double determinant3() const;
    // True when the linear part is a rotation (possibly mirrored) times a
    // uniform scale; `scale` receives that scale.
    bool isSimilarity(double& scale, double relEps = 1e-9) const;
    // False (and this left unchanged) when the transformation is singular.
    bool invert();

private:
    double m_m[4][4];
};

} // namespace AModeler
