#pragma once
// The segment of space from its start point (the line's point) to its end
// point; parameters 0 to 1.

#include "geom/curves/VelGeomLine3d.h"

class VelGeomLineSeg3d : public VelGeomLine3d
{
public:
    // From (0, 0, 0) to (1, 0, 0).
    VelGeomLineSeg3d();
    // From point to point + v.
    VelGeomLineSeg3d(const VelGeomPoint3d& point, const VelGeomVector3d& v);
    VelGeomLineSeg3d(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);
    VelGeomLineSeg3d(const VelGeomLineSeg3d&) = default;
    VelGeomLineSeg3d& operator=(const VelGeomLineSeg3d&) = default;

    VelGeomLineSeg3d& set(const VelGeomPoint3d& point, const VelGeomVector3d& v);
    VelGeomLineSeg3d& set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2);

    VelGeomPoint3d getStartPoint() const { return m_point; }
    VelGeomPoint3d getEndPoint() const { return m_end; }
    VelGeomPoint3d getMidPoint() const { return m_point + (m_end - m_point) / 2.0; }

    using VelGeomCurve3d::intersectWith;
    using VelGeomLine3d::getClosestPointTo;
    using VelGeomCurve3d::getAugPolyline;

    VelGeomCurve3d* copy() const override;
    entityType getType() const override { return kLineSeg; }
    bool isKindOf(entityType type) const override { return type == kLineSeg || type == kLine; }
    bool intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                       const VelGeomTol& tol = VelGeomTol::gTol) const override;
    bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomCurve3d& transformBy(const VelGeomMatrix3d& m) override;
    VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const override;
    bool hasEndPoint(VelGeomPoint3d& p) const override;
    bool hasStartPoint(VelGeomPoint3d& p) const override;
    bool hasEndParam(double& t) const override;
    bool hasStartParam(double& t) const override;
    // |end - start|.
    double getLength() const override;
    // The two end points with straight infos, cleaned.
    VelGeomAugPolyline getAugPolyline() const override;
    // The box of the two end points.
    void getExtents(VelGeomExtents& out) const override;
    // Moves the start (atEnd 0) or the end to the plane.
    int cutAt(VelGeomPlane plane, int atEnd, int extend, const VelGeomTol& tol = VelGeomTol::gTol) override;

private:
    friend class VelGeomLine3d;
    VelGeomPoint3d m_end;
};
