#pragma once
// The abstract interface of every curve of space. Concrete kinds are told
// apart by getType(); callers hold curves through pointers to this interface
// and own the curves they receive (copy(), getInfiniteCurve(), offsets),
// which they release with deleteCurve().
//
// The virtual operations are declared in their fixed slot order; do not
// insert new ones before the destructor, which comes last so that deleting a
// curve through this interface runs the right destructor.
//
// The base projClosestPointTo works on the curve's augmented polyline; the straight
// curves have their own routine and do not use it.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector3d.h"
#include "geom/curves/OffsetExtType.h"

class VelGeomMatrix3d;
class VelGeomPlane;
class VelGeomAugPolyline;
class VelGeomExtents;

class VelGeomCurve3d
{
public:
    enum entityType {
        kLine = 0,           // infinite line
        kLineSeg = 1,        // segment; also a kind of kLine
        kCircArc = 2,        // circular arc or full circle
        kRay = 3,            // half-line; also a kind of kLine
        kCompositeCurve = 4  // chain of curves
    };

    // Where a point found between the extended carriers of two curves lies.
    enum intersectionLocation {
        kOnNeither = 0,   // on the extensions of both curves only
        kOnBoth = 1,      // on both curves
        kOnThisOnly = 2,  // on this curve, on the other's extension only
        kOnOtherOnly = 3  // on the other curve, on this one's extension only
    };

    VelGeomCurve3d(const VelGeomCurve3d&) = default;
    VelGeomCurve3d& operator=(const VelGeomCurve3d&) = default;

    // Deletes the curve and sets the pointer to null; nothing for null.
    static void deleteCurve(VelGeomCurve3d*& curve);

    /*  0 */ virtual VelGeomCurve3d* copy() const = 0;
    // The unbounded carrier, on the heap.
    /*  1 */ virtual VelGeomCurve3d* getInfiniteCurve() const = 0;
    /*  2 */ virtual double paramOf(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    /*  3 */ virtual VelGeomPoint3d evalPoint(double t) const = 0;
    /*  4 */ virtual entityType getType() const = 0;
    /*  5 */ virtual bool isKindOf(entityType type) const = 0;
    // points is emptied first; true when a point was found.
    /*  6 */ virtual bool intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                        const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    // With extended, the infinite carriers are intersected and, when
    // locations is given, one location per point is appended to it.
    // Without, the plain intersection; locations then holds kOnBoth per point.
    /*  7 */ virtual bool intersectWith(const VelGeomCurve3d& other, bool extended, VelArray<VelGeomPoint3d>& points,
                                        VelArray<VelGeomCurve3d::intersectionLocation>* locations,
                                        const VelGeomTol& tol = VelGeomTol::gTol) const;
    /*  8 */ virtual bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    /*  9 */ virtual VelGeomCurve3d& transformBy(const VelGeomMatrix3d& m) = 0;
    // The point of this curve nearest to other, its partner on other in
    // onOther. The base answers (0, 0, 0) and leaves onOther alone.
    /* 10 */ virtual VelGeomPoint3d getClosestPointTo(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                                      const VelGeomTol& tol = VelGeomTol::gTol) const;
    /* 11 */ virtual VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const = 0;
    // The point of the curve nearest to p seen along dir.
    /* 12 */ virtual VelGeomPoint3d projClosestPointTo(const VelGeomPoint3d& p, const VelGeomVector3d& dir,
                                                       const VelGeomTol& tol = VelGeomTol::gTol) const;
    /* 13 */ virtual double distanceTo(const VelGeomCurve3d& other, const VelGeomTol& tol = VelGeomTol::gTol) const;
    // |closest point - p|; the tolerance is not used.
    /* 14 */ virtual double distanceTo(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const;
    /* 15 */ virtual bool hasEndPoint(VelGeomPoint3d& p) const = 0;
    /* 16 */ virtual bool hasStartPoint(VelGeomPoint3d& p) const = 0;
    /* 17 */ virtual bool hasEndParam(double& t) const = 0;
    /* 18 */ virtual bool hasStartParam(double& t) const = 0;
    /* 19 */ virtual double getLength() const;  // 0
    // pieces is emptied first; the appended curves belong to the caller.
    /* 20 */ virtual void getOffset(double distance, const VelGeomVector3d& normal, VelArray<VelGeomCurve3d*>& pieces,
                                    OffsetExtType ext, const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    // 1 and a new curve in result on success, 0 otherwise.
    /* 21 */ virtual int get3dOffset(VelGeomVector3d offset, VelGeomCurve3d*& result,
                                     const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    // count points from the start to the end parameter (one point: the
    // middle); empty for count <= 0 or an unbounded curve.
    /* 22 */ virtual void getSamplePoints(int count, VelArray<VelGeomPoint3d>& points) const;
    // out = getAugPolyline().
    /* 23 */ virtual void getAugPolyline(VelGeomAugPolyline& out) const;
    // The curve as an augmented polyline; the base gives an empty one.
    /* 24 */ virtual VelGeomAugPolyline getAugPolyline() const;
    // The curve's axis-parallel extents; the base (and the unbounded curves)
    // give an empty record.
    /* 25 */ virtual void getExtents(VelGeomExtents& out) const;
    // Shortens or lengthens the curve to a plane; the base refuses (0).
    /* 26 */ virtual int cutAt(VelGeomPlane plane, int atEnd, int extend, const VelGeomTol& tol = VelGeomTol::gTol);
    /* 27 */ virtual VelGeomVector3d tangentVector(const VelGeomPoint3d& p) const;  // zero vector
    // Feet of the perpendiculars from p; the base has none.
    /* 28 */ virtual VelArray<VelGeomPoint3d> getPerpIntersections(const VelGeomPoint3d& p, int force) const;
    // Tangent points seen from p; the base has none.
    /* 29 */ virtual VelArray<VelGeomPoint3d> getTanIntersections(const VelGeomPoint3d& p, int force) const;

    virtual ~VelGeomCurve3d();

protected:
    constexpr VelGeomCurve3d() {}
};
