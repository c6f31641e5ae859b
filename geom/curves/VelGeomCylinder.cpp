#include "geom/curves/VelGeomCylinder.h"

#include "geom/core/VelArray.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <cmath>

VelGeomCylinder::VelGeomCylinder() : m_radius(0.0), m_axis(nullptr), m_axisKind(kNoAxis) {}

VelGeomCylinder::VelGeomCylinder(double radius, const VelGeomPoint3d& axisPoint, const VelGeomVector3d& axisDirection)
    : m_radius(radius), m_axis(nullptr), m_axisKind(kNoAxis)
{
    if (axisDirection.isZeroLength(VelGeomTol::gTol))
        return;
    m_axis = new VelGeomLine3d(axisPoint, axisDirection);
    m_axisKind = kInfiniteAxis;
}

VelGeomCylinder::VelGeomCylinder(double radius, const VelGeomLineSeg3d& axis)
    : m_radius(radius), m_axis(nullptr), m_axisKind(kNoAxis)
{
    if ((axis.getEndPoint() - axis.getStartPoint()).isZeroLength(VelGeomTol::gTol))
        return;
    m_axis = new VelGeomLineSeg3d(axis);
    m_axisKind = kSegmentAxis;
}

VelGeomCylinder::VelGeomCylinder(const VelGeomCylinder& other)
    : m_radius(other.m_radius), m_axis(nullptr), m_axisKind(kNoAxis)
{
    copyAxis(other);
}

VelGeomCylinder& VelGeomCylinder::operator=(const VelGeomCylinder& other)
{
    if (this != &other) {
        m_radius = other.m_radius;
        copyAxis(other);
    }
    return *this;
}

VelGeomCylinder::~VelGeomCylinder() { delete m_axis; }

void VelGeomCylinder::copyAxis(const VelGeomCylinder& other)
{
    VelGeomLine3d* axis = nullptr;
    if (other.m_axis && other.m_axisKind == kSegmentAxis)
        axis = new VelGeomLineSeg3d(static_cast<const VelGeomLineSeg3d&>(*other.m_axis));
    else if (other.m_axis && other.m_axisKind == kInfiniteAxis)
        axis = new VelGeomLine3d(*other.m_axis);
    delete m_axis;
    m_axis = axis;
    m_axisKind = axis ? other.m_axisKind : kNoAxis;
}

bool VelGeomCylinder::intersectWith(const VelGeomLine3d& line, int& count, VelGeomPoint3d& p1,
                                    VelGeomPoint3d& p2) const
{
    count = 0;
    if (!m_axis || m_axisKind == kNoAxis || !(m_radius > 0.0))
        return false;
    const VelGeomVector3d a = m_axis->direction();
    const VelGeomVector3d d = line.direction();
    if (d.isZeroLength(VelGeomTol::gTol) || d.isParallelTo(a, VelGeomTol::gTol))
        return false;

    // The plane holding the line and the common perpendicular of line and
    // axis; the axis pierces it at C, the axis point nearest to the line.
    const VelGeomPoint3d p = line.pointOnLine();
    const VelGeomPlane along(p, d, a.crossProduct(d));
    const VelGeomPoint3d c = along.intersectWith(VelGeomLine3d(m_axis->pointOnLine(), a));

    // Seen along the axis: the circle about C and the line projected into
    // its plane.
    const VelGeomPlane across(c, a);
    const VelGeomPoint3d q = p.project(across, a);
    const VelGeomLine3d flat(q, d - a * d.dotProduct(a));
    const VelGeomCircArc3d circle(c, a, m_radius);
    VelArray<VelGeomPoint3d> pts;
    if (!circle.intersectWith(flat, pts, VelGeomTol::gTol))
        return false;

    VelGeomPoint3d kept[2];
    for (int i = 0; i < pts.length() && count < 2; ++i) {
        // Back along the axis onto the line.
        const VelGeomPoint3d x = pts[i].project(along, a);
        if (m_axisKind == kSegmentAxis) {
            const double off = m_axis->getClosestPointTo(x).distanceTo(x) - m_radius;
            if (off * off >= 1e-16)
                continue;  // beyond an end of the finite cylinder
        }
        const double miss = line.getClosestPointTo(x).distanceTo(x);
        if (miss * miss >= 1e-16)
            continue;  // outside the ray or segment
        kept[count++] = x;
    }
    if (count > 0)
        p1 = kept[0];
    if (count > 1)
        p2 = kept[1];
    return true;
}
