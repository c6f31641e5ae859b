#pragma once
// A circular helix wound around an axis segment: the segment this class
// derives from runs from the start of the helix's axis to its end. The helix
// lies at the radius from the axis, rises by the separation per full turn and
// starts in the direction of the start vector (a unit vector perpendicular to
// the axis); it turns counter-clockwise about the axis direction unless ccw
// is false. Parameters are the fraction of the axis travelled: 0 at the
// start, 1 at the end.
//
// Choices of this class:
//   - getLength is the arc length of the helix, axis length *
//     sqrt(1 + (2 pi radius / separation)^2); with separation 0 the start
//     vector does not turn, so the helix is a straight line of the axis's
//     length.
//   - The segment's own queries (isOn, the closest points, intersections)
//     keep answering for the axis; they do not see the helix's length.
//   - A start vector parallel to the axis has no part perpendicular to it:
//     the constructors then take the axis direction's perpVector, and
//     setStartVector refuses it (false, nothing changed).
//   - A negative separation turns the helix the other way (evalPoint rotates
//     by a negative angle); getNumSpires and getApproxVertices count its
//     turns by the separation's magnitude about the axis it really turns
//     about. A separation of 0 (or not finite) has 0 turns with a last angle
//     of 0, and its approximation is the straight chord from start to end.
//   - When axis length / separation lies a rounding error above a whole
//     number, so that one turn fewer already passes the test of a complete
//     last turn, getNumSpires keeps the whole number.
//   - getApproxVertices keeps every chord within the deviation: a chord over
//     the turning angle phi stands off the helix by radius * (1 - cos(phi /
//     2)) whatever the rise, so phi = 2 acos((radius - deviation) / radius).
//     (Taking sqrt(separation^2 / 4 + radius^2) for the radius there would
//     let steep helices stray by several times the deviation.) The list
//     holds at least one chord; it is empty for a deviation that is not
//     positive or not less than the radius, and when it would need more than
//     kMaxApproxVertices points.
//   - transformBy moves the axis, turns the start vector with it, scales the
//     radius and the separation with the transformation and reverses the
//     turning sense for a mirror.
//   - paramOf of a helix whose axis has length 0 is 0.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"

class VelGeomMatrix3d;

class VelGeomHelix : public VelGeomLineSeg3d
{
public:
    // The default axis segment, radius 10, separation 1, the start vector the
    // perpVector of the axis direction, counter-clockwise.
    VelGeomHelix();
    // Axis from axisPoint to axisPoint + axisVector.
    VelGeomHelix(const VelGeomPoint3d& axisPoint, const VelGeomVector3d& axisVector, double radius, double separation,
                 const VelGeomVector3d& startVector, bool ccw);
    VelGeomHelix(const VelGeomPoint3d& axisStart, const VelGeomPoint3d& axisEnd, double radius, double separation,
                 const VelGeomVector3d& startVector, bool ccw);
    VelGeomHelix(const VelGeomLineSeg3d& axis, double radius, double separation, const VelGeomVector3d& startVector,
                 bool ccw);
    VelGeomHelix(const VelGeomHelix&) = default;
    VelGeomHelix& operator=(const VelGeomHelix&) = default;

    double getRadius() const { return m_radius; }
    void setRadius(double radius) { m_radius = radius; }
    double getSeparation() const { return m_separation; }
    void setSeparation(double separation) { m_separation = separation; }
    VelGeomVector3d getStartVector() const { return m_startVector; }
    // Projected into the plane perpendicular to the axis and normalised;
    // false (unchanged) when nothing of it is perpendicular to the axis.
    bool setStartVector(const VelGeomVector3d& v);
    bool isCCW() const { return m_ccw; }
    void setCCW(bool ccw) { m_ccw = ccw; }

    // The number of started turns n = ceil(axis length / separation) and the
    // angle of the last one: 2 pi when it is complete, else the directed
    // angle about the turning axis from the start vector to the end point's
    // radial direction.
    int getNumSpires(double& lastAngle) const;
    // Points from start to end whose chords stay within deviation of the
    // helix; empty when deviation is not in (0, radius).
    VelArray<VelGeomPoint3d> getApproxVertices(double deviation) const;

    // Upper bound of getApproxVertices.
    static constexpr int kMaxApproxVertices = 10000000;

    VelGeomCurve3d* copy() const override;
    // The fraction of the axis at the point's closest point on the axis.
    double paramOf(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint3d evalPoint(double t) const override;
    bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const override;
    using VelGeomLineSeg3d::getClosestPointTo;
    VelGeomCurve3d& transformBy(const VelGeomMatrix3d& m) override;
    double getLength() const override;

private:
    double axisLength() const { return getEndPoint().distanceTo(getStartPoint()); }
    VelGeomVector3d axisDirection() const;
    // The turning axis: the axis direction, reversed when clockwise.
    VelGeomVector3d turnAxis() const;
    // v without its part along the axis, normalised; false when nothing is
    // left.
    bool perpendicularPart(const VelGeomVector3d& v, VelGeomVector3d& out) const;
    void initStartVector(const VelGeomVector3d& v);

    double m_radius;
    double m_separation;
    VelGeomVector3d m_startVector;
    bool m_ccw;
};
