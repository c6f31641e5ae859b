#pragma once
// The segment of the plane from its start point (the line's point) to its
// end point; parameters 0 to 1.

#include "geom/curves/VelGeomLine2d.h"

class VelGeomLineSeg2d : public VelGeomLine2d
{
public:
    // From (0, 0) to (1, 0).
    VelGeomLineSeg2d();
    VelGeomLineSeg2d(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2);
    // From point to point + v.
    VelGeomLineSeg2d(const VelGeomPoint2d& point, const VelGeomVector2d& v);
    VelGeomLineSeg2d(const VelGeomLineSeg2d&) = default;
    VelGeomLineSeg2d& operator=(const VelGeomLineSeg2d&) = default;

    VelGeomLineSeg2d& set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2);
    VelGeomLineSeg2d& set(const VelGeomPoint2d& point, const VelGeomVector2d& v);

    VelGeomPoint2d getStartPoint() const { return m_point; }
    VelGeomPoint2d getEndPoint() const { return m_end; }
    VelGeomPoint2d getMidPoint() const { return m_point + (m_end - m_point) * 0.5; }

    using VelGeomLine2d::getClosestPointTo;

    VelGeomCurve2d* copy() const override;
    entityType getType() const override { return kLineSeg; }
    bool isKindOf(entityType type) const override { return type == kLineSeg || type == kLine; }
    bool hasStartPoint(VelGeomPoint2d& p) const override;
    bool hasEndPoint(VelGeomPoint2d& p) const override;
    bool hasStartParam(double& t) const override;
    bool hasEndParam(double& t) const override;
    // |end - start|.
    double getLength() const override;
    bool isOn(const VelGeomPoint2d& p, const VelGeomTol& tol = VelGeomTol::gTol) const override;
    VelGeomPoint2d getClosestPointTo(const VelGeomPoint2d& p) const override;
    VelGeomCurve2d& transformBy(const VelGeomMatrix2d& m) override;
    bool intersectWith(const VelGeomCurve2d& other, VelArray<VelGeomPoint2d>& points,
                       const VelGeomTol& tol = VelGeomTol::gTol) const override;

private:
    friend class VelGeomLine2d;
    VelGeomPoint2d m_end;
};
