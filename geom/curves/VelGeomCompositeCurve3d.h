#pragma once
// A chain of curves of space (segments and circular arcs; other composite
// curves may be members too), each member starting where the previous one
// ends. It is the working form of the augmented contours: their validity,
// intersection and offset questions run on it. The curve can be prolonged
// beyond either end (eFinite): past a segment by a ray, past an arc by the
// rest of its circle.
//
// Ownership: next to every member the composite keeps an owner flag; the
// destructor (and every operation that replaces the list) deletes the members
// whose flag is 1. setCurveList(curves, flags) takes the pointers and flags
// as given; the one-list forms do not own what they get (flags 0); copies
// (copy constructor, operator=, copy(), getInfiniteCurve()) copy every member
// and own the copies. Because the curve bases have virtual destructors,
// VelGeomCurve3d::deleteCurve of a composite also releases the members it
// owns. Curves handed out (copy, offsets, extensions) belong to the receiver.
//
// Parameters are arc lengths from the start point. A member covers the
// range of lengths before it up to that plus its own length; inside it the
// fraction of the member's own parameter range is scaled by its length (for
// segments and arcs, whose parameters run from 0 to 1, the parameter times
// the length; for a composite member its own arc length).
//
// Choices of this class:
//   - A curve list is refused (nothing changes) when it holds a null pointer,
//     the composite itself, or a pointer that appears twice and is owned.
//     A constructor given such a list, or lists of different lengths, makes
//     an empty composite. Members of the old list that reappear in the new
//     one are not deleted: the new flags decide about them.
//   - isOn tests the members and the extensions with the global tolerance,
//     whatever tolerance is passed; paramOf uses the tolerance passed.
//   - getClosestPointTo(point) of an empty composite is the origin; the
//     curve-to-curve form then answers the origin and leaves onOther alone.
//   - globalToLocalParam of an empty composite sets the index to -1.
//   - getSimpleCurvesAtPoint and get3dOffset work on the simple members,
//     composite members being opened up in order.
//   - An offset joins two pieces where the first ends when the second
//     starts there (within the tolerance passed), without intersecting their
//     carriers: they meet at that point, and a tangency is where an
//     intersection is least reliable. The chain counts as closed for the
//     offset when its start and end point are equal by the tolerance passed.
//   - Offsets (getOffset) refuse a piece that the joints turn round (a
//     segment whose joints lie in the opposite order, an arc whose sweep would
//     become negative): the offset edge has vanished, and the chain would
//     otherwise come back inside out. Arcs between two joints are rebuilt with
//     the sweep that follows from the joints, so no rounding can turn a
//     vanishing arc into a full circle.
//   - get3dOffset carries the displacement along the path as the frame
//     normals of a swept path are carried: rotated with each arc about its
//     axis, mirrored at each corner in the plane that bisects it. Each member
//     is offset with its own get3dOffset; consecutive pieces that do not end
//     where the next begins are joined at the intersection of their carriers
//     nearest to the end of the first. A closed path is not joined back to its
//     start (the carried displacement need not come back to itself). Only
//     segments and arcs are accepted; the result is not tested for
//     self-intersection.
//   - isSelfIntersecting does not take two end-to-start neighbours that are
//     arcs of equal radius and opposite sense for a reversal unless they also
//     share their centre: arcs on different centres form an S-bend.
//   - isSelfIntersecting (for the members that are not neighbours) and
//     intersectWith only intersect members whose bounding boxes, grown by
//     the tolerance, come near the other curve's; the answers are those of
//     intersecting every pair, at a cost that follows the pairs that come
//     near each other rather than all pairs.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"
#include "geom/curves/VelGeomCurve3d.h"

class VelGeomMatrix3d;

class VelGeomCompositeCurve3d : public VelGeomCurve3d
{
public:
    enum eFinite {
        kFinite = 0,
        kInfiniteStart = 1,  // extended beyond the start
        kInfiniteEnd = 2,    // extended beyond the end
        kInfiniteBoth = 3
    };

    // One owned member: the segment from (0, 0, 0) to (1, 0, 0).
    VelGeomCompositeCurve3d();
    // Takes the pointers, owned as the flags say.
    VelGeomCompositeCurve3d(const VelArray<VelGeomCurve3d*>& curves, const VelArray<int>& ownerFlags);
    // Takes the pointers without owning them.
    explicit VelGeomCompositeCurve3d(const VelArray<VelGeomCurve3d*>& curves);
    // Copies every member (owned) and the finiteness.
    VelGeomCompositeCurve3d(const VelGeomCompositeCurve3d& other);
    VelGeomCompositeCurve3d& operator=(const VelGeomCompositeCurve3d& other);
    ~VelGeomCompositeCurve3d() override;

    // False, and nothing changed, when the lists differ in length or the
    // list is refused (see above).
    bool setCurveList(const VelArray<VelGeomCurve3d*>& curves, const VelArray<int>& ownerFlags);
    bool setCurveList(const VelArray<VelGeomCurve3d*>& curves);
    // The member pointers; the composite keeps owning what it owned.
    void getCurveList(VelArray<VelGeomCurve3d*>& curves) const;
    int numCurves() const { return m_curves.length(); }

    void setFinite(eFinite value) { m_finite = value; }
    eFinite getFinite() const { return m_finite; }

    // Member index and member parameter of a global parameter. Before the
    // start: member 0; beyond the end: the last member, with a fraction
    // above 1. A member of length 0 gives its start parameter.
    double globalToLocalParam(double t, int& index) const;
    // The global parameter of member index's point at t; 0 for an index
    // outside the list.
    double localToGlobalParam(double t, int index) const;

    // The simple members at p: the one it lies on (first) and, when p is
    // the end of that member and another follows, the following one
    // (second). At the start of a closed curve: the last and the first
    // member; at the start of an open one: the first member only. Null
    // pointers for what is not there; false when p is on no member. The
    // pointers stay owned by the composite.
    bool getSimpleCurvesAtPoint(const VelGeomPoint3d& p, VelGeomCurve3d*& first, VelGeomCurve3d*& second,
                                const VelGeomTol& tol = VelGeomTol::gTol) const;
    // A new heap curve continuing the curve beyond its end (atEnd) or before
    // its start; null when empty or when the member there is neither a
    // segment, an arc nor a composite. The caller owns it.
    VelGeomCurve3d* getExtension(bool atEnd) const;

    // Pairs of members meeting anywhere but in their common end points;
    // closed: the last member must end where the first begins.
    bool isSelfIntersecting(bool closed, const VelGeomTol& tol = VelGeomTol::gTol) const;

    using VelGeomCurve3d::intersectWith;
    using VelGeomCurve3d::getAugPolyline;

    /*  0 */ VelGeomCurve3d* copy() const override;
    // A copy extended at both ends.
    /*  1 */ VelGeomCurve3d* getInfiniteCurve() const override;
    // The arc length at the first member holding p; on an extension only:
    // before 0 or beyond the length by the distance along it; on nothing:
    // the length.
    /*  2 */ double paramOf(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /*  3 */ VelGeomPoint3d evalPoint(double t) const override;
    /*  4 */ entityType getType() const override { return kCompositeCurve; }
    /*  5 */ bool isKindOf(entityType type) const override { return type == kCompositeCurve; }
    // The points of every member, then of the active extensions; equal
    // points (by tol) once, the first kept.
    /*  6 */ bool intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /*  8 */ bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /*  9 */ VelGeomCurve3d& transformBy(const VelGeomMatrix3d& m) override;
    // The closest pair over the members (and the active extensions).
    /* 10 */ VelGeomPoint3d getClosestPointTo(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                              const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /* 11 */ VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const override;
    // False when empty or extended at that end.
    /* 15 */ bool hasEndPoint(VelGeomPoint3d& p) const override;
    /* 16 */ bool hasStartPoint(VelGeomPoint3d& p) const override;
    /* 17 */ bool hasEndParam(double& t) const override;
    /* 18 */ bool hasStartParam(double& t) const override;
    // The members' lengths; extensions do not count.
    /* 19 */ double getLength() const override;
    // Every member offset by itself, then joined sharply at the
    // intersections of the supporting lines and circles. One new composite
    // (owned by the caller) or nothing: when a member gives other than one
    // piece, neighbours do not meet, a member is neither a segment nor an
    // arc, a piece is turned round, or the result intersects itself.
    /* 20 */ void getOffset(double distance, const VelGeomVector3d& normal, VelArray<VelGeomCurve3d*>& pieces,
                            OffsetExtType ext, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The curve displaced by offset, given at the start point and carried
    // along the path; a new composite owned by the caller.
    /* 21 */ int get3dOffset(VelGeomVector3d offset, VelGeomCurve3d*& result,
                             const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // One vertex per simple member (composite members opened up): its start,
    // with the arc's info for an arc; then the end of the last. Not cleaned.
    /* 24 */ VelGeomAugPolyline getAugPolyline() const override;
    // The union of the members' extents.
    /* 25 */ void getExtents(VelGeomExtents& out) const override;
    // The tangent of the member nearest to p, at its closest point.
    /* 27 */ VelGeomVector3d tangentVector(const VelGeomPoint3d& p) const override;
    /* 28 */ VelArray<VelGeomPoint3d> getPerpIntersections(const VelGeomPoint3d& p, int force) const override;
    /* 29 */ VelArray<VelGeomPoint3d> getTanIntersections(const VelGeomPoint3d& p, int force) const override;

private:
    void releaseOwned(const VelArray<VelGeomCurve3d*>* keep);
    bool acceptable(const VelArray<VelGeomCurve3d*>& curves, const VelArray<int>& flags) const;
    void take(const VelArray<VelGeomCurve3d*>& curves, const VelArray<int>& flags);
    void copyFrom(const VelGeomCompositeCurve3d& other);
    bool extendedAtStart() const { return m_finite == kInfiniteStart || m_finite == kInfiniteBoth; }
    bool extendedAtEnd() const { return m_finite == kInfiniteEnd || m_finite == kInfiniteBoth; }
    // The simple members in order, composite members opened up.
    void simpleMembers(VelArray<VelGeomCurve3d*>& out) const;

    VelArray<VelGeomCurve3d*> m_curves;
    VelArray<int> m_owner;
    eFinite m_finite;
};
