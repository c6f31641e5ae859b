#pragma once
// The abstract interface of every curve of the plane. Concrete kinds are
// told apart by getType(); callers hold curves through pointers to this
// interface and own the curves they receive (copy(), getOffset pieces).
//
// The virtual operations are declared in their fixed slot order; do not
// insert new ones before the destructor, which comes last so that deleting a
// curve through this interface runs the right destructor.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomTol.h"
#include "geom/curves/OffsetExtType.h"

class VelGeomMatrix2d;

class VelGeomCurve2d
{
public:
    enum entityType {
        kLine = 0,           // infinite line
        kLineSeg = 1,        // segment; also a kind of kLine
        kCircArc = 2,        // circular arc or full circle
        kRay = 3,            // half-line; also a kind of kLine
        kCompositeCurve = 4  // chain of curves
    };

    VelGeomCurve2d(const VelGeomCurve2d&) = default;
    VelGeomCurve2d& operator=(const VelGeomCurve2d&) = default;

    /*  0 */ virtual VelGeomCurve2d* copy() const = 0;
    /*  1 */ virtual entityType getType() const = 0;
    /*  2 */ virtual bool isKindOf(entityType type) const = 0;
    /*  3 */ virtual bool hasStartPoint(VelGeomPoint2d& p) const = 0;
    /*  4 */ virtual bool hasEndPoint(VelGeomPoint2d& p) const = 0;
    /*  5 */ virtual bool hasStartParam(double& t) const = 0;
    /*  6 */ virtual bool hasEndParam(double& t) const = 0;
    /*  7 */ virtual double getLength() const;  // 0
    /*  8 */ virtual bool isOn(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    // |p - q| for the closest pair p on this curve, q on the other.
    /*  9 */ virtual double distanceTo(const VelGeomCurve2d& other, const VelGeomTol& tol = VelGeomTol::gTol) const;
    // |closest point - p|; the tolerance is not used.
    /* 10 */ virtual double distanceTo(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const;
    // The point of this curve nearest to other, its partner on other in
    // onOther. The base answers (0, 0) and leaves onOther alone.
    /* 11 */ virtual VelGeomPoint2d getClosestPointTo(const VelGeomCurve2d& other, VelGeomPoint2d& onOther,
                                                      const VelGeomTol& tol = VelGeomTol::gTol) const;
    /* 12 */ virtual VelGeomPoint2d getClosestPointTo(const VelGeomPoint2d& p) const = 0;
    /* 13 */ virtual double paramOf(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    /* 14 */ virtual VelGeomPoint2d evalPoint(double t) const = 0;
    // count points from the start to the end parameter (one point: the
    // middle); empty for count <= 0 or an unbounded curve.
    /* 15 */ virtual void getSamplePoints(int count, VelArray<VelGeomPoint2d>& points) const;
    /* 16 */ virtual VelGeomCurve2d& transformBy(const VelGeomMatrix2d& m) = 0;
    // pieces is emptied first; the appended curves belong to the caller.
    /* 17 */ virtual void getOffset(double distance, VelArray<VelGeomCurve2d*>& pieces, OffsetExtType ext,
                                    const VelGeomTol& tol = VelGeomTol::gTol) const = 0;
    // points is emptied first; true when a point was found.
    /* 18 */ virtual bool intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                                        const VelGeomTol& tol = VelGeomTol::gTol) const = 0;

    virtual ~VelGeomCurve2d();

protected:
    constexpr VelGeomCurve2d() {}
};
