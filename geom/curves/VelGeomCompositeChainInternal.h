#pragma once
// The chain algorithms shared by the composite curves of the plane and of
// space: the self-intersection test and the sharp joining of offset pieces.
// Each composite supplies a traits class T with
//
//   using Curve, Point;
//   static bool start(const Curve&, Point&), end(const Curve&, Point&);
//   static bool equal(const Point&, const Point&, const VelGeomTol&);
//   static double distance(const Point&, const Point&);
//   static bool isSegment(const Curve&), isArc(const Curve&);
//   static bool runsBack(const Curve& a, const Curve& b, const VelGeomTol&);
//   static void box(const Curve&, ChainBox&);
//   static bool continues(const Curve& a, const Curve& b);
//   static Curve* supporting(const Curve&);          // heap, or null
//   static void release(Curve*);
//   static Curve* rebuild(const Curve& piece, const Point& from, const Point& to,
//                         const VelGeomTol&);        // heap, or null
//
// Not installed.

#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomPoint3d.h"
#include "geom/core/VelGeomTol.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace VelGeomChain {

// Member-list management of both composites.

// Deletes the owned members that `keep` does not list again, then empties
// both lists.
template <class Curve>
void releaseOwned(VelArray<Curve*>& curves, VelArray<int>& owner, const VelArray<Curve*>* keep)
{
    std::vector<const Curve*> kept;
    if (keep) {
        kept.assign(keep->asArrayPtr(), keep->asArrayPtr() + keep->length());
        std::sort(kept.begin(), kept.end());
    }
    for (int i = 0; i < curves.length(); ++i) {
        if (!owner[i])
            continue;
        if (keep && std::binary_search(kept.begin(), kept.end(), static_cast<const Curve*>(curves[i])))
            continue;
        delete curves[i];
    }
    curves.setLogicalLength(0);
    owner.setLogicalLength(0);
}

// A member list a composite may take: one flag per curve, no null, not the
// composite itself, and no pointer listed twice if any of its entries owns it
// (it would be deleted twice).
template <class Curve>
bool acceptable(const VelArray<Curve*>& curves, const VelArray<int>& flags, const Curve* self)
{
    if (curves.length() != flags.length())
        return false;
    std::vector<std::pair<const Curve*, int>> seen;
    seen.reserve(static_cast<size_t>(curves.length()));
    for (int i = 0; i < curves.length(); ++i) {
        if (!curves[i] || curves[i] == self)
            return false;
        seen.emplace_back(curves[i], flags[i] ? 1 : 0);
    }
    std::sort(seen.begin(), seen.end());
    for (size_t i = 1; i < seen.size(); ++i)
        if (seen[i].first == seen[i - 1].first && (seen[i].second || seen[i - 1].second))
            return false;
    return true;
}

// Axis-aligned box; a plane box leaves z at 0.
struct ChainBox {
    double lo[3];
    double hi[3];

    void setEmpty()
    {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::numeric_limits<double>::infinity();
            hi[k] = -std::numeric_limits<double>::infinity();
        }
    }
    void setUnbounded()
    {
        for (int k = 0; k < 3; ++k) {
            lo[k] = -std::numeric_limits<double>::infinity();
            hi[k] = std::numeric_limits<double>::infinity();
        }
    }
    void add(double x, double y, double z)
    {
        const double c[3] = {x, y, z};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], c[k]);
            hi[k] = std::max(hi[k], c[k]);
        }
    }
    void add(const ChainBox& b)
    {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], b.lo[k]);
            hi[k] = std::max(hi[k], b.hi[k]);
        }
    }
    // True when the boxes, grown by margin, have no point in common.
    bool apart(const ChainBox& o, double margin) const
    {
        for (int k = 0; k < 3; ++k)
            if (o.lo[k] > hi[k] + margin || lo[k] > o.hi[k] + margin)
                return true;
        return false;
    }
    // The largest finite coordinate magnitude, at least 1.
    double scale() const
    {
        double s = 1.0;
        for (int k = 0; k < 3; ++k) {
            if (std::isfinite(lo[k]))
                s = std::max(s, std::fabs(lo[k]));
            if (std::isfinite(hi[k]))
                s = std::max(s, std::fabs(hi[k]));
        }
        return s;
    }
    // A NaN coordinate must not hide a pair from the intersection test.
    void sanitize()
    {
        for (int k = 0; k < 3; ++k)
            if (std::isnan(lo[k]) || std::isnan(hi[k])) {
                setUnbounded();
                return;
            }
    }
};

// How far apart two boxes may be and still hold a common point found under
// tol: the intersection routines accept points a few tolerances off.
inline double boxMargin(const VelGeomTol& tol, double scale)
{
    return 10.0 * std::fabs(tol.effectivePointTol()) + 1e-9 * scale;
}

// The intersections of each member with other, in member order, appended to
// found. Members whose boxes lie apart from other's are not asked, which
// keeps chain-against-chain work to the pairs that come near each other.
template <class T>
void memberIntersections(const VelArray<typename T::Curve*>& c, const typename T::Curve& other,
                         const VelGeomTol& tol, VelArray<typename T::Point>& found)
{
    ChainBox ob;
    T::box(other, ob);
    ob.sanitize();
    VelArray<typename T::Point> part;
    for (int i = 0; i < c.length(); ++i) {
        ChainBox mb;
        T::box(*c[i], mb);
        mb.sanitize();
        if (mb.apart(ob, boxMargin(tol, std::max(mb.scale(), ob.scale()))))
            continue;
        if (c[i]->intersectWith(other, part, tol))
            found.append(part);
    }
}

inline double coordinate(const VelGeomPoint3d& p, int k) { return p[k]; }
inline double coordinate(const VelGeomPoint2d& p, int k) { return k == 0 ? p.x : (k == 1 ? p.y : 0.0); }

// Narrows the box of an arc (the box of its whole circle) to the arc: each
// quarter of the arc turns by at most pi / 2, so it lies within the
// rectangle on its chord that is as wide as its sagitta (the offset of the
// quarter's midpoint from the chord's). Many arcs of one big circle then no
// longer share the circle's box.
template <class T>
void narrowArcBox(const typename T::Curve& arc, ChainBox& box)
{
    double q[9][3];
    for (int k = 0; k <= 8; ++k) {
        const typename T::Point p = arc.evalPoint(k / 8.0);
        for (int a = 0; a < 3; ++a) {
            q[k][a] = coordinate(p, a);
            if (!std::isfinite(q[k][a]))
                return;
        }
    }
    ChainBox quarters;
    quarters.setEmpty();
    for (int s = 0; s < 4; ++s) {
        const double* from = q[2 * s];
        const double* mid = q[2 * s + 1];
        const double* to = q[2 * s + 2];
        double w[3];
        for (int a = 0; a < 3; ++a)
            w[a] = mid[a] - (from[a] + to[a]) / 2.0;
        quarters.add(from[0], from[1], from[2]);
        quarters.add(to[0], to[1], to[2]);
        quarters.add(from[0] + w[0], from[1] + w[1], from[2] + w[2]);
        quarters.add(to[0] + w[0], to[1] + w[1], to[2] + w[2]);
    }
    for (int a = 0; a < 3; ++a) {
        box.lo[a] = std::max(box.lo[a], quarters.lo[a]);
        box.hi[a] = std::min(box.hi[a], quarters.hi[a]);
    }
}

// Pairs whose boxes, grown by the tolerance and by a rounding margin, are
// apart cannot have a common point: the sweep visits only the others, so the
// test stays near linear for chains that do not fold onto themselves. It
// runs along the axis on which the boxes overlap least (the sum of their
// widths against the spread of the chain), so that a chain of long parallel
// members is swept across them rather than along them.
template <class T>
bool farPairsIntersect(const VelArray<typename T::Curve*>& c, const VelGeomTol& tol)
{
    const int n = c.length();
    if (n < 3)
        return false;
    std::vector<ChainBox> boxes(n);
    double scale = 1.0;
    double lo[3], hi[3], widths[3] = {0.0, 0.0, 0.0};
    for (int k = 0; k < 3; ++k) {
        lo[k] = std::numeric_limits<double>::infinity();
        hi[k] = -std::numeric_limits<double>::infinity();
    }
    for (int i = 0; i < n; ++i) {
        T::box(*c[i], boxes[i]);
        if (T::isArc(*c[i]))
            narrowArcBox<T>(*c[i], boxes[i]);
        boxes[i].sanitize();
        for (int k = 0; k < 3; ++k) {
            const double l = boxes[i].lo[k], h = boxes[i].hi[k];
            if (std::isfinite(l)) {
                scale = std::max(scale, std::fabs(l));
                lo[k] = std::min(lo[k], l);
            }
            if (std::isfinite(h)) {
                scale = std::max(scale, std::fabs(h));
                hi[k] = std::max(hi[k], h);
            }
            if (std::isfinite(l) && std::isfinite(h))
                widths[k] += h - l;
        }
    }
    int a = 0;
    double best = std::numeric_limits<double>::infinity();
    for (int k = 0; k < 3; ++k) {
        const double spread = hi[k] - lo[k];
        if (spread > 0.0 && widths[k] / spread < best) {
            best = widths[k] / spread;
            a = k;
        }
    }
    const int b = (a + 1) % 3, d = (a + 2) % 3;
    const double margin = 10.0 * std::fabs(tol.effectivePointTol()) + 1e-9 * scale;
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](int x, int y) { return boxes[x].lo[a] < boxes[y].lo[a]; });

    VelArray<typename T::Point> pts;
    for (int oi = 0; oi < n; ++oi) {
        const int i = order[oi];
        const ChainBox& bi = boxes[i];
        for (int oj = oi + 1; oj < n; ++oj) {
            const int j = order[oj];
            const ChainBox& bj = boxes[j];
            if (bj.lo[a] > bi.hi[a] + margin)
                break;
            if (bj.lo[b] > bi.hi[b] + margin || bi.lo[b] > bj.hi[b] + margin || bj.lo[d] > bi.hi[d] + margin ||
                bi.lo[d] > bj.hi[d] + margin)
                continue;
            const int lowIdx = std::min(i, j), highIdx = std::max(i, j);
            if (highIdx - lowIdx < 2 || (lowIdx == 0 && highIdx == n - 1))
                continue;  // neighbours and the first-last pair have their own rules
            if (c[lowIdx]->intersectWith(*c[highIdx], pts, tol))
                return true;
        }
    }
    return false;
}

template <class T>
bool selfIntersects(const VelArray<typename T::Curve*>& c, bool closed, const VelGeomTol& tol)
{
    using Point = typename T::Point;
    const int n = c.length();
    if (n < 2)
        return false;
    VelArray<Point> pts;

    // Neighbours.
    for (int i = 0; i + 1 < n; ++i) {
        const int j = i + 1;
        Point e, sj, si;
        T::end(*c[i], e);
        T::start(*c[j], sj);
        T::start(*c[i], si);
        c[i]->intersectWith(*c[j], pts, tol);
        const int k = pts.length();
        bool endToStartOnly = false;
        if (n > 2) {
            if (k == 0) {
                if (!T::equal(e, sj, tol))
                    return true;
                endToStartOnly = true;
            } else {
                if (k != 1 || !T::equal(pts[0], e, tol))
                    return true;
                endToStartOnly = true;
            }
        } else {
            if (k == 0) {
                if (!T::equal(e, sj, tol))
                    return true;
                endToStartOnly = true;
            } else if (k == 1) {
                if (closed || !T::equal(pts[0], e, tol))
                    return true;
                endToStartOnly = true;
            } else if (k == 2) {
                if (T::isSegment(*c[i]) && T::isSegment(*c[j]))
                    return true;
                const bool ends = (T::equal(pts[0], e, tol) && T::equal(pts[1], si, tol)) ||
                                  (T::equal(pts[0], si, tol) && T::equal(pts[1], e, tol));
                if (!ends || T::equal(si, e, tol))
                    return true;
            } else {
                return true;
            }
        }
        if (endToStartOnly && T::runsBack(*c[i], *c[j], tol))
            return true;
    }

    // First and last member.
    if (n > 2) {
        Point s0, el;
        T::start(*c[0], s0);
        T::end(*c[n - 1], el);
        c[0]->intersectWith(*c[n - 1], pts, tol);
        if (closed) {
            if (pts.isEmpty()) {
                if (!T::equal(s0, el, tol))
                    return true;
            } else if (pts.length() != 1 || !T::equal(pts[0], s0, tol)) {
                return true;
            }
        } else {
            for (int k = 0; k < pts.length(); ++k)
                if (!T::equal(pts[k], s0, tol))
                    return true;
        }
    }

    return farPairsIntersect<T>(c, tol);
}

// The point where the offset pieces a and b are joined: the end of a when
// they continue one another, otherwise the intersection of their supporting
// curves nearest to that end. False when they do not meet.
template <class T>
bool joinPoint(const typename T::Curve& a, const typename T::Curve& b, const VelGeomTol& tol,
               typename T::Point& joint)
{
    using Curve = typename T::Curve;
    using Point = typename T::Point;
    Point o, sb;
    if (!T::end(a, o))
        return false;
    // Pieces that already meet end to start (as tangent neighbours do) are
    // joined there: their supporting curves meet at that very point, and a
    // tangency is where an intersection is least reliable.
    if (T::continues(a, b) || (T::start(b, sb) && T::equal(o, sb, tol))) {
        joint = o;
        return true;
    }
    Curve* ca = T::supporting(a);
    Curve* cb = T::supporting(b);
    VelArray<Point> pts;
    bool found = false;
    if (ca && cb && ca->intersectWith(*cb, pts, tol)) {
        int best = 0;
        for (int k = 1; k < pts.length(); ++k)
            if (T::distance(pts[k], o) < T::distance(pts[best], o))
                best = k;
        joint = pts[best];
        found = true;
    }
    T::release(ca);
    T::release(cb);
    return found;
}

// Rebuilds the offset pieces between their joints (sharp corners). closed
// joins the last piece to the first as well. On success the new curves are
// appended to out (the caller owns them); on failure out is left as it was.
template <class T>
bool joinPieces(const VelArray<typename T::Curve*>& pieces, bool closed, const VelGeomTol& tol,
                VelArray<typename T::Curve*>& out)
{
    using Curve = typename T::Curve;
    using Point = typename T::Point;
    const int n = pieces.length();
    if (n == 0)
        return false;
    for (int k = 0; k < n; ++k)
        if (!pieces[k] || !(T::isSegment(*pieces[k]) || T::isArc(*pieces[k])))
            return false;
    std::vector<Point> joints(n + 1);
    if (!T::start(*pieces[0], joints[0]))
        return false;
    for (int k = 0; k + 1 < n; ++k)
        if (!joinPoint<T>(*pieces[k], *pieces[k + 1], tol, joints[k + 1]))
            return false;
    if (closed) {
        if (!joinPoint<T>(*pieces[n - 1], *pieces[0], tol, joints[0]))
            return false;
        joints[n] = joints[0];
    } else if (!T::end(*pieces[n - 1], joints[n])) {
        return false;
    }
    VelArray<Curve*> made;
    for (int k = 0; k < n; ++k) {
        Curve* c = T::rebuild(*pieces[k], joints[k], joints[k + 1], tol);
        if (!c) {
            for (int m = 0; m < made.length(); ++m)
                T::release(made[m]);
            return false;
        }
        made.append(c);
    }
    out.append(made);
    return true;
}

}  // namespace VelGeomChain
