#include "geom/core/VelGeomBoundBlock3d.h"

#include "geom/contours/VelGeomVertexInfo.h"
#include "geom/core/VelGeomMatrix3d.h"
#include "geom/curves/VelGeomLine3d.h"
#include "geom/curves/VelGeomLineSeg3d.h"
#include "geom/curves/VelGeomPlane.h"

#include <algorithm>
#include <cmath>

namespace {

const VelGeomTol& g() { return VelGeomTol::gTol; }

bool isZero(const VelGeomVector3d& v) { return v.isZeroLength(g()); }

struct Interval {
    double lo = 0.0, hi = 0.0;
    bool any = false;
    void take(double t)
    {
        if (!any) {
            lo = hi = t;
            any = true;
        } else {
            lo = std::min(lo, t);
            hi = std::max(hi, t);
        }
    }
};

// Touching intervals are not separated.
bool separated(const Interval& a, const Interval& b) { return b.hi < a.lo || a.hi < b.lo; }

// Extends one edge e (with the corner) toward the point corner + t * e.
void extendEdge(VelGeomPoint3d& corner, VelGeomVector3d& e, double t)
{
    const VelGeomVector3d toQ = e * t;
    if (toQ.isCodirectionalTo(-e, g())) {
        const VelGeomPoint3d farEnd = corner + e;
        corner += toQ;
        e = farEnd - corner;
    } else if (toQ.length() > e.length()) {
        e = toQ;
    }
}

// Whether the two segments share a point: the intersection routine, plus the
// overlap of colinear segments, which it does not report as a point.
bool segmentsMeet(const VelGeomLineSeg3d& a, const VelGeomLineSeg3d& b)
{
    VelArray<VelGeomPoint3d> pts;
    if (a.intersectWith(b, pts, g()) && pts.length() > 0)
        return true;
    const VelGeomPoint3d a0 = a.getStartPoint(), a1 = a.getEndPoint();
    const VelGeomPoint3d b0 = b.getStartPoint(), b1 = b.getEndPoint();
    return a.isOn(b0, g()) || a.isOn(b1, g()) || b.isOn(a0, g()) || b.isOn(a1, g());
}

} // namespace

VelGeomBoundBlock3d& VelGeomBoundBlock3d::set(const VelGeomPoint3d& corner, const VelGeomVector3d& u,
                                               const VelGeomVector3d& v, const VelGeomVector3d& w)
{
    m_corner = corner;
    m_u = u;
    m_v = v.isParallelTo(u, g()) ? VelGeomVector3d() : v;
    m_w = VelGeomVector3d();
    if (!w.isParallelTo(u, g()) && !w.isParallelTo(m_v, g())) {
        bool inPlane = false;
        if (!isZero(m_u) && !isZero(m_v))
            inPlane = VelGeomPlane(corner, m_u, m_v).isOn(corner + w, g());
        if (!inPlane)
            m_w = w;
    }
    return *this;
}

VelGeomBoundBlock3d& VelGeomBoundBlock3d::set(const VelGeomPoint3d& p1, const VelGeomPoint3d& p2)
{
    m_corner = p1;
    m_u = p2 - p1;
    m_v = VelGeomVector3d();
    m_w = VelGeomVector3d();
    return *this;
}

void VelGeomBoundBlock3d::get(VelGeomPoint3d& corner, VelGeomVector3d& u, VelGeomVector3d& v,
                              VelGeomVector3d& w) const
{
    corner = m_corner;
    u = m_u;
    v = m_v;
    w = m_w;
}

void VelGeomBoundBlock3d::corners(VelGeomPoint3d out[8]) const
{
    for (int i = 0; i < 8; ++i) {
        VelGeomPoint3d c = m_corner;
        if (i & 1)
            c += m_u;
        if (i & 2)
            c += m_v;
        if (i & 4)
            c += m_w;
        out[i] = c;
    }
}

void VelGeomBoundBlock3d::getMinMaxPoints(VelGeomPoint3d& min, VelGeomPoint3d& max) const
{
    VelGeomPoint3d c[8];
    corners(c);
    min = max = c[0];
    for (int i = 1; i < 8; ++i) {
        min.set(std::min(min.x, c[i].x), std::min(min.y, c[i].y), std::min(min.z, c[i].z));
        max.set(std::max(max.x, c[i].x), std::max(max.y, c[i].y), std::max(max.z, c[i].z));
    }
}

int VelGeomBoundBlock3d::edges(VelGeomVector3d out[3]) const
{
    int k = 0;
    for (const VelGeomVector3d* e : {&m_u, &m_v, &m_w})
        if (!isZero(*e))
            out[k++] = *e;
    return k;
}

int VelGeomBoundBlock3d::dimension() const
{
    VelGeomVector3d e[3];
    return edges(e);
}

VelGeomBoundBlock3d& VelGeomBoundBlock3d::swell(double d)
{
    const VelGeomVector3d nu = m_u.normal(g()), nv = m_v.normal(g()), nw = m_w.normal(g());
    // normal() leaves vectors shorter than the tolerance as they are; a flat
    // direction must not grow, so only unit results count.
    auto unitOrZero = [](const VelGeomVector3d& n, const VelGeomVector3d& e) {
        return isZero(e) ? VelGeomVector3d() : n;
    };
    const VelGeomVector3d a = unitOrZero(nu, m_u), b = unitOrZero(nv, m_v), c = unitOrZero(nw, m_w);
    m_corner -= (a + b + c) * d;
    m_u += a * (2.0 * d);
    m_v += b * (2.0 * d);
    m_w += c * (2.0 * d);
    return *this;
}

VelGeomBoundBlock3d& VelGeomBoundBlock3d::transformBy(const VelGeomMatrix3d& m)
{
    m_corner.transformBy(m);
    m_u.transformBy(m);
    m_v.transformBy(m);
    m_w.transformBy(m);
    return *this;
}

bool VelGeomBoundBlock3d::contains(const VelGeomPoint3d& p) const
{
    VelGeomVector3d e[3];
    const int k = edges(e);
    if (k == 0)
        return p == m_corner;
    if (k == 1)
        return VelGeomLineSeg3d(m_corner, m_corner + e[0]).isOn(p, g());

    // Between two opposite sides (faces): along the normal of the pair, p must
    // lie on the segment between the line's closest points to both.
    auto between = [&](const VelGeomVector3d& normal, const VelGeomVector3d& across) {
        const VelGeomLine3d line(p, normal);
        const VelGeomPoint3d a = line.getClosestPointTo(m_corner);
        const VelGeomPoint3d b = line.getClosestPointTo(m_corner + across);
        return VelGeomLineSeg3d(a, b).isOn(p, g());
    };
    if (k == 2) {
        if (!VelGeomPlane(m_corner, e[0], e[1]).isOn(p, g()))
            return false;
        const VelGeomVector3d n = e[0].crossProduct(e[1]);
        return between(n.crossProduct(e[0]), e[1]) && between(n.crossProduct(e[1]), e[0]);
    }
    VelGeomPoint3d lo, hi;
    getMinMaxPoints(lo, hi);
    if (p.x < lo.x || p.x > hi.x || p.y < lo.y || p.y > hi.y || p.z < lo.z || p.z > hi.z)
        return false;
    return between(e[0].crossProduct(e[1]), e[2]) && between(e[0].crossProduct(e[2]), e[1]) &&
           between(e[1].crossProduct(e[2]), e[0]);
}

VelGeomBoundBlock3d& VelGeomBoundBlock3d::extend(const VelGeomPoint3d& p)
{
    VelGeomVector3d e[3];
    const int k = edges(e);
    const VelGeomVector3d d = p - m_corner;
    VelGeomPoint3d corner = m_corner;
    if (k == 0) {
        set(corner, d, VelGeomVector3d(), VelGeomVector3d());
        return *this;
    }
    if (k == 1) {
        if (VelGeomLine3d(m_corner, e[0]).isOn(p, g())) {
            extendEdge(corner, e[0], d.dotProduct(e[0]) / e[0].lengthSqrd());
            set(corner, e[0], VelGeomVector3d(), VelGeomVector3d());
        } else {
            set(corner, e[0], d, VelGeomVector3d());
        }
        return *this;
    }
    if (k == 2) {
        if (!VelGeomPlane(m_corner, e[0], e[1]).isOn(p, g())) {
            set(corner, e[0], e[1], d);
            return *this;
        }
        // Coordinates of p along the two edges (the lines through p parallel
        // to one edge meet the other edge's line there).
        const double g00 = e[0].lengthSqrd(), g01 = e[0].dotProduct(e[1]), g11 = e[1].lengthSqrd();
        const double r0 = d.dotProduct(e[0]), r1 = d.dotProduct(e[1]);
        const double det = g00 * g11 - g01 * g01;
        const double a = (r0 * g11 - r1 * g01) / det;
        const double b = (r1 * g00 - r0 * g01) / det;
        extendEdge(corner, e[0], a);
        extendEdge(corner, e[1], b);
        set(corner, e[0], e[1], VelGeomVector3d());
        return *this;
    }
    // A full block: p projected on each edge line through the plane of the
    // other two edges.
    const double vol = e[0].dotProduct(e[1].crossProduct(e[2]));
    const double a = d.dotProduct(e[1].crossProduct(e[2])) / vol;
    const double b = e[0].dotProduct(d.crossProduct(e[2])) / vol;
    const double c = e[0].dotProduct(e[1].crossProduct(d)) / vol;
    extendEdge(corner, e[0], a);
    extendEdge(corner, e[1], b);
    extendEdge(corner, e[2], c);
    m_corner = corner;
    m_u = e[0];
    m_v = e[1];
    m_w = e[2];
    return *this;
}

VelGeomBoundBlock3d& VelGeomBoundBlock3d::extend(const VelArray<VelGeomPoint3d>& pts)
{
    for (int i = 0; i < pts.length(); ++i)
        extend(pts[i]);
    return *this;
}

VelGeomBoundBlock3d& VelGeomBoundBlock3d::extend(const VelGeomVertexInfo& info, const VelGeomPoint3d& p1,
                                                 const VelGeomPoint3d& p2)
{
    if (!info.isArc()) {
        extend(p1);
        return extend(p2);
    }
    extend(info.getApproxVertices(p1, p2));
    // The chord points stop short of p2; the edge ends there all the same.
    extend(p2);
    const VelGeomPoint3d& c = info.getCenter();
    const double a = (p1 - c).angleTo(p2 - c, info.getNormal());
    VelGeomVector3d mid = p1 - c;
    mid.transformBy(VelGeomMatrix3d::rotation(a / 2.0, info.getNormal()));
    return extend(c + mid);
}

bool VelGeomBoundBlock3d::isDisjoint(const VelGeomBoundBlock3d& block) const
{
    VelGeomVector3d ea[3], eb[3];
    const int ka0 = edges(ea), kb0 = block.edges(eb);
    // A: the block with more non-zero edges (this one on ties).
    const bool swap = kb0 > ka0;
    const VelGeomBoundBlock3d& A = swap ? block : *this;
    const VelGeomBoundBlock3d& B = swap ? *this : block;
    VelGeomVector3d a[3], b[3];
    const int ka = A.edges(a), kb = B.edges(b);

    if (ka == 0)
        return !(A.m_corner == B.m_corner);
    if (ka == 1) {
        const VelGeomLineSeg3d segA(A.m_corner, A.m_corner + a[0]);
        if (kb == 0)
            return !segA.isOn(B.m_corner, g());
        return !segmentsMeet(segA, VelGeomLineSeg3d(B.m_corner, B.m_corner + b[0]));
    }

    VelGeomPoint3d ca[8], cb[8];
    A.corners(ca);
    B.corners(cb);
    auto boundsSeparate = [&]() {
        VelGeomPoint3d alo, ahi, blo, bhi;
        A.getMinMaxPoints(alo, ahi);
        B.getMinMaxPoints(blo, bhi);
        return blo.x > ahi.x || bhi.x < alo.x || blo.y > ahi.y || bhi.y < alo.y || blo.z > ahi.z || bhi.z < alo.z;
    };
    // Projections onto an axis through A's corner; a block whose own face
    // normal the axis is contributes its corner and the corner moved by its
    // third edge, otherwise all of its corners.
    auto project = [&](const VelGeomVector3d& axis, const VelGeomPoint3d* c, const VelGeomBoundBlock3d& owner,
                       const VelGeomVector3d* third) {
        // third: set when the axis is the owner's own face normal.
        Interval iv;
        if (third) {
            iv.take(axis.dotProduct(owner.m_corner - A.m_corner));
            iv.take(axis.dotProduct(owner.m_corner + *third - A.m_corner));
        } else {
            for (int i = 0; i < 8; ++i)
                iv.take(axis.dotProduct(c[i] - A.m_corner));
        }
        return iv;
    };
    auto usable = [](const VelGeomVector3d& x, const VelGeomVector3d& y) {
        return !isZero(x) && !isZero(y) && !x.isParallelTo(y, g());
    };

    auto generalTest = [&]() {
        if (boundsSeparate())
            return true;
        const VelGeomVector3d zero;
        const VelGeomVector3d A3[3] = {ka > 0 ? a[0] : zero, ka > 1 ? a[1] : zero, ka > 2 ? a[2] : zero};
        const VelGeomVector3d B3[3] = {kb > 0 ? b[0] : zero, kb > 1 ? b[1] : zero, kb > 2 ? b[2] : zero};
        // Face normals: (edge i, edge j) with the third edge across the face.
        const int faces[3][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}};
        for (int pass = 0; pass < 2; ++pass) {
            const VelGeomVector3d* E = pass == 0 ? A3 : B3;
            for (const auto& f : faces) {
                if (!usable(E[f[0]], E[f[1]]))
                    continue;
                const VelGeomVector3d axis = E[f[0]].crossProduct(E[f[1]]);
                const Interval ia = pass == 0 ? project(axis, ca, A, &E[f[2]]) : project(axis, ca, A, nullptr);
                const Interval ib = pass == 1 ? project(axis, cb, B, &E[f[2]]) : project(axis, cb, B, nullptr);
                if (separated(ia, ib))
                    return true;
            }
        }
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) {
                if (!usable(A3[i], B3[j]))
                    continue;
                const VelGeomVector3d axis = A3[i].crossProduct(B3[j]);
                if (separated(project(axis, ca, A, nullptr), project(axis, cb, B, nullptr)))
                    return true;
            }
        return false;
    };

    if (ka == 3)
        return generalTest();

    // A is a parallelogram.
    const VelGeomPlane planeA(A.m_corner, a[0], a[1]);
    if (kb == 0)
        return !A.contains(B.m_corner);

    auto coplanarTest = [&]() {
        if (boundsSeparate())
            return true;
        const VelGeomVector3d n = a[0].crossProduct(a[1]);
        // A's own in-plane axes take A's two values along the other edge.
        for (int i = 0; i < 2; ++i) {
            const VelGeomVector3d axis = a[i].crossProduct(n);
            const VelGeomVector3d& across = a[1 - i];
            Interval ia;
            ia.take(0.0);
            ia.take(axis.dotProduct(across));
            Interval ib;
            for (int c = 0; c < 8; ++c)
                ib.take(axis.dotProduct(cb[c] - A.m_corner));
            if (separated(ia, ib))
                return true;
        }
        for (int j = 0; j < kb; ++j) {
            const VelGeomVector3d axis = b[j].crossProduct(n);
            if (isZero(axis))
                continue;
            Interval ia, ib;
            for (int c = 0; c < 8; ++c) {
                ia.take(axis.dotProduct(ca[c] - A.m_corner));
                ib.take(axis.dotProduct(cb[c] - A.m_corner));
            }
            if (separated(ia, ib))
                return true;
        }
        return false;
    };

    if (kb == 1) {
        const VelGeomPoint3d s0 = B.m_corner, s1 = B.m_corner + b[0];
        const bool on0 = planeA.isOn(s0, g()), on1 = planeA.isOn(s1, g());
        if (on0 && on1)
            return coplanarTest();
        const VelGeomVector3d n = planeA.normal();
        const double d0 = n.dotProduct(s0 - A.m_corner), d1 = n.dotProduct(s1 - A.m_corner);
        if (!on0 && !on1 && ((d0 > 0.0 && d1 > 0.0) || (d0 < 0.0 && d1 < 0.0)))
            return true;  // the segment does not reach A's plane
        return generalTest();
    }
    // Two parallelograms.
    const VelGeomVector3d nb = b[0].crossProduct(b[1]);
    if (planeA.normal().isParallelTo(nb, g())) {
        if (planeA.isOn(B.m_corner, g()))
            return coplanarTest();
        return generalTest();
    }
    return generalTest();  // crossing planes: complete with these axes, see the header
}

VelGeomBoundBlock3d& VelGeomBoundBlock3d::slice(const VelGeomPlane& plane)
{
    const VelGeomTol tol;
    const VelGeomVector3d n = plane.normal();
    VelGeomPoint3d c[8];
    corners(c);
    double d[8];
    int below = 0, firstAbove = -1;
    for (int i = 0; i < 8; ++i) {
        d[i] = (c[i] - plane.getClosestPointTo(c[i])).dotProduct(n);
        if (tol.lessNotEqual(d[i], 0.0))
            ++below;
        else if (tol.lessNotEqual(0.0, d[i]) && firstAbove < 0)
            firstAbove = i;
    }
    if (below < 4)
        return *this;
    if (firstAbove < 0) {
        *this = VelGeomBoundBlock3d();
        return *this;
    }
    // Re-anchor at the first corner above the plane: the block is the same set.
    VelGeomVector3d* e[3] = {&m_u, &m_v, &m_w};
    for (int bit = 0; bit < 3; ++bit)
        if (firstAbove & (1 << bit)) {
            m_corner += *e[bit];
            e[bit]->negate();
        }
    corners(c);
    for (int i = 0; i < 8; ++i)
        d[i] = (c[i] - plane.getClosestPointTo(c[i])).dotProduct(n);
    // Each group of four parallel edges runs from the corners without the bit
    // to the corners with it; the group's edge shrinks to the farthest
    // crossing of the plane.
    for (int bit = 0; bit < 3; ++bit) {
        if (isZero(*e[bit]))
            continue;
        double best = -1.0;
        for (int i = 0; i < 8; ++i) {
            if (i & (1 << bit))
                continue;
            const int j = i | (1 << bit);
            const double da = d[i], db = d[j];
            const bool onA = tol.equal(da, 0.0), onB = tol.equal(db, 0.0);
            double t = -1.0;
            if (onA && onB)
                t = 1.0;
            else if (onB)
                t = 1.0;
            else if (onA)
                t = 0.0;
            else if ((da > 0.0) != (db > 0.0))
                t = da / (da - db);
            if (t >= 0.0 && t <= 1.0)
                best = std::max(best, t);
        }
        if (best >= 0.0)
            *e[bit] *= best;
    }
    return *this;
}
