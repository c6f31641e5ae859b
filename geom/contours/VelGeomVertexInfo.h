#pragma once
// The description of the edge that leaves a vertex of an augmented contour:
// straight to the next vertex, or a circular arc to it running
// counter-clockwise about `normal` around `center` (a clockwise arc is kept
// with the reversed normal). An info does not know its end points: whatever
// needs them takes the edge's start p1 and end p2. The radius is not checked
// against |p1 - center|; an info is used as it stands.
//
// The field order is shared with the solid-modeling library.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomVector3d.h"

class VelGeomMatrix3d;
class VelGeomPlane;

class VelGeomVertexInfo
{
public:
    enum eVertexInfoType { kArcEdge = 0, kStraightEdge = -1 };

    // Straight edge: centre (0,0,0), normal kZAxis, radius 0, error defAbsError.
    constexpr VelGeomVertexInfo()
        : m_center(0.0, 0.0, 0.0), m_normal(0.0, 0.0, 1.0), m_radius(0.0), m_absError(defAbsError),
          m_type(kStraightEdge)
    {
    }
    // Arc with the given values; the normal is stored as given.
    VelGeomVertexInfo(double radius, const VelGeomPoint3d& center, const VelGeomVector3d& normal,
                      double absError = defAbsError);
    // Arc from p1 to p2 with a signed bulge (tan of a quarter of the included
    // angle) about `normal`: positive runs counter-clockwise about it, negative
    // clockwise (stored with the reversed normal). Straight when the bulge
    // describes no arc.
    VelGeomVertexInfo(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomVector3d& normal,
                      double bulge, double absError = defAbsError);
    // Arc from p1 to p2 bulging along `bulgeVector` (towards the apex, length
    // |bulge|); straight when the vector is (nearly) zero. p1 == p2 gives the
    // full circle through p1 with centre p2 - bulgeVector.
    VelGeomVertexInfo(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomVector3d& bulgeVector);

    eVertexInfoType getType() const { return m_type; }
    bool isArc() const { return m_type == kArcEdge; }
    const VelGeomPoint3d& getCenter() const { return m_center; }
    const VelGeomVector3d& getNormal() const { return m_normal; }
    double getRadius() const { return m_radius; }
    double getAbsError() const { return m_absError; }
    void setAbsError(double error) { m_absError = error; }

    // Straight infos are equal whatever their other fields; arcs compare
    // centre (gTol), radius ((r1 - r2)^2 < 1e-16) and normal (gTol).
    int operator==(const VelGeomVertexInfo& other) const;
    int operator!=(const VelGeomVertexInfo& other) const { return !(*this == other); }

    // The included angle from p1 to p2 about the normal in (0, 2*pi]; a full
    // turn when the end points coincide. 0 for a straight edge.
    double includedAngle(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) const;

    // tan(a / 4) of the included angle a, negated unless `normal` is
    // codirectional with the info's normal; 0 for straight edges and p1 == p2.
    double getBulge(const VelGeomVector3d& normal, const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) const;
    VelGeomVector3d getBulgeVector(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) const;

    // Offsets an arc by changing its radius; 0 (unchanged) when the radius
    // would not stay positive. Straight edges and a zero distance: 1, unchanged.
    int expand(double distance);
    // 0 (unchanged) for a singular matrix or one that is not orthogonal with
    // one uniform scale (anything else would turn the arc into an ellipse).
    // A mirror reverses the normal; the scale multiplies radius and error.
    int transformBy(const VelGeomMatrix3d& m);
    // Projects the centre onto the plane along `direction` when the plane's
    // normal is parallel to the info's (tolerance 1e-4); otherwise 0.
    int project(const VelGeomPlane& plane, const VelGeomVector3d& direction);

    // Chord points approximating the edge within the absolute error: p1 and
    // the intermediate points, never p2 (the next vertex supplies it).
    // Empty for a straight edge.
    VelArray<VelGeomPoint3d> getApproxVertices(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) const;
    // Appends p1 and the intermediate points for `segmentsPerTurn` chords per
    // full turn; nothing for a straight edge.
    void getApproxVertices(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, int segmentsPerTurn,
                           VelArray<VelGeomPoint3d>& points) const;

    static constexpr double defAbsError = 0.3;
    static const VelGeomVertexInfo kNone;  // the straight edge

private:
    // Appends centre + (p1 - centre) rotated by k * step, k = 1 .. count.
    void appendRotated(const VelGeomPoint3d& p1, double step, int count, VelArray<VelGeomPoint3d>& points) const;

    VelGeomPoint3d m_center;
    VelGeomVector3d m_normal;
    double m_radius;
    double m_absError;
    eVertexInfoType m_type;
};
