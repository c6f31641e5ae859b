#pragma once
// Builds a body from indexed vertices and face loops: the common back end of
// the factories. Partners are found by vertex pairs; curve and approx marks
// are given per edge (vertex pair, either order) and land on both halves.

#include "facet/host/modeler/Body.h"
#include "facet/host/modeler/Circle3d.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace AModeler {

class BodyBuilder
{
public:
    int addVertex(const Point3d& p);
    int addCurve(const Circle3d& circle, int facets);
    // Loop of vertex indices; consecutive repeats are dropped. Returns the face index.
    int addFace(const std::vector<int>& loop, int color = 0);
    void setCurve(int u, int v, int curve);
    void setApprox(int u, int v);
    // Reverses every loop added so far (for profiles given the other way round).
    void reverseAll();

    const Point3d& point(int i) const { return m_points[i]; }
    int vertexCount() const { return static_cast<int>(m_points.size()); }
    int faceCount() const { return static_cast<int>(m_faces.size()); }

    // closed: every half-edge must find a partner (else eInvalidBody).
    // Throws eInvalidBody for two half-edges joining the same vertices the
    // same way, eDegenerateGeometry for a face of zero area.
    Body build(bool closed = true) const;

private:
    static uint64_t key(int u, int v)
    {
        if (u > v)
            std::swap(u, v);
        return (static_cast<uint64_t>(static_cast<uint32_t>(u)) << 32) | static_cast<uint32_t>(v);
    }

    std::vector<Point3d> m_points;
    std::vector<std::pair<Circle3d, int>> m_curves;
    std::vector<std::vector<int>> m_faces;
    std::vector<int> m_colors;
    std::unordered_map<uint64_t, int> m_curveOf;
    std::unordered_map<uint64_t, bool> m_approx;
};

} // namespace AModeler
