#include "geom/contours/VelGeomVertexInfo.h"

#include "geom/core/VelGeomBase.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <algorithm>
#include <cmath>

constexpr double VelGeomVertexInfo::defAbsError;
const VelGeomVertexInfo VelGeomVertexInfo::kNone;

namespace {

const double kTwoPi = 2.0 * VelGeomBase::PI;

double squaredDistance(const VelGeomPoint3d& a, const VelGeomPoint3d& b) { return (a - b).lengthSqrd(); }

} // namespace

VelGeomVertexInfo::VelGeomVertexInfo(double radius, const VelGeomPoint3d& center, const VelGeomVector3d& normal,
                                     double absError)
    : m_center(center), m_normal(normal), m_radius(radius), m_absError(absError), m_type(kArcEdge)
{
}

VelGeomVertexInfo::VelGeomVertexInfo(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2,
                                     const VelGeomVector3d& normal, double bulge, double absError)
    : VelGeomVertexInfo()
{
    m_absError = absError;
    const double theta = 4.0 * std::atan(std::fabs(bulge));
    const double s = std::sin(theta / 2.0);
    if (!(s * s >= 1e-16))  // also refuses a NaN bulge
        return;
    const VelGeomVector3d chord = p2 - p1;
    const double radius = chord.length() * 0.5 / s;
    VelGeomVector3d q = chord.crossProduct(normal);
    q.normalize();
    q *= (theta < VelGeomBase::PI ? std::cos(theta / 2.0) : std::cos(VelGeomBase::PI - theta / 2.0)) * radius;
    VelGeomVector3d n = normal;
    if (theta <= VelGeomBase::PI) {
        if (bulge < 0.0)
            n.negate();
        else
            q.negate();
    } else if (bulge < 0.0) {
        n.negate();
        q.negate();
    }
    m_center = p1 + chord * 0.5 + q;
    m_normal = n;
    m_radius = radius;
    m_type = kArcEdge;
}

VelGeomVertexInfo::VelGeomVertexInfo(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2,
                                     const VelGeomVector3d& bulgeVector)
    : VelGeomVertexInfo()
{
    const double len2 = bulgeVector.lengthSqrd();
    if (!(len2 >= 1e-16))
        return;
    const VelGeomVector3d chord = p1 - p2;
    VelGeomVector3d n = chord.crossProduct(bulgeVector);
    n.normalize();
    if (chord.lengthSqrd() < 1e-16) {
        // A closed edge carries no chord to span the plane with: any normal
        // perpendicular to the bulge vector describes the circle; prefer z.
        n = bulgeVector.isPerpendicularTo(VelGeomVector3d::kZAxis) ? VelGeomVector3d::kZAxis
                                                                    : bulgeVector.perpVector();
        m_normal = n;
        m_radius = bulgeVector.length();
        m_center = p2 - bulgeVector;
        m_type = kArcEdge;
        return;
    }
    m_normal = n;
    const double theta = 4.0 * std::atan(std::sqrt(len2));
    const VelGeomPoint3d mid = p2 + chord * 0.5;
    if ((theta - VelGeomBase::PI) * (theta - VelGeomBase::PI) < 1e-16) {
        m_center = mid;
        m_radius = chord.length() / 2.0;
    } else {
        VelGeomVector3d u = bulgeVector;
        u.normalize();
        const double c = chord.length() / 2.0;
        if (theta < VelGeomBase::PI)
            m_center = mid - u * (c / std::tan(theta / 2.0));
        else
            m_center = mid + u * (c / std::tan((kTwoPi - theta) / 2.0));
        m_radius = p1.distanceTo(m_center);
    }
    m_type = kArcEdge;
}

int VelGeomVertexInfo::operator==(const VelGeomVertexInfo& other) const
{
    if (m_type != other.m_type)
        return 0;
    if (m_type == kStraightEdge)
        return 1;
    const double dr = m_radius - other.m_radius;
    return m_center.isEqualTo(other.m_center, VelGeomTol::gTol) && dr * dr < 1e-16 &&
                   m_normal.isEqualTo(other.m_normal, VelGeomTol::gTol)
               ? 1
               : 0;
}

double VelGeomVertexInfo::includedAngle(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) const
{
    if (m_type == kStraightEdge)
        return 0.0;
    double a = (p1 - m_center).angleTo(p2 - m_center, m_normal);
    if (a * a < 1e-16)
        a = kTwoPi;
    return a;
}

double VelGeomVertexInfo::getBulge(const VelGeomVector3d& normal, const VelGeomPoint3d& p1,
                                   const VelGeomPoint3d& p2) const
{
    if (m_type == kStraightEdge || squaredDistance(p1, p2) < 1e-16)
        return 0.0;
    const double a = (p1 - m_center).angleTo(p2 - m_center, m_normal);
    const double b = std::tan(a / 4.0);
    return normal.isCodirectionalTo(m_normal, VelGeomTol::gTol) ? b : -b;
}

VelGeomVector3d VelGeomVertexInfo::getBulgeVector(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) const
{
    if (m_type == kStraightEdge)
        return VelGeomVector3d(0.0, 0.0, 0.0);
    if (squaredDistance(p1, p2) < 1e-16)
        return p1 - m_center;
    const double a = (p1 - m_center).angleTo(p2 - m_center, m_normal);
    VelGeomVector3d mid = (p1 - m_center).transformBy(VelGeomMatrix3d::rotation(a / 2.0, m_normal));
    mid.normalize();
    return mid * std::tan(a / 4.0);
}

int VelGeomVertexInfo::expand(double distance)
{
    if (distance == 0.0 || m_type == kStraightEdge)
        return 1;
    if (m_radius + distance > 0.0) {
        m_radius += distance;
        return 1;
    }
    return 0;
}

int VelGeomVertexInfo::transformBy(const VelGeomMatrix3d& m)
{
    if (m_type == kStraightEdge)
        return 1;
    // Only a uniform scale maps the arc to a circle of radius scale * r; a
    // matrix that scales its axes differently is refused like a shear.
    if (!m.isUniScaledOrtho(VelGeomTol::gTol) || m.isSingular(VelGeomTol::gTol))
        return 0;
    m_center.transformBy(m);
    m_normal.transformBy(m);
    if (m.isMirror())
        m_normal.negate();
    const double scale = m.getScale();
    if (scale != 1.0) {
        m_radius *= scale;
        m_absError *= scale;
    }
    return 1;
}

int VelGeomVertexInfo::project(const VelGeomPlane& plane, const VelGeomVector3d& direction)
{
    const VelGeomTol local(1e-4, 1e-4);
    if (!plane.normal().isParallelTo(m_normal, local))
        return 0;
    m_center = m_center.project(plane, direction);
    return 1;
}

void VelGeomVertexInfo::appendRotated(const VelGeomPoint3d& p1, double step, int count,
                                      VelArray<VelGeomPoint3d>& points) const
{
    // Each point is rotated from the start vector directly, so the rounding
    // does not accumulate along the arc.
    const VelGeomVector3d start = p1 - m_center;
    for (int k = 1; k <= count; ++k) {
        VelGeomVector3d v = start;
        v.transformBy(VelGeomMatrix3d::rotation(step * k, m_normal));
        points.append(m_center + v);
    }
}

VelArray<VelGeomPoint3d> VelGeomVertexInfo::getApproxVertices(const VelGeomPoint3d& p1,
                                                               const VelGeomPoint3d& p2) const
{
    VelArray<VelGeomPoint3d> points;
    if (m_type == kStraightEdge)
        return points;
    points.append(p1);
    if (m_radius < m_absError)
        return points;
    const double a = includedAngle(p1, p2);
    double e = m_absError;
    if (std::fabs(e) < 0.01)
        e = 0.3;
    const double c = std::max(-1.0, std::min(1.0, (m_radius - e) / m_radius));
    const double phi = std::acos(c);
    const double chords = phi > 0.0 ? std::ceil(a / (2.0 * phi)) : 360.0;
    if (!(chords > 1.0))  // 0, 1 or NaN: the start point alone
        return points;
    const int n = chords > 360.0 ? 360 : static_cast<int>(chords);
    appendRotated(p1, a / n, n - 1, points);
    return points;
}

void VelGeomVertexInfo::getApproxVertices(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, int segmentsPerTurn,
                                          VelArray<VelGeomPoint3d>& points) const
{
    if (m_type == kStraightEdge)
        return;
    points.append(p1);
    if (segmentsPerTurn < 2)
        return;
    const double a = includedAngle(p1, p2);
    const double x = a * segmentsPerTurn / kTwoPi;
    if (!(x >= 0.0))
        return;
    double whole = std::floor(std::min(x, 1e9));
    if (x - whole > 0.999)
        whole += 1.0;
    if (whole <= 1.0)
        return;
    const int n = whole > 360.0 ? 360 : static_cast<int>(whole);
    appendRotated(p1, a / n, n - 1, points);
}
