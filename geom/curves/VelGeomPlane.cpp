#include "geom/curves/VelGeomPlane.h"

#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomCircArc3d.h"
#include "geom/curves/VelGeomCompositeCurve3d.h"
#include "geom/curves/VelGeomCurve3d.h"
#include "geom/curves/VelGeomLine3d.h"

// Constant-initialised; the values are what the coefficient constructor
// gives for (0,0,1,0), (1,0,0,0) and (0,1,0,0).
const VelGeomPlane VelGeomPlane::kXYPlane(0.0, 0.0, 1.0, 0.0, VelGeomPoint3d(0.0, 0.0, 0.0),
                                          VelGeomVector3d(1.0, 0.0, 0.0), VelGeomVector3d(0.0, 1.0, 0.0));
const VelGeomPlane VelGeomPlane::kYZPlane(1.0, 0.0, 0.0, 0.0, VelGeomPoint3d(0.0, 0.0, 0.0),
                                          VelGeomVector3d(0.0, 1.0, 0.0), VelGeomVector3d(0.0, 0.0, 1.0));
const VelGeomPlane VelGeomPlane::kZXPlane(0.0, 1.0, 0.0, 0.0, VelGeomPoint3d(0.0, 0.0, 0.0),
                                          VelGeomVector3d(-1.0, 0.0, 0.0), VelGeomVector3d(0.0, 0.0, 1.0));

VelGeomPlane::VelGeomPlane(const VelGeomPoint3d& point, const VelGeomVector3d& normal) : VelGeomPlane()
{
    set(point, normal);
}

VelGeomPlane::VelGeomPlane(const VelGeomPoint3d& point, const VelGeomVector3d& e1, const VelGeomVector3d& e2)
    : VelGeomPlane()
{
    set(point, e1, e2);
}

VelGeomPlane::VelGeomPlane(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomPoint3d& p3)
    : VelGeomPlane()
{
    set(p1, p2, p3);
}

VelGeomPlane::VelGeomPlane(const double& a, const double& b, const double& c, const double& d) : VelGeomPlane()
{
    set(a, b, c, d);
}

VelGeomPlane& VelGeomPlane::set(const VelGeomPoint3d& point, const VelGeomVector3d& normal)
{
    const VelGeomVector3d n = normal.normal(VelGeomTol::gTol);
    m_a = n.x;
    m_b = n.y;
    m_c = n.z;
    m_d = -n.dotProduct(point.asVector());
    m_origin = point;
    m_u = n.perpVector();
    m_v = n.crossProduct(m_u);
    return *this;
}

VelGeomPlane& VelGeomPlane::set(const VelGeomPoint3d& point, const VelGeomVector3d& e1, const VelGeomVector3d& e2)
{
    if (e1.isParallelTo(e2, VelGeomTol::gTol)) {
        m_a = m_b = m_c = m_d = 0.0;
    } else {
        VelGeomVector3d n = e1.crossProduct(e2);
        n.normalize();
        m_a = n.x;
        m_b = n.y;
        m_c = n.z;
        m_d = -n.dotProduct(point.asVector());
    }
    m_origin = point;
    m_u = e1;
    m_v = e2;
    return *this;
}

VelGeomPlane& VelGeomPlane::set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2, const VelGeomPoint3d& p3)
{
    return set(p2, p1 - p2, p3 - p2);
}

VelGeomPlane& VelGeomPlane::set(const double& a, const double& b, const double& c, const double& d)
{
    VelGeomPoint3d first(0.0, 0.0, 0.0);
    if (!(a * a < 1e-16))
        first.set(-d / a, 0.0, 0.0);
    else if (!(b * b < 1e-16))
        first.set(0.0, -d / b, 0.0);
    else if (!(c * c < 1e-16))
        first.set(0.0, 0.0, -d / c);
    VelGeomVector3d n(a, b, c);
    n.normalize();
    m_a = n.x;
    m_b = n.y;
    m_c = n.z;
    m_d = -n.dotProduct(first.asVector());
    m_origin = getClosestPointTo(VelGeomPoint3d(0.0, 0.0, 0.0));
    m_u = n.perpVector();
    m_v = n.crossProduct(m_u);
    return *this;
}

void VelGeomPlane::get(VelGeomPoint3d& origin, VelGeomVector3d& u, VelGeomVector3d& v) const
{
    origin = m_origin;
    u = m_u;
    v = m_v;
}

void VelGeomPlane::get(VelGeomPoint3d& p1, VelGeomPoint3d& p2, VelGeomPoint3d& p3) const
{
    p1 = m_origin + m_u;
    p2 = m_origin;
    p3 = m_origin + m_v;
}

void VelGeomPlane::getCS(VelGeomPoint3d& origin, VelGeomVector3d& x, VelGeomVector3d& y, VelGeomVector3d& z) const
{
    origin = m_origin;
    z = normal();
    x = m_u.normal(VelGeomTol::gTol);
    y = z.crossProduct(x);
}

double VelGeomPlane::distanceTo(const VelGeomPoint3d& p) const { return (getClosestPointTo(p) - p).length(); }

VelGeomPoint3d VelGeomPlane::getClosestPointTo(const VelGeomPoint3d& p) const
{
    // The foot along (A, B, C); any scale of the coefficients gives the same
    // point, so a transformed (not renormalised) plane needs no square root.
    const double nn = m_a * m_a + m_b * m_b + m_c * m_c;
    if (nn == 0.0)
        return p;  // a degenerate plane holds every point
    const double s = (m_a * p.x + m_b * p.y + m_c * p.z + m_d) / nn;
    return VelGeomPoint3d(p.x - m_a * s, p.y - m_b * s, p.z - m_c * s);
}

bool VelGeomPlane::isOn(const VelGeomPoint3d& p, const VelGeomTol& tol) const
{
    return tol.equal(m_a * p.x + m_b * p.y + m_c * p.z + m_d, 0.0);
}

bool VelGeomPlane::isOn(const VelGeomLine3d& line, const VelGeomTol& tol) const
{
    const VelGeomPoint3d p = line.pointOnLine();
    return isOn(p, tol) && isOn(p + line.direction() * 100.0, tol);
}

bool VelGeomPlane::isParallel(const VelGeomPlane& plane, const VelGeomTol& tol) const
{
    return normal().isParallelTo(plane.normal(), tol);
}

bool VelGeomPlane::isCoplanarTo(const VelGeomPlane& plane, const VelGeomTol& tol) const
{
    return isOn(plane.m_origin, tol) && isParallel(plane, tol);
}

bool VelGeomPlane::operator==(const VelGeomPlane& plane) const
{
    return isParallel(plane, VelGeomTol::gTol) && isOn(plane.m_origin, VelGeomTol::gTol);
}

VelGeomPlane& VelGeomPlane::operator+=(const VelGeomVector3d& v)
{
    m_origin += v;
    m_d = -normal().dotProduct(m_origin.asVector());
    return *this;
}

VelGeomPlane VelGeomPlane::operator+(const VelGeomVector3d& v) const
{
    VelGeomPlane r(*this);
    return r += v;
}

VelGeomPlane& VelGeomPlane::transformBy(const VelGeomMatrix3d& m)
{
    const VelGeomMatrix3d inv = m.inverse();
    const double row[4] = {m_a, m_b, m_c, m_d};
    double r[4];
    for (int j = 0; j < 4; ++j)
        r[j] = row[0] * inv.entry[0][j] + row[1] * inv.entry[1][j] + row[2] * inv.entry[2][j] +
               row[3] * inv.entry[3][j];
    m_a = r[0];
    m_b = r[1];
    m_c = r[2];
    m_d = r[3];
    m_origin.transformBy(m);
    m_u.transformBy(m);
    m_v.transformBy(m);
    return *this;
}

VelGeomPoint3d VelGeomPlane::intersectWith(const VelGeomLine3d& line) const
{
    const VelGeomPoint3d p = line.pointOnLine();
    const VelGeomVector3d& d = line;  // the stored direction; its scale cancels
    const VelGeomVector3d n = normal();
    return p + d * (-(n.dotProduct(p.asVector()) + m_d) / n.dotProduct(d));
}

bool VelGeomPlane::intersectWith(const VelGeomLine3d& curve, VelGeomPoint3d& p) const
{
    const double dn = curve.direction().dotProduct(normal());
    if (dn * dn < 1e-16)
        return false;
    p = intersectWith(curve);
    const VelGeomTol& tol = VelGeomTol::gTol;
    switch (curve.getType()) {
    case VelGeomCurve3d::kLineSeg: {
        const double t = curve.paramOf(p, tol);
        return tol.lessEqual(0.0, t) && tol.lessEqual(t, 1.0);
    }
    case VelGeomCurve3d::kRay:
        return tol.lessEqual(0.0, curve.paramOf(p, tol));
    default:
        return true;
    }
}

VelGeomLine3d VelGeomPlane::intersectWith(const VelGeomPlane& plane) const
{
    const VelGeomTol tol(1e-5, 1e-5);
    const double a1 = m_a, b1 = m_b, c1 = m_c, d1 = m_d;
    const double a2 = plane.m_a, b2 = plane.m_b, c2 = plane.m_c, d2 = plane.m_d;
    VelGeomPoint3d p(0.0, 0.0, 0.0);
    const double dxy = a1 * b2 - a2 * b1;
    if (!tol.equal(dxy, 0.0)) {
        p.set((b1 * d2 - b2 * d1) / dxy, (a2 * d1 - a1 * d2) / dxy, 0.0);
    } else {
        const double dxz = a1 * c2 - a2 * c1;
        if (!tol.equal(dxz, 0.0)) {
            p.set((c1 * d2 - c2 * d1) / dxz, 0.0, (a2 * d1 - a1 * d2) / dxz);
        } else {
            const double dyz = b1 * c2 - b2 * c1;
            if (!tol.equal(dyz, 0.0))
                p.set(0.0, (c1 * d2 - c2 * d1) / dyz, (b2 * d1 - b1 * d2) / dyz);
        }
    }
    return VelGeomLine3d(p, normal().crossProduct(plane.normal()));
}

bool VelGeomPlane::intersectWith(const VelGeomPlane& plane, VelGeomLine3d& line) const
{
    if (normal().isParallelTo(plane.normal(), VelGeomTol::gTol))
        return false;
    line = intersectWith(plane);
    return true;
}

VelGeomPoint3d VelGeomPlane::intersectWith(const VelGeomPlane& first, const VelGeomPlane& second) const
{
    return intersectWith(first.intersectWith(second));
}

bool VelGeomPlane::intersectWith(const VelGeomPlane& first, const VelGeomPlane& second, VelGeomPoint3d& p) const
{
    if (normal().dotProduct(first.normal().crossProduct(second.normal())) == 0.0)
        return false;
    p = intersectWith(first, second);
    return true;
}

bool VelGeomPlane::intersectWith(const VelGeomCircArc3d& arc, VelArray<VelGeomPoint3d>& points) const
{
    const VelGeomVector3d n = arc.getNormal();
    if (n.isZeroLength(VelGeomTol::gTol))
        return false;  // a default-built arc has no plane
    const VelGeomPlane arcPlane(arc.getStartPoint(), n);
    if (arcPlane.isParallel(*this, VelGeomTol::gTol))
        return false;
    VelArray<VelGeomPoint3d> found;
    if (!intersectWith(arcPlane).intersectWith(arc, found, VelGeomTol::gTol))
        return false;
    points.append(found[0]);
    if (found.length() > 1)
        points.append(found[1]);
    return true;
}

bool VelGeomPlane::intersectWith(const VelGeomCircArc3d& arc, int& count, VelGeomPoint3d& p1,
                                 VelGeomPoint3d& p2) const
{
    VelArray<VelGeomPoint3d> found;
    const bool r = intersectWith(arc, found);
    count = found.length();
    if (count > 0)
        p1 = found[0];
    if (count > 1)
        p2 = found[1];
    return r;
}

bool VelGeomPlane::intersectWith(const VelGeomCurve3d& curve, VelArray<VelGeomPoint3d>& points) const
{
    points.setLogicalLength(0);
    switch (curve.getType()) {
    case VelGeomCurve3d::kLine:
    case VelGeomCurve3d::kLineSeg:
    case VelGeomCurve3d::kRay: {
        const VelGeomLine3d* line = dynamic_cast<const VelGeomLine3d*>(&curve);
        VelGeomPoint3d p;
        if (line && intersectWith(*line, p) &&
            (curve.getType() == VelGeomCurve3d::kLine || curve.isOn(p, VelGeomTol::gTol)))
            points.append(p);
        break;
    }
    case VelGeomCurve3d::kCircArc: {
        const VelGeomCircArc3d* arc = dynamic_cast<const VelGeomCircArc3d*>(&curve);
        if (arc)
            intersectWith(*arc, points);
        break;
    }
    case VelGeomCurve3d::kCompositeCurve: {
        const VelGeomCompositeCurve3d* chain = dynamic_cast<const VelGeomCompositeCurve3d*>(&curve);
        if (!chain)
            break;
        VelArray<VelGeomPoint3d> found, part;
        VelArray<VelGeomCurve3d*> members;
        chain->getCurveList(members);
        for (int i = 0; i < members.length(); ++i)
            if (intersectWith(*members[i], part))
                found.append(part);
        const VelGeomCompositeCurve3d::eFinite finite = chain->getFinite();
        for (int atEnd = 0; atEnd < 2; ++atEnd) {
            const bool active = atEnd ? (finite == VelGeomCompositeCurve3d::kInfiniteEnd)
                                      : (finite == VelGeomCompositeCurve3d::kInfiniteStart);
            if (!active && finite != VelGeomCompositeCurve3d::kInfiniteBoth)
                continue;
            VelGeomCurve3d* extension = chain->getExtension(atEnd != 0);
            if (extension && intersectWith(*extension, part))
                found.append(part);
            VelGeomCurve3d::deleteCurve(extension);
        }
        // A point shared by two members (or a member and an extension) once.
        for (int i = 0; i < found.length(); ++i) {
            bool seen = false;
            for (int k = 0; k < points.length() && !seen; ++k)
                seen = points[k].isEqualTo(found[i], VelGeomTol::gTol);
            if (!seen)
                points.append(found[i]);
        }
        break;
    }
    default:
        break;
    }
    return !points.isEmpty();
}
