#include "geom/core/VelGeomBoundBlock2d.h"

#include "geom/core/VelGeomMatrix2d.h"
#include "geom/curves/VelGeomLine2d.h"
#include "geom/curves/VelGeomLineSeg2d.h"

#include <algorithm>

namespace {

const VelGeomTol& g() { return VelGeomTol::gTol; }

bool isZero(const VelGeomVector2d& v) { return v.isZeroLength(g()); }

void extendEdge(VelGeomPoint2d& corner, VelGeomVector2d& e, double t)
{
    const VelGeomVector2d toQ = e * t;
    if (toQ.isCodirectionalTo(-e, g())) {
        const VelGeomPoint2d farEnd = corner + e;
        corner += toQ;
        e = farEnd - corner;
    } else if (toQ.length() > e.length()) {
        e = toQ;
    }
}

bool segmentsMeet(const VelGeomLineSeg2d& a, const VelGeomLineSeg2d& b)
{
    VelArray<VelGeomPoint2d> pts;
    if (a.intersectWith(b, pts, g()) && pts.length() > 0)
        return true;
    return a.isOn(b.getStartPoint(), g()) || a.isOn(b.getEndPoint(), g()) || b.isOn(a.getStartPoint(), g()) ||
           b.isOn(a.getEndPoint(), g());
}

} // namespace

VelGeomBoundBlock2d& VelGeomBoundBlock2d::set(const VelGeomPoint2d& corner, const VelGeomVector2d& u,
                                               const VelGeomVector2d& v)
{
    m_corner = corner;
    m_u = u;
    m_v = v.isParallelTo(u, g()) ? VelGeomVector2d() : v;
    return *this;
}

VelGeomBoundBlock2d& VelGeomBoundBlock2d::set(const VelGeomPoint2d& p1, const VelGeomPoint2d& p2)
{
    m_corner = p1;
    m_u = p2 - p1;
    m_v = VelGeomVector2d();
    return *this;
}

void VelGeomBoundBlock2d::get(VelGeomPoint2d& corner, VelGeomVector2d& u, VelGeomVector2d& v) const
{
    corner = m_corner;
    u = m_u;
    v = m_v;
}

void VelGeomBoundBlock2d::corners(VelGeomPoint2d out[4]) const
{
    out[0] = m_corner;
    out[1] = m_corner + m_u;
    out[2] = m_corner + m_v;
    out[3] = m_corner + m_u + m_v;
}

void VelGeomBoundBlock2d::getMinMaxPoints(VelGeomPoint2d& min, VelGeomPoint2d& max) const
{
    VelGeomPoint2d c[4];
    corners(c);
    min = max = c[0];
    for (int i = 1; i < 4; ++i) {
        min.set(std::min(min.x, c[i].x), std::min(min.y, c[i].y));
        max.set(std::max(max.x, c[i].x), std::max(max.y, c[i].y));
    }
}

int VelGeomBoundBlock2d::edges(VelGeomVector2d out[2]) const
{
    int k = 0;
    for (const VelGeomVector2d* e : {&m_u, &m_v})
        if (!isZero(*e))
            out[k++] = *e;
    return k;
}

int VelGeomBoundBlock2d::dimension() const
{
    VelGeomVector2d e[2];
    return edges(e);
}

VelGeomBoundBlock2d& VelGeomBoundBlock2d::swell(double d)
{
    const VelGeomVector2d a = isZero(m_u) ? VelGeomVector2d() : m_u.normal(g());
    const VelGeomVector2d b = isZero(m_v) ? VelGeomVector2d() : m_v.normal(g());
    m_corner -= (a + b) * d;
    m_u += a * (2.0 * d);
    m_v += b * (2.0 * d);
    return *this;
}

VelGeomBoundBlock2d& VelGeomBoundBlock2d::transformBy(const VelGeomMatrix2d& m)
{
    m_corner.transformBy(m);
    m_u.transformBy(m);
    m_v.transformBy(m);
    return *this;
}

bool VelGeomBoundBlock2d::contains(const VelGeomPoint2d& p) const
{
    VelGeomVector2d e[2];
    const int k = edges(e);
    if (k == 0)
        return p == m_corner;
    if (k == 1)
        return VelGeomLineSeg2d(m_corner, m_corner + e[0]).isOn(p, g());
    auto between = [&](const VelGeomVector2d& normal, const VelGeomVector2d& across) {
        const VelGeomLine2d line(p, normal);
        const VelGeomPoint2d a = line.getClosestPointTo(m_corner);
        const VelGeomPoint2d b = line.getClosestPointTo(m_corner + across);
        return VelGeomLineSeg2d(a, b).isOn(p, g());
    };
    return between(e[0].perpVector(), e[1]) && between(e[1].perpVector(), e[0]);
}

VelGeomBoundBlock2d& VelGeomBoundBlock2d::extend(const VelGeomPoint2d& p)
{
    VelGeomVector2d e[2];
    const int k = edges(e);
    const VelGeomVector2d d = p - m_corner;
    VelGeomPoint2d corner = m_corner;
    if (k == 0)
        return set(corner, d, VelGeomVector2d());
    if (k == 1) {
        if (VelGeomLine2d(m_corner, e[0]).isOn(p, g())) {
            extendEdge(corner, e[0], d.dotProduct(e[0]) / e[0].lengthSqrd());
            return set(corner, e[0], VelGeomVector2d());
        }
        return set(corner, e[0], d);
    }
    const double det = e[0].x * e[1].y - e[0].y * e[1].x;
    const double a = (d.x * e[1].y - d.y * e[1].x) / det;
    const double b = (e[0].x * d.y - e[0].y * d.x) / det;
    extendEdge(corner, e[0], a);
    extendEdge(corner, e[1], b);
    m_corner = corner;
    m_u = e[0];
    m_v = e[1];
    return *this;
}

VelGeomBoundBlock2d& VelGeomBoundBlock2d::extend(const VelArray<VelGeomPoint2d>& pts)
{
    for (int i = 0; i < pts.length(); ++i)
        extend(pts[i]);
    return *this;
}

bool VelGeomBoundBlock2d::isDisjoint(const VelGeomBoundBlock2d& block) const
{
    VelGeomVector2d ea[2], eb[2];
    const bool swap = block.edges(eb) > edges(ea);
    const VelGeomBoundBlock2d& A = swap ? block : *this;
    const VelGeomBoundBlock2d& B = swap ? *this : block;
    VelGeomVector2d a[2], b[2];
    const int ka = A.edges(a), kb = B.edges(b);
    if (ka == 0)
        return !(A.m_corner == B.m_corner);
    if (ka == 1) {
        const VelGeomLineSeg2d segA(A.m_corner, A.m_corner + a[0]);
        if (kb == 0)
            return !segA.isOn(B.m_corner, g());
        return !segmentsMeet(segA, VelGeomLineSeg2d(B.m_corner, B.m_corner + b[0]));
    }
    VelGeomPoint2d alo, ahi, blo, bhi;
    A.getMinMaxPoints(alo, ahi);
    B.getMinMaxPoints(blo, bhi);
    if (blo.x > ahi.x || bhi.x < alo.x || blo.y > ahi.y || bhi.y < alo.y)
        return true;
    VelGeomPoint2d ca[4], cb[4];
    A.corners(ca);
    B.corners(cb);
    const VelGeomVector2d axes[4] = {a[0].perpVector(), a[1].perpVector(), kb > 0 ? b[0].perpVector() : VelGeomVector2d(),
                                     kb > 1 ? b[1].perpVector() : VelGeomVector2d()};
    for (const VelGeomVector2d& axis : axes) {
        if (isZero(axis))
            continue;
        double aLo = 0, aHi = 0, bLo = 0, bHi = 0;
        for (int i = 0; i < 4; ++i) {
            const double ta = axis.dotProduct(ca[i] - A.m_corner), tb = axis.dotProduct(cb[i] - A.m_corner);
            aLo = i ? std::min(aLo, ta) : ta;
            aHi = i ? std::max(aHi, ta) : ta;
            bLo = i ? std::min(bLo, tb) : tb;
            bHi = i ? std::max(bHi, tb) : tb;
        }
        if (bHi < aLo || aHi < bLo)
            return true;
    }
    return false;
}
