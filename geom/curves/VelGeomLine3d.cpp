#include "geom/curves/VelGeomLine3d.h"

#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"
#include "geom/curves/VelGeomRay3d.h"

#include <cmath>

// Constant-initialised: the constructor below is constexpr.
const VelGeomLine3d VelGeomLine3d::kXAxis(1.0, 0.0, 0.0, VelGeomPoint3d(0.0, 0.0, 0.0), 1.0, ConstTag());
const VelGeomLine3d VelGeomLine3d::kYAxis(0.0, 1.0, 0.0, VelGeomPoint3d(0.0, 0.0, 0.0), 1.0, ConstTag());
const VelGeomLine3d VelGeomLine3d::kZAxis(0.0, 0.0, 1.0, VelGeomPoint3d(0.0, 0.0, 0.0), 1.0, ConstTag());

namespace {

// Fixed tolerances of the line-line intersection: the determinant choice and
// the parallel test.
constexpr VelGeomTol kDetChoiceTol(1.0, 1.0);
constexpr VelGeomTol kParallelDetTol(1e-15, 1e-15);
// A line-circle discriminant this close to 0 means a tangent.
constexpr VelGeomTol kTangentDiscTol(1e-6, 1e-6);

}  // namespace

VelGeomLine3d::VelGeomLine3d() : VelGeomCurve3d(), VelGeomVector3d(1.0, 0.0, 0.0), m_point(0.0, 0.0, 0.0), m_length(1.0)
{
}

VelGeomLine3d::VelGeomLine3d(const VelGeomPoint3d& point, const VelGeomVector3d& v)
    : VelGeomCurve3d(), VelGeomVector3d(v.normal(VelGeomTol::gTol)), m_point(point), m_length(v.length())
{
}

VelGeomLine3d::VelGeomLine3d(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) : VelGeomLine3d(p1, p2 - p1) {}

VelGeomLine3d& VelGeomLine3d::set(const VelGeomPoint3d& point, const VelGeomVector3d& v)
{
    storedDirection() = v.normal(VelGeomTol::gTol);
    m_point = point;
    m_length = v.length();
    return *this;
}

VelGeomLine3d& VelGeomLine3d::set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2) { return set(p1, p2 - p1); }

VelGeomVector3d VelGeomLine3d::direction() const { return storedDirection().normal(VelGeomTol::gTol); }

bool VelGeomLine3d::isColinearTo(const VelGeomLine3d& line, const VelGeomTol& tol) const
{
    return VelGeomLine3d::isOn(line.m_point, tol) && storedDirection().isParallelTo(line.storedDirection(), tol);
}

void VelGeomLine3d::getPerpPlane(const VelGeomPoint3d& p, VelGeomPlane& plane) const
{
    plane.set(p, direction());
}

const VelGeomLine3d* VelGeomLine3d::asStraight(const VelGeomCurve3d& curve)
{
    if (!curve.isKindOf(kLine))
        return nullptr;
    return dynamic_cast<const VelGeomLine3d*>(&curve);
}

VelGeomCurve3d* VelGeomLine3d::copy() const { return new VelGeomLine3d(*this); }

VelGeomCurve3d* VelGeomLine3d::getInfiniteCurve() const
{
    // The carrier keeps the parameterisation of the ray or segment.
    return new VelGeomLine3d(static_cast<const VelGeomLine3d&>(*this));
}

double VelGeomLine3d::paramOf(const VelGeomPoint3d& p, const VelGeomTol&) const
{
    const VelGeomVector3d w = p - m_point;
    double d = w.length();
    if (w.isCodirectionalTo(-direction(), VelGeomTol::gTol))
        d = -d;
    return m_length != 0.0 ? d / m_length : d;
}

VelGeomPoint3d VelGeomLine3d::evalPoint(double t) const
{
    const VelGeomVector3d d = direction();
    return m_length != 0.0 ? m_point + d * (t * m_length) : m_point + d * t;
}

bool VelGeomLine3d::isOn(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    if (p.isEqualTo(m_point, tol))
        return true;
    const VelGeomVector3d along = direction() * (p - m_point).length();
    return p.isEqualTo(m_point + along, tol) || p.isEqualTo(m_point - along, tol);
}

VelGeomPoint3d VelGeomLine3d::footOf(const VelGeomPoint3d& p) const
{
    const VelGeomVector3d d = direction();
    return m_point + d * (p - m_point).dotProduct(d);
}

VelGeomPoint3d VelGeomLine3d::getClosestPointTo(const VelGeomPoint3d& p) const { return footOf(p); }

VelGeomCurve3d& VelGeomLine3d::transformBy(const VelGeomMatrix3d& m)
{
    // The parameter scale follows the image of the vector the line spans.
    VelGeomVector3d span = direction() * m_length;
    m_length = span.transformBy(m).length();
    storedDirection().transformBy(m);
    m_point.transformBy(m);
    return *this;
}

bool VelGeomLine3d::intersectWith(const VelGeomLine3d& other, VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    const VelGeomVector3d& d1 = storedDirection();
    const VelGeomVector3d& d2 = other.storedDirection();
    const VelGeomVector3d w = other.m_point - m_point;

    // Each candidate pair (i, j) of coordinates gives u * d1 - t * d2 = w in
    // those two coordinates; k is the coordinate left for the check.
    const double dxy = d1.x * (-d2.y) - (-d2.x) * d1.y;
    double dxz = 0.0, dyz = 0.0;
    int pick = 0;  // 0: xy, 1: xz, 2: yz
    if (kDetChoiceTol.equal(dxy, 0.0)) {
        dxz = d1.x * (-d2.z) - (-d2.x) * d1.z;
        if (kDetChoiceTol.equal(dxz, 0.0))
            dyz = d1.y * (-d2.z) - (-d2.y) * d1.z;
        double best = std::fabs(dxy);
        if (std::fabs(dxz) > best) {
            best = std::fabs(dxz);
            pick = 1;
        }
        if (std::fabs(dyz) > best)
            pick = 2;
    }
    static const int kI[3] = {0, 0, 1}, kJ[3] = {1, 2, 2}, kK[3] = {2, 1, 0};
    const int i = kI[pick], j = kJ[pick], k = kK[pick];
    const double det = pick == 0 ? dxy : (pick == 1 ? dxz : dyz);
    if (kParallelDetTol.equal(det, 0.0))
        return false;

    const double u = (w[i] * (-d2[j]) - (-d2[i]) * w[j]) / det;
    const double t = (d1[i] * w[j] - w[i] * d1[j]) / det;

    // The rounding residual of the solved pair raises the precision floor.
    const double c = u * d1[i] - w[i] - t * d2[i];
    const double d = u * d1[j] - w[j] - t * d2[j];
    const double e = 10.0 * std::fmax(std::fabs(c), std::fabs(d));
    if (e > VelGeomTol::precTol.equalPoint())
        VelGeomTol::precTol.setEqualPoint(e);

    // The third coordinate tells crossing from skew lines.
    const VelGeomTol check(10.0 * std::fmax(tol.equalPoint(), e), tol.equalVector());
    if (!check.equal(u * d1[k], t * d2[k] + w[k]))
        return false;
    // u is measured along the stored direction, which need not be of unit
    // length after a transformation.
    p = m_point + d1 * u;
    return true;
}

bool VelGeomLine3d::intersectCarrierWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                         const VelGeomTol& tol) const
{
    points.setLogicalLength(0);
    VelGeomTol::precTol.setEqualPoint(VelGeomTol::gTol.equalPoint());
    switch (other.getType()) {
    case kLine:
    case kLineSeg:
    case kRay: {
        const VelGeomLine3d* carrier = asStraight(other);
        if (!carrier)
            return false;
        if (storedDirection().isParallelTo(carrier->storedDirection(), VelGeomTol::gTol))
            return false;
        VelGeomPoint3d p;
        if (!intersectWith(*carrier, p, tol))
            return false;
        const VelGeomPoint3d q = carrier->footOf(p);
        if (!q.isEqualTo(p, tol)) {
            // Skew within the tolerance: meet the other line half way.
            const VelGeomLine3d a(p, storedDirection());
            const VelGeomLine3d b(q, carrier->storedDirection());
            if (!a.intersectWith(b, p, tol))
                return false;
        }
        if (other.getType() == kLine || other.isOn(p, tol))
            points.append(p);
        break;
    }
    case kCircArc: {
        const VelGeomCircArc3d* arc = dynamic_cast<const VelGeomCircArc3d*>(&other);
        if (!arc)
            return false;
        intersectArc(*arc, points, tol);
        break;
    }
    case kCompositeCurve:
        return other.intersectWith(*this, points, tol);
    default:
        return false;
    }
    return !points.isEmpty();
}

void VelGeomLine3d::intersectArc(const VelGeomCircArc3d& arc, VelArray<VelGeomPoint3d>& points,
                                 const VelGeomTol& tol) const
{
    const VelGeomPoint3d c = arc.getCenter();
    const VelGeomVector3d n = arc.getNormal();
    const double r = arc.getRadius();
    const VelGeomPlane plane(c, n);
    const VelGeomLine3d carrier(m_point, storedDirection());
    if (!plane.isOn(carrier, tol)) {
        // Through the arc's plane: at most the one point where it crosses.
        VelGeomPoint3d p;
        if (plane.intersectWith(carrier, p) && arc.isOn(p, tol))
            points.append(p);
        return;
    }
    if (tol.equal(r, 0.0))
        return;
    const VelGeomVector3d& d = storedDirection();
    const VelGeomVector3d pc = m_point - c;
    const double a = d.dotProduct(d);
    if (a == 0.0)
        return;  // no direction to follow
    const double b = 2.0 * pc.dotProduct(d);
    const double k = pc.dotProduct(pc) - r * r;
    const double disc = b * b - 4.0 * a * k;
    if (kTangentDiscTol.equal(disc, 0.0)) {
        const VelGeomPoint3d q = footOf(c);
        if (arc.isOn(q, tol))
            points.append(q);
        return;
    }
    if (disc < 0.0)
        return;
    const double root = std::sqrt(disc);
    const double s1 = (-root - b) / (2.0 * a);
    const double e = std::fabs(a * s1 * s1 + b * s1 + k);
    if (e > VelGeomTol::precTol.equalPoint())
        VelGeomTol::precTol.setEqualPoint(e);

    const double sweep = arc.getIncludedAngle();
    const bool full = arc.getArcType() == VelGeomCircArc3d::kFullCircle;
    // Pulls a root that rounding left off the circle back onto both curves.
    auto refine = [&](VelGeomPoint3d p) {
        for (int i = 0; i < 10 && !tol.equal(p.distanceTo(c), r); ++i) {
            const VelGeomVector3d v = plane.getClosestPointTo(p) - c;
            if (v.isZeroLength(VelGeomTol::gTol))
                break;
            p = footOf(c + v.normal(VelGeomTol::gTol) * r);
        }
        return p;
    };
    auto within = [&](const VelGeomPoint3d& p) {
        return full || tol.lessEqual(r * arc.sweepAngleTo(p, tol), r * sweep);
    };
    const VelGeomPoint3d x1 = refine(m_point + d * s1);
    if (within(x1))
        points.append(x1);
    const VelGeomPoint3d x2 = refine(m_point + d * ((root - b) / (2.0 * a)));
    if (within(x2) && !x2.isEqualTo(x1, tol))
        points.append(x2);
}

bool VelGeomLine3d::intersectWith(const VelGeomCurve3d& other, VelArray<VelGeomPoint3d>& points,
                                  const VelGeomTol& tol) const
{
    return intersectCarrierWith(other, points, tol);
}

VelGeomPoint3d VelGeomLine3d::getClosestPointTo(const VelGeomCurve3d& other, VelGeomPoint3d& onOther,
                                                const VelGeomTol& tol) const
{
    if (other.getType() != kCompositeCurve) {
        VelArray<VelGeomPoint3d> pts;
        if (intersectWith(other, pts, tol)) {
            onOther = pts[0];
            return pts[0];
        }
    }
    const VelGeomLine3d* that = asStraight(other);
    if (!that) {
        VelGeomPoint3d result(0.0, 0.0, 0.0);
        onOther = other.getClosestPointTo(*this, result, tol);
        return result;
    }

    // Closest points of two straight curves, each clamped to its own kind
    // (a line not at all, a ray below, a segment on both sides).
    const entityType kind1 = getType(), kind2 = other.getType();
    VelGeomPoint3d e1, e2;
    const VelGeomVector3d d1 = hasEndPoint(e1) ? e1 - m_point : direction();
    const VelGeomVector3d d2 = that->hasEndPoint(e2) ? e2 - that->m_point : that->direction();
    const VelGeomVector3d w = m_point - that->m_point;
    const double a = d1.dotProduct(d1), b = d1.dotProduct(d2), c = d2.dotProduct(d2);
    const double d = d1.dotProduct(w), e = d2.dotProduct(w);
    const double D = a * c - b * b;
    double sN, sD, tN, tD;
    if (D < tol.equalVector()) {
        sN = 0.0;
        sD = 1.0;
        tN = e;
        tD = c;
    } else {
        sN = b * e - c * d;
        tN = a * e - b * d;
        sD = tD = D;
        if (sN < 0.0 && kind1 != kLine) {
            sN = 0.0;
            tN = e;
            tD = c;
        } else if (sN > sD && kind1 == kLineSeg) {
            sN = sD;
            tN = e + b;
            tD = c;
        }
    }
    // s for a t fixed at an end of the other curve: the projection -num / a,
    // clamped to this curve's own range only.
    auto clampS = [&](double num) {
        if (num < 0.0 && kind1 != kLine) {
            sN = 0.0;
        } else if (num > a && kind1 == kLineSeg) {
            sN = sD;
        } else {
            sN = num;
            sD = a;
        }
    };
    if (tN < 0.0 && kind2 != kLine) {
        tN = 0.0;
        clampS(-d);
    } else if (tN > tD && kind2 == kLineSeg) {
        tN = tD;
        clampS(b - d);
    }
    const double s = std::fabs(sD) < tol.equalVector() ? 0.0 : sN / sD;
    const double t = std::fabs(tD) < tol.equalVector() ? 0.0 : tN / tD;
    onOther = that->m_point + d2 * t;
    return m_point + d1 * s;
}

VelGeomPoint3d VelGeomLine3d::projClosestPointTo(const VelGeomPoint3d& p, const VelGeomVector3d& dir,
                                                 const VelGeomTol& tol) const
{
    const VelGeomPlane plane(p, dir);
    VelGeomPoint3d q = plane.getClosestPointTo(m_point);
    if (!storedDirection().isParallelTo(dir, VelGeomTol::gTol)) {
        const VelGeomPoint3d q2 = plane.getClosestPointTo(m_point + direction() * 100.0);
        const VelGeomLine3d projected(q, q2);
        const VelGeomPoint3d f = projected.footOf(p);
        const VelGeomPlane through(f, projected.direction());
        q = through.intersectWith(VelGeomLine3d(m_point, storedDirection()));
    }
    return isOn(q, tol) ? q : getClosestPointTo(q);
}

void VelGeomLine3d::getOffset(double distance, const VelGeomVector3d& normal, VelArray<VelGeomCurve3d*>& pieces,
                              OffsetExtType, const VelGeomTol& tol) const
{
    pieces.setLogicalLength(0);
    VelGeomVector3d v = normal.crossProduct(direction());
    v.normalize();
    VelGeomCurve3d* moved = nullptr;
    if (get3dOffset(v * distance, moved, tol) && moved)
        pieces.append(moved);
}

int VelGeomLine3d::get3dOffset(VelGeomVector3d offset, VelGeomCurve3d*& result, const VelGeomTol&) const
{
    const VelGeomVector3d d = direction();
    const VelGeomVector3d across = offset - d * offset.dotProduct(d);
    VelGeomCurve3d* moved = copy();
    moveBy(static_cast<VelGeomLine3d&>(*moved), across);
    result = moved;
    return 1;
}

void VelGeomLine3d::moveBy(VelGeomLine3d& curve, const VelGeomVector3d& v)
{
    curve.m_point += v;
    if (VelGeomLineSeg3d* seg = dynamic_cast<VelGeomLineSeg3d*>(&curve))
        seg->m_end += v;
}

VelGeomVector3d VelGeomLine3d::tangentVector(const VelGeomPoint3d&) const { return storedDirection(); }

VelArray<VelGeomPoint3d> VelGeomLine3d::getPerpIntersections(const VelGeomPoint3d& p, int force) const
{
    VelArray<VelGeomPoint3d> pts;
    const VelGeomPoint3d q = getClosestPointTo(p);
    if (force || isOn(q, VelGeomTol::gTol))
        pts.append(q);
    return pts;
}
