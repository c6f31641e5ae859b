#pragma once
// A chain of curves of the plane (segments and circular arcs; other
// composite curves may be members too), each member starting where the
// previous one ends. Unlike its counterpart in space it cannot be extended
// beyond its ends.
//
// Ownership: next to every member the composite keeps an owner flag; the
// destructor (and every operation that replaces the list) deletes the members
// whose flag is 1. setCurveList(curves, flags) takes the pointers and flags
// as given; the one-list forms do not own what they get (flags 0); copies
// (copy constructor, operator=, copy()) copy every member and own the
// copies. Curves handed out (copy, offsets) belong to the receiver, who
// deletes them through the VelGeomCurve2d pointer (its destructor is
// virtual), which also releases the members the composite owns.
//
// Parameters are arc lengths from the start point; inside a member the
// fraction of the member's own parameter range is scaled by its length.
//
// Choices of this class:
//   - An empty composite has no start or end point and no parameter range
//     (the start and end queries answer false).
//   - A curve list is refused (nothing changes) when it holds a null pointer,
//     the composite itself, or a pointer that appears twice and is owned.
//     A constructor given such a list, or lists of different lengths, makes
//     an empty composite. Members of the old list that reappear in the new
//     one are not deleted: the new flags decide about them.
//   - isOn tests the members with the global tolerance, whatever tolerance
//     is passed; paramOf uses the tolerance passed.
//   - getOffset moves the whole chain to the left of its direction of travel
//     for a positive distance, as the straight curves do. A planar arc on its
//     own offsets to the right, so the composite hands the arcs the negated
//     distance: a chain of segments and arcs then stays one offset curve
//     instead of splitting into pieces on both sides.
//   - An offset joins two pieces where the first ends when the second
//     starts there (within the tolerance passed), without intersecting their
//     carriers: they meet at that point, and a tangency is where an
//     intersection is least reliable. The chain counts as closed for the
//     offset when its start and end point are equal by the tolerance passed.
//   - Offsets refuse a piece that the joints turn round (a segment whose
//     joints lie in the opposite order, an arc whose sweep would become
//     negative); arcs are rebuilt with the sweep that follows from the joints.
//   - isSelfIntersecting does not take two end-to-start neighbours that are
//     arcs of equal radius and opposite sense for a reversal unless they also
//     share their centre.
//   - isSelfIntersecting (for the members that are not neighbours) and
//     intersectWith only intersect members whose bounding boxes, grown by
//     the tolerance, come near the other curve's; the answers are those of
//     intersecting every pair, at a cost that follows the pairs that come
//     near each other rather than all pairs.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/curves/VelGeomCurve2d.h"

class VelGeomMatrix2d;

class VelGeomCompositeCurve2d : public VelGeomCurve2d
{
public:
    // One owned member: the segment from (0, 0) to (1, 0).
    VelGeomCompositeCurve2d();
    // Takes the pointers, owned as the flags say.
    VelGeomCompositeCurve2d(const VelArray<VelGeomCurve2d*>& curves, const VelArray<int>& ownerFlags);
    // Takes the pointers without owning them.
    explicit VelGeomCompositeCurve2d(const VelArray<VelGeomCurve2d*>& curves);
    // Copies every member (owned).
    VelGeomCompositeCurve2d(const VelGeomCompositeCurve2d& other);
    VelGeomCompositeCurve2d& operator=(const VelGeomCompositeCurve2d& other);
    ~VelGeomCompositeCurve2d() override;

    // False, and nothing changed, when the lists differ in length or the
    // list is refused (see above).
    bool setCurveList(const VelArray<VelGeomCurve2d*>& curves, const VelArray<int>& ownerFlags);
    bool setCurveList(const VelArray<VelGeomCurve2d*>& curves);
    // The member pointers; the composite keeps owning what it owned.
    void getCurveList(VelArray<VelGeomCurve2d*>& curves) const;
    int numCurves() const { return m_curves.length(); }

    // Member index and member parameter of a global parameter. Before the
    // start: member 0; beyond the end: the last member, with a fraction
    // above 1. A member of length 0 gives its start parameter. An empty
    // composite gives 0 and the index -1.
    double globalToLocalParam(double t, int& index) const;
    // The global parameter of member index's point at t; 0 for an index
    // outside the list.
    double localToGlobalParam(double t, int index) const;

    // Pairs of members meeting anywhere but in their common end points;
    // closed: the last member must end where the first begins.
    bool isSelfIntersecting(bool closed, const VelGeomTol& tol = VelGeomTol::gTol) const;

    /*  0 */ VelGeomCurve2d* copy() const override;
    /*  1 */ entityType getType() const override { return kCompositeCurve; }
    /*  2 */ bool isKindOf(entityType type) const override { return type == kCompositeCurve; }
    /*  3 */ bool hasStartPoint(VelGeomPoint2d& p) const override;
    /*  4 */ bool hasEndPoint(VelGeomPoint2d& p) const override;
    // 0 and the length.
    /*  5 */ bool hasStartParam(double& t) const override;
    /*  6 */ bool hasEndParam(double& t) const override;
    /*  7 */ double getLength() const override;
    /*  8 */ bool isOn(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The closest pair over the members.
    /* 11 */ VelGeomPoint2d getClosestPointTo(const VelGeomCurve2d& other, VelGeomPoint2d& onOther,
                                              const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The origin for an empty composite.
    /* 12 */ VelGeomPoint2d getClosestPointTo(const VelGeomPoint2d& p) const override;
    // The arc length at the first member holding p; the length when on none.
    /* 13 */ double paramOf(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    /* 14 */ VelGeomPoint2d evalPoint(double t) const override;
    /* 16 */ VelGeomCurve2d& transformBy(const VelGeomMatrix2d& m) override;
    // Every member offset by itself, then joined sharply at the
    // intersections of the supporting lines and circles. One new composite
    // (owned by the caller) or nothing.
    /* 17 */ void getOffset(double distance, VelArray<VelGeomCurve2d*>& pieces, OffsetExtType ext,
                            const VelGeomTol& tol = VelGeomTol::gTol) const override;
    // The points of every member; equal points (by tol) once, the first kept.
    /* 18 */ bool intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                                const VelGeomTol& tol = VelGeomTol::gTol) const override;

private:
    void releaseOwned(const VelArray<VelGeomCurve2d*>* keep);
    bool acceptable(const VelArray<VelGeomCurve2d*>& curves, const VelArray<int>& flags) const;
    void take(const VelArray<VelGeomCurve2d*>& curves, const VelArray<int>& flags);
    void copyFrom(const VelGeomCompositeCurve2d& other);

    VelArray<VelGeomCurve2d*> m_curves;
    VelArray<int> m_owner;
};
