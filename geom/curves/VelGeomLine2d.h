#pragma once
// The infinite straight line of the plane, and the base of the ray and the
// segment: a reference point, a direction (unit at construction; transformBy
// does not renormalise it) and the length of the vector the line was built
// from. The parameter runs as point + t * length * unit direction.
//
// Every intersection of a straight curve sets the equalPoint of
// VelGeomTol::precTol to that of gTol first and raises it by the rounding
// residual of the computation: not for concurrent use.
//
// A circular arc is cut with the carrier's quadratic (a discriminant within
// 1e-6 of 0 counts as a tangent; the residual of the first root,
// |a s^2 + b s + c| unscaled, raises the precision floor); arcs answer the
// closest-point search themselves. Composite curves are handed their own intersection and
// closest-point searches.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/curves/VelGeomCurve2d.h"

class VelGeomCircArc2d;

class VelGeomLine2d : public VelGeomCurve2d
{
public:
    // Through the origin along (1, 0), length 1.
    VelGeomLine2d();
    // Through p1 towards p2; length |p2 - p1|.
    VelGeomLine2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2);
    // Through point along v (normalised with gTol); length |v|.
    VelGeomLine2d(const VelGeomPoint2d& point, const VelGeomVector2d& v);
    VelGeomLine2d(const VelGeomLine2d&) = default;
    VelGeomLine2d& operator=(const VelGeomLine2d&) = default;

    VelGeomLine2d& set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2);
    VelGeomLine2d& set(const VelGeomPoint2d& point, const VelGeomVector2d& v);

    // The stored direction, as it is.
    VelGeomVector2d direction() const { return m_direction; }
    VelGeomPoint2d pointOnLine() const { return m_point; }
    bool isParallelTo(const VelGeomLine2d& line, const VelGeomTol& tol = VelGeomTol::gTol) const;
    // Parallel, and the other's point lies on this line.
    bool isColinearTo(const VelGeomLine2d& line, const VelGeomTol& tol = VelGeomTol::gTol) const;

    VelGeomCurve2d* copy() const override;
    entityType getType() const override { return kLine; }
    bool isKindOf(entityType type) const override { return type == kLine; }
    bool hasStartPoint(VelGeomPoint2d&) const override { return false; }
    bool hasEndPoint(VelGeomPoint2d&) const override { return false; }
    bool hasStartParam(double&) const override { return false; }
    bool hasEndParam(double&) const override { return false; }
    bool isOn(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // Intersection point when there is one; otherwise the nearest pair of
    // end-point candidates of two straight curves, or the other curve's own
    // answer.
    VelGeomPoint2d getClosestPointTo(const VelGeomCurve2d& other, VelGeomPoint2d& onOther,
                                     const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint2d getClosestPointTo(const VelGeomPoint2d& p) const override;
    double paramOf(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint2d evalPoint(double t) const override;
    VelGeomCurve2d& transformBy(const VelGeomMatrix2d& m) override;
    // A copy moved by distance to the left of the direction.
    void getOffset(double distance, VelArray<VelGeomCurve2d*>& pieces, OffsetExtType ext,
                   const VelGeomTol& tol = VelGeomTol::gTol) const override;
    bool intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                       const VelGeomTol& tol = VelGeomTol::gTol) const override;

    static const VelGeomLine2d kXAxis;
    static const VelGeomLine2d kYAxis;

protected:
    VelGeomVector2d unitDirection() const { return m_direction.normal(VelGeomTol::gTol); }
    VelGeomPoint2d footOf(const VelGeomPoint2d& p) const;
    // Moves a straight curve by v (a segment with both ends).
    static void moveBy(VelGeomLine2d& curve, const VelGeomVector2d& v);
    static const VelGeomLine2d* asStraight(const VelGeomCurve2d& curve);
    // Appends the carrier's points on the arc.
    void intersectArc(const VelGeomCircArc2d& arc, VelArray<VelGeomPoint2d>& points, const VelGeomTol& tol) const;

    struct ConstTag {};
    // For the named lines: stored as given, usable in constant initialisation.
    constexpr VelGeomLine2d(const VelGeomPoint2d& point, double dx, double dy, double length, ConstTag)
        : VelGeomCurve2d(), m_point(point), m_direction(dx, dy), m_length(length)
    {
    }

    VelGeomPoint2d m_point;
    VelGeomVector2d m_direction;
    double m_length;
};
