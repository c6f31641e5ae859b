#pragma once
// A homogeneous 3 x 3 transformation of the plane.
//
// Conventions shared by every user of the library:
//   - row-major storage: m(i, j) is entry[i][j];
//   - points and vectors are column vectors multiplied from the right,
//     p' = M * p; the translation is the last column (m(0,2), m(1,2));
//   - a coordinate system is stored by columns: x axis, y axis, origin;
//   - A * B applied to a point applies B first, then A.
//
// invert() leaves a matrix with |det| < 1e-8 unchanged and says nothing;
// callers that must know test det() or isSingular() first.

#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector2d.h"

class VelGeomLine2d;

class VelGeomMatrix2d
{
public:
    constexpr VelGeomMatrix2d() : entry{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}} {}

    // Unchecked element access.
    double operator()(int i, int j) const { return entry[i][j]; }
    double& operator()(int i, int j) { return entry[i][j]; }

    VelGeomMatrix2d& operator*=(const VelGeomMatrix2d& m) { return postMultBy(m); }
    VelGeomMatrix2d& postMultBy(const VelGeomMatrix2d& m);  // this = this * m
    VelGeomMatrix2d& preMultBy(const VelGeomMatrix2d& m);   // this = m * this
    VelGeomMatrix2d operator*(const VelGeomMatrix2d& m) const;
    VelGeomMatrix2d& setToProduct(const VelGeomMatrix2d& a, const VelGeomMatrix2d& b);

    double det() const;
    VelGeomMatrix2d& invert();
    VelGeomMatrix2d inverse() const;
    VelGeomMatrix2d& transposeIt();
    VelGeomMatrix2d transpose() const;
    VelGeomMatrix2d& setToIdentity();

    // Columns x, y, origin; last row (0, 0, 1). The axes are stored as given.
    VelGeomMatrix2d& setCoordSystem(const VelGeomPoint2d& origin, const VelGeomVector2d& x, const VelGeomVector2d& y);
    void getCoordSystem(VelGeomPoint2d& origin, VelGeomVector2d& x, VelGeomVector2d& y) const;

    VelGeomVector2d getTranslation() const { return VelGeomVector2d(entry[0][2], entry[1][2]); }
    // Touches the translation column only.
    VelGeomMatrix2d& setTranslation(const VelGeomVector2d& v);

    // Length of the longest axis column.
    double getScale() const;
    bool isSingular(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isScaledOrtho(const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isUniScaledOrtho(const VelGeomTol& tol = VelGeomTol::gTol) const;
    // (det + 1)^2 < 1e-8: only a reflection of unit scale counts.
    bool isMirror() const;
    // Axis columns as vectors, origins as points; the last row is not compared.
    bool isEqualTo(const VelGeomMatrix2d& m, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool operator==(const VelGeomMatrix2d& m) const { return isEqualTo(m, VelGeomTol::gTol); }
    bool operator!=(const VelGeomMatrix2d& m) const { return !isEqualTo(m, VelGeomTol::gTol); }

    // Factories: setTo... overwrites the whole matrix; the static form
    // returns a new one.
    VelGeomMatrix2d& setToTranslation(const VelGeomVector2d& v);
    static VelGeomMatrix2d translation(const VelGeomVector2d& v);

    VelGeomMatrix2d& setToScaling(double s, const VelGeomPoint2d& center = VelGeomPoint2d::kOrigin);
    static VelGeomMatrix2d scaling(double s, const VelGeomPoint2d& center = VelGeomPoint2d::kOrigin);

    // Counter-clockwise for a > 0.
    VelGeomMatrix2d& setToRotation(double a, const VelGeomPoint2d& center = VelGeomPoint2d::kOrigin);
    static VelGeomMatrix2d rotation(double a, const VelGeomPoint2d& center = VelGeomPoint2d::kOrigin);

    // Reflection in a line (its point and its unit direction).
    VelGeomMatrix2d& setToMirroring(const VelGeomLine2d& line);
    static VelGeomMatrix2d mirroring(const VelGeomLine2d& line);
    // Point reflection through p.
    VelGeomMatrix2d& setToMirroring(const VelGeomPoint2d& p);
    static VelGeomMatrix2d mirroring(const VelGeomPoint2d& p);

    // CS(o2, x2, y2) * CS(o1, x1, y1)^-1: maps the first system onto the second.
    VelGeomMatrix2d& setToAlignCoordSys(const VelGeomPoint2d& o1, const VelGeomVector2d& x1, const VelGeomVector2d& y1,
                                        const VelGeomPoint2d& o2, const VelGeomVector2d& x2, const VelGeomVector2d& y2);
    static VelGeomMatrix2d alignCoordSys(const VelGeomPoint2d& o1, const VelGeomVector2d& x1,
                                         const VelGeomVector2d& y1, const VelGeomPoint2d& o2,
                                         const VelGeomVector2d& x2, const VelGeomVector2d& y2);

    static const VelGeomMatrix2d kIdentity;

    double entry[3][3];
};
