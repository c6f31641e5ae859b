#pragma once
// Profiles (points with optional arc data) expanded into chord polygons, the
// common first step of faces, extrusions, revolutions and sweep paths.

#include "facet/host/modeler/Circle3d.h"

#include <vector>

namespace AModeler {

class PolygonVertexData;

struct ExpandedProfile
{
    struct Arc
    {
        Circle3d circle;
        int facets;
    };
    std::vector<Point3d> pts;     // the chord polygon
    std::vector<int> arcOfEdge;   // per edge j (pts[j] to pts[j + 1]): index into arcs, or -1
    std::vector<int> sourceOfEdge;// per edge j: the input vertex whose edge it belongs to
    std::vector<Arc> arcs;        // arcs on equal circles (same facets) share one entry

    int edgeCount() const { return static_cast<int>(arcOfEdge.size()); }
    // Vertex j lies inside one arc: the edges before and after it are chords of it.
    bool smoothAt(int j) const;
    bool closed = true;
};

// Closed: the edge of the last vertex returns to the first. Open: count
// points give count - 1 edges (the last vertex data is ignored). Coincident
// consecutive points along a straight edge are merged. Throws eInvalidInput
// for null points, non-finite values, an unknown vertex data type, a facet
// count below 3 or an invalid circle.
// The plane of a closed chord polygon: through its first point with the
// given normal when every point lies within eps of that, else the polygon's
// own (Newell) plane through its centroid when that fits; the normal turns
// with the polygon's winding. Throws eDegenerateGeometry for a polygon
// without area and eNotPlanar when neither plane fits.
class Plane;
Plane profilePlane(const std::vector<Point3d>& pts, const Vector3d& normal, double eps);

ExpandedProfile expandProfile(const Point3d* points, PolygonVertexData* const* vertexData, int count, bool closed,
                              double eps);

} // namespace AModeler
