#pragma once
// The circular arc (or full circle) of the plane. The sweep is stored as a
// unit start vector, an included angle and an explicit turning sense
// (counter-clockwise unless the clockwise flag is set); start and end points
// are derived, never stored. Parameters run from 0 at the start to 1 at the
// end.
//
// The included angle is never normalised; the constructors that compute it
// deliver values in [0, 2*pi]. An arc that cannot be built (coincident or
// collinear defining points, a zero bulge) is kDegenerate with radius 0 and
// included angle 0; callers test getArcType().
//
// Choices of this class:
//   - isOn and paramOf measure the directed angle from the start vector in
//     the arc's sense (sweepAngleTo). It is computed from the cross and dot
//     products (an arc-cosine loses about 1e-8 rad next to the start
//     direction), in [0, 2*pi); an angle whose arc length differs from a
//     full turn by less than the tolerance is taken as 0, so the start point
//     (and points within the tolerance before it) lie on every arc and have
//     the parameter 0, also on a full circle.
//   - The three-point form decides the sense by the direction of the middle
//     point seen from the centre.
//   - The angle form measures both angles counter-clockwise from the
//     reference vector whatever the sense, so the arc runs from the start
//     angle to the end angle in either sense.
//   - Degenerate constructions sit at their first point (centre p1, radius
//     0, start vector kXAxis, counter-clockwise); non-finite input and
//     coincident end points of the bulge and height forms are degenerate too.
//   - A transformation with a negative determinant (any reflection, scaled
//     or not) reverses the sense.
//   - The bulge form ignores the sign of the bulge: the arc always turns
//     counter-clockwise from p1 to p2. The height form builds the apex on the
//     right of p1 -> p2, so the arc turns counter-clockwise as well.
//   - The three-point construction intersects the two bisectors with a point
//     tolerance of 1e-6 and the default vector tolerance.
//   - Arc-arc and line-arc intersections use fixed squared thresholds of
//     1e-16 for "same centre", "same radius" and "tangent"; the tolerance
//     passed in decides which points lie on the arcs.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector2d.h"
#include "geom/curves/VelGeomCurve2d.h"

class VelGeomMatrix2d;

class VelGeomCircArc2d : public VelGeomCurve2d
{
public:
    enum arcType {
        kFullCircle = 0,  // included angle 2*pi
        kArc = 1,         // proper arc
        kDegenerate = 2   // could not be built; radius and included angle 0
    };

    // The unit circle about the origin from the X axis, counter-clockwise.
    VelGeomCircArc2d();
    // Full circle, counter-clockwise from startVector (normalised).
    VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomVector2d& startVector);
    // From startPoint (its direction from the centre) over includedAngle;
    // kFullCircle when the angle is 2*pi (squared difference below 1e-16).
    VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomPoint2d& startPoint,
                     double includedAngle, bool clockwise);
    VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomVector2d& startVector,
                     double includedAngle, bool clockwise);
    // From the direction of startPoint to the direction of endPoint in the
    // given sense; always kArc. The radius is taken as given.
    VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomPoint2d& startPoint,
                     const VelGeomPoint2d& endPoint, bool clockwise);
    VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, const VelGeomVector2d& startVector,
                     const VelGeomVector2d& endVector, bool clockwise);
    // Angles measured counter-clockwise from refVector; the arc runs from the
    // start angle to the end angle in the given sense. Equal angles give an
    // included angle of 0 (kArc), not a full circle.
    VelGeomCircArc2d(const VelGeomPoint2d& center, double radius, double startAngle, double endAngle,
                     const VelGeomVector2d& refVector, bool clockwise);
    // From p1 through p2 to p3, in the sense that passes p2.
    VelGeomCircArc2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, const VelGeomPoint2d& p3);
    // From p1 to p2 by a bulge (tan of a quarter of the included angle) or,
    // with isHeight, by the height of the arc above the chord's midpoint.
    VelGeomCircArc2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, double value, bool isHeight);
    VelGeomCircArc2d(const VelGeomCircArc2d&) = default;
    VelGeomCircArc2d& operator=(const VelGeomCircArc2d&) = default;

    VelGeomCircArc2d& set(const VelGeomPoint2d& center, double radius, const VelGeomVector2d& startVector);
    VelGeomCircArc2d& set(const VelGeomPoint2d& center, double radius, double startAngle, double endAngle,
                          const VelGeomVector2d& refVector, bool clockwise);
    VelGeomCircArc2d& set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, const VelGeomPoint2d& p3);
    VelGeomCircArc2d& set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2, double value, bool isHeight);

    VelGeomPoint2d getCenter() const { return m_center; }
    double getRadius() const { return m_radius; }
    VelGeomVector2d getStartVector() const { return m_startVector; }
    double getIncludedAngle() const { return m_includedAngle; }
    bool isClockWise() const { return m_clockwise; }
    arcType getArcType() const { return m_arcType; }
    // The start vector turned by the included angle in the arc's sense.
    VelGeomVector2d getEndVector() const;
    VelGeomPoint2d getStartPoint() const;
    VelGeomPoint2d getEndPoint() const;
    // The point half way along the arc.
    VelGeomPoint2d getMidPoint() const;
    // The unit direction of travel at p (perpendicular to p - centre).
    VelGeomVector2d tangentVector(const VelGeomPoint2d& p) const;
    // The directed angle from the start vector to p - centre in the arc's
    // sense, in [0, 2*pi); a full turn within tol (along the arc) is 0.
    double sweepAngleTo(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const;

    /*  0 */ VelGeomCurve2d* copy() const override;
    /*  1 */ entityType getType() const override { return kCircArc; }
    /*  2 */ bool isKindOf(entityType type) const override { return type == kCircArc; }
    /*  3 */ bool hasStartPoint(VelGeomPoint2d& p) const override;
    /*  4 */ bool hasEndPoint(VelGeomPoint2d& p) const override;
    /*  5 */ bool hasStartParam(double& t) const override;
    /*  6 */ bool hasEndParam(double& t) const override;
    // included angle * radius.
    /*  7 */ double getLength() const override;
    // On the circle (tolerance on the radius) and within the sweep
    // (tolerance along the arc).
    /*  8 */ bool isOn(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // An intersection point when there is one; otherwise the closest pair
    // through the centres, or the best pair of end-point candidates.
    /* 11 */ VelGeomPoint2d getClosestPointTo(const VelGeomCurve2d& other, VelGeomPoint2d& onOther,
                                              const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The radial projection when it lies on the arc, else the nearer end
    // (the start on a tie).
    /* 12 */ VelGeomPoint2d getClosestPointTo(const VelGeomPoint2d& p) const override;
    /* 13 */ double paramOf(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /* 14 */ VelGeomPoint2d evalPoint(double t) const override;
    // A mirror flips the sense; the included angle is kept.
    /* 16 */ VelGeomCurve2d& transformBy(const VelGeomMatrix2d& m) override;
    // One arc of the offset radius (positive distance to the right of the
    // direction of travel), or nothing when it collapses.
    /* 17 */ void getOffset(double distance, VelArray<VelGeomCurve2d*>& pieces, OffsetExtType ext,
                            const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /* 18 */ bool intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                                const VelGeomTol& tol = VelGeomTol::gTol) const override;

private:
    bool intersectArc(const VelGeomCircArc2d& other, VelArray<VelGeomPoint2d>& points, const VelGeomTol& tol) const;
    static arcType typeOf(double includedAngle);

    VelGeomPoint2d m_center;
    double m_radius;
    VelGeomVector2d m_startVector;
    double m_includedAngle;
    bool m_clockwise;
    arcType m_arcType;
};
