// The only translation unit that includes CGAL.

#include "facet/host/modeler/CgalBridgeInternal.h"

#include "facet/host/modeler/ErrorCode.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Surface_mesh.h>
#include <CGAL/convex_hull_3.h>

#include <cstring>
#include <unordered_map>

namespace AModeler {
namespace cgal {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using KPoint = Kernel::Point_3;
using Mesh = CGAL::Surface_mesh<KPoint>;

struct CoordHash
{
    size_t operator()(const std::array<double, 3>& a) const
    {
        size_t h = 0;
        for (double d : a) {
            uint64_t bits;
            std::memcpy(&bits, &d, sizeof bits);
            h ^= std::hash<uint64_t>()(bits) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
        }
        return h;
    }
};

} // namespace

void convexHullTriangles(const std::vector<Point3d>& points, std::vector<std::array<int, 3>>& triangles)
{
    triangles.clear();
    std::vector<KPoint> kp;
    kp.reserve(points.size());
    std::unordered_map<std::array<double, 3>, int, CoordHash> first;
    for (size_t i = 0; i < points.size(); ++i) {
        const Point3d& p = points[i];
        kp.emplace_back(p.x, p.y, p.z);
        first.emplace(std::array<double, 3>{p.x, p.y, p.z}, static_cast<int>(i));
    }
    if (kp.size() < 4)
        throw eDegenerateGeometry;
    // A hull needs four points not in one plane (exact test).
    size_t a = 0, b = kp.size(), c = kp.size(), d = kp.size();
    for (size_t i = 1; i < kp.size() && b == kp.size(); ++i)
        if (kp[i] != kp[a])
            b = i;
    for (size_t i = 1; b < kp.size() && i < kp.size() && c == kp.size(); ++i)
        if (!CGAL::collinear(kp[a], kp[b], kp[i]))
            c = i;
    for (size_t i = 1; c < kp.size() && i < kp.size() && d == kp.size(); ++i)
        if (CGAL::orientation(kp[a], kp[b], kp[c], kp[i]) != CGAL::COPLANAR)
            d = i;
    if (d == kp.size())
        throw eDegenerateGeometry;

    Mesh mesh;
    CGAL::convex_hull_3(kp.begin(), kp.end(), mesh);
    for (Mesh::Face_index f : mesh.faces()) {
        std::array<int, 3> tri{};
        int k = 0;
        for (Mesh::Vertex_index v : CGAL::vertices_around_face(mesh.halfedge(f), mesh)) {
            if (k == 3)
                throw eInternalError;
            const KPoint& p = mesh.point(v);
            auto it = first.find(std::array<double, 3>{p.x(), p.y(), p.z()});
            if (it == first.end())
                throw eInternalError;
            tri[k++] = it->second;
        }
        if (k != 3)
            throw eInternalError;
        triangles.push_back(tri);
    }
}

} // namespace cgal
} // namespace AModeler
