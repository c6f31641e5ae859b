// Sweeps of a profile face along a path (extrusionAlongPath).

#include "facet/host/modeler/BodyBuilderInternal.h"
#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/ProfileInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cmath>
#include <map>
#include <unordered_map>

namespace AModeler {

namespace {

// A profile face read into positions: loop position i has the vertex index
// vtx[i] (into points) and runs to position i + 1.
struct SweepProfile
{
    std::vector<Edge*> loop;
    std::vector<int> vtx;
    std::vector<Point3d> points;
    std::vector<char> bridge;
    Vector3d normal;
    int size() const { return static_cast<int>(loop.size()); }
};

SweepProfile readProfile(const Body& body)
{
    if (body.faceCount() != 1)
        throw eInvalidInput;
    SweepProfile p;
    const Face* f = body.faceList();
    BodyImpl::loopEdges(f, p.loop);
    if (p.loop.size() < 3)
        throw eInvalidBody;
    std::unordered_map<const Vertex*, int> index;
    std::vector<Point3d> loopPts;
    for (Edge* e : p.loop) {
        if (!e->vertex())
            throw eInvalidBody;
        auto it = index.emplace(e->vertex(), static_cast<int>(p.points.size()));
        if (it.second)
            p.points.push_back(e->vertex()->point());
        p.vtx.push_back(it.first->second);
        p.bridge.push_back(e->isBridge() ? 1 : 0);
        loopPts.push_back(e->vertex()->point());
    }
    const Vector3d newell = newellNormal(loopPts);
    p.normal = f->plane().isValid() ? f->plane().normal() : newell.normalized();
    if (newell.dot(p.normal) <= 0.0 || newell.length() * 0.5 <= gEpsAbs() * gEpsAbs())
        throw eDegenerateGeometry;
    return p;
}

// The previous non-bridge edge of the same boundary (bridges are skipped).
const Edge* contourPrev(const Edge* e, long limit)
{
    const Edge* x = e->prev();
    while (x && x->isBridge() && limit-- > 0)
        x = x->partner()->prev();
    return x;
}

Point3d projectAlong(const Point3d& q, const Vector3d& u, const Plane& pl)
{
    const double t = -pl.signedDistanceTo(q) / pl.normal().dot(u);
    return q + u * t;
}

Vector3d minimalRotation(const Vector3d& v, const Vector3d& from, const Vector3d& to)
{
    const Vector3d axis = from.cross(to);
    const double s = axis.length(), c = from.dot(to);
    if (s <= 1e-15)
        return v;
    return v.rotatedBy(std::atan2(s, c), axis / s);
}

bool planarQuad(const Point3d& a, const Point3d& b, const Point3d& c, const Point3d& d, double eps)
{
    const Plane pl(a, b, c);
    return pl.isValid() && pl.distanceTo(d) <= eps;
}

// Adds a side face a-b-c-d, or two triangles with an approximating diagonal
// where it is bent.
void addSide(BodyBuilder& b, int a, int bb, int c, int d, double eps)
{
    if (c == d || a == bb || planarQuad(b.point(a), b.point(bb), b.point(c), b.point(d), eps)) {
        b.addFace({a, bb, c, d});
        return;
    }
    b.addFace({a, bb, c});
    b.addFace({a, c, d});
    b.setApprox(a, c);
}

Body morphedSweep(const SweepProfile& sp, const SweepProfile& ep, const Point3d* path, const MorphingMap& map,
                  double eps)
{
    for (int i = 0; i < sp.size(); ++i)
        if (sp.bridge[i])
            throw eInvalidInput;
    for (int i = 0; i < ep.size(); ++i)
        if (ep.bridge[i])
            throw eInvalidInput;
    const Vector3d u = (path[1] - path[0]).normalized();
    if (u.isNull())
        throw eDegenerateGeometry;
    const double ds = sp.normal.dot(u), de = ep.normal.dot(u);
    if (std::fabs(ds) <= 1e-9 || std::fabs(de) <= 1e-9 || (ds > 0) != (de > 0))
        throw eInvalidInput;
    const int ns = sp.size(), ne = ep.size(), len = map.length();
    for (int k = 0; k < len; ++k)
        if (map.at(k).first < 0 || map.at(k).first >= ns || map.at(k).second < 0 || map.at(k).second >= ne)
            throw eInvalidInput;
    BodyBuilder b;
    std::vector<int> sv(sp.points.size()), ev(ep.points.size());
    for (size_t i = 0; i < sp.points.size(); ++i)
        sv[i] = b.addVertex(sp.points[i]);
    for (size_t i = 0; i < ep.points.size(); ++i)
        ev[i] = b.addVertex(ep.points[i]);
    std::vector<int> loop;
    for (int i = ns - 1; i >= 0; --i)
        loop.push_back(sv[sp.vtx[i]]);
    b.addFace(loop);
    loop.clear();
    for (int i = 0; i < ne; ++i)
        loop.push_back(ev[ep.vtx[i]]);
    b.addFace(loop);
    int totalA = 0, totalB = 0;
    for (int k = 0; k < len; ++k) {
        const auto& p = map.at(k);
        const auto& q = map.at((k + 1) % len);
        const int da = (q.first - p.first + ns) % ns, db = (q.second - p.second + ne) % ne;
        if (da > 1 || db > 1 || (da == 0 && db == 0))
            throw eInvalidInput;
        totalA += da;
        totalB += db;
        const int a0 = sv[sp.vtx[p.first]], a1 = sv[sp.vtx[q.first]];
        const int b0 = ev[ep.vtx[p.second]], b1 = ev[ep.vtx[q.second]];
        if (da && db)
            addSide(b, a0, a1, b1, b0, eps);
        else if (da)
            b.addFace({a0, a1, b0});
        else
            b.addFace({a0, b1, b0});
    }
    if (totalA != ns || totalB != ne)
        throw eInvalidInput;
    if (ds < 0)
        b.reverseAll();
    return b.build();
}

} // namespace

Body Body::extrusionAlongPath(const Body& startProfile, const Body& endProfile, const Point3d* path,
                              PolygonVertexData* const* pathVertexData, int pathCount, bool closed,
                              bool checkValidity, const Point3d& fixedPoint, double scale, double twist,
                              const MorphingMap& morphingMap, bool smoothPath)
{
    static const std::vector<int> none;
    return extrusionAlongPath(startProfile, endProfile, path, pathVertexData, pathCount, closed, checkValidity,
                              fixedPoint, scale, twist, morphingMap, smoothPath, none, none);
}

Body Body::extrusionAlongPath(const Body& startProfile, const Body& endProfile, const Point3d* path,
                              PolygonVertexData* const* pathVertexData, int pathCount, bool closed,
                              bool checkValidity, const Point3d& fixedPoint, double scale, double twist,
                              const MorphingMap& morphingMap, bool smoothPath,
                              const std::vector<int>& smoothPathVertices,
                              const std::vector<int>& smoothProfileVertices)
{
    if (!fixedPoint.isFinite() || !std::isfinite(scale) || !(scale > 0.0) || !std::isfinite(twist))
        throw eInvalidInput;
    const double eps = gEpsAbs();
    const SweepProfile sp = readProfile(startProfile);
    const bool morph = !endProfile.isNull();
    SweepProfile ep;
    if (morph) {
        if (closed)
            throw eInvalidInput;
        ep = readProfile(endProfile);
    }
    if (!morphingMap.isNull()) {
        if (!morph || closed || !path || pathCount != 2 || (pathVertexData && pathVertexData[0]) ||
            !path[0].isFinite() || !path[1].isFinite())
            throw eInvalidInput;
        Body body = morphedSweep(sp, ep, path, morphingMap, eps);
        if (checkValidity && !body.isValid(-1))
            throw eInvalidBody;
        return body;
    }
    if (morph) {
        // Same loop structure, position by position.
        if (ep.size() != sp.size() || ep.points.size() != sp.points.size())
            throw eInvalidInput;
        std::vector<int> map(sp.points.size(), -1);
        for (int i = 0; i < sp.size(); ++i) {
            if (ep.bridge[i] != sp.bridge[i])
                throw eInvalidInput;
            int& m = map[sp.vtx[i]];
            if (m >= 0 && m != ep.vtx[i])
                throw eInvalidInput;
            m = ep.vtx[i];
        }
        std::vector<Point3d> reordered(sp.points.size());
        for (size_t v = 0; v < map.size(); ++v)
            reordered[v] = ep.points[map[v]];
        ep.points = reordered;
    }

    // The path as a chord polygon of nodes.
    const ExpandedProfile pp = expandProfile(path, pathVertexData, pathCount, closed, eps);
    const int M = static_cast<int>(pp.pts.size());
    if (M < 2 || (closed && M < 3))
        throw eDegenerateGeometry;
    const int segs = closed ? M : M - 1;
    std::vector<Vector3d> u(segs);
    std::vector<double> cum(M + 1, 0.0);
    for (int k = 0; k < segs; ++k) {
        const Vector3d d = pp.pts[(k + 1) % M] - pp.pts[k];
        u[k] = d.normalized();
        cum[k + 1] = cum[k] + d.length();
    }
    const double total = cum[segs];
    std::vector<char> smoothNode(M, 0);
    for (int k = 0; k < M; ++k)
        smoothNode[k] = smoothPath || pp.smoothAt(k);
    if (!smoothPathVertices.empty()) {
        std::vector<int> nodeOf(pathCount, -1);
        for (int k = 0; k < pp.edgeCount(); ++k)
            if (k == 0 || pp.sourceOfEdge[k] != pp.sourceOfEdge[k - 1])
                if (pp.sourceOfEdge[k] >= 0 && pp.sourceOfEdge[k] < pathCount)
                    nodeOf[pp.sourceOfEdge[k]] = k;
        if (!closed)
            nodeOf[pathCount - 1] = M - 1;
        for (int i : smoothPathVertices)
            if (i >= 0 && i < pathCount && nodeOf[i] >= 0)
                smoothNode[nodeOf[i]] = 1;
    }

    // Directions into and out of every node: the chords, except at the ends
    // of an arc, where the arc's own tangent counts, so that sections inside
    // an arc lie in planes through its axis.
    std::vector<Vector3d> into(M), outof(M);
    for (int k = 0; k < M; ++k) {
        into[k] = u[(k + segs - 1) % segs];
        outof[k] = u[k % segs];
    }
    auto arcTangent = [&](int seg, int node) {
        const ExpandedProfile::Arc& a = pp.arcs[pp.arcOfEdge[seg]];
        return a.circle.normal().cross(pp.pts[node] - a.circle.center()).normalized();
    };
    for (int k = 0; k < segs; ++k) {
        if (pp.arcOfEdge[k] < 0)
            continue;
        const int k2 = (k + 1) % M;
        if (!pp.smoothAt(k)) {
            const Vector3d t = arcTangent(k, k);
            if (!t.isNull())
                outof[k] = t;
        }
        if (!pp.smoothAt(k2)) {
            const Vector3d t = arcTangent(k, k2);
            if (!t.isNull())
                into[k2] = t;
        }
    }
    // Section planes.
    std::vector<Plane> planes(M);
    if (std::fabs(sp.normal.dot(u[0])) <= 1e-9)
        throw eDegenerateGeometry;  // the path starts along the profile's plane
    Vector3d carried = sp.normal;
    for (int k = 0; k < M; ++k) {
        const bool mitre = closed || (k > 0 && k < M - 1);
        if (k > 0)
            carried = minimalRotation(carried, outof[k - 1], into[k]);
        if (mitre) {
            const Vector3d m = into[k] + outof[k];
            if (m.length() <= 1e-9)
                throw eDegenerateGeometry;  // the path turns back on itself
            planes[k] = Plane(pp.pts[k], m);
            carried = minimalRotation(carried, into[k], outof[k]);
        } else if (k == 0) {
            planes[k] = Plane(sp.points[0], sp.normal);
        } else {
            planes[k] = Plane(pp.pts[k], carried);
        }
    }
    for (int k = 0; k < segs; ++k)
        if (std::fabs(planes[(k + 1) % M].normal().dot(u[k])) <= 1e-9)
            throw eDegenerateGeometry;

    // Sections, carried forward (and the end profile carried back).
    const int nv = static_cast<int>(sp.points.size());
    const int nodes = M;
    std::vector<std::vector<Point3d>> sec(nodes, std::vector<Point3d>(nv));
    for (int v = 0; v < nv; ++v)
        sec[0][v] = closed ? projectAlong(sp.points[v], u[0], planes[0]) : sp.points[v];
    for (int k = 1; k < nodes; ++k)
        for (int v = 0; v < nv; ++v)
            sec[k][v] = projectAlong(sec[k - 1][v], u[k - 1], planes[k]);
    if (morph) {
        std::vector<Point3d> back = ep.points;
        for (int k = nodes - 1; k >= 0; --k) {
            if (k < nodes - 1)
                for (int v = 0; v < nv; ++v)
                    back[v] = projectAlong(back[v], u[k], planes[k]);
            const double t = total > 0.0 ? cum[k] / total : 0.0;
            for (int v = 0; v < nv; ++v)
                sec[k][v] = k == nodes - 1 ? back[v] : sec[k][v].interpolate(back[v], t);
        }
    }
    const bool scaled = std::fabs(scale - 1.0) > 1e-15 || std::fabs(twist) > 1e-15;
    std::vector<Point3d> fixedAt(nodes);
    if (scaled) {
        fixedAt[0] = Plane(sp.points[0], sp.normal).project(fixedPoint);
        if (closed)
            fixedAt[0] = projectAlong(fixedAt[0], u[0], planes[0]);
        for (int k = 1; k < nodes; ++k)
            fixedAt[k] = projectAlong(fixedAt[k - 1], u[k - 1], planes[k]);
        for (int k = 1; k < nodes; ++k) {
            const double t = total > 0.0 ? cum[k] / total : 0.0;
            const double s = 1.0 + (scale - 1.0) * t;
            for (int v = 0; v < nv; ++v)
                sec[k][v] = fixedAt[k] + ((sec[k][v] - fixedAt[k]) * s).rotatedBy(twist * t, planes[k].normal());
        }
    }

    BodyBuilder b;
    std::vector<std::vector<int>> vid(nodes, std::vector<int>(nv));
    for (int k = 0; k < nodes; ++k)
        for (int v = 0; v < nv; ++v)
            vid[k][v] = b.addVertex(sec[k][v]);
    const int n = sp.size();
    if (!closed) {
        std::vector<int> loop;
        for (int i = n - 1; i >= 0; --i)
            loop.push_back(vid[0][sp.vtx[i]]);
        b.addFace(loop);
        loop.clear();
        for (int i = 0; i < n; ++i)
            loop.push_back(vid[nodes - 1][sp.vtx[i]]);
        b.addFace(loop);
    }
    // Smooth profile positions: inside an arc of the profile, or asked for.
    std::vector<char> smoothPos(n, 0);
    const long limit = startProfile.edgeCount();
    for (int i = 0; i < n; ++i) {
        const Edge* e = sp.loop[i];
        if (sp.bridge[i])
            continue;
        const Edge* before = contourPrev(e, limit);
        smoothPos[i] = before && e->curve() && before->curve() == e->curve();
    }
    for (int i : smoothProfileVertices)
        if (i >= 0 && i < n && !sp.bridge[i])
            smoothPos[i] = 1;
    for (int k = 0; k < segs; ++k) {
        const int k2 = (k + 1) % nodes;
        for (int i = 0; i < n; ++i) {
            if (sp.bridge[i])
                continue;
            const int v0 = sp.vtx[i], v1 = sp.vtx[(i + 1) % n];
            addSide(b, vid[k][v0], vid[k][v1], vid[k2][v1], vid[k2][v0], eps);
            if (smoothPos[i])
                b.setApprox(vid[k][v0], vid[k2][v0]);
            const bool innerNode = closed || k > 0;
            if (innerNode && smoothNode[k])
                b.setApprox(vid[k][v0], vid[k][v1]);
        }
    }
    // Circles of the end faces: the profile's at the start; at the far end
    // the profile's carried along where they stay circles.
    if (!closed) {
        std::map<const Curve*, int> startCurve, endCurve;
        for (int i = 0; i < n; ++i) {
            const Curve* c = sp.loop[i]->curve();
            if (!c || sp.bridge[i])
                continue;
            const int v0 = sp.vtx[i], v1 = sp.vtx[(i + 1) % n];
            if (!startCurve.count(c))
                startCurve[c] = b.addCurve(c->circle(), c->facetCount());
            b.setCurve(vid[0][v0], vid[0][v1], startCurve[c]);
        }
        if (morph) {
            std::map<const Curve*, int> ec;
            for (int i = 0; i < n; ++i) {
                const Curve* c = ep.loop[i]->curve();
                if (!c || ep.bridge[i])
                    continue;
                if (!ec.count(c))
                    ec[c] = b.addCurve(c->circle(), c->facetCount());
                b.setCurve(vid[nodes - 1][sp.vtx[i]], vid[nodes - 1][sp.vtx[(i + 1) % n]], ec[c]);
            }
        } else {
            for (int i = 0; i < n; ++i) {
                const Curve* c = sp.loop[i]->curve();
                if (!c || sp.bridge[i])
                    continue;
                if (!endCurve.count(c)) {
                    const Circle3d& k0 = c->circle();
                    const Vector3d x = k0.refDirection() * k0.radius();
                    const Vector3d y = k0.normal().cross(x);
                    Point3d pts[3] = {k0.center(), k0.center() + x, k0.center() + y};
                    for (int k = 1; k < nodes; ++k)
                        for (Point3d& p : pts)
                            p = projectAlong(p, u[k - 1], planes[k]);
                    if (scaled) {
                        const double t = 1.0, s = scale;
                        for (Point3d& p : pts)
                            p = fixedAt[nodes - 1] +
                                ((p - fixedAt[nodes - 1]) * s).rotatedBy(twist * t, planes[nodes - 1].normal());
                    }
                    const Vector3d a = pts[1] - pts[0], bb = pts[2] - pts[0];
                    const double ra = a.length(), rb = bb.length();
                    if (std::fabs(ra - rb) <= 1e-9 * ra && std::fabs(a.dot(bb)) <= 1e-9 * ra * rb)
                        endCurve[c] = b.addCurve(Circle3d(pts[0], a.cross(bb), ra), c->facetCount());
                    else
                        endCurve[c] = -1;
                }
                if (endCurve[c] >= 0)
                    b.setCurve(vid[nodes - 1][sp.vtx[i]], vid[nodes - 1][sp.vtx[(i + 1) % n]], endCurve[c]);
            }
        }
    }
    if (sp.normal.dot(u[0]) < 0.0)
        b.reverseAll();
    Body body = b.build();
    if (checkValidity && !body.isValid(-1))
        throw eInvalidBody;
    return body;
}

} // namespace AModeler
