#include "geom/curves/VelGeomHelix.h"

#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"

#include <climits>
#include <cmath>

VelGeomHelix::VelGeomHelix() : VelGeomLineSeg3d(), m_radius(10.0), m_separation(1.0), m_ccw(true)
{
    initStartVector(axisDirection().perpVector());
}

VelGeomHelix::VelGeomHelix(const VelGeomPoint3d& axisPoint, const VelGeomVector3d& axisVector, double radius,
                           double separation, const VelGeomVector3d& startVector, bool ccw)
    : VelGeomLineSeg3d(axisPoint, axisVector), m_radius(radius), m_separation(separation), m_ccw(ccw)
{
    initStartVector(startVector);
}

VelGeomHelix::VelGeomHelix(const VelGeomPoint3d& axisStart, const VelGeomPoint3d& axisEnd, double radius,
                           double separation, const VelGeomVector3d& startVector, bool ccw)
    : VelGeomLineSeg3d(axisStart, axisEnd), m_radius(radius), m_separation(separation), m_ccw(ccw)
{
    initStartVector(startVector);
}

VelGeomHelix::VelGeomHelix(const VelGeomLineSeg3d& axis, double radius, double separation,
                           const VelGeomVector3d& startVector, bool ccw)
    : VelGeomLineSeg3d(axis), m_radius(radius), m_separation(separation), m_ccw(ccw)
{
    initStartVector(startVector);
}

VelGeomVector3d VelGeomHelix::axisDirection() const
{
    return (getEndPoint() - getStartPoint()).normal(VelGeomTol::gTol);
}

VelGeomVector3d VelGeomHelix::turnAxis() const { return m_ccw ? axisDirection() : -axisDirection(); }

bool VelGeomHelix::perpendicularPart(const VelGeomVector3d& v, VelGeomVector3d& out) const
{
    const VelGeomVector3d d = axisDirection();
    VelGeomVector3d w = v;
    if (!d.isZeroLength() && !v.isPerpendicularTo(d, VelGeomTol::gTol))
        w = v - d * v.dotProduct(d);
    if (w.isZeroLength(VelGeomTol::gTol))
        return false;
    out = w.normal(VelGeomTol::gTol);
    return true;
}

void VelGeomHelix::initStartVector(const VelGeomVector3d& v)
{
    if (perpendicularPart(v, m_startVector))
        return;
    if (!perpendicularPart(axisDirection().perpVector(), m_startVector))
        m_startVector = VelGeomVector3d::kXAxis;  // an axis of length 0 has no direction
}

bool VelGeomHelix::setStartVector(const VelGeomVector3d& v)
{
    VelGeomVector3d w;
    if (!perpendicularPart(v, w))
        return false;
    m_startVector = w;
    return true;
}

VelGeomCurve3d* VelGeomHelix::copy() const { return new VelGeomHelix(*this); }

VelGeomPoint3d VelGeomHelix::evalPoint(double t) const
{
    const VelGeomVector3d d = axisDirection();
    const double h = t * axisLength();
    VelGeomVector3d radial = m_startVector;
    if (m_separation != 0.0 && !d.isZeroLength())
        radial.rotateBy(2.0 * VelGeomBase::PI * h / m_separation, m_ccw ? d : -d);
    return getStartPoint() + d * h + radial * m_radius;
}

double VelGeomHelix::paramOf(const VelGeomPoint3d& p, const VelGeomTol&) const
{
    const double len = axisLength();
    if (len == 0.0)
        return 0.0;
    return getClosestPointTo(p).distanceTo(getStartPoint()) / len;
}

bool VelGeomHelix::isOn(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    const VelGeomPoint3d s = getStartPoint();
    if (p.isEqualTo(s, tol) || p.isEqualTo(getEndPoint(), tol))
        return true;
    const double a = (p - s).length();
    return tol.lessEqual(a, axisLength()) && p.isEqualTo(s + axisDirection() * a, tol);
}

VelGeomPoint3d VelGeomHelix::getClosestPointTo(const VelGeomPoint3d& p) const
{
    const VelGeomPoint3d s = getStartPoint();
    const VelGeomVector3d d = axisDirection();
    const double along = (p - s).dotProduct(d);
    if (along <= 0.0 || d.isZeroLength())
        return s;
    return along >= axisLength() ? getEndPoint() : s + d * along;
}

VelGeomCurve3d& VelGeomHelix::transformBy(const VelGeomMatrix3d& m)
{
    const double oldLength = axisLength();
    VelGeomPoint3d onHelix = getStartPoint() + m_startVector * m_radius;
    VelGeomVector3d unitAcross = m_startVector;
    VelGeomLineSeg3d::transformBy(m);
    onHelix.transformBy(m);
    unitAcross.transformBy(m);
    const double newLength = axisLength();
    if (oldLength > 0.0)
        m_separation *= newLength / oldLength;
    else
        m_separation *= unitAcross.length();
    VelGeomVector3d w;
    if (perpendicularPart(onHelix - getStartPoint(), w)) {
        const VelGeomVector3d radial = onHelix - getStartPoint();
        m_radius = (radial - axisDirection() * radial.dotProduct(axisDirection())).length();
        m_startVector = w;
    } else {
        m_radius *= unitAcross.length();
        initStartVector(unitAcross);
    }
    if (m.isMirror())
        m_ccw = !m_ccw;
    return *this;
}

double VelGeomHelix::getLength() const
{
    const double len = axisLength();
    if (m_separation == 0.0)
        return len;
    const double turn = 2.0 * VelGeomBase::PI * m_radius / m_separation;
    return len * std::sqrt(1.0 + turn * turn);
}

int VelGeomHelix::getNumSpires(double& lastAngle) const
{
    lastAngle = 0.0;
    const double sep = std::fabs(m_separation);
    if (!(sep > 0.0) || !std::isfinite(sep))
        return 0;
    const double len = axisLength();
    const double turns = std::ceil(len / sep);
    if (!(turns < static_cast<double>(INT_MAX)))
        return 0;
    int n = static_cast<int>(turns);
    if (n >= 1) {
        const double fewer = (n - 1) * sep - len;
        if (fewer * fewer < 1e-16)
            --n;
    }
    const double miss = n * sep - len;
    if (miss * miss < 1e-16) {
        lastAngle = 2.0 * VelGeomBase::PI;
        return n;
    }
    // A negative separation turns about the reversed turning axis.
    const VelGeomVector3d about = m_separation > 0.0 ? turnAxis() : -turnAxis();
    const VelGeomPoint3d end = evalPoint(1.0);
    const VelGeomVector3d radial = end - getEndPoint();
    lastAngle = m_startVector.angleTo(radial, about);
    return n;
}

VelArray<VelGeomPoint3d> VelGeomHelix::getApproxVertices(double deviation) const
{
    VelArray<VelGeomPoint3d> pts;
    if (!(deviation > 0.0) || !(deviation < m_radius))
        return pts;
    // A chord over the turning angle phi stands off the helix by
    // radius * (1 - cos(phi / 2)) at its middle, whatever the rise (the
    // offset is horizontal and perpendicular to the chord), so the angle
    // follows from the radius alone.
    const double chordAngle = 2.0 * std::acos((m_radius - deviation) / m_radius);
    if (!(chordAngle > 0.0))
        return pts;
    double lastAngle = 0.0;
    const int n = getNumSpires(lastAngle);
    const double sweep = (n - 1) * 2.0 * VelGeomBase::PI + lastAngle;
    const double chords = std::ceil(sweep / chordAngle);
    if (!(chords < static_cast<double>(kMaxApproxVertices)))
        return pts;
    const int k = chords < 1.0 ? 1 : static_cast<int>(chords);
    pts.setPhysicalLength(k + 1);
    for (int i = 0; i <= k; ++i)
        pts.append(evalPoint(static_cast<double>(i) / k));
    return pts;
}
