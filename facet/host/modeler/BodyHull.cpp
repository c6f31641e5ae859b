// Convex hulls: CGAL's hull triangles merged into planar faces.

#include "facet/host/modeler/BodyBuilderInternal.h"
#include "facet/host/modeler/BodyDataInternal.h"
#include "facet/host/modeler/CgalBridgeInternal.h"
#include "facet/host/modeler/Settings.h"

#include <cstddef>
#include <unordered_map>

namespace AModeler {

namespace {

uint64_t directedKey(int u, int v)
{
    return (static_cast<uint64_t>(static_cast<uint32_t>(u)) << 32) | static_cast<uint32_t>(v);
}

Body hullOf(const std::vector<Point3d>& pts)
{
    for (const Point3d& p : pts)
        if (!p.isFinite())
            throw eInvalidInput;
    std::vector<std::array<int, 3>> tris;
    cgal::convexHullTriangles(pts, tris);
    const double eps = gEpsAbs();
    const std::size_t nt = tris.size();
    std::unordered_map<uint64_t, int> triOfEdge;  // directed edge -> triangle
    triOfEdge.reserve(nt * 3);
    for (std::size_t t = 0; t < nt; ++t)
        for (int k = 0; k < 3; ++k)
            triOfEdge[directedKey(tris[t][k], tris[t][(k + 1) % 3])] = static_cast<int>(t);

    // Grow regions of triangles lying in the seed triangle's plane.
    std::vector<int> region(nt, -1);
    std::vector<std::vector<int>> regions;
    for (std::size_t seed = 0; seed < nt; ++seed) {
        if (region[seed] >= 0)
            continue;
        const Plane pl(pts[tris[seed][0]], pts[tris[seed][1]], pts[tris[seed][2]]);
        const int id = static_cast<int>(regions.size());
        regions.emplace_back();
        std::vector<int> stack(1, static_cast<int>(seed));
        region[seed] = id;
        while (!stack.empty()) {
            const int t = stack.back();
            stack.pop_back();
            regions[id].push_back(t);
            for (int k = 0; k < 3; ++k) {
                auto it = triOfEdge.find(directedKey(tris[t][(k + 1) % 3], tris[t][k]));
                if (it == triOfEdge.end() || region[it->second] >= 0)
                    continue;
                const auto& o = tris[it->second];
                const Plane po(pts[o[0]], pts[o[1]], pts[o[2]]);
                if (!pl.isValid() || !po.isValid() || po.normal().dot(pl.normal()) <= 0.0)
                    continue;
                if (pl.distanceTo(pts[o[0]]) > eps || pl.distanceTo(pts[o[1]]) > eps || pl.distanceTo(pts[o[2]]) > eps)
                    continue;
                region[it->second] = id;
                stack.push_back(it->second);
            }
        }
    }

    BodyBuilder b;
    std::vector<int> vid(pts.size(), -1);
    auto vertexOf = [&](int i) {
        if (vid[i] < 0)
            vid[i] = b.addVertex(pts[i]);
        return vid[i];
    };
    for (const auto& r : regions) {
        // Boundary of the region: its directed edges whose reverse lies elsewhere.
        std::unordered_map<int, int> nextOf;
        bool simple = true;
        for (int t : r)
            for (int k = 0; k < 3; ++k) {
                const int u = tris[t][k], v = tris[t][(k + 1) % 3];
                auto it = triOfEdge.find(directedKey(v, u));
                if (it != triOfEdge.end() && region[it->second] == region[t])
                    continue;
                if (!nextOf.emplace(u, v).second)
                    simple = false;
            }
        std::vector<int> loop;
        if (simple && !nextOf.empty()) {
            const int start = nextOf.begin()->first;
            int v = start;
            do {
                loop.push_back(v);
                auto it = nextOf.find(v);
                if (it == nextOf.end() || loop.size() > nextOf.size()) {
                    simple = false;
                    break;
                }
                v = it->second;
            } while (v != start);
            simple = simple && loop.size() == nextOf.size();
        }
        if (simple) {
            for (int& v : loop)
                v = vertexOf(v);
            b.addFace(loop);
        } else {
            for (int t : r)
                b.addFace({vertexOf(tris[t][0]), vertexOf(tris[t][1]), vertexOf(tris[t][2])});
        }
    }
    return b.build();
}

} // namespace

Body Body::convexHull(const Point3d* points, int count)
{
    if (!points || count < 4)
        throw eInvalidInput;
    return hullOf(std::vector<Point3d>(points, points + count));
}

Body Body::convexHull() const
{
    std::vector<Point3d> pts;
    pts.reserve(vertexCount());
    for (Vertex* v = vertexList(); v; v = v->next())
        pts.push_back(v->point());
    if (pts.size() < 4)
        throw eInvalidInput;
    return hullOf(pts);
}

} // namespace AModeler
