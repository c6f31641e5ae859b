#pragma once
// The infinite plane: the equation A x + B y + C z + D = 0 for tests and
// intersections, and an origin with two in-plane axes u, v that give the
// plane a 2D coordinate system. (A, B, C) is the unit normal whenever the
// plane was built from a normal, points or vectors; a plane built from
// parallel vectors or colinear points is degenerate, with all four
// coefficients 0 (its equation holds everywhere).
//
// intersectWith(curve, points) of a composite curve gathers the points of
// its members and of its active extensions, each point once.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomCircArc3d;
class VelGeomCurve3d;
class VelGeomLine3d;
class VelGeomMatrix3d;

class VelGeomPlane
{
public:
    // The XY plane.
    constexpr VelGeomPlane()
        : m_a(0.0), m_b(0.0), m_c(1.0), m_d(0.0), m_origin(0.0, 0.0, 0.0), m_u(1.0, 0.0, 0.0), m_v(0.0, 1.0, 0.0)
    {
    }
    // Through point with the normal normalised; u = normal.perpVector(),
    // v = normal x u.
    VelGeomPlane(const VelGeomPoint3d& point, const VelGeomVector3d& normal);
    // Through point spanned by e1, e2 (stored as the axes, as given); the
    // normal is unit(e1 x e2). Parallel e1, e2 give a degenerate plane.
    VelGeomPlane(const VelGeomPoint3d& point, const VelGeomVector3d& e1, const VelGeomVector3d& e2);
    // Through p2 spanned by p1 - p2 and p3 - p2: the normal is
    // (p1 - p2) x (p3 - p2), so the order of the points fixes its sign.
    VelGeomPlane(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomPoint3d& p3);
    // From the coefficients: the normal is normalised, D rescaled, and the
    // origin is the plane's point closest to (0, 0, 0).
    VelGeomPlane(const double& a, const double& b, const double& c, const double& d);

    VelGeomPlane& set(const VelGeomPoint3d& point, const VelGeomVector3d& normal);
    VelGeomPlane& set(const VelGeomPoint3d& point, const VelGeomVector3d& e1, const VelGeomVector3d& e2);
    VelGeomPlane& set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomPoint3d& p3);
    VelGeomPlane& set(const double& a, const double& b, const double& c, const double& d);

    double A() const { return m_a; }
    double B() const { return m_b; }
    double C() const { return m_c; }
    double D() const { return m_d; }
    double& A() { return m_a; }
    double& B() { return m_b; }
    double& C() { return m_c; }
    double& D() { return m_d; }
    // (A, B, C) as stored.
    VelGeomVector3d normal() const { return VelGeomVector3d(m_a, m_b, m_c); }
    VelGeomPoint3d pointOnPlane() const { return m_origin; }
    void get(VelGeomPoint3d& origin, VelGeomVector3d& u, VelGeomVector3d& v) const;
    // origin + u, origin, origin + v: three points that rebuild the plane.
    void get(VelGeomPoint3d& p1, VelGeomPoint3d& p2, VelGeomPoint3d& p3) const;
    // z = normal(), x = u normalised, y = z x x.
    void getCS(VelGeomPoint3d& origin, VelGeomVector3d& x, VelGeomVector3d& y, VelGeomVector3d& z) const;

    // Never negative.
    double distanceTo(const VelGeomPoint3d& p) const;
    VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const;
    // The equation value equals 0 under tol's point tolerance.
    bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const;
    // The line's point and its point + 100 * direction both lie on the plane.
    bool isOn(const VelGeomLine3d& line, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isParallel(const VelGeomPlane& plane, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool isCoplanarTo(const VelGeomPlane& plane, const VelGeomTol& tol = VelGeomTol::gTol) const;
    bool operator==(const VelGeomPlane& plane) const;
    bool operator!=(const VelGeomPlane& plane) const { return !(*this == plane); }

    // Moves the plane by v.
    VelGeomPlane& operator+=(const VelGeomVector3d& v);
    VelGeomPlane operator+(const VelGeomVector3d& v) const;
    // The coefficients transform with the inverse; origin and axes with m.
    // The normal is not renormalised.
    VelGeomPlane& transformBy(const VelGeomMatrix3d& m);

    // The point where the line's carrier meets the plane; the line must not
    // be parallel to the plane (not checked).
    VelGeomPoint3d intersectWith(const VelGeomLine3d& line) const;
    // False for a line parallel to the plane, or a point outside the
    // parameter range of a segment or ray (p is written all the same).
    bool intersectWith(const VelGeomLine3d& curve, VelGeomPoint3d& p) const;
    // The common line; no parallel test.
    VelGeomLine3d intersectWith(const VelGeomPlane& plane) const;
    // False when the normals are parallel under gTol.
    bool intersectWith(const VelGeomPlane& plane, VelGeomLine3d& line) const;
    // This plane cut with the line first x second.
    VelGeomPoint3d intersectWith(const VelGeomPlane& first, const VelGeomPlane& second) const;
    // False when this normal . (first normal x second normal) is exactly 0.
    bool intersectWith(const VelGeomPlane& first, const VelGeomPlane& second, VelGeomPoint3d& p) const;
    // The points where the common line of this plane and the arc's plane
    // meets the arc, appended to points (which is not emptied). False, and
    // nothing appended, for parallel planes or when the line misses the arc.
    bool intersectWith(const VelGeomCircArc3d& arc, VelArray<VelGeomPoint3d>& points) const;
    // The same into p1 and p2 (each set only when present); count is the
    // number of points.
    bool intersectWith(const VelGeomCircArc3d& arc, int& count, VelGeomPoint3d& p1, VelGeomPoint3d& p2) const;
    // points is emptied first; true when a point was found.
    bool intersectWith(const VelGeomCurve3d& curve, VelArray<VelGeomPoint3d>& points) const;

    static const VelGeomPlane kXYPlane;
    static const VelGeomPlane kYZPlane;
    static const VelGeomPlane kZXPlane;

private:
    constexpr VelGeomPlane(double a, double b, double c, double d, const VelGeomPoint3d& origin,
                           const VelGeomVector3d& u, const VelGeomVector3d& v)
        : m_a(a), m_b(b), m_c(c), m_d(d), m_origin(origin), m_u(u), m_v(v)
    {
    }

    double m_a, m_b, m_c, m_d;
    VelGeomPoint3d m_origin;
    VelGeomVector3d m_u, m_v;
};
