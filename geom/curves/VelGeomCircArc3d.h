#pragma once
// The circular arc (or full circle) of space. The arc always turns
// counter-clockwise about its unit normal, from the unit start vector through
// the included angle; a clockwise arc is one with the reversed normal. Start,
// end and mid point are derived, never stored. Parameters run from 0 at the
// start to 1 at the end.
//
// An arc that cannot be built (coincident or collinear points) is
// kDegenerate with radius 0 and included angle 0, and so is the default arc;
// callers test getArcType().
//
// Choices of this class:
//   - isOn, paramOf and the closest point use the directed angle about the
//     normal (sweepAngleTo), computed from the cross and dot products of the
//     vectors projected into the arc's plane (an arc-cosine loses about
//     1e-8 rad next to the start direction), in [0, 2*pi). An angle whose
//     arc length differs from a full turn by less than the tolerance is
//     taken as 0, so the start point (and points within the tolerance before
//     it) lie on every arc and have the parameter 0, also on a full circle.
//   - Every constructor normalises the normal it is given.
//   - Degenerate three-point arcs sit at p1 with a zero normal; intersections
//     with an arc without a normal (also the default arc) find nothing.
//   - cutAt leaves a kArc behind, also when it cuts a full circle.
//   - The alternating-projection search of the general closest-point case
//     stops after kMaxProjectionSteps steps per seed and keeps the last pair
//     (this arc's latest point and the other curve's point it came from).
//   - The three-point construction intersects its two bisector lines with a
//     point tolerance of 1e-6 and the default vector tolerance.
//   - getTanIntersections of a point inside the circle has no tangent
//     points and returns an empty array (rather than non-numbers); a point on
//     the circle gives that point twice.
//   - getTanIntersections takes the point in the arc's plane (projected along
//     the normal): tangents through a point off the plane do not exist.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"
#include "geom/curves/VelGeomCurve3d.h"

class VelGeomMatrix3d;
class VelGeomPlane;

// A start and an end direction; no behaviour of its own.
class VelGeomArc3d
{
public:
    constexpr VelGeomArc3d() : startVector(), endVector() {}
    constexpr VelGeomArc3d(VelGeomVector3d start, VelGeomVector3d end) : startVector(start), endVector(end) {}
    VelGeomArc3d(const VelGeomArc3d&) = default;
    VelGeomArc3d& operator=(const VelGeomArc3d&) = default;

    VelGeomVector3d startVector;
    VelGeomVector3d endVector;
};

class VelGeomCircArc3d : public VelGeomCurve3d
{
public:
    enum arcType {
        kFullCircle = 0,  // included angle 2*pi
        kArc = 1,         // proper arc
        kDegenerate = 2   // could not be built; radius and included angle 0
    };

    // Degenerate: centre at the origin, radius 0, zero vectors.
    VelGeomCircArc3d();
    // Full circle starting at the normalised perpVector of the normal.
    VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius);
    // Full circle from startVector, normalised but not projected into the
    // circle's plane.
    VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                     const VelGeomVector3d& startVector);
    // From the direction of startPoint over includedAngle; kArc also for 2*pi.
    VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                     const VelGeomPoint3d& startPoint, double includedAngle);
    // From the direction of startPoint to that of endPoint about the normal.
    VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                     const VelGeomPoint3d& startPoint, const VelGeomPoint3d& endPoint);
    VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, double radius,
                     const VelGeomVector3d& startVector, const VelGeomVector3d& endVector);
    // Angles about the normal from refVector; equal angles give a full turn
    // (2*pi, type kArc).
    VelGeomCircArc3d(const VelGeomPoint3d& center, const VelGeomVector3d& normal, const VelGeomVector3d& refVector,
                     double radius, double startAngle, double endAngle);
    // From p1 through p2 to p3; the normal follows from the sense.
    VelGeomCircArc3d(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomPoint3d& p3);
    VelGeomCircArc3d(const VelGeomCircArc3d&) = default;
    VelGeomCircArc3d& operator=(const VelGeomCircArc3d&) = default;

    VelGeomPoint3d getCenter() const { return m_center; }
    double getRadius() const { return m_radius; }
    VelGeomVector3d getNormal() const { return m_normal; }
    VelGeomVector3d getStartVector() const { return m_startVector; }
    double getIncludedAngle() const { return m_includedAngle; }
    arcType getArcType() const { return m_arcType; }
    // The directed angle about the normal from reference to the start vector,
    // in [0, 2*pi).
    double getStartAngle(const VelGeomVector3d& reference) const;
    // Sets the radius and nothing else.
    void changeRadius(double radius) { m_radius = radius; }
    VelGeomPoint3d getStartPoint() const;
    // The start vector turned by the included angle about the normal.
    VelGeomVector3d getEndVector() const;
    VelGeomPoint3d getEndPoint() const;
    VelGeomPoint3d getMidPoint() const;
    // Start and end vector.
    VelGeomArc3d getArc() const;
    // The directed angle about the normal from the start vector to
    // p - centre, in [0, 2*pi); a full turn within tol (along the arc) is 0.
    double sweepAngleTo(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const;

    using VelGeomCurve3d::intersectWith;
    using VelGeomCurve3d::getAugPolyline;

    /*  0 */ VelGeomCurve3d* copy() const override;
    // The full circle (centre, normal, radius).
    /*  1 */ VelGeomCurve3d* getInfiniteCurve() const override;
    /*  2 */ double paramOf(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /*  3 */ VelGeomPoint3d evalPoint(double t) const override;
    /*  4 */ entityType getType() const override { return kCircArc; }
    /*  5 */ bool isKindOf(entityType type) const override { return type == kCircArc; }
    /*  6 */ bool intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // On the circle (tolerance on the distance from the centre) and within
    // the sweep (tolerance along the arc); the plane is not tested beyond
    // what the distance implies.
    /*  8 */ bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // A mirror reverses the normal; the included angle is kept.
    /*  9 */ VelGeomCurve3d& transformBy(const VelGeomMatrix3d& m) override;
    /* 10 */ VelGeomPoint3d getClosestPointTo(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                              const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /* 11 */ VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const override;
    /* 15 */ bool hasEndPoint(VelGeomPoint3d& p) const override;
    /* 16 */ bool hasStartPoint(VelGeomPoint3d& p) const override;
    /* 17 */ bool hasEndParam(double& t) const override;
    /* 18 */ bool hasStartParam(double& t) const override;
    // 0 for a degenerate arc, else included angle * radius.
    /* 19 */ double getLength() const override;
    // Nothing unless normal is parallel to the arc's normal; the radius
    // shrinks by distance for a codirectional normal and grows for an
    // opposite one. Nothing when it would not stay positive.
    /* 20 */ void getOffset(double distance, const VelGeomVector3d& normal, VelArray<VelGeomCurve3d*>& pieces,
                            OffsetExtType ext, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The radius grows by startVector . offset, then the arc moves along the
    // normal by normal . offset.
    /* 21 */ int get3dOffset(VelGeomVector3d offset, VelGeomCurve3d*& result,
                             const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The start point with the arc's info and the end point, cleaned.
    /* 24 */ VelGeomAugPolyline getAugPolyline() const override;
    // The exact box of the arc: its ends and the axis extremes it passes.
    /* 25 */ void getExtents(VelGeomExtents& out) const override;
    // Keeps the start (keepStart non-zero) or the end and moves the other end
    // to the plane; wholeCircle searches the full circle. 0 (unchanged) when
    // the plane misses.
    /* 26 */ int cutAt(VelGeomPlane plane, int keepStart, int wholeCircle,
                       const VelGeomTol& tol = VelGeomTol::gTol) override;
    // normal x (p - centre), not normalised; kIdentity at the centre.
    /* 27 */ VelGeomVector3d tangentVector(const VelGeomPoint3d& p) const override;
    // The nearest point of the circle and its antipode, each when
    // ignoreBounds is non-zero or it lies on the arc.
    /* 28 */ VelArray<VelGeomPoint3d> getPerpIntersections(const VelGeomPoint3d& p, int ignoreBounds) const override;
    // The points whose tangents pass through p, each when ignoreBounds is
    // non-zero or it lies on the arc.
    /* 29 */ VelArray<VelGeomPoint3d> getTanIntersections(const VelGeomPoint3d& p, int ignoreBounds) const override;

    // Step bound of the alternating-projection closest-point search.
    static constexpr int kMaxProjectionSteps = 200;

private:
    bool intersectArc(const VelGeomCircArc3d& other, VelArray<VelGeomPoint3d>& points, const VelGeomTol& tol) const;
    bool intersectCoplanar(const VelGeomCircArc3d& other, VelArray<VelGeomPoint3d>& points,
                           const VelGeomTol& tol) const;
    // The candidate pairs of end points; the strictly nearer pair wins.
    VelGeomPoint3d bestEndPair(const VelGeomCurve3d& other, VelGeomPoint3d& onOther) const;
    VelGeomPoint3d alternatingSearch(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                     const VelGeomTol& tol) const;

    VelGeomPoint3d m_center;
    double m_radius;
    VelGeomVector3d m_startVector;
    VelGeomVector3d m_normal;
    double m_includedAngle;
    arcType m_arcType;
};
