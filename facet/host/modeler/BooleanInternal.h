#pragma once
// Pieces of the Boolean engine shared by its sources: merging the surviving
// triangles of one face back into faces with one loop each.

#include "facet/host/modeler/FlatMapInternal.h"
#include "facet/host/modeler/Point3d.h"

#include <array>
#include <vector>

namespace AModeler {

// One loop of a merged face: vertex ids in order; bridge[i] marks the edge
// from v[i] to v[i + 1] as one of a pair of bridge edges.
struct MergedLoop
{
    std::vector<int> v;
    std::vector<char> bridge;
    std::vector<int> triangles;  // the input triangles the region is made of
};

// Triangles of one planar face (vertex ids, counterclockwise seen from the
// side the face is to face) grouped into the regions they cover when joined
// across shared edges; each region becomes one loop, its holes joined by
// bridges along triangle edges. Triangles that repeat a vertex are ignored.
// Throws eInternalError when the triangles do not form a surface (an edge
// used twice the same way) or a region cannot be brought into one loop.
// Edges in apart (undirected keys, may be null) are not joined across where
// they cut a region in two; a region they would only slit is joined as
// without them.
void mergeTriangles(const std::vector<std::array<int, 3>>& triangles, std::vector<MergedLoop>& regions,
                    const FlatMap<char>* apart = nullptr);

} // namespace AModeler
