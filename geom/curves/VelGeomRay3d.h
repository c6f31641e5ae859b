#pragma once
// The half-line of space: from its point along its direction. Start
// parameter 0, no end.

#include "geom/curves/VelGeomLine3d.h"

class VelGeomRay3d : public VelGeomLine3d
{
public:
    VelGeomRay3d() = default;
    VelGeomRay3d(const VelGeomPoint3d& point, const VelGeomVector3d& v) : VelGeomLine3d(point, v) {}
    VelGeomRay3d(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) : VelGeomLine3d(p1, p2) {}
    VelGeomRay3d(const VelGeomRay3d&) = default;
    VelGeomRay3d& operator=(const VelGeomRay3d&) = default;

    VelGeomPoint3d getStartPoint() const { return m_point; }

    using VelGeomCurve3d::intersectWith;
    using VelGeomLine3d::getClosestPointTo;

    VelGeomCurve3d* copy() const override;
    entityType getType() const override { return kRay; }
    bool isKindOf(entityType type) const override { return type == kRay || type == kLine; }
    // The line's points, less those behind the start.
    bool intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                       const VelGeomTol& tol = VelGeomTol::gTol) const override;
    bool isOn(const VelGeomPoint3d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint3d getClosestPointTo(const VelGeomPoint3d& p) const override;
    bool hasStartPoint(VelGeomPoint3d& p) const override;
    bool hasStartParam(double& t) const override;
    // Moves the start to the plane; the end (atEnd non-zero) cannot be cut.
    int cutAt(VelGeomPlane plane, int atEnd, int extend, const VelGeomTol& tol = VelGeomTol::gTol) override;
};
