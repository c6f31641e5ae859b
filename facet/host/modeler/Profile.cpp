#include "facet/host/modeler/ProfileInternal.h"

#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/ErrorCode.h"
#include "facet/host/modeler/Plane.h"
#include "facet/host/modeler/PolygonVertexData.h"

#include <cmath>

namespace AModeler {

Plane profilePlane(const std::vector<Point3d>& pts, const Vector3d& normal, double eps)
{
    if (pts.size() < 3)
        throw eDegenerateGeometry;
    const Vector3d newell = newellNormal(pts);
    if (!(newell.length() * 0.5 > eps * eps))
        throw eDegenerateGeometry;
    auto fits = [&](const Plane& pl) {
        for (const Point3d& p : pts)
            if (!(pl.distanceTo(p) <= eps))
                return false;
        return true;
    };
    if (!normal.isNull()) {
        Vector3d n = normal.normalized();
        if (n.dot(newell) < 0.0)
            n = -n;
        const Plane given(pts[0], n);
        if (fits(given))
            return given;
    }
    Vector3d c;
    for (const Point3d& p : pts)
        c += p.asVector();
    c = c / static_cast<double>(pts.size());
    const Plane own(Point3d(c.x, c.y, c.z), newell);
    if (fits(own))
        return own;
    throw eNotPlanar;
}

bool ExpandedProfile::smoothAt(int j) const
{
    const int m = edgeCount();
    if (m == 0)
        return false;
    int before = j - 1;
    if (before < 0) {
        if (!closed)
            return false;
        before = m - 1;
    }
    if (j >= m)
        return false;
    return arcOfEdge[j] >= 0 && arcOfEdge[j] == arcOfEdge[before];
}

ExpandedProfile expandProfile(const Point3d* points, PolygonVertexData* const* vertexData, int count, bool closed,
                              double eps)
{
    if (!points || count < 1)
        throw eInvalidInput;
    for (int i = 0; i < count; ++i)
        if (!points[i].isFinite())
            throw eInvalidInput;
    ExpandedProfile out;
    out.closed = closed;
    struct Raw
    {
        Point3d p;
        int arc;
        int source;
        bool edge;
    };
    // Every input point, then the chord points of its arc.
    std::vector<Raw> raw;
    const int edges = closed ? count : count - 1;
    for (int i = 0; i < count; ++i) {
        if (i >= edges) {
            raw.push_back({points[i], -1, i, false});
            break;
        }
        const Point3d& a = points[i];
        const Point3d& b = points[(i + 1) % count];
        const PolygonVertexData* vd = vertexData ? vertexData[i] : nullptr;
        if (!vd) {
            raw.push_back({a, -1, i, true});
            continue;
        }
        if (vd->type() != PolygonVertexData::kArc || vd->approx() < 3 || !vd->circle().isValid())
            throw eInvalidInput;
        int arcIndex = -1;
        for (size_t k = 0; k < out.arcs.size() && arcIndex < 0; ++k)
            if (out.arcs[k].facets == vd->approx() && out.arcs[k].circle.isEqual(vd->circle(), eps))
                arcIndex = static_cast<int>(k);
        if (arcIndex < 0) {
            out.arcs.push_back({vd->circle(), vd->approx()});
            arcIndex = static_cast<int>(out.arcs.size()) - 1;
        }
        std::vector<Point3d> chord;
        vd->circle().tessellate(a, b, vd->approx(), chord);
        for (size_t k = 0; k + 1 < chord.size(); ++k)
            raw.push_back({chord[k], arcIndex, i, true});
    }
    // An edge shorter than eps goes; the point after it takes its place with
    // its own edge.
    std::vector<Raw> res;
    res.reserve(raw.size());
    for (const Raw& r : raw) {
        if (!res.empty() && res.back().p.isEqual(r.p, eps))
            res.back() = r;
        else
            res.push_back(r);
    }
    if (closed)
        while (res.size() > 1 && res.back().p.isEqual(res.front().p, eps))
            res.pop_back();
    for (const Raw& r : res) {
        out.pts.push_back(r.p);
        if (r.edge) {
            out.arcOfEdge.push_back(r.arc);
            out.sourceOfEdge.push_back(r.source);
        }
    }
    return out;
}

} // namespace AModeler
