#pragma once
// The Boolean engine's door to CGAL's corefinement (CgalCorefine.cpp, the
// second and last translation unit that includes CGAL). Plain types only.
//
// Two open triangle meshes (the parts of two bodies near each other) are
// corefined with exact constructions; the result comes back as refined
// triangles that remember the input triangle they came from, grouped into
// patches that no intersection curve crosses, each patch classified against
// the other mesh where an intersection edge bounds it.

#include "facet/host/modeler/Point3d.h"

#include <array>
#include <vector>

namespace AModeler {
namespace cgal {

struct CorefineMesh
{
    std::vector<Point3d> points;
    // Counterclockwise seen from outside the solid the mesh is part of.
    std::vector<std::array<int, 3>> triangles;
    // Per triangle (or empty): the planar face it is part of. Triangles of
    // one face meet flat, which saves exact tests where they do.
    std::vector<int> face;
};

// An intersection point of the two meshes.
struct CorefineNode
{
    Point3d point;
    int vertex[2] = {-1, -1};                 // input vertex of mesh k it coincides with
    int edge[2][2] = {{-1, -1}, {-1, -1}};    // input edge of mesh k whose interior holds it
};

enum PatchClass : signed char
{
    kUnknown = -1,  // no intersection edge bounds the patch
    kOutside = 0,
    kInside = 1,
    kOnSame = 2,      // on the other surface, both facing the same way
    kOnOpposite = 3   // on the other surface, facing each other
};

struct CorefineResult
{
    // Per mesh. Vertex ids: >= 0 an input vertex of that mesh, < 0 the node
    // -(id + 1) (a vertex the refinement added).
    std::vector<std::array<int, 3>> triangles[2];
    std::vector<int> origin[2];              // input triangle of each output triangle
    std::vector<int> patch[2];               // patch of each output triangle
    std::vector<signed char> patchClass[2];  // per patch, a PatchClass
    std::vector<std::array<int, 2>> constrained[2];  // intersection edges (vertex ids as above)
    std::vector<CorefineNode> nodes;
};

// Throws eDegenerateGeometry for input CGAL refuses (self-intersecting or
// degenerate triangles) and eInternalError when the classification of a
// patch is contradictory.
void corefine(const CorefineMesh& a, const CorefineMesh& b, CorefineResult& out);

// Exact test: the three points are collinear (or coincide).
bool collinear(const Point3d& a, const Point3d& b, const Point3d& c);

} // namespace cgal
} // namespace AModeler
