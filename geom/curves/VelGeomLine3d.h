#pragma once
// The infinite straight line of space, and the base of the ray and the
// segment. The line is its own direction vector: the VelGeomVector3d part
// holds the direction (unit at construction; transformBy does not
// renormalise it), followed by the reference point and the length of the
// vector the line was built from. The parameter runs as
// point + t * length * direction(), so for a line built from p1 and p2,
// t = 0 is p1 and t = 1 is p2.
//
// Every intersection of a straight curve sets the equalPoint of
// VelGeomTol::precTol to that of gTol first and raises it by the rounding
// residual of the computation: not for concurrent use.
//
// A circular arc in the line's plane is cut with the carrier's quadratic (a
// discriminant within 1e-6 of 0 counts as a tangent), each root pulled back
// onto the circle by at most 10 projection steps; a line through the arc's
// plane can meet it in the crossing point only. The residual of the first
// root (|a s^2 + b s + c|, unscaled) raises the precision floor. Arcs answer
// the closest-point search themselves. Composite curves are handed their own
// intersection and closest-point searches.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"
#include "geom/curves/VelGeomCurve3d.h"

class VelGeomCircArc3d;

class VelGeomLine3d : public VelGeomCurve3d, public VelGeomVector3d
{
public:
    // Direction (1, 0, 0) through the origin, length 1.
    VelGeomLine3d();
    // Through point along v (normalised with gTol); length |v|.
    VelGeomLine3d(const VelGeomPoint3d& point, const VelGeomVector3d& v);
    // Through p1 towards p2; length |p2 - p1|.
    VelGeomLine3d(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);
    VelGeomLine3d(const VelGeomLine3d&) = default;
    VelGeomLine3d& operator=(const VelGeomLine3d&) = default;

    VelGeomLine3d& set(const VelGeomPoint3d& point, const VelGeomVector3d& v);
    VelGeomLine3d& set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);

    // The stored direction normalised with gTol.
    VelGeomVector3d direction() const;
    VelGeomPoint3d pointOnLine() const { return m_point; }
    // The other's point lies on this line and the directions are parallel.
    bool isColinearTo(const VelGeomLine3d& line, const VelGeomTol& tol = VelGeomTol::gTol) const;
    // The plane through p with the direction as normal.
    void getPerpPlane(const VelGeomPoint3d& p, VelGeomPlane& plane) const;

    using VelGeomCurve3d::intersectWith;

    VelGeomCurve3d* copy() const override;
    VelGeomCurve3d* getInfiniteCurve() const override;
    double paramOf(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint3d evalPoint(double t) const override;
    entityType getType() const override { return kLine; }
    bool isKindOf(entityType type) const override { return type == kLine; }
    bool intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                       const VelGeomTol& tol = VelGeomTol::gTol) const override;
    bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomCurve3d& transformBy(const VelGeomMatrix3d& m) override;
    // Intersection point when there is one; otherwise the closest pair of
    // two straight curves (clamped to their bounds), or the other curve's
    // own answer.
    VelGeomPoint3d getClosestPointTo(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                     const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const override;
    VelGeomPoint3d projClosestPointTo(const VelGeomPoint3d& p, const VelGeomVector3d& dir,
                                      const VelGeomTol& tol = VelGeomTol::gTol) const override;
    bool hasEndPoint(VelGeomPoint3d&) const override { return false; }
    bool hasStartPoint(VelGeomPoint3d&) const override { return false; }
    bool hasEndParam(double&) const override { return false; }
    bool hasStartParam(double&) const override { return false; }
    // A copy moved by distance to the left of the direction seen from the
    // tip of normal.
    void getOffset(double distance, const VelGeomVector3d& normal, VelArray<VelGeomCurve3d*>& pieces,
                   OffsetExtType ext, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // A copy moved by the part of offset perpendicular to the direction.
    int get3dOffset(VelGeomVector3d offset, VelGeomCurve3d*& result,
                    const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The stored direction.
    VelGeomVector3d tangentVector(const VelGeomPoint3d& p) const override;
    // The foot of the perpendicular, when force is non-zero or it lies on
    // the curve.
    VelArray<VelGeomPoint3d> getPerpIntersections(const VelGeomPoint3d& p, int force) const override;

    static const VelGeomLine3d kXAxis;
    static const VelGeomLine3d kYAxis;
    static const VelGeomLine3d kZAxis;

protected:
    const VelGeomVector3d& storedDirection() const { return *this; }
    VelGeomVector3d& storedDirection() { return *this; }
    // The foot of the perpendicular from p on the infinite carrier.
    VelGeomPoint3d footOf(const VelGeomPoint3d& p) const;
    // The carrier line's intersection with any curve (the segment and the
    // ray filter its points).
    bool intersectCarrierWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                              const VelGeomTol& tol) const;
    // Moves a straight curve by v (a segment with both ends).
    static void moveBy(VelGeomLine3d& curve, const VelGeomVector3d& v);
    // Straight curves of all three kinds, or null.
    static const VelGeomLine3d* asStraight(const VelGeomCurve3d& curve);
    // Appends the carrier's points on the arc.
    void intersectArc(const VelGeomCircArc3d& arc, VelArray<VelGeomPoint3d>& points, const VelGeomTol& tol) const;

    struct ConstTag {};
    // For the named lines: stored as given, usable in constant initialisation.
    constexpr VelGeomLine3d(double dx, double dy, double dz, const VelGeomPoint3d& point, double length, ConstTag)
        : VelGeomCurve3d(), VelGeomVector3d(dx, dy, dz), m_point(point), m_length(length)
    {
    }

    VelGeomPoint3d m_point;
    double m_length;

private:
    // Solves point + u * d1 = other.point + t * d2 with d1, d2 the stored
    // directions; false for parallel or skew lines.
    bool intersectWith(const VelGeomLine3d& other, VelGeomPoint3d& p, const VelGeomTol& tol) const;
};
