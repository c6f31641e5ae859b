#include "geom/contours/VelDiscretization.h"

#include "geom/core/VelGeomTol.h"
#include "geom/core/VelGeomVector2d.h"

#include <cmath>

double VelDiscretization::m_dfDiscretizationIntervalLength = 10.0;

VelDiscretization::~VelDiscretization() = default;

namespace {

VelGeomPoint3d lift(const VelGeomPoint2d& p) { return VelGeomPoint3d(p.x, p.y, 0.0); }

// Number of equal strips of a span: one more than the whole widths it holds.
int stripsOf(double span)
{
    const double w = VelDiscretization::m_dfDiscretizationIntervalLength;
    if (!(w > 0.0) || !(span > 0.0))
        return 1;
    const double n = std::floor(span / w);
    // A pathological width must not turn into millions of boxes.
    return n > 1e6 ? 1000001 : static_cast<int>(n) + 1;
}

// The point of the polyline a -> b -> c (monotone in x) at abscissa x.
VelGeomPoint2d atX(const VelGeomPoint2d& a, const VelGeomPoint2d& b, const VelGeomPoint2d& c, double x)
{
    const VelGeomPoint2d& s = x <= b.x ? a : b;
    const VelGeomPoint2d& e = x <= b.x ? b : c;
    const double dx = e.x - s.x;
    if (dx == 0.0)
        return x <= b.x ? b : e;
    const double t = (x - s.x) / dx;
    return s + (e - s) * t;
}

} // namespace

VelArray<VelGeomExtents> VelDiscretization::sampleLine(VelArray<VelGeomPoint2d>& points)
{
    VelArray<VelGeomExtents> boxes;
    if (points.length() != 2)
        return boxes;
    if (points[1].x < points[0].x)
        points.swap(0, 1);
    const VelGeomPoint2d p1 = points[0], p2 = points[1];
    const VelGeomVector2d dir = p2 - p1;
    const double dx = p2.x - p1.x;
    const int strips = stripsOf(dx);
    VelArray<VelGeomPoint2d> cuts(strips + 1, 1);
    cuts.append(p1);
    if (strips > 1) {
        const double alpha = VelGeomVector2d::kXAxis.angleTo(dir, true);
        const double step = (dx / strips) / std::cos(alpha);
        const VelGeomVector2d unit = dir.normal();
        for (int k = 1; k < strips; ++k)
            cuts.append(p1 + unit * (step * k));
    }
    cuts.append(p2);
    for (int k = 0; k + 1 < cuts.length(); ++k) {
        const VelGeomPoint2d a = cuts[k], b = cuts[k + 1];
        if (a.distanceTo(b) < 1e-5)
            boxes.append(VelGeomExtents(lift(a - VelGeomVector2d(1, 1)), lift(b + VelGeomVector2d(1, 1))));
        else
            boxes.append(VelGeomExtents(lift(a), lift(b)));
    }
    return boxes;
}

VelArray<VelGeomExtents> VelDiscretization::sampleRectangle(VelArray<VelGeomPoint2d>& points, int wholeFirst)
{
    VelArray<VelGeomExtents> boxes;
    if (points.length() != 4)
        return boxes;
    // Selection sort by x; the first of equal values stays in front.
    for (int i = 0; i < 3; ++i) {
        int m = i;
        for (int j = i + 1; j < 4; ++j)
            if (points[j].x < points[m].x)
                m = j;
        if (m != i) {
            const VelGeomPoint2d p = points[m];
            points.removeAt(m);
            points.insertAt(i, p);
        }
    }
    VelGeomExtents whole;
    for (int i = 0; i < 4; ++i)
        whole.extend(lift(points[i]));
    const VelGeomPoint2d c0 = points[0], c1 = points[1], c2 = points[2], c3 = points[3];
    const VelGeomVector2d e1 = c1 - c0, d = c3 - c0;
    const VelGeomTol tol;
    if (tol.equal(e1.x, 0.0) || d.length() < m_dfDiscretizationIntervalLength) {
        boxes.append(whole);
        return boxes;
    }
    if (wholeFirst)
        boxes.append(whole);
    // Strip boundaries: every span between consecutive corner abscissae cut
    // into equal steps of at most the strip width.
    VelArray<double, VelArrayMemCopyReallocator<double>> xs(0, 64);
    xs.append(c0.x);
    const double corners[3] = {c1.x, c2.x, c3.x};
    double from = c0.x;
    for (double to : corners) {
        const int n = stripsOf(to - from);
        for (int k = 1; k < n; ++k)
            xs.append(from + (to - from) * k / n);
        if (to > from)
            xs.append(to);
        from = to;
    }
    for (int k = 0; k + 1 < xs.length(); ++k) {
        const double xa = xs[k], xb = xs[k + 1];
        VelGeomExtents box;
        // Lower and upper outline: c0 -> c1 -> c3 and c0 -> c2 -> c3.
        box.extend(lift(atX(c0, c1, c3, xa)));
        box.extend(lift(atX(c0, c1, c3, xb)));
        box.extend(lift(atX(c0, c2, c3, xa)));
        box.extend(lift(atX(c0, c2, c3, xb)));
        boxes.append(box);
    }
    return boxes;
}
