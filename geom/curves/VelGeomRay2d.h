#pragma once
// The half-line of the plane: from its point along its direction. Start
// parameter 0, no end.

#include "geom/curves/VelGeomLine2d.h"

class VelGeomRay2d : public VelGeomLine2d
{
public:
    VelGeomRay2d() = default;
    VelGeomRay2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2) : VelGeomLine2d(p1, p2) {}
    VelGeomRay2d(const VelGeomPoint2d& point, const VelGeomVector2d& v) : VelGeomLine2d(point, v) {}
    VelGeomRay2d(const VelGeomRay2d&) = default;
    VelGeomRay2d& operator=(const VelGeomRay2d&) = default;

    VelGeomPoint2d getStartPoint() const { return m_point; }

    using VelGeomLine2d::getClosestPointTo;

    VelGeomCurve2d* copy() const override;
    entityType getType() const override { return kRay; }
    bool isKindOf(entityType type) const override { return type == kRay || type == kLine; }
    bool hasStartPoint(VelGeomPoint2d& p) const override;
    bool hasStartParam(double& t) const override;
    bool isOn(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint2d getClosestPointTo(const VelGeomPoint2d& p) const override;
    // The line's points, less those not on the ray.
    bool intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                       const VelGeomTol& tol = VelGeomTol::gTol) const override;
};
