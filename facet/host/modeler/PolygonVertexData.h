#pragma once
// What follows a profile vertex when the edge to the next vertex is not
// straight. Profiles are arrays of points with a parallel array of pointers
// to these records; a null pointer is a straight edge.

#include "facet/host/modeler/Circle3d.h"

namespace AModeler {

class PolygonVertexData
{
public:
    enum Type
    {
        kArc = 0  // an arc of `circle` from this vertex to the next, counterclockwise about its axis
    };

    PolygonVertexData() = default;
    PolygonVertexData(Type type, const Circle3d& circle, int approx) : m_type(type), m_circle(circle), m_approx(approx) {}

    Type type() const { return m_type; }
    const Circle3d& circle() const { return m_circle; }
    void setCircle(const Circle3d& c) { m_circle = c; }
    // Facets of the full circle; the arc gets its share (see Circle3d).
    int approx() const { return m_approx; }
    void setApprox(int facets) { m_approx = facets; }

private:
    Type m_type = kArc;
    Circle3d m_circle;
    int m_approx = 0;
};

} // namespace AModeler
